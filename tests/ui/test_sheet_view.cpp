// The sheet view's wiring: real key and mouse events reach the game, and the
// window shows the sheet as the game left it.
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "common/geometry.h"
#include "game/answer_check.h"
#include "game/game_session.h"
#include "game/sheet_view.h"
#include "recording_sound_cues.h"

using namespace cifrano;

namespace {

constexpr int kPitchPixels = sheet_geometry::kRowPitch / kTwipsPerPixel;

// A one-minute "AA + B =" game, started, in a shown view.
struct Game {
    Game() {
        GameSettings settings;
        settings.OperationFields = {"AA", "+", "B", "="};
        settings.GameMinutes = 1;
        session.FormLoad(settings, "AA + B =");
        SeededRandom random(7);
        session.StartGame(random, cues);
        view = std::make_unique<SheetView>(session, cues);
        view->show();
    }
    QLineEdit* editor() const { return view->Editor(); }
    void Click(int row) {
        QTest::mouseClick(view.get(), Qt::LeftButton, {}, view->AnswerBoxRect(row).center());
    }
    QString RightAnswer(int row) const {
        const SheetRow& r = session.Sheet.Rows[row];
        const auto value =
            ExpectedValue(session.ProblemShape, r.Cells[0].Caption, r.Cells[1].Caption,
                          r.Cells[2].Caption, r.Cells[3].Caption, r.Cells[4].Caption);
        return QString::number(static_cast<long long>(*value));
    }
    bool EditorOn(int row) const {
        return view->EditorRow() == row && editor()->isVisible() &&
               editor()->geometry() == view->AnswerBoxRect(row) && view->focusWidget() == editor();
    }
    GameSession session;
    RecordingSoundCues cues;
    std::unique_ptr<SheetView> view;
};

}  // namespace

class TestSheetView : public QObject {
    Q_OBJECT
  private slots:
    void clickOnABoxActivatesItsRow();
    void clickBetweenBoxesOrOnTheTemplateDoesNothing();
    void clickOnTheActiveBoxChecksItAgain();
    void typingReplacesThePlaceholder();
    void movingKeys_data();
    void movingKeys();
    void charactersSharingArrowCodesDoNotMove();
    void upInRowOneChecksWithoutMoving();
    void disabledSheetTakesNoInput();
    void visibleRows_data();
    void visibleRows();
    void paintsAnswerColourAtTheScrolledPlace();
};

void TestSheetView::clickOnABoxActivatesItsRow() {
    Game game;
    QVERIFY(!game.editor()->isVisible());  // no box holds the focus before the first click
    game.Click(3);
    QCOMPARE(game.session.CurrentRow, 3);
    QVERIFY(game.session.RowActive);
    QVERIFY(game.EditorOn(3));
    QCOMPARE(game.editor()->text(), QString());  // the "?" is gone
    QVERIFY(game.session.Sheet.Rows[3].Highlighted());
    QCOMPARE(game.session.Sheet.Top, 0);  // a click does not scroll
}

void TestSheetView::clickBetweenBoxesOrOnTheTemplateDoesNothing() {
    Game game;
    const QRect box = game.view->AnswerBoxRect(2);
    QCOMPARE(game.view->RowAt(box.topLeft()), 2);
    QCOMPARE(game.view->RowAt(box.bottomRight()), 2);
    QCOMPARE(game.view->RowAt(box.topLeft() - QPoint(1, 0)), 0);
    QCOMPARE(game.view->RowAt(box.bottomLeft() + QPoint(0, 2)), 0);  // the gap below the box
    QCOMPARE(game.view->RowAt(game.view->AnswerBoxRect(0).center()), 0);
    QTest::mouseClick(game.view.get(), Qt::LeftButton, {}, game.view->AnswerBoxRect(0).center());
    QCOMPARE(game.session.RowActive, false);
    QVERIFY(!game.editor()->isVisible());
}

void TestSheetView::clickOnTheActiveBoxChecksItAgain() {
    Game game;
    game.Click(1);
    QTest::keyClicks(game.editor(), "0");
    QTest::mouseClick(game.editor(), Qt::LeftButton);
    QTest::mouseClick(game.editor(), Qt::LeftButton);
    QCOMPARE(game.session.ErrorCount, 2);  // every click judges the active row again
    QCOMPARE(game.session.Sheet.Rows[1].AnswerColour, colours::kAnswerError);
    QVERIFY(game.EditorOn(1));
}

void TestSheetView::typingReplacesThePlaceholder() {
    Game game;
    game.Click(1);
    QTest::keyClicks(game.editor(), "56");
    QCOMPARE(game.editor()->text(), QStringLiteral("56"));
    QCOMPARE(game.session.Sheet.Rows[1].AnswerText, std::string("56"));
    QTest::keyClick(game.editor(), Qt::Key_Backspace);
    QCOMPARE(game.session.Sheet.Rows[1].AnswerText, std::string("5"));
    QTest::keyClick(game.editor(), Qt::Key_Z, Qt::ControlModifier);  // undo
    QCOMPARE(game.session.Sheet.Rows[1].AnswerText, game.editor()->text().toStdString());
    // A "?" typed by the player is a placeholder again at the next key.
    game.Click(4);
    QTest::keyClicks(game.editor(), "?4");
    QCOMPARE(game.editor()->text(), QStringLiteral("4"));
    QCOMPARE(game.session.Sheet.Rows[4].AnswerText, std::string("4"));
}

