// The countdown, the moving figure and the end of a game, driven tick by tick.
#include <QtTest>

#include <string>
#include <vector>

#include "app/game_settings.h"
#include "fake_results_screen.h"
#include "game/game_session.h"
#include "game/problem_generator.h"
#include "fakes/recording_sound_cues.h"
#include "results/game_clock.h"
#include "results/match.h"

using namespace cifrano;

namespace {

class FixedRandom : public RandomSource {
public:
    double Next() override { return 0.5; }
};

// One game screen, started with "Inicio", with a results screen not yet loaded.
struct Game {
    explicit Game(int minutes, std::string secondName = "Jugador 2")
        : secondPlayerName(std::move(secondName)),
          results(settings, {"ana.jpg", "luis.bmp", "ana", secondPlayerName}) {
        settings.GameMinutes = static_cast<short>(minutes);
        settings.GameNumber = 1;
        settings.OperationFields = {"A", "x", "A", "="};
        session.FormLoad(settings, "A x A =");
        session.StartGame(random, sounds);
    }

    EndOfGameLinks Links() { return {settings, sounds, results, secondPlayerName, '.'}; }
    bool Tick() { return Timer1_Timer(session, Links()); }
    // Ticks until the game ends; returns the number of the tick that ended it.
    int PlayToTheEnd() {
        for (int tick = 1; tick <= 10000; ++tick)
            if (Tick()) return tick;
        return -1;
    }
    // Types an answer into row 1, shown as 7 x 8, without confirming it.
    void TypeInFirstRow(const std::string& answer) {
        SheetRow& row = session.Sheet.Rows.at(1);
        row.Cells[0].Caption = "7";
        row.Cells[1].Caption = "x";
        row.Cells[2].Caption = "8";
        row.AnswerText = answer;
        session.CurrentRow = 1;
    }

    GameSettings settings;
    std::string secondPlayerName;
    FakeResultsScreen results;
    GameSession session;
    FixedRandom random;
    RecordingSoundCues sounds;
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

class TestGameClock : public QObject {
    Q_OBJECT

private slots:
    void clockText_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");

        QTest::newRow("125 seconds") << 125 << "2 : 5";
        QTest::newRow("a whole minute") << 60 << "1 : 0";
        QTest::newRow("59 seconds") << 59 << "0 : 59";
        QTest::newRow("six minutes") << 360 << "6 : 0";
        QTest::newRow("no time") << 0 << "0 : 0";
    }
    // A tick shows the time left, then counts one second down.
    void clockText() {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        Game game(6);
        game.session.SecondsLeft = seconds;
        game.Tick();
        QCOMPARE(Q(game.session.ClockCaption), text);
    }

    void countdown_data() {
        QTest::addColumn<int>("minutes");
        for (int minutes = 1; minutes <= 6; ++minutes)
            QTest::addRow("%d minutes", minutes) << minutes;
    }
    // The first tick shows the full length; the game ends at tick 60 * minutes + 1.
    void countdown() {
        QFETCH(int, minutes);
        Game game(minutes);
        QVERIFY(!game.Tick());
        QCOMPARE(Q(game.session.ClockCaption), QString::number(minutes) + " : 0");
        for (int tick = 2; tick <= 60 * minutes; ++tick) QVERIFY(!game.Tick());
        QCOMPARE(Q(game.session.ClockCaption), QString("0 : 1"));
        QVERIFY(!game.session.GameOver);
        QVERIFY(game.session.Timer1Enabled);
        QCOMPARE(game.results.timesShown, 0);

        QVERIFY(game.Tick());
        QCOMPARE(Q(game.session.ClockCaption), QString("0 : 0"));
        QVERIFY(game.session.GameOver);
    }

    void figure_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<int>("left");

        QTest::newRow("1 minute, first tick") << 1 << 1 << 32;
        QTest::newRow("1 minute, whole game") << 1 << 4 * 61 << 7808;
        QTest::newRow("2 minutes, 10 ticks") << 2 << 10 << 160;
        QTest::newRow("3 minutes, whole game") << 3 << 4 * 181 << 7240;
        QTest::newRow("6 minutes, whole game") << 6 << 4 * 361 << 7220;
        QTest::newRow("no tick") << 4 << 0 << 0;
    }
    // The figure moves GifStep twips a tick and has no limit of its own.
    void figure() {
        QFETCH(int, minutes);
        QFETCH(int, ticks);
        QFETCH(int, left);
        Game game(minutes);
        for (int i = 0; i < ticks; ++i) Timer2_Timer(game.session);
        QCOMPARE(game.session.GifLeft, left);
    }

