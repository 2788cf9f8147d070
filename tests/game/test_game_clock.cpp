// The countdown, the moving figure and the end of a game, driven tick by tick.
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

#include "fakes/recording_sound_cues.h"
#include "fakes/scripted_random.h"
#include "game/answer_check.h"
#include "results/game_clock.h"

using namespace cifrano;

namespace {

// A game screen started with "Inicio", and a results screen that loads on its
// first showing, like the real one.
struct Game : ResultsScreenPort {
    explicit Game(int minutes, std::string secondName = "Jugador 2") : secondName(secondName) {
        settings.GameMinutes = static_cast<short>(minutes);
        settings.GameNumber = 1;
        settings.OperationFields = {"A", "x", "B", "="};
        session.FormLoad(settings, "A x B =");
        session.StartGame(random, sounds);
    }
    ResultsBoard& RestoreAndShow() override {
        if (!loaded) board.Load(settings, {"a.jpg", "b.bmp", "a", secondName});
        loaded = true;
        if (onShow) onShow();
        return board;
    }
    bool Tick() {
        return ++ticks, Timer1_Timer(session, {settings, sounds, *this, secondName, '.'});
    }
    // Ticks until the game ends; returns the number of the tick that ended it.
    int PlayToTheEnd() {
        while (!Tick() && ticks < 10000) {
        }
        return ticks;
    }
    // Types an answer into row 1 (2 x 2, as every draw is 0) without confirming it.
    void TypeInFirstRow(const std::string& answer) {
        session.Sheet.Rows.at(1).AnswerText = answer, session.CurrentRow = 1;
    }

    GameSettings settings;
    std::string secondName;
    GameSession session;
    ScriptedRandom random{};
    RecordingSoundCues sounds;
    ResultsBoard board;
    bool loaded = false;
    int ticks = 0;
    std::function<void()> onShow;
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

class TestGameClock : public QObject {
    Q_OBJECT

  private slots:
    // A tick shows the time left and counts one second down; below zero
    // (never in play) ends the game rather than counting on.
    void clockText() {
        Game game(6);
        game.session.SecondsLeft = 125;
        QVERIFY(!game.Tick());
        QCOMPARE(Q(game.session.ClockCaption), QString("2 : 5"));
        game.session.SecondsLeft = -3;
        QVERIFY(game.Tick());
        QCOMPARE(Q(game.session.ClockCaption), QString("0 : 0"));
    }

    void countdown_data() {
        QTest::addColumn<int>("minutes");
        QTest::newRow("1 minute") << 1;
        QTest::newRow("6 minutes") << 6;
    }
    // The first tick shows the full length; the game ends at tick 60 x minutes + 1.
    void countdown() {
        QFETCH(int, minutes);
        Game game(minutes);
        QVERIFY(!game.Tick());
        QCOMPARE(Q(game.session.ClockCaption), QString::number(minutes) + " : 0");
        QCOMPARE(game.PlayToTheEnd(), 60 * minutes + 1);
        QCOMPARE(Q(game.session.ClockCaption), QString("0 : 0"));
    }

    void figureMovesAStepATickWithoutLimit() {
        Game game(1);
        QCOMPARE(game.session.GifLeft, 0);
        Timer2_Timer(game.session);
        QCOMPARE(game.session.GifLeft, 32);
        for (int i = 1; i < 4 * 61; ++i) Timer2_Timer(game.session);
        QCOMPARE(game.session.GifLeft, 7808);
    }

    // FINAL, then everything stopped and the results screen in front, then the
    // last check's cue; a stopped clock then ignores ticks of either timer.
    void timeUpOrder() {
        Game game(1);
        game.TypeInFirstRow("4");
        bool checked = false;
        game.onShow = [&] {
            const GameSession& s = game.session;
            QCOMPARE(game.sounds.played.back(), SoundCue::Final);
            QCOMPARE(Q(s.ClockCaption), QString("0 : 0"));
            QVERIFY(!s.Timer1Enabled && !s.Timer2Enabled && !s.FigureShown && !s.Sheet.Enabled);
            QVERIFY(s.HitCount == 0 && !s.GameOver && !s.ButtonShown);
            checked = true;
        };
        game.PlayToTheEnd();
        QVERIFY(checked);
        const std::vector<SoundCue> lastTwo(game.sounds.played.end() - 2, game.sounds.played.end());
        QVERIFY((lastTwo == std::vector<SoundCue>{SoundCue::Final, SoundCue::Acierto}));
        QVERIFY(game.session.ButtonCaption == "CONTINUAR" && game.session.GameOver);

        const std::size_t cues = game.sounds.played.size();
        const int left = game.session.GifLeft;
        QVERIFY(!game.Tick());
        Timer2_Timer(game.session);
        QCOMPARE(game.sounds.played.size(), cues);
        QCOMPARE(game.session.GifLeft, left);
        QCOMPARE(int(game.board.Lists[kPlayerOne].size()), 1);
    }