void TestSheetView::movingKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("right");
    QTest::addColumn<int>("rowAfter");
    QTest::newRow("Enter, right") << int(Qt::Key_Return) << int(Qt::NoModifier) << true << 3;
    QTest::newRow("keypad Enter, wrong")
        << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << 3;
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << true << 3;
    QTest::newRow("Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << false << 3;
    QTest::newRow("Ctrl+Down") << int(Qt::Key_Down) << int(Qt::ControlModifier) << true << 3;
    QTest::newRow("Up") << int(Qt::Key_Up) << int(Qt::NoModifier) << true << 1;
}

void TestSheetView::movingKeys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, right);
    QFETCH(int, rowAfter);
    Game game;
    game.Click(2);
    const QRect activePlace = game.view->AnswerBoxRect(2);
    QTest::keyClicks(game.editor(), right ? game.RightAnswer(2) : QStringLiteral("100000"));
    QTest::keyClick(game.editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    const SheetRow& checked = game.session.Sheet.Rows[2];
    QCOMPARE(checked.AnswerColour, right ? colours::kAnswerHit : colours::kAnswerError);
    QCOMPARE(game.session.CurrentRow, rowAfter);
    QVERIFY(game.EditorOn(rowAfter));
    QCOMPARE(game.editor()->text(), QString());  // the new box's "?" is cleared at once
    QVERIFY(game.session.Sheet.Rows[rowAfter].Highlighted());
    QVERIFY(!checked.Highlighted());
    // The active row keeps its place on screen.
    QCOMPARE(game.view->AnswerBoxRect(rowAfter), activePlace);
    QCOMPARE(game.session.Sheet.Top, (rowAfter > 2 ? -1 : 1) * sheet_geometry::kRowPitch);
    QCOMPARE(game.session.HitCount, right ? 1 : 0);
    QCOMPARE(game.session.ErrorCount, right ? 0 : 1);
}

void TestSheetView::charactersSharingArrowCodesDoNotMove() {
    Game game;
    game.Click(2);
    QTest::keyClick(game.editor(), Qt::Key_Ampersand, Qt::ShiftModifier);  // code 38, as Up
    QTest::keyClick(game.editor(), Qt::Key_ParenLeft, Qt::ShiftModifier);  // code 40, as Down
    QTest::keyClick(game.editor(), Qt::Key_Direction_R);                   // a key without text
    QCOMPARE(game.session.CurrentRow, 2);
    QCOMPARE(game.session.Sheet.Top, 0);
    QCOMPARE(game.session.HitCount + game.session.ErrorCount, 0);
}

void TestSheetView::upInRowOneChecksWithoutMoving() {
    Game game;
    game.Click(1);
    QTest::keyClicks(game.editor(), "1");
    QTest::keyClick(game.editor(), Qt::Key_Up);
    QCOMPARE(game.session.ErrorCount, 1);
    QVERIFY(game.EditorOn(1));
    QCOMPARE(game.session.Sheet.Top, 0);
    // The editor shows the row's new colour.
    QVERIFY(game.editor()->styleSheet().contains(QStringLiteral("rgb(255,0,0)")));
}

void TestSheetView::disabledSheetTakesNoInput() {
    Game game;
    game.Click(1);
    QTest::keyClicks(game.editor(), "7");
    game.session.Sheet.Enabled = false;  // the end of the game
    QTest::keyClicks(game.editor(), "8");
    QTest::keyClick(game.editor(), Qt::Key_Return);
    game.Click(4);
    QCOMPARE(game.editor()->text(), QStringLiteral("7"));
    QCOMPARE(game.session.Sheet.Rows[1].AnswerText, std::string("7"));
    QCOMPARE(game.session.CurrentRow, 1);
    QCOMPARE(game.session.HitCount + game.session.ErrorCount, 0);
}

void TestSheetView::visibleRows_data() {
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("start") << 0 << 0 << 8;
    QTest::newRow("row 9 half out at the top") << -6500 << 9 << 18;
    QTest::newRow("near the end") << -650 * 95 << 94 << 100;
    QTest::newRow("all rows below the window") << 6500 << 0 << -2;
    QTest::newRow("all rows above the window") << -650 * 200 << 199 << 100;
}

void TestSheetView::visibleRows() {
    QFETCH(int, top);
    QFETCH(int, first);
    QFETCH(int, last);
    Game game;
    game.session.Sheet.Top = top;
    QCOMPARE(game.view->VisibleRows(), std::make_pair(first, last));
}

void TestSheetView::paintsAnswerColourAtTheScrolledPlace() {
    Game game;
    game.Click(1);
    QTest::keyClicks(game.editor(), game.RightAnswer(1));
    QTest::keyClick(game.editor(), Qt::Key_Return);  // hit; the sheet moves one row up
    game.view->Refresh();
    const QImage frame = game.view->grab().toImage();
    const QRect box = game.view->AnswerBoxRect(1);
    QCOMPARE(box.top(), (600 + 650 - 650) / kTwipsPerPixel);
    QCOMPARE(frame.pixelColor(box.topLeft() + QPoint(2, 2)), QColor(0, 255, 0));
    QCOMPARE(frame.pixelColor(game.view->AnswerBoxRect(5).topLeft() + QPoint(2, 2)),
             QColor(255, 192, 255));
    // Above the first row the window shows nothing of the sheet's rows.
    game.session.Sheet.Top = 20 * sheet_geometry::kRowPitch;
    game.view->Refresh();
    const QImage empty = game.view->grab().toImage();
    QCOMPARE(empty.pixelColor(game.view->width() / 2, 5 * kPitchPixels),
             game.view->palette().color(QPalette::Button));
}

QTEST_MAIN(TestSheetView)
#include "test_sheet_view.moc"