    void figureStopsWithTheGame() {
        Game game(1);
        game.PlayToTheEnd();
        const int left = game.session.GifLeft;
        Timer2_Timer(game.session);
        QCOMPARE(game.session.GifLeft, left);
    }

    void timeUpStopsEverything() {
        Game game(1);
        game.PlayToTheEnd();
        const GameSession& s = game.session;
        QVERIFY(!s.Timer1Enabled);
        QVERIFY(!s.Timer2Enabled);
        QVERIFY(!s.FigureShown);
        QVERIFY(!s.Sheet.Enabled);
        QCOMPARE(Q(s.ButtonCaption), QString("CONTINUAR"));
        QVERIFY(s.ButtonShown);
        QVERIFY(s.GameOver);
        QCOMPARE(s.State, GameState::Finished);
        QCOMPARE(game.results.timesShown, 1);
        QCOMPARE(game.sounds.played.back(), SoundCue::Final);
    }

    // The results screen is in front, with everything stopped, before the last check.
    void timeUpOrder() {
        Game game(1);
        game.TypeInFirstRow("56");
        const std::size_t cuesBefore = game.sounds.played.size();
        bool checked = false;
        game.results.onShow = [&] {
            const GameSession& s = game.session;
            QCOMPARE(game.sounds.played.size(), cuesBefore + 1);
            QCOMPARE(game.sounds.played.back(), SoundCue::Final);
            QCOMPARE(Q(s.ClockCaption), QString("0 : 0"));
            QVERIFY(!s.Timer1Enabled && !s.Timer2Enabled);
            QVERIFY(!s.FigureShown);
            QVERIFY(!s.Sheet.Enabled);
            QCOMPARE(s.HitCount, 0);
            QVERIFY(!s.GameOver);
            QVERIFY(!s.ButtonShown);
            checked = true;
        };
        game.PlayToTheEnd();
        QVERIFY(checked);
        const std::vector<SoundCue> lastTwo(game.sounds.played.end() - 2, game.sounds.played.end());
        QVERIFY((lastTwo == std::vector<SoundCue>{SoundCue::Final, SoundCue::Acierto}));
    }

    void lastCheck_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("rowClicked");
        QTest::addColumn<int>("lastCue");  // -1: FINAL is the last cue
        QTest::addColumn<QString>("line");

