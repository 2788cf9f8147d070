#include "game/sheet_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "common/controls_view.h"
#include "common/geometry.h"
#include "game/sheet_accessible_view.h"

namespace cifrano {

namespace {

using namespace sheet_geometry;

constexpr int kNoKey = 0;
const QColor kBoxBorder(128, 128, 128);
const QColor kLineColour(0, 0, 0);

// Floor division: rows above the window give negative quotients.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int AnswerKeyCode(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Up:
            return kKeyUp;
        case Qt::Key_Down:
            return kKeyDown;
        // Every other key is just a key: "&" and "(" share their Qt codes with
        // the arrows' codes and must not move the row.
        default:
            return kNoKey;
    }
}

SheetView::SheetView(GameSession& session, QWidget* parent)
    : QWidget(parent), session_(session), font_(DesignFont(18, true)) {
    InstallSheetAccessibleFactory();
    setObjectName(QStringLiteral("Picture1"));
    setGeometry(
        TwipsRect(kSheetWindow.Left, kSheetWindow.Top, kSheetWindow.Width, kSheetWindow.Height));
    // Everything is painted here; nothing underneath shows through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    outside_ = palette().color(QPalette::Button);

    editor_ = new QLineEdit(this);
    editor_->setObjectName(QStringLiteral("Text1"));
    editor_->setFont(font_);
    editor_->setAlignment(Qt::AlignCenter);
    editor_->setFrame(false);
    editor_->hide();
    editor_->installEventFilter(this);
    editor_->setAccessibleDescription(
        QStringLiteral("Escribe el resultado y pulsa Intro o la flecha abajo"));
    // Every change of the box's text (typing, deleting, pasting, undoing) is
    // the row's answer; the editor only ever shows its own row's text.
    connect(editor_, &QLineEdit::textChanged, this, [this](const QString& text) {
        session_.SetAnswerText(editorRow_, text.toStdString());
    });
}

// The editor outlives this part of the view while QWidget deletes its
// children: no event of its may reach the game any more.
SheetView::~SheetView() { editor_->removeEventFilter(this); }

int SheetView::RowTopPixels(int row) const {
    return TwipsToPixels(session_.Sheet.Top + session_.Sheet.Rows[row].Top);
}

std::pair<int, int> SheetView::VisibleRows() const {
    const ProblemSheet& sheet = session_.Sheet;
    // A row reaches from its top to the bottom of its number label (the
    // underline lies above that); the rows stand one pitch apart.
    const int rowExtent = std::max(kNumberLabel.Height, kUnderlineBelowTop + 15);
    const int first = FloorDiv(-sheet.Top - kFirstRowTop - rowExtent, kRowPitch) + 1;
    const int last = FloorDiv(kSheetWindow.Height - sheet.Top - kFirstRowTop - 1, kRowPitch);
    return {std::max(first, 0), std::min(last, sheet.LastRow())};
}

QRect SheetView::AnswerBoxRect(int row) const {
    const ProblemSheet& sheet = session_.Sheet;
    if (!sheet.IsRow(row)) return {};
    return TwipsRect(sheet.AnswerLeft, sheet.Top + sheet.Rows[row].Top, sheet.AnswerWidth,
                     kAnswerBox.Height);
}

QRect SheetView::RowRect(int row) const {
    const ProblemSheet& sheet = session_.Sheet;
    if (!sheet.IsRow(row)) return {};
    const int extent = std::max(kNumberLabel.Height, kUnderlineBelowTop + 15);
    // Wide enough for captions that stand out of their cells.
    return QRect(0, RowTopPixels(row) - 2, width(), TwipsToPixels(extent) + 4);
}

int SheetView::RowAt(QPoint point) const {
    const ProblemSheet& sheet = session_.Sheet;
    const int yTwips = PixelsToTwips(point.y()) - sheet.Top - kFirstRowTop;
    const int guess = FloorDiv(yTwips, kRowPitch);
    // Rounding to whole pixels can put a point one row off the guess.
    for (int row = guess - 1; row <= guess + 1; ++row) {
        if (!sheet.IsProblemRow(row) || !sheet.Rows[row].AnswerShown) continue;
        if (AnswerBoxRect(row).contains(point)) return row;
    }
    return 0;
}

bool SheetView::Accepts() const { return session_.Sheet.Enabled && isEnabled(); }

