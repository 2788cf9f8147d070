#include "history/progress_chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "common/controls_view.h"
#include "history/game_history.h"

namespace cifrano {

namespace {

constexpr double kMarkRadius = 4.0;
constexpr double kBestRadius = 7.0;
// Marks closer than this many pixels would run into a solid band.
constexpr double kMarkSpacing = 6.0;
constexpr int kGridLines = 5;

const QColor kLine = ToQColor(colours::kPlayerOne);
const QColor kMark = ToQColor(colours::kBlue);
const QColor kBestMark = ToQColor(colours::kRed);
const QColor kGrid(210, 210, 210);

QString ShortDate(std::int64_t seconds) {
    // "03/05/2024 14:03" without the time: the axis only has room for the day.
    return QString::fromStdString(ShortDateTime(seconds)).left(10);
}

}  // namespace

double RoundAxisTop(double value) {
    if (!std::isfinite(value) || value <= 0.0) return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (step * power >= value * (1.0 - 1e-12)) return step * power;
    }
    return 10.0 * power;
}

ProgressChartView::ProgressChartView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ProgressChart"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Gráfico de operaciones por minuto"));
    setFont(DesignFont(9.75));
    setAutoFillBackground(false);
}

QSize ProgressChartView::sizeHint() const { return {640, 280}; }
QSize ProgressChartView::minimumSizeHint() const { return {320, 180}; }

void ProgressChartView::SetPoints(std::vector<ChartPoint> points, std::size_t best) {
    points_ = std::move(points);
    best_ = points_.empty() ? 0 : std::min(best, points_.size() - 1);
    double highest = 0.0;
    for (const ChartPoint& point : points_) highest = std::max(highest, point.Rate);
    axisTop_ = RoundAxisTop(highest);
    selected_ = points_.empty() ? -1 : static_cast<int>(points_.size()) - 1;
    update();
    emit SelectionChanged(selected_);
}

void ProgressChartView::Select(int index) {
    if (points_.empty()) return;
    index = std::clamp(index, 0, static_cast<int>(points_.size()) - 1);
    if (index == selected_) return;
    selected_ = index;
    update();
    emit SelectionChanged(selected_);
}

QRectF ProgressChartView::PlotArea() const {
    const QFontMetrics metrics(font());
    const double left = metrics.horizontalAdvance(QStringLiteral("0000.0")) + 14.0;
    const double top = metrics.height() + 12.0;
    const double bottom = metrics.height() + 14.0;
    return QRectF(left, top, std::max(10.0, width() - left - 18.0),
                  std::max(10.0, height() - top - bottom));
}

bool ProgressChartView::MarksEachPoint() const {
    if (points_.size() <= 1) return true;
    return PlotArea().width() / static_cast<double>(points_.size() - 1) >= kMarkSpacing;
}

QPointF ProgressChartView::Position(std::size_t index, const QRectF& area) const {
    // A lone game stands in the middle; otherwise the games span the width.
    const double x = points_.size() <= 1
                         ? area.center().x()
                         : area.left() + area.width() * static_cast<double>(index) /
                                             static_cast<double>(points_.size() - 1);
    const double y = area.bottom() - area.height() * points_[index].Rate / axisTop_;
    return {x, y};
}

QPolygonF ProgressChartView::LinePoints(const QRectF& area) const {
    QPolygonF line;
    const double columns = std::max(1.0, std::floor(area.width()));
    if (static_cast<double>(points_.size()) <= 2.0 * columns) {
        line.reserve(static_cast<qsizetype>(points_.size()));
        for (std::size_t i = 0; i < points_.size(); ++i) line << Position(i, area);
        return line;
    }
    // More games than pixels: each pixel column keeps its lowest and highest
    // game in their order, which draws the same line from far fewer points.
    line.reserve(static_cast<qsizetype>(2 * columns + 2));
    std::size_t start = 0;
    while (start < points_.size()) {
        const double column = std::floor(Position(start, area).x());
        std::size_t low = start;
        std::size_t high = start;
        std::size_t end = start + 1;
        for (; end < points_.size() && std::floor(Position(end, area).x()) == column; ++end) {
            if (points_[end].Rate < points_[low].Rate) low = end;
            if (points_[end].Rate > points_[high].Rate) high = end;
        }
        line << Position(std::min(low, high), area);
        if (low != high) line << Position(std::max(low, high), area);
        start = end;
    }
    return line;
}

int ProgressChartView::NearestPoint(double x) const {
    if (points_.empty()) return -1;
    if (points_.size() == 1) return 0;
    const QRectF area = PlotArea();
    const double share = (x - area.left()) / area.width();
    return static_cast<int>(
        std::lround(std::clamp(share, 0.0, 1.0) * static_cast<double>(points_.size() - 1)));
}

void ProgressChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(colours::kWhite));
    painter.setPen(hasFocus() ? QPen(Qt::black, 2) : QPen(QColor(128, 128, 128), 1));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));

    const QRectF area = PlotArea();
    const QFontMetrics metrics(font());
    painter.setPen(Qt::black);
    painter.drawText(QPointF(6, metrics.ascent() + 4), QStringLiteral("op/min"));
    if (points_.empty()) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("Todavía no hay partidas"));
        return;
    }

    // Rate axis: round figures from 0 to the top.
    for (int i = 0; i <= kGridLines; ++i) {
        const double value = axisTop_ * i / kGridLines;
        const double y = area.bottom() - area.height() * i / kGridLines;
        painter.setPen(kGrid);
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.setPen(Qt::black);
        const QString label = QString::fromStdString(RateText(value, UserDecimalSeparator()));
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, area.left() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());

    // Date labels: first and last game, and between them as many as fit.
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("00/00/0000")) + 16.0;
    const std::size_t count = points_.size();
    const std::size_t labelCount =
        count == 1 ? 1
                   : std::clamp<std::size_t>(static_cast<std::size_t>(area.width() / labelWidth), 2,
                                             std::min<std::size_t>(count, 8));
    for (std::size_t k = 0; k < labelCount; ++k) {
        const std::size_t index = labelCount == 1 ? 0 : k * (count - 1) / (labelCount - 1);
        const double x = Position(index, area).x();
        const double left = std::clamp(x - labelWidth / 2.0, 0.0, width() - labelWidth);
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        painter.drawText(QRectF(left, area.bottom() + 5, labelWidth, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, ShortDate(points_[index].PlayedAt));
    }

    // The selected game's guide line runs under the line and the marks.
    if (selected_ >= 0) {
        const double x = Position(static_cast<std::size_t>(selected_), area).x();
        painter.setPen(QPen(QColor(96, 96, 96), 1, Qt::DashLine));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }

    painter.setRenderHint(QPainter::Antialiasing, count <= 2000);
    if (count > 1) {
        // A thin line once games crowd: a thick one over thousands of crossing
        // segments costs the raster engine a second a frame.
        const bool crowded = static_cast<double>(count) > area.width() / 2.0;
        painter.setPen(QPen(kLine, crowded ? 1 : 2));
        painter.drawPolyline(LinePoints(area));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (MarksEachPoint()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kMark);
        for (std::size_t i = 0; i < count; ++i) {
            if (i != best_) painter.drawEllipse(Position(i, area), kMarkRadius, kMarkRadius);
        }
    }

    // The personal best: a larger red mark with its figure beside it.
    const QPointF best = Position(best_, area);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kBestMark);
    painter.drawEllipse(best, kBestRadius, kBestRadius);
    const QString bestText =
        QStringLiteral("Mejor: %1")
            .arg(QString::fromStdString(RateText(points_[best_].Rate, UserDecimalSeparator())));
    const double textWidth = metrics.horizontalAdvance(bestText) + 8.0;
    const double textLeft =
        best.x() + textWidth + 12.0 > width() ? best.x() - textWidth - 10.0 : best.x() + 10.0;
    painter.setPen(kBestMark.darker(130));
    painter.drawText(
        QRectF(textLeft, best.y() - metrics.height() - 4.0, textWidth, metrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter, bestText);

    // The selected game's ring, for the keyboard and the mouse.
    if (selected_ >= 0) {
        painter.setPen(QPen(Qt::black, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(Position(static_cast<std::size_t>(selected_), area), kBestRadius + 3.0,
                            kBestRadius + 3.0);
    }
}

void ProgressChartView::keyPressEvent(QKeyEvent* event) {
    const int last = static_cast<int>(points_.size()) - 1;
    switch (event->key()) {
        case Qt::Key_Left:
            Select(selected_ - 1);
            break;
        case Qt::Key_Right:
            Select(selected_ + 1);
            break;
        case Qt::Key_PageUp:
            Select(selected_ - 10);
            break;
        case Qt::Key_PageDown:
            Select(selected_ + 10);
            break;
        case Qt::Key_Home:
            Select(0);
            break;
        case Qt::Key_End:
            Select(last);
            break;
        case Qt::Key_M:  // "mejor": jump to the personal best
            Select(static_cast<int>(best_));
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void ProgressChartView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    Select(NearestPoint(event->position().x()));
}

}  // namespace cifrano
