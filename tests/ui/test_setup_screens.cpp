#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "common/geometry.h"
#include "setup/exercise_selection_screen.h"
#include "setup/player_selection_screen.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

void Pick(PlayerSelectionScreen& screen, int list, const QString& file) {
    QListWidget* files = screen.FileList(list);
    const auto found = files->findItems(file, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(file));
    // A real click on the item, as a player does.
    const QRect rect = files->visualItemRect(found.first());
    files->scrollToItem(found.first());
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(found.first()).center());
    Q_UNUSED(rect);
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
}

QSize PixelsOf(int widthTwips, int heightTwips) {
    return {TwipsToPixels(widthTwips), TwipsToPixels(heightTwips)};
}

}  // namespace

class SetupScreensTest : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFolder> folder_;
    std::unique_ptr<FlowHarness> harness_;

    void Open(const QByteArray& configuration = "AA + B =\nA x B + C =\nA : B =\n") {
        folder_ = std::make_unique<AppFolder>(configuration);
        folder_->AddUser("Ana.png", 80, 100);     // 1200 x 1500 twips
        QVERIFY(folder_->CopyFromDefaultData("usuarios/Carlos.gif", "usuarios/ana.gif"));
        folder_->AddUser("Carlos.bmp", 120, 90);  // 1800 x 1350 twips
        folder_->AddUser("Lucía.jpg", 96, 128);
        folder_->AddUser("jugador 1.png", 50, 50);
        WriteFile(folder_->Path("usuarios/notas.txt"), "no es una imagen");
        WriteFile(folder_->Path("usuarios/.oculto.png"), "hidden");
        QDir(folder_->Path("usuarios")).mkpath("subcarpeta");
        harness_ = std::make_unique<FlowHarness>(folder_->Path());
        harness_->flow.Start();
        harness_->flow.Show(ScreenId::PlayerSelection);
        ProcessDeferredDeletes();
    }
    PlayerSelectionScreen& Players() { return harness_->flow.PlayerSelection(); }
    QPushButton* Button(QWidget* screen, const char* name) {
        return screen->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void Accept() { QTest::mouseClick(Button(&Players(), "Command1"), Qt::LeftButton); }

private slots:
    void cleanup() {
        harness_.reset();
        folder_.reset();
    }

    void fileListsShowUserFilesSorted() {
        Open();
        const QStringList expected{"ana.gif", "Ana.png", "Carlos.bmp", "jugador 1.png",
                                   "Lucía.jpg", "notas.txt"};
        QCOMPARE(Items(Players().FileList(0)), expected);
        QCOMPARE(Items(Players().FileList(1)), expected);
        QCOMPARE(Players().PlayerName(0), QString("Jugador 1"));
        QCOMPARE(Players().PlayerName(1), QString("Jugador 2"));
        QVERIFY(Players().ChosenFile(0).isEmpty());
    }

    void pickingShowsNameAndScaledPicture_data() {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("png, portrait") << 0 << "Ana.png" << "Ana" << PixelsOf(1740, 2175);
        QTest::newRow("bmp, landscape") << 1 << "Carlos.bmp" << "Carlos" << PixelsOf(2900, 2175);
        QTest::newRow("jpeg, accented name") << 0 << "Lucía.jpg" << "Lucía"
                                             << PixelsOf(1631, 2175);
        QTest::newRow("gif, square") << 1 << "ana.gif" << "ana" << PixelsOf(2175, 2175);  // 200 x 200
    }
    void pickingShowsNameAndScaledPicture() {
        QFETCH(int, list);
        QFETCH(QString, file);
        QFETCH(QString, name);
        QFETCH(QSize, pictureSize);
        Open();
        Pick(Players(), list, file);
        QCOMPARE(Players().PlayerName(list), name);
        QCOMPARE(Players().ChosenFile(list), file);
        auto* box = Players().findChild<QLabel*>(QStringLiteral("Image1(%1)").arg(list));
        QVERIFY(box);
        QCOMPARE(box->size(), pictureSize);
        QVERIFY(box->isVisible());
        QCOMPARE(Players().PlayerName(1 - list), QString(list == 0 ? "Jugador 2" : "Jugador 1"));
        QVERIFY(harness_->cues.played.empty());  // picking a file is silent
    }

    void notAPictureSetsNameKeepsPicture() {
        Open();
        Pick(Players(), 0, "Ana.png");
        Pick(Players(), 0, "notas.txt");
        QCOMPARE(Players().PlayerName(0), QString("notas"));
        QCOMPARE(Players().Picture(0).size(), QSize(80, 100));
    }

    void acceptanceChecks_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        QTest::newRow("nobody picked") << "" << "" << "Has de seleccionar el jugador 1";
        QTest::newRow("only player 2") << "" << "Ana.png" << "Has de seleccionar el jugador 1";
        QTest::newRow("user named jugador 1") << "jugador 1.png" << ""
                                              << "Has de seleccionar el jugador 1";
        QTest::newRow("same user twice") << "Ana.png" << "Ana.png"
                                         << "Se han de seleccionar nombres de jugadores diferentes";
        QTest::newRow("names differ in case only")
            << "Ana.png" << "ana.gif" << "Se han de seleccionar nombres de jugadores diferentes";
        QTest::newRow("single player") << "Carlos.bmp" << "" << "";
        QTest::newRow("two players") << "Carlos.bmp" << "Lucía.jpg" << "";
    }
    void acceptanceChecks() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        Open();
        if (!first.isEmpty()) Pick(Players(), 0, first);
        if (!second.isEmpty()) Pick(Players(), 1, second);
        Accept();
        ScreenFlow& flow = harness_->flow;
        if (message.isEmpty()) {
            QVERIFY(harness_->prompts.messages.empty());
            QVERIFY(flow.IsLoaded(ScreenId::ExerciseSelection));
            QVERIFY(Players().isMinimized());
            QVERIFY(!Players().isEnabled());
            QCOMPARE(harness_->cues.Count(SoundCue::Continuar), 1);
        } else {
            QCOMPARE(harness_->prompts.messages, std::vector<std::string>{message.toStdString()});
            QVERIFY(!flow.IsLoaded(ScreenId::ExerciseSelection));
            QVERIFY(!Players().isMinimized());
            QVERIFY(Players().isEnabled());
            QCOMPARE(harness_->cues.Count(SoundCue::Continuar), 0);
        }
    }

    void exerciseSelectionAtLoad() {
        Open();
        Pick(Players(), 0, "Carlos.bmp");
        harness_->cues.played.clear();
        Accept();
        ExerciseSelectionScreen& exercise = harness_->flow.ExerciseSelection();
        QCOMPARE(harness_->cues.played,
                 (std::vector<SoundCue>{SoundCue::Continuar, SoundCue::List}));
        QCOMPARE(Items(exercise.OperationList()),
                 (QStringList{"AA + B =", "A x B + C =", "A : B ="}));
        QCOMPARE(exercise.OperationList()->currentRow(), 0);
        QCOMPARE(harness_->flow.Settings().OperationFields,
                 (OperationFields{"AA", "+", "B", "=", "", "", "", "", "", "", ""}));
        QCOMPARE(harness_->flow.Settings().GameMinutes, short(1));
        QCOMPARE(exercise.MinuteFace(0), colours::kBlue);
        for (int i = 1; i < 6; ++i) QCOMPARE(exercise.MinuteFace(i), colours::kWhite);
        // The players' pictures at this screen's height: only the left one for one player.
        auto* left = exercise.findChild<QLabel*>("Image1(0)");
        auto* right = exercise.findChild<QLabel*>("Image1(1)");
        QCOMPARE(left->size(), PixelsOf(1620, 1215));
        QVERIFY(right->pixmap().isNull());
        // Tab order: ACEPTAR, the list, then the minute buttons.
        QStringList order;
        QWidget* start = Button(&exercise, "Command1");
        QWidget* widget = start;
        do {
            if ((widget->focusPolicy() & Qt::TabFocus) && !widget->objectName().isEmpty())
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != start);
        QCOMPARE(order, (QStringList{"Command1", "List1", "Command2(0)", "Command2(1)",
                                     "Command2(2)", "Command2(3)", "Command2(4)", "Command2(5)"}));
    }

    void minuteButtons_data() {
        QTest::addColumn<QList<int>>("presses");
        QTest::addColumn<int>("minutes");
        QTest::newRow("four") << QList<int>{3} << 4;
        QTest::newRow("six then two") << QList<int>{5, 1} << 2;
        QTest::newRow("the chosen one again") << QList<int>{2, 2} << 3;
        QTest::newRow("one") << QList<int>{0} << 1;
    }
    void minuteButtons() {
        QFETCH(QList<int>, presses);
        QFETCH(int, minutes);
        Open();
        Pick(Players(), 0, "Carlos.bmp");
        Accept();
        ExerciseSelectionScreen& exercise = harness_->flow.ExerciseSelection();
        harness_->cues.played.clear();
        for (int press : presses) QTest::mouseClick(exercise.MinuteButton(press), Qt::LeftButton);
        QCOMPARE(harness_->cues.Count(SoundCue::Boton), int(presses.size()));
        QCOMPARE(harness_->flow.Settings().GameMinutes, short(minutes));
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(exercise.MinuteFace(i), i == minutes - 1 ? colours::kBlue : colours::kWhite);
        }
    }

    void listSelectionFillsFields() {
        Open("A x B + C = 7 8 9 10 11\nAA + B\n   \n");
        Pick(Players(), 0, "Carlos.bmp");
        Accept();
        ExerciseSelectionScreen& exercise = harness_->flow.ExerciseSelection();
        QCOMPARE(exercise.OperationList()->count(), 3);  // a line of blanks is an item
        QCOMPARE(harness_->flow.Settings().OperationFields[10], std::string("11"));
        harness_->cues.played.clear();
        exercise.OperationList()->setCurrentRow(1);
        QCOMPARE(harness_->cues.played, std::vector<SoundCue>{SoundCue::List});
        QCOMPARE(harness_->flow.Settings().OperationFields,
                 (OperationFields{"AA", "+", "B", "", "", "", "", "", "", "", ""}));
        QCOMPARE(exercise.SelectedOperationText(), std::string("AA + B"));
        exercise.OperationList()->setCurrentRow(2);
        QCOMPARE(harness_->flow.Settings().OperationFields,
                 (OperationFields{"", "", "", "", "", "", "", "", "", "", ""}));
    }

    void configurationFailuresEndCleanly_data() {
        QTest::addColumn<QByteArray>("configuration");
        QTest::addColumn<QString>("messageStart");
        QTest::newRow("missing") << QByteArray() << "No se encuentra el archivo de configuración: ";
        QTest::newRow("empty") << QByteArray("")
                               << "El archivo de configuración no contiene ningún tipo de operación";
        QTest::newRow("only empty lines")
            << QByteArray("\r\n\n\r") << "El archivo de configuración no contiene ningún tipo";
    }
    void configurationFailuresEndCleanly() {
        QFETCH(QByteArray, configuration);
        QFETCH(QString, messageStart);
        Open(configuration);
        Pick(Players(), 0, "Carlos.bmp");
        Accept();
        QCOMPARE(harness_->endCodes, std::vector<int>{1});
        QCOMPARE(harness_->prompts.messages.size(), std::size_t(1));
        const QString message = QString::fromStdString(harness_->prompts.messages[0]);
        QVERIFY2(message.startsWith(messageStart), qPrintable(message));
        QVERIFY(message.contains("configuracion.txt"));
        QVERIFY(harness_->flow.Settings().OperationFields[0].empty());
        QCOMPARE(harness_->cues.Count(SoundCue::List), 0);
    }

    void missingUsersFolderEndsCleanly() {
        AppFolder folder;
        QDir(folder.Path("usuarios")).removeRecursively();
        FlowHarness harness(folder.Path());
        harness.flow.Start();
        harness.flow.Show(ScreenId::PlayerSelection);
        QCOMPARE(harness.endCodes, std::vector<int>{1});
        QCOMPARE(harness.prompts.messages.size(), std::size_t(1));
        QVERIFY(QString::fromStdString(harness.prompts.messages[0])
                    .startsWith("No se encuentra la carpeta de usuarios: "));
    }

    void emptyUsersFolderShowsEmptyLists() {
        AppFolder folder;
        FlowHarness harness(folder.Path());
        harness.flow.Start();
        harness.flow.Show(ScreenId::PlayerSelection);
        QCOMPARE(harness.flow.PlayerSelection().FileList(0)->count(), 0);
        QVERIFY(!harness.Ended());
        QTest::mouseClick(Button(&harness.flow.PlayerSelection(), "Command1"), Qt::LeftButton);
        QCOMPARE(harness.prompts.messages,
                 std::vector<std::string>{"Has de seleccionar el jugador 1"});
    }
};

QTEST_MAIN(SetupScreensTest)
#include "test_setup_screens.moc"
