#include <QGuiApplication>
#include <QScreen>

#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class ScreenFlowTest : public QObject {
    Q_OBJECT

  private slots:
    // The screens and the shared settings after each step: the settings start
    // zero-initialised and only the screens that own a setting write it.
    void flowTableStepByStep() {
        Harness h;
        const auto settings = [&h] {
            const GameSettings& s = h.flow.Settings();
            return QString("%1 %2|%3|%4|%5|%6")
                .arg(QString::fromStdString(s.OperationFields[0]),
                     QString::fromStdString(s.OperationFields[10]))
                .arg(s.GameMinutes)
                .arg(s.SecondPlayerTurn)
                .arg(s.GameNumber)
                .arg(s.FirstPlayerRate);
        };
        QCOMPARE(settings(), " |0|0|0|0");
        h.flow.Start();
        QCOMPARE(Table(h.flow), "shown | not loaded | not loaded | not loaded | not loaded");
        QCOMPARE(settings(), " |0|0|0|0");
        h.ToPlayers();
        QCOMPARE(Table(h.flow), "not loaded | shown | not loaded | not loaded | not loaded");
        QCOMPARE(settings(), " |0|0|1|0");
        h.Accept("Ana.png");
        QCOMPARE(Table(h.flow),
                 "not loaded | minimised,disabled | shown | not loaded | not loaded");
        QCOMPARE(settings(), "AA |1|0|1|0");
        Click(&h.flow.ExerciseSelection(), "Command1");
        QCOMPARE(Table(h.flow), "not loaded | minimised,disabled | shown | shown | not loaded");
        QCOMPARE(settings(), "AA |1|0|1|0");
        // "ACEPTAR" again while the game screen is open brings it forward, no new load.
        BaseScreen* game = h.flow.Find(ScreenId::Game);
        Click(&h.flow.ExerciseSelection(), "Command1");
        QCOMPARE(h.flow.Find(ScreenId::Game), game);
        game->close();  // the results screen is loaded minimised
        ProcessDeferredDeletes();
        QCOMPARE(Table(h.flow), "not loaded | minimised,disabled | shown | not loaded | minimised");
    }

    void endings_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ends");
        QTest::newRow("closing the splash") << "splash" << true;
        QTest::newRow("closing the player selection before acceptance") << "players" << true;
        QTest::newRow("closing the player selection after acceptance") << "accepted" << false;
        QTest::newRow("closing the exercise selection") << "exercise" << true;
        QTest::newRow("closing the exercise selection mid-game") << "exercise-in-game" << true;
        QTest::newRow("SALIR and Yes") << "salir-yes" << true;
        QTest::newRow("SALIR and No") << "salir-no" << false;
        QTest::newRow("closing the results screen") << "results" << false;
        QTest::newRow("closing the game screen") << "game" << false;
    }
    void endings() {
        QFETCH(QString, how);
        QFETCH(bool, ends);
        Harness h;
        h.flow.Start();
        if (how != "splash") h.ToPlayers();
        if (how != "splash" && how != "players") h.Accept("Ana.png");
        if (how.endsWith("game")) Click(&h.flow.ExerciseSelection(), "Command1");
        h.prompts.answer = how != "salir-no";
        if (how == "splash") h.flow.Splash().close();
        if (how == "players" || how == "accepted") h.flow.PlayerSelection().close();
        if (how.startsWith("exercise")) h.flow.ExerciseSelection().close();
        if (how.startsWith("salir")) Click(&h.flow.Results(), "Command2");
        if (how == "results") h.flow.Results().close();
        if (how == "game") h.flow.Game().close();
        QCOMPARE(h.endCodes, ends ? std::vector<int>{0} : std::vector<int>{});
        if (how.startsWith("salir"))
            QCOMPARE(h.prompts.questions, std::vector<std::string>{"¿Quieres salir del programa?"});
        if (how == "results") QVERIFY(h.flow.Results().isMinimized());
        for (int id = 0; ends && id < kScreenCount; ++id)
            if (BaseScreen* screen = h.flow.Find(ScreenId(id))) QVERIFY(!screen->isVisible());
    }

    // Title | client size | background, and centred at load.
    void everyScreenHasItsDesign_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("design");
        const QString title = ApplicationTitle();
        QTest::newRow("Form4") << int(ScreenId::Splash) << title + "|461x423|#ffe0c0";
        QTest::newRow("Form5") << int(ScreenId::PlayerSelection)
                               << "Selección de jugadores|496x387|#ffe0c0";
        QTest::newRow("Form1") << int(ScreenId::ExerciseSelection) << title + "|595x433|#ffffff";
        QTest::newRow("Form2") << int(ScreenId::Game) << "|623x522|#ffffff";
        QTest::newRow("Form3") << int(ScreenId::Results) << "Resultados|555x427|#ffff80";
    }
    void everyScreenHasItsDesign() {
        QFETCH(int, screen);
        QFETCH(QString, design);
        Harness h;
        h.ToPlayers();
        h.Accept("Ana.png");
        const BaseScreen& form = h.flow.Screen(ScreenId(screen));
        QCOMPARE(form.objectName(), QString(QTest::currentDataTag()));
        const QColor background = form.palette().color(QPalette::Window);
        QCOMPARE(QString("%1|%2x%3|%4")
                     .arg(form.windowTitle())
                     .arg(form.width())
                     .arg(form.height())
                     .arg(background.name()),
                 design);
        const QRect area = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(form.x(),
                 area.x() + TwipsToPixels(static_cast<int>(CentredPosition(
                                PixelsToTwips(area.width()), PixelsToTwips(form.width())))));
    }
};

QTEST_MAIN(ScreenFlowTest)
#include "test_screen_flow.moc"