    void lastCheck_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("confirmedEarlier");
        QTest::addColumn<int>("lastCue");  // -1: FINAL is the last cue
        QTest::addColumn<int>("hits");
        QTest::addColumn<int>("errors");
        const int hit = int(SoundCue::Acierto), error = int(SoundCue::Error);
        QTest::newRow("right answer not confirmed") << "4" << 1 << false << hit << 1 << 0;
        QTest::newRow("wrong answer not confirmed") << "5" << 1 << false << error << 0 << 1;
        QTest::newRow("empty answer is not judged") << "" << 1 << false << -1 << 0 << 0;
        QTest::newRow("no row ever clicked") << "4" << 0 << false << -1 << 0 << 0;
        QTest::newRow("a hit counted earlier counts once") << "4" << 1 << true << -1 << 1 << 0;
    }
    // The answer standing in the active row is judged and counted in the line.
    void lastCheck() {
        QFETCH(QString, answer);
        QFETCH(int, lastCue);
        Game game(1);
        game.TypeInFirstRow(answer.toStdString());
        QFETCH(int, row);
        game.session.CurrentRow = row;
        QFETCH(bool, confirmedEarlier);
        if (confirmedEarlier) CheckAnswer(game.session, game.sounds);
        game.PlayToTheEnd();
        QCOMPARE(game.sounds.played.back(), lastCue < 0 ? SoundCue::Final : SoundCue(lastCue));
        QFETCH(int, hits);
        QFETCH(int, errors);
        QCOMPARE(int(game.board.Lists[kPlayerOne].size()), 1);
        QCOMPARE(Q(game.board.Lists[kPlayerOne][0]),
                 QString("1)  %1 op/min -{A x B =}- Err %2").arg(hits).arg(errors));
    }

    // Player 2's turn, but the results screen was closed: its load gives the
    // turn back to player 1 (never the game number) before the line is
    // written, appended to the shorter list.
    void resultsScreenClosedMeanwhile() {
        Game game(1, "luis");
        game.settings.GameNumber = 4;
        game.settings.SecondPlayerTurn = true;
        game.PlayToTheEnd();
        QCOMPARE(int(game.board.Lists[kPlayerOne].size()), 1);
        QVERIFY(game.board.Lists[kPlayerOne][0].starts_with("4)  "));
        QVERIFY(game.board.Lists[kPlayerTwo].empty());
        QCOMPARE(int(game.settings.GameNumber), 4);
        QVERIFY(game.settings.SecondPlayerTurn);
    }

    // The rate divides by the minutes played, even if they were changed meanwhile.
    void rateUsesTheMinutesPlayed() {
        Game game(2);
        game.TypeInFirstRow("4");
        for (int i = 0; i < 10; ++i) game.Tick();
        game.settings.GameMinutes = 6;
        QCOMPARE(game.PlayToTheEnd(), 121);
        QVERIFY(game.board.Lists[kPlayerOne][0].starts_with("1)  0.5 op/min"));
    }

    // A game left before its time is up writes nothing and keeps the turn.
    void abandonedGameChangesNothing() {
        Game game(1, "luis");
        game.settings.GameNumber = 3;
        game.settings.SecondPlayerTurn = true;
        for (int tick = 0; tick < 60; ++tick) game.Tick();
        QVERIFY(!game.loaded && !game.session.GameOver);
        QCOMPARE(int(game.settings.GameNumber), 3);
        QVERIFY(game.settings.SecondPlayerTurn);
    }
};

QTEST_GUILESS_MAIN(TestGameClock)
#include "test_game_clock.moc"
