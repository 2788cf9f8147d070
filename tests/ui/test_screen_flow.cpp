// The screens up to the game: the flow table and the shared settings after
// each step, every way the run ends or goes on, and the setup screens' wiring
// (picks, the acceptance checks, the operation list, the minute buttons).
#include <QBuffer>

#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class ScreenFlowTest : public QObject {
    Q_OBJECT

  private slots:
    // The settings (operation | minutes | second player's turn | game number)
    // start zero-initialised; only the screens that own a setting write it.
    void flowTableStepByStep() {
        Harness h;
        const auto step = [&h](const char* table, const std::string& settings) {
            const GameSettings& s = h.flow.Settings();
            QCOMPARE(h.Table(), table);
            QCOMPARE(s.OperationFields[0] + "|" + std::to_string(s.GameMinutes) + "|" +
                         std::to_string(s.SecondPlayerTurn) + "|" + std::to_string(s.GameNumber),
                     settings);
        };
        step("not loaded | not loaded | not loaded | not loaded | not loaded", "|0|0|0");
        h.flow.Start();
        step("shown | not loaded | not loaded | not loaded | not loaded", "|0|0|0");
        h.ToPlayers();
        step("not loaded | shown | not loaded | not loaded | not loaded", "|0|0|1");
        h.Click(PlayerSelection, "Command1");  // nobody picked: the check's message, no step
        QCOMPARE(h.prompts.messages, std::vector<std::string>{"Has de seleccionar el jugador 1"});
        step("not loaded | shown | not loaded | not loaded | not loaded", "|0|0|1");
        h.Accept("Ana.png");
        step("not loaded | minimised,disabled | shown | not loaded | not loaded", "AA|1|0|1");
        // A click on the list picks the operation type, a minute button the length.
        auto* list = h.Child<QListWidget>(ExerciseSelection, "List1");
        ClickItem(list, list->item(2));
        for (int press : {5, 1, 1}) h.Click(ExerciseSelection, QString("Command2(%1)").arg(press));
        QString faces;  // the chosen button's face is blue
        for (int i = 0; i < 6; ++i) {
            const QWidget* button = h.Child(ExerciseSelection, QString("Command2(%1)").arg(i));
            faces += button->styleSheet().contains("#0000ff") ? 'B' : '-';
        }
        QCOMPARE(faces, "-B----");
        h.Click(ExerciseSelection, "Command1");
        step("not loaded | minimised,disabled | shown | shown | not loaded", "A|2|0|1");
        // "ACEPTAR" again while the game screen is open brings it forward, no new load.
        const BaseScreen* game = h.flow.Find(Game);
        h.Click(ExerciseSelection, "Command1");
        QCOMPARE(h.flow.Find(Game), game);
        using enum SoundCue;
        QCOMPARE(h.cues.played, (std::vector{Continuar, Continuar, List, List, Boton, Boton, Boton,
                                             Continuar, Continuar}));
    }

    // The steps: screens reached, close boxes (x-<screen>) and "SALIR" answered;
    // then the exit code, or the flow table when the run goes on.
    void endings_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("outcome");
        const QString game = "players accept game x-game", exit0 = "exit 0", exit1 = "exit 1";
        const QString afterGame =
            "not loaded | minimised,disabled | shown | not loaded | minimised";
        QTest::newRow("closing the splash") << "start x-splash" << exit0;
        QTest::newRow("closing the player selection") << "players x-players" << exit0;
        QTest::newRow("closing the player selection after acceptance")
            << "players accept x-players"
            << "not loaded | minimised,disabled | shown | not loaded | not loaded";
        QTest::newRow("closing the exercise selection mid-game")
            << "players accept game x-exercise" << exit0;
        QTest::newRow("closing the game") << game << afterGame;
        QTest::newRow("closing the results") << game + " x-results" << afterGame;
        QTest::newRow("SALIR, Yes") << game + " salir-yes" << exit0;
        QTest::newRow("SALIR, No") << game + " salir-no" << afterGame;
        QTest::newRow("no configuration file") << "players accept" << exit1;
        QTest::newRow("no users folder") << "players" << exit1;
    }
    void endings() {
        QFETCH(QString, steps);
        QFETCH(QString, outcome);
        const QString tag = QTest::currentDataTag();
        Harness h(tag.contains("configuration") ? QByteArray() : "AA + B =\n");
        if (tag.contains("users")) QDir(h.Path("usuarios")).removeRecursively();
        const QStringList screens{"splash", "players", "exercise", "game", "results"};
        for (const QString& step : steps.split(' ')) {
            if (step == "start") h.flow.Start();
            if (step == "players") h.ToPlayers();
            if (step == "accept") h.Accept("Ana.png");
            if (step == "game") h.ToGame(1);
            if (step.startsWith("x-")) h.flow.Find(ScreenId(screens.indexOf(step.mid(2))))->close();
            h.prompts.answer = step == "salir-yes";
            if (step.startsWith("salir")) h.Click(Results, "Command2");
            DeleteUnloaded();
        }
        const QString windows = h.Table();  // at the end every window is gone
        const bool ended = !windows.contains(QRegularExpression("shown|min"));
        QCOMPARE(
            ended ? "exit " + QString::number(h.endCodes.empty() ? -1 : h.endCodes[0]) : windows,
            outcome);
        QVERIFY(h.flow.HasEnded() == ended && h.endCodes.size() == std::size_t(ended));
        QCOMPARE(h.prompts.questions.size(), std::size_t(steps.contains("salir")));
        // A screen that cannot work says so, and the exercise selection sets no length.
        const bool failed = outcome == "exit 1";
        QCOMPARE(h.prompts.messages.size(), std::size_t(failed));
        QCOMPARE(h.flow.Settings().GameMinutes, short(!failed && steps.contains("accept")));
    }

    // A pick shows the name and the picture as read, turned as its file says;
    // a file that is not a picture keeps the picture shown.
    void picksShowNameAndPicture() {
        Harness h;
        QByteArray jpeg;  // 96 x 128, tagged to be shown turned a quarter
        QBuffer buffer(&jpeg);
        QVERIFY(buffer.open(QIODevice::WriteOnly) &&
                QImage(96, 128, QImage::Format_RGB32).save(&buffer, "JPG"));
        h.Write("usuarios/Lucía.jpg",
                jpeg.insert(2, QByteArray::fromHex("FFE10022457869660000"
                                                   "49492A00080000000100120103000100000006000000"
                                                   "00000000")));
        h.Write("usuarios/notas.txt", "no es una imagen");
        h.ToPlayers();
        h.Pick(1, "Lucía.jpg");
        h.Pick(1, "notas.txt");
        const auto* picture =
            static_cast<PictureBox*>(h.Child<QLabel>(PlayerSelection, "Image1(1)"));
        QCOMPARE(h.Text(PlayerSelection, "Label1(1)"), "notas");
        QVERIFY(picture->Picture().size() == QSize(128, 96) && picture->isVisible());
        QVERIFY(picture->height() == TwipsToPixels(2175) && picture->width() > picture->height());
        // Only the splash's cue: picks are silent.
        QCOMPARE(h.cues.played, std::vector{SoundCue::Continuar});
    }
};

CIFRANO_TEST_MAIN(ScreenFlowTest)
#include "test_screen_flow.moc"
