// What assistive technology reaches of the game: the painted sheet read row by
// row, the event that announces the next problem, and the quit question's
// default answer.
#include <QAccessible>
#include <QTimer>

#include "common/message_box_view.h"
#include "game/sheet_accessible_view.h"
#include "table_rows.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

// Every accessibility event the sheet sends: "type|name of what it is about|object".
QStringList seen;
QString Event(QAccessible::Event type, const QString& name, const QString& object = "") {
    return QString("%1|%2|%3").arg(int(type)).arg(name, object);
}
void RecordEvent(QAccessibleEvent* event) {
    QAccessibleInterface* iface = event->accessibleInterface();
    const QObject* object = event->object();
    seen << Event(event->type(), iface ? iface->text(QAccessible::Name) : "",
                  object ? object->objectName() : "");
}

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}
QString Name(QAccessibleInterface* iface) { return iface->text(QAccessible::Name); }

// A row of the sheet as the player reads it: "1-  12 + 7 =".
QString Problem(const Harness& h, int row) {
    const auto& c = h.Session().Sheet.Rows[row].Cells;
    return QString("%1-  %2 + %3 =")
        .arg(row)
        .arg(QString::fromStdString(c[0].Caption), QString::fromStdString(c[2].Caption));
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

  private slots:
    // The offscreen platform has no accessibility bridge, and Qt drops events
    // without one: the sheet's events are watched where it sends them.
    void init() {
        SetSheetEventSpy(RecordEvent);
        seen.clear();
    }
    void cleanup() { SetSheetEventSpy(nullptr); }

    // A row pressed through assistive technology, answered right or wrong and
    // checked with Enter: its name and state before and after; the judged row
    // tells of its new name and the box, now on row 2, is announced as a focus.
    void answeredRowIsReadWithItsState_data() { Rows({"0|acierto", "1|error"}); }
    void answeredRowIsReadWithItsState() {
        QFETCH(QByteArrayList, row);
        const int offset = row[0].toInt();
        const QString state = row[1];
        AtGame h;
        QApplication::setActiveWindow(h.Game());  // the flow activates no window offscreen
        QAccessibleInterface* sheet = Accessible(h.View());
        QCOMPARE(Name(sheet), "Hoja de problemas");
        QCOMPARE(Name(sheet->child(0)), "Tipo de operación: AA + B =");
        h.Inicio();
        QAccessibleInterface* item = sheet->child(1);
        QVERIFY(sheet->role() == QAccessible::List && item->role() == QAccessible::ListItem);
        QCOMPARE(Name(item), Problem(h, 1) + ", sin contestar");
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(h.View()->EditorRow() == 1 && item->state().selected);
        QCOMPARE(Name(Accessible(h.Editor())), Problem(h, 1));
        const QString answer = h.Solution(1, offset);
        QTest::keyClicks(h.Editor(), answer);
        QCOMPARE(Name(item), Problem(h, 1) + " " + answer + ", sin comprobar");
        seen.clear();
        QTest::keyClick(h.Editor(), Qt::Key_Return);
        QCOMPARE(Name(item), Problem(h, 1) + " " + answer + ", " + state);
        QCOMPARE(item->text(QAccessible::Description), state);
        QVERIFY(!item->state().selected && sheet->child(2)->state().selected);
        QVERIFY(!seen.filter(Event(QAccessible::NameChanged, Name(item))).isEmpty());
        QVERIFY(seen.contains(Event(QAccessible::Focus, Problem(h, 2), "Text1")));
        // The rows in view come first, then the answer box; a row out of view has no index.
        const int count = sheet->childCount();
        QVERIFY(sheet->child(count - 1)->object() == h.Editor() && !sheet->child(count));
        QVERIFY(sheet->indexOfChild(sheet->child(count - 1)) == count - 1 &&
                sheet->indexOfChild(item) == 1);
        for (int i = 0; i < 3; ++i) h.Click(Game, "Command2(1)");
        QCOMPARE(sheet->indexOfChild(item), -1);
    }

    void quitQuestionDefaultsToYes() {
        QTimer::singleShot(
            0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        MessageBoxPrompts prompts;
        QVERIFY(prompts.AskYesNo("¿Quieres salir del programa?"));
    }
};

CIFRANO_TEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