        QTest::newRow("right answer not confirmed")
            << "56" << true << int(SoundCue::Acierto) << "1)  1 op/min -{A x A =}- Err 0";
        QTest::newRow("wrong answer not confirmed")
            << "57" << true << int(SoundCue::Error) << "1)  0 op/min -{A x A =}- Err 1";
        QTest::newRow("placeholder is judged as 0")
            << "?" << true << int(SoundCue::Error) << "1)  0 op/min -{A x A =}- Err 1";
        QTest::newRow("empty answer is not judged")
            << "" << true << -1 << "1)  0 op/min -{A x A =}- Err 0";
        QTest::newRow("no row ever clicked")
            << "56" << false << -1 << "1)  0 op/min -{A x A =}- Err 0";
    }
    // The answer standing in the active row is judged and counted in the line.
    void lastCheck() {
        QFETCH(QString, answer);
        QFETCH(bool, rowClicked);
        QFETCH(int, lastCue);
        QFETCH(QString, line);

        Game game(1);
        game.TypeInFirstRow(answer.toStdString());
        if (!rowClicked) game.session.CurrentRow = 0;
        game.PlayToTheEnd();

        const SoundCue expectedCue = lastCue < 0 ? SoundCue::Final : SoundCue(lastCue);
        QCOMPARE(game.sounds.played.back(), expectedCue);
        QCOMPARE(int(game.results.board.Lists[kPlayerOne].size()), 1);
        QCOMPARE(Q(game.results.board.Lists[kPlayerOne][0]), line);
    }

    // A row already counted as a hit earlier is not counted twice at the end.
    void earlierHitsCountOnce() {
        Game game(2);
        game.TypeInFirstRow("56");
        game.session.Sheet.Rows[1].AnswerColour = colours::kAnswerHit;
        game.session.HitCount = 5;
        game.session.HitCaption = "5";
        game.PlayToTheEnd();
        QCOMPARE(Q(game.results.board.Lists[kPlayerOne][0]),
                 QString("1)  2.5 op/min -{A x A =}- Err 0"));
    }

    void lineGoesToThePlayerWhoPlayed_data() {
        QTest::addColumn<QString>("secondName");
        QTest::addColumn<bool>("resultsLoaded");
        QTest::addColumn<bool>("secondPlayerTurn");
        QTest::addColumn<int>("list");
        QTest::addColumn<int>("nextGameNumber");
        QTest::addColumn<bool>("nextTurn");

        QTest::newRow("single player") << "Jugador 2" << true << false << 0 << 2 << false;
        QTest::newRow("player 1 of a pair") << "luis" << true << false << 0 << 1 << true;
        QTest::newRow("player 2 of a pair") << "luis" << true << true << 1 << 2 << false;
        // Loading the results screen gives the turn back to player 1 before the line is written.
        QTest::newRow("results screen closed meanwhile")
            << "luis" << false << true << 0 << 1 << true;
        QTest::newRow("name differing in case") << "jugador 2" << true << false << 0 << 1 << true;
    }
    void lineGoesToThePlayerWhoPlayed() {
        QFETCH(QString, secondName);
        QFETCH(bool, resultsLoaded);
        QFETCH(bool, secondPlayerTurn);
        QFETCH(int, list);
        QFETCH(int, nextGameNumber);
        QFETCH(bool, nextTurn);

        Game game(1, secondName.toStdString());
        if (resultsLoaded) {
            game.results.board.Load(game.settings, {"ana.jpg", "luis.bmp", "ana",
                                                    secondName.toStdString()});
            game.results.loaded = true;
        }
        game.settings.SecondPlayerTurn = secondPlayerTurn;
        game.PlayToTheEnd();

        QCOMPARE(int(game.results.board.Lists[list].size()), 1);
        QCOMPARE(int(game.results.board.Lists[1 - list].size()), 0);
        QCOMPARE(int(game.settings.GameNumber), nextGameNumber);
        QCOMPARE(game.settings.SecondPlayerTurn, nextTurn);
    }

    // The rate divides by the length the game was played with, even if the
    // minutes were changed on the exercise selection screen meanwhile.
    void rateUsesTheMinutesPlayed() {
        Game game(2);
        game.TypeInFirstRow("56");
        for (int i = 0; i < 10; ++i) game.Tick();
        game.settings.GameMinutes = 6;
        QCOMPARE(game.PlayToTheEnd(), 111);
        QVERIFY(game.results.board.Lists[kPlayerOne][0].starts_with("1)  0.5 op/min"));
    }

    // A queued tick after the end must not end the game a second time.
    void tickAfterTheEndDoesNothing() {
        Game game(1);
        game.PlayToTheEnd();
        const std::size_t cues = game.sounds.played.size();
        QVERIFY(!game.Tick());
        QCOMPARE(game.sounds.played.size(), cues);
        QCOMPARE(game.results.timesShown, 1);
        QCOMPARE(int(game.results.board.Lists[kPlayerOne].size()), 1);
        QCOMPARE(int(game.settings.GameNumber), 2);
    }

    // A game left before its time is up writes nothing and keeps the turn.
    void abandonedGameChangesNothing() {
        Game game(1, "luis");
        game.settings.GameNumber = 3;
        game.settings.SecondPlayerTurn = true;
        game.settings.FirstPlayerRate = 4.5;
        for (int tick = 0; tick < 60; ++tick) game.Tick();
        for (int tick = 0; tick < 240; ++tick) Timer2_Timer(game.session);

        QCOMPARE(game.results.timesShown, 0);
        QVERIFY(!game.results.loaded);
        QCOMPARE(int(game.settings.GameNumber), 3);
        QVERIFY(game.settings.SecondPlayerTurn);
        QCOMPARE(game.settings.FirstPlayerRate, 4.5);
        QVERIFY(!game.session.GameOver);
    }

    // A clock that never started (Inicio not pressed) does not count down.
    void clockDoesNotRunBeforeInicio() {
        Game game(1);
        game.session.FormLoad(game.settings, "A x A =");
        QVERIFY(!game.Tick());
        QCOMPARE(game.session.SecondsLeft, 60);
        QVERIFY(game.session.ClockCaption.empty());
    }

    // Below zero cannot happen in play; it ends the game rather than counting forever.
    void negativeTimeEndsTheGame() {
        Game game(1);
        game.session.SecondsLeft = -3;
        QVERIFY(game.Tick());
        QCOMPARE(Q(game.session.ClockCaption), QString("0 : 0"));
    }
};

QTEST_GUILESS_MAIN(TestGameClock)
#include "test_game_clock.moc"