void SheetView::paintEvent(QPaintEvent* event) {
    const ProblemSheet& sheet = session_.Sheet;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(event->rect(), outside_);
    // Picture2: the white sheet at its current top, clipped by the window.
    painter.fillRect(TwipsRect(0, sheet.Top, kSheetWidth, sheet.Height), Qt::white);
    painter.setFont(font_);
    // Rows stay inside the window's frame, also where one pixel of the frame
    // is several device pixels (a scaled screen).
    painter.setClipRegion(event->region().intersected(rect().adjusted(1, 1, -1, -1)));

    const auto [first, last] = VisibleRows();
    const QRect dirty = event->rect();
    const int underlineX1 = TwipsToPixels(sheet.UnderlineX1);
    const int underlineX2 = TwipsToPixels(sheet.UnderlineX2);
    // Captions wider than their cell stay readable rather than cut off.
    const int cellAlignment = Qt::AlignTop | Qt::TextDontClip;
    for (int r = first; r <= last; ++r) {
        if (!RowRect(r).intersects(dirty)) continue;
        const SheetRow& row = sheet.Rows[r];
        const int top = sheet.Top + row.Top;

        painter.setPen(kLineColour);
        const int lineY = TwipsToPixels(sheet.Top + row.UnderlineY());
        painter.drawLine(underlineX1, lineY, underlineX2, lineY);

        if (row.NumberShown) {
            painter.setPen(ToQColor(row.NumberColour));
            painter.drawText(
                TwipsRect(kNumberLabel.Left, top, kNumberLabel.Width, kNumberLabel.Height),
                cellAlignment | Qt::AlignLeft, ToQString(row.NumberCaption));
        }
        for (int c = 0; c < kTokenCellCount; ++c) {
            const TokenCell& cell = row.Cells[c];
            if (!cell.Shown) continue;
            const CellGeometry& g = kTokenCells[c];
            // Cell 7 is never recoloured by the highlight.
            painter.setPen(ToQColor(c == kTokenCellCount - 1 ? colours::kBlack : row.CellColour));
            painter.drawText(
                TwipsRect(g.Left, top, g.Width, g.Height),
                cellAlignment | (g.Centred ? int(Qt::AlignHCenter) : int(Qt::AlignLeft)),
                ToQString(cell.Caption));
        }
        // The editor covers the active box; painting under it would be wasted.
        if (row.AnswerShown && !(r == editorRow_ && editor_->isVisible())) {
            const QRect box = AnswerBoxRect(r);
            painter.fillRect(box, ToQColor(row.AnswerColour));
            painter.setPen(kBoxBorder);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignCenter, ToQString(row.AnswerText));
        }
    }
    // The window's own frame, so that the sheet reads as a window on a white
    // form: a ring one pixel wide, whole at any scale.
    painter.setClipRegion(event->region());
    const QRegion frame = QRegion(rect()).subtracted(rect().adjusted(1, 1, -1, -1));
    for (const QRect& part : frame) painter.fillRect(part, kBoxBorder);
}

SheetView::Snapshot SheetView::Take() const {
    return {session_.Sheet.Top, session_.CurrentRow, session_.PreviousRow, editorRow_};
}

void SheetView::UpdateRow(int row) {
    const QRect rect = RowRect(row);
    if (!rect.isEmpty()) update(rect);
}

void SheetView::AfterHandler(const Snapshot& before) {
    const bool moved = before.top != session_.Sheet.Top;
    FollowFocusRow();
    const auto touched = {before.currentRow,   before.previousRow,   before.editorRow,
                          session_.CurrentRow, session_.PreviousRow, editorRow_};
    if (moved) {
        update();
    } else {
        for (int row : touched) UpdateRow(row);
    }
    AnnounceSheetRows(this, touched, moved);
    emit Changed();
}

void SheetView::Refresh() {
    FollowFocusRow();
    update();
    AnnounceSheetRows(this, {}, true);
}

void SheetView::StyleEditor(Rgb colour) {
    if (colour == editorColour_) return;
    editorColour_ = colour;
    // A style sheet rather than the palette: the box keeps its colours when
    // the sheet is disabled at the end of the game.
    editor_->setStyleSheet(QStringLiteral("QLineEdit { background-color: rgb(%1,%2,%3);"
                                          " color: black; border: 1px solid rgb(128,128,128);"
                                          " padding: 0px; }")
                               .arg(colour.red)
                               .arg(colour.green)
                               .arg(colour.blue));
}

void SheetView::FollowFocusRow() {
    const ProblemSheet& sheet = session_.Sheet;
    const int row = session_.FocusRow;
    if (!sheet.IsProblemRow(row)) {
        editorRow_ = 0;
        editor_->hide();
        return;
    }
    const SheetRow& model = sheet.Rows[row];
    const bool newRow = row != editorRow_;
    editorRow_ = row;
    editor_->setGeometry(AnswerBoxRect(row));
    StyleEditor(model.AnswerColour);
    const QString text = ToQString(model.AnswerText);
    if (editor_->text() != text) editor_->setText(text);
    // The box is labelled with its problem, so a screen reader says which one it is.
    const QString problem = ToQString(ProblemReading(model));
    if (editor_->accessibleName() != problem) editor_->setAccessibleName(problem);
    if (!editor_->isVisible()) editor_->show();
    if (!newRow || !Accepts()) return;
    if (editor_->hasFocus()) {
        // The focus stays in the one box: a new problem is announced as a new focus.
        QAccessibleEvent focus(editor_, QAccessible::Focus);
        SendSheetEvent(focus);
    } else {
        editor_->setFocus(Qt::OtherFocusReason);
    }
}

void SheetView::ClickRow(int row) {
    if (!Accepts()) return;
    const Snapshot before = Take();
    session_.Text1_Click(row);
    AfterHandler(before);
    if (session_.FocusRow == row && editorRow_ == row) editor_->setFocus(Qt::MouseFocusReason);
}

bool SheetView::KeyPressed(int qtKey) {
    if (!Accepts()) return false;
    const Snapshot before = Take();
    session_.Text1_KeyDown(editorRow_, AnswerKeyCode(qtKey));
    AfterHandler(before);
    return Accepts();
}

void SheetView::mousePressEvent(QMouseEvent* event) {
    const int row = RowAt(event->position().toPoint());
    if (row > 0 && event->button() == Qt::LeftButton) {
        ClickRow(row);
        return;
    }
    QWidget::mousePressEvent(event);
}

bool SheetView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != editor_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress: {
            // The game sees the key first; the box then gives it its usual
            // effect (typing, caret), unless the game has just ended.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!KeyPressed(key->key())) return true;
            return false;
        }
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && editorRow_ > 0) ClickRow(editorRow_);
            return false;
        }
        default:
            return false;
    }
}

}  // namespace cifrano
