// The sheet view's wiring on the game screen: real key and mouse events reach
// the game, and the window shows the sheet as the game left it.
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

// A one-minute "AA + B =" game, started.
struct Sheet : Game {
    Sheet() { Inicio(); }
    const SheetRow& Row(int row) { return session().Sheet.Rows[row]; }
    bool EditorOn(int row) {
        return view()->EditorRow() == row && editor()->isVisible() &&
               view()->focusWidget() == editor() &&
               editor()->geometry() == view()->AnswerBoxRect(row);
    }
};

}  // namespace

class TestSheetView : public QObject {
    Q_OBJECT

  private slots:
    void clickOnABoxActivatesItsRow() {
        Sheet s;
        const QRect box = s.view()->AnswerBoxRect(3);
        QCOMPARE(s.view()->RowAt(box.topLeft() - QPoint(1, 0)), 0);     // beside the box
        QCOMPARE(s.view()->RowAt(box.bottomLeft() + QPoint(0, 2)), 0);  // the gap below it
        s.ClickRow(0);                                                  // the template row
        QVERIFY(!s.session().RowActive);
        s.ClickRow(3);
        QVERIFY(s.EditorOn(3) && s.Row(3).Highlighted());
        QCOMPARE(s.editor()->text(), QString());  // the "?" is gone
        QCOMPARE(s.session().Sheet.Top, 0);       // a click does not scroll
        QTest::keyClicks(s.editor(), "0");
        QTest::mouseClick(s.editor(), Qt::LeftButton);
        QTest::mouseClick(s.editor(), Qt::LeftButton);
        QCOMPARE(s.session().ErrorCount, 2);  // every click on the active box judges it again
    }

    void typingReplacesThePlaceholder() {
        Sheet s;
        s.Type(1, "56");
        QCOMPARE(s.Row(1).AnswerText, std::string("56"));
        QTest::keyClick(s.editor(), Qt::Key_Z, Qt::ControlModifier);  // undo stays in step
        QCOMPARE(s.Row(1).AnswerText, s.editor()->text().toStdString());
        s.Type(4, "?4");  // a "?" typed by the player is a placeholder again
        QCOMPARE(s.Row(4).AnswerText, std::string("4"));
    }

    // Each key checks the active row, then moves; the new active row takes its place.
    void movingKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("right");
        QTest::newRow("Enter, right") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("keypad Enter, wrong")
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false;
        QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << true;
        QTest::newRow("Down") << int(Qt::Key_Down) << int(Qt::NoModifier) << false;
        QTest::newRow("Ctrl+Down") << int(Qt::Key_Down) << int(Qt::ControlModifier) << true;
        QTest::newRow("Up") << int(Qt::Key_Up) << int(Qt::NoModifier) << true;
    }
    void movingKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, right);
        const int next = key == Qt::Key_Up ? 1 : 3;
        Sheet s;
        s.Type(2, s.Answer(2, right ? 0 : 1));
        const QRect place = s.view()->AnswerBoxRect(2);
        QTest::keyClick(s.editor(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(s.Row(2).AnswerColour, right ? colours::kAnswerHit : colours::kAnswerError);
        QCOMPARE(QPoint(s.session().HitCount, s.session().ErrorCount), QPoint(right, !right));
        QVERIFY(s.EditorOn(next) && s.Row(next).Highlighted() && !s.Row(2).Highlighted());
        QCOMPARE(s.editor()->text(), QString());  // the new box's "?" is cleared at once
        QCOMPARE(s.view()->AnswerBoxRect(next), place);
        QCOMPARE(s.session().Sheet.Top, (2 - next) * sheet_geometry::kRowPitch);
    }

    void keysThatDoNotMove() {
        Sheet s;
        s.Type(1, "1");  // Up in row 1 checks without moving
        QTest::keyClick(s.editor(), Qt::Key_Up);
        QCOMPARE(s.session().ErrorCount, 1);
        QVERIFY(s.EditorOn(1) && s.session().Sheet.Top == 0);
        QVERIFY(s.editor()->styleSheet().contains("rgb(255,0,0)"));  // the row's new colour
        s.ClickRow(2);
        const int errors = s.session().ErrorCount;
        QTest::keyClick(s.editor(), Qt::Key_Ampersand, Qt::ShiftModifier);  // code 38, as Up
        QTest::keyClick(s.editor(), Qt::Key_ParenLeft, Qt::ShiftModifier);  // code 40, as Down
        QTest::keyClick(s.editor(), Qt::Key_Direction_R);                   // a key without text
        QCOMPARE(QPoint(s.session().CurrentRow, s.session().Sheet.Top), QPoint(2, 0));
        QCOMPARE(s.session().ErrorCount, errors);
    }

    void disabledSheetTakesNoInput() {
        Sheet s;
        s.Type(1, "7");
        s.session().Sheet.Enabled = false;  // the end of the game
        QTest::keyClicks(s.editor(), "8");
        QTest::keyClick(s.editor(), Qt::Key_Return);
        s.ClickRow(4);
        QCOMPARE(s.Row(1).AnswerText + s.editor()->text().toStdString(), std::string("77"));
        QCOMPARE(s.session().CurrentRow, 1);
        QCOMPARE(s.session().HitCount + s.session().ErrorCount, 0);
    }

    void arrowButtonsScroll650TwipsKeepingTheFocus() {
        Sheet s;
        s.ClickRow(2);
        const int before = s.editor()->y();
        for (const char* arrow : {"Command2(1)", "Command2(1)", "Command2(0)"})
            Click(&s.screen(), arrow);
        QCOMPARE(s.session().Sheet.Top, -650);
        QCOMPARE(s.cues.Count(SoundCue::ArribaAbajo), 3);
        QVERIFY(s.EditorOn(2));  // the editor travels with its row
        QVERIFY(qAbs(before - TwipsToPixels(650) - s.editor()->y()) <= 1);
    }

    void visibleRows() {  // sheet top -> first and last row in the window
        Sheet s;
        for (auto [top, first, last] :
             {std::tuple{0, 0, 8}, {-6500, 9, 18}, {6500, 0, -2}, {-650 * 200, 199, 100}}) {
            s.session().Sheet.Top = top;
            QCOMPARE(s.view()->VisibleRows(), std::make_pair(first, last));
        }
    }

    void paintsAnswerColourAtTheScrolledPlace() {
        Sheet s;
        s.Type(1, s.Answer(1));
        QTest::keyClick(s.editor(), Qt::Key_Return);  // hit; the sheet moves one row up
        s.view()->Refresh();
        const QImage frame = s.view()->grab().toImage();
        const QRect box = s.view()->AnswerBoxRect(1);
        QCOMPARE(box.top(), 600 / kTwipsPerPixel);
        QCOMPARE(frame.pixelColor(box.topLeft() + QPoint(2, 2)), QColor(0, 255, 0));
        QCOMPARE(frame.pixelColor(s.view()->AnswerBoxRect(5).topLeft() + QPoint(2, 2)),
                 QColor(255, 192, 255));
        s.session().Sheet.Top = 20 * sheet_geometry::kRowPitch;  // above the first row: no rows
        s.view()->Refresh();
        const QImage empty = s.view()->grab().toImage();
        QCOMPARE(empty.pixelColor(s.view()->width() / 2, 5 * 650 / kTwipsPerPixel),
                 s.view()->palette().color(QPalette::Button));
    }
};

QTEST_MAIN(TestSheetView)
#include "test_sheet_view.moc"
