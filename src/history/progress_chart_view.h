#pragma once
// The progress chart: the rate of each game, oldest on the left, with the
// personal best marked. Drawn with QPainter, so the progress window needs no
// chart library (see README, "Historial y progreso"). It takes the keyboard:
// the arrows, Home and End move a selection from game to game.
#include <QPolygonF>
#include <QString>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace cifrano {

struct ChartPoint {
    std::int64_t PlayedAt = 0;
    double Rate = 0.0;
};

class ProgressChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ProgressChartView(QWidget* parent = nullptr);

    // Games oldest first; best is the index of the personal best.
    void SetPoints(std::vector<ChartPoint> points, std::size_t best);
    const std::vector<ChartPoint>& Points() const { return points_; }
    std::size_t Best() const { return best_; }
    // The selected game, -1 when none; Select clamps to the games there are.
    int Selected() const { return selected_; }
    void Select(int index);
    // The top of the rate axis: a round figure at or above the best rate.
    double AxisTop() const { return axisTop_; }
    // Points are marked one by one only while they stay apart on screen.
    bool MarksEachPoint() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void SelectionChanged(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRectF PlotArea() const;
    // Where a game is drawn inside the plot area.
    QPointF Position(std::size_t index, const QRectF& area) const;
    // The rate line's corners, no more than two per pixel column.
    QPolygonF LinePoints(const QRectF& area) const;
    int NearestPoint(double x) const;

    std::vector<ChartPoint> points_;
    std::size_t best_ = 0;
    int selected_ = -1;
    double axisTop_ = 1.0;
};

// The smallest of 1, 2, 2.5, 5 times a power of ten that is at least value.
double RoundAxisTop(double value);

// The user's locale's decimal separator, '.' when it is not a single ASCII one.
char UserDecimalSeparator();

}  // namespace cifrano
