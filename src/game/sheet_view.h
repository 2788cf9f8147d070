#pragma once
// Picture1: the fixed window onto the problem sheet. It paints the rows in
// view straight from the sheet's data and keeps one line edit over the active
// row's answer box; no widget exists per row.
#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QRect>
#include <QWidget>
#include <utility>

#include "game/game_session.h"

namespace cifrano {

class SheetView : public QWidget {
    Q_OBJECT
  public:
    SheetView(GameSession& session, QWidget* parent = nullptr);
    ~SheetView() override;

    // Text1: the one answer box that takes input, over row EditorRow().
    QLineEdit* Editor() const { return editor_; }
    // The row the editor stands on; 0 while no answer box is active.
    int EditorRow() const { return editorRow_; }

    // First and last row that touch the window at the sheet's current top
    // (first > last when none does).
    std::pair<int, int> VisibleRows() const;
    // The answer box of a row, in this widget's pixels.
    QRect AnswerBoxRect(int row) const;
    // The problem row whose answer box holds the point, or 0.
    int RowAt(QPoint point) const;
    // The band a row is painted in, in this widget's pixels.
    QRect RowRect(int row) const;
    // The game the view shows.
    const GameSession& Session() const { return session_; }

    // A click on a row's answer box (also pressed through assistive technology).
    void ClickRow(int row);

    // The sheet changed outside the view (a new game, a scroll, the end of the
    // game): repaint the rows in view and put the editor where the game wants it.
    void Refresh();

  signals:
    // A key or a click reached the game: counters and colours may have changed.
    void Changed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // What a handler may change, taken before it runs, so that only the rows
    // it touched are repainted when the sheet did not move.
    struct Snapshot {
        int top = 0;
        int currentRow = 0;
        int previousRow = 0;
        int editorRow = 0;
    };
    Snapshot Take() const;
    void AfterHandler(const Snapshot& before);
    bool KeyPressed(int qtKey);
    void FollowFocusRow();
    void StyleEditor(Rgb colour);
    void UpdateRow(int row);
    int RowTopPixels(int row) const;
    bool Accepts() const;

    GameSession& session_;
    QLineEdit* editor_ = nullptr;
    int editorRow_ = 0;
    Rgb editorColour_{-1, -1, -1};
    QFont font_;
    QColor outside_;
};

// Qt key to the key codes the answer boxes understand (Enter, Up, Down), or
// the Qt key itself for every other key.
int AnswerKeyCode(int qtKey);

}  // namespace cifrano
