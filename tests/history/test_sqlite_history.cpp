// The history store: what it keeps, across reopening and from the first
// layout; that a write cut off by a killed process loses nothing before it;
// and that every kind of trouble gives false, one notice, and no exception.
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "test_main.h"
#include "faulty_writes.h"
#include "history/history_recorder.h"
#include "history/sqlite_history.h"

using namespace cifrano;
using cifrano::testing::FaultyWrites;

Q_DECLARE_METATYPE(cifrano::FinishedGame)

namespace {

FinishedGame Game(int n, const std::string& player = "Lucía") {
    return FinishedGame{1714737802 + n * 600,
                        player,
                        player + ".jpg",
                        "AA + B =",
                        2,
                        9 + n,
                        n % 3,
                        (9.0 + n) / 2.0,
                        0,
                        ""};
}

// Runs SQL on a database file directly, as another program would.
int RunSql(const QString& path, const QByteArray& sql) {
    sqlite3* db = nullptr;
    int code = sqlite3_open(path.toUtf8().constData(), &db);
    if (code == SQLITE_OK) code = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return code;
}

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SqliteHistoryTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString Path(const QString& name = "datos/cifrano/historial.sqlite3") {
        return dir_.filePath(name);
    }

  private slots:
    void init() {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(dir_.path());
    }

    void keepsEveryFieldAcrossReopening_data() {
        QTest::addColumn<FinishedGame>("game");
        FinishedGame alone = Game(1);
        QTest::newRow("alone") << alone;
        FinishedGame pair = Game(2, "Ana");
        pair.PairNumber = 3;
        pair.Rival = "Carlos";
        QTest::newRow("two players") << pair;
        FinishedGame odd = Game(3, "O'Brien, \"el rápido\"\n😀");
        odd.Operation = "A ( B + C ) =";
        odd.Rate = 3.3333333333333335;
        odd.Hits = 0;
        odd.Errors = 0;
        QTest::newRow("quotes, commas, line break, emoji") << odd;
    }
    void keepsEveryFieldAcrossReopening() {
        QFETCH(FinishedGame, game);
        {
            SqliteHistory history(Path().toStdString());
            QVERIFY(history.Record(Game(0, game.Player)));
            QVERIFY2(history.Record(game), history.Problem().c_str());
        }
        SqliteHistory reopened(Path().toStdString());
        const auto games = reopened.Games(game.Player, game.Operation);
        QVERIFY(!games.empty());
        QCOMPARE(games.back(), game);
        QCOMPARE(reopened.Players(), std::vector<std::string>{game.Player});
        QCOMPARE(reopened.Problem(), std::string());
    }

    void filtersAndOrders() {
        SqliteHistory history(Path().toStdString());
        FinishedGame late = Game(9, "Ana");
        FinishedGame early = Game(1, "Ana");
        FinishedGame other = Game(5, "Ana");
        other.Operation = "A x B =";
        for (const FinishedGame& g : {late, early, other, Game(4, "Carlos")})
            QVERIFY(history.Record(g));
        QCOMPARE(history.Games("Ana", "AA + B ="), (std::vector<FinishedGame>{early, late}));
        QCOMPARE(history.Games("", "").size(), std::size_t(4));
        // The most recently played type first: the window starts with it.
        QCOMPARE(history.Operations("Ana"), (std::vector<std::string>{"AA + B =", "A x B ="}));
        QVERIFY(history.Games("Nadie", "").empty());
    }

    void migratesTheFirstLayout() {
        QFile fixture(QFINDTESTDATA("fixtures/historial_v1.sql"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        QDir().mkpath(QFileInfo(Path()).path());
        QCOMPARE(RunSql(Path(), fixture.readAll()), SQLITE_OK);

        SqliteHistory history(Path().toStdString());
        const auto lucia = history.Games("Lucía", "AA + B =");
        QCOMPARE(lucia.size(), std::size_t(2));
        QCOMPARE(lucia[0].PlayedAt, std::int64_t(1714737802));  // 2024-05-03T12:03:22Z
        QCOMPARE(lucia[0].Hits, 9);
        QCOMPARE(lucia[0].Rate, 4.5);
        QCOMPARE(lucia[0].PlayerFile, std::string());
        QCOMPARE(lucia[0].PairNumber, 0);
        // An unreadable date survives as the earliest possible one.
        const auto carlos = history.Games("Carlos", "");
        QCOMPARE(carlos.size(), std::size_t(2));
        QCOMPARE(carlos[0].PlayedAt, std::int64_t(0));
        QVERIFY(history.Record(Game(7, "Lucía")));
        QCOMPARE(history.Games("Lucía", "").size(), std::size_t(3));

        sqlite3* db = nullptr;
        sqlite3_open(Path().toUtf8().constData(), &db);
        sqlite3_stmt* version = nullptr;
        sqlite3_prepare_v2(db, "SELECT version FROM schema_version", -1, &version, nullptr);
        QCOMPARE(sqlite3_step(version), SQLITE_ROW);
        QCOMPARE(sqlite3_column_int(version, 0), kHistorySchemaVersion);
        sqlite3_finalize(version);
        sqlite3_close(db);
    }

    void killedMidWriteKeepsEarlierGames_data() {
        QTest::addColumn<int>("stopAtWrite");
        QTest::addColumn<bool>("lastKept");
        // Each frame of the log is two writes (its header, then the page).
        QTest::newRow("first frame header") << 1 << false;
        QTest::newRow("first page") << 2 << false;
        QTest::newRow("second frame") << 3 << false;
        QTest::newRow("last write of the game") << -1 << false;
        QTest::newRow("after the commit") << 1000 << true;
    }
    void killedMidWriteKeepsEarlierGames() {
        QFETCH(int, stopAtWrite);
        QFETCH(bool, lastKept);
        std::vector<FinishedGame> earlier;
        {
            SqliteHistory history(Path().toStdString());
            for (int n = 0; n < 20; ++n) {
                earlier.push_back(Game(n));
                QVERIFY(history.Record(earlier.back()));
            }
        }
        FinishedGame big = Game(99);
        big.Player = std::string(300, 'x');
        if (stopAtWrite < 0) {
            // As many writes as the same game takes on a copy of the history.
            const QString copy = dir_.filePath("copia.sqlite3");
            QVERIFY(QFile::copy(Path(), copy));
            FaultyWrites::Install();
            {
                SqliteHistory counted(copy.toStdString());
                QVERIFY(counted.Record(big));
                stopAtWrite = FaultyWrites::Writes();  // before closing writes back the log
            }
            FaultyWrites::Uninstall();
            QVERIFY(stopAtWrite > 3);
        }
        int pipe[2];
        QCOMPARE(::pipe(pipe), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            FaultyWrites::Install();
            FaultyWrites::StopAtWrite(stopAtWrite, pipe[1]);
            SqliteHistory history(Path().toStdString());
            const char done = history.Record(big) ? 'd' : 'f';
            if (::write(pipe[1], &done, 1) != 1) ::_exit(3);
            for (;;) ::pause();
        }
        ::close(pipe[1]);
        char said = 0;
        QCOMPARE(::read(pipe[0], &said, 1), ssize_t(1));  // it stopped, or it finished
        ::close(pipe[0]);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(said, lastKept ? 'd' : 's');

        SqliteHistory history(Path().toStdString());
        QCOMPARE(history.Games("Lucía", ""), earlier);
        QCOMPARE(history.Games(std::string(300, 'x'), "").size(), std::size_t(lastKept ? 1 : 0));
        QVERIFY(history.Record(Game(50)));
        QCOMPARE(history.Games("Lucía", "").size(), earlier.size() + 1);
        QCOMPARE(history.Problem(), std::string());
    }

    void troubleGivesFalseAndOneNotice_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expected");  // a word of the problem
        // Tests run as root, which ignores permission bits: a read-only place is
        // a /proc folder, where not even root can create a file.
        QTest::newRow("read-only folder") << "/proc"
                                          << "no se puede abrir";
        QTest::newRow("folder below a regular file") << "below-file"
                                                     << "carpeta";
        QTest::newRow("folder below /dev/full") << "/dev/full"
                                                << "carpeta";
        QTest::newRow("a folder where the file goes") << "folder"
                                                      << "archivo normal";
        QTest::newRow("full disk") << "full"
                                   << "lleno";
        QTest::newRow("locked by another copy") << "locked"
                                                << "otra copia";
        QTest::newRow("written by a newer version") << "newer"
                                                    << "más nueva";
        QTest::newRow("corrupt file") << "corrupt"
                                      << "dañado";
        QTest::newRow("not a database at all") << "garbage"
                                               << "dañado";
    }
    void troubleGivesFalseAndOneNotice() {
        QFETCH(QString, kind);
        QFETCH(QString, expected);
        QString path = Path();
        QDir().mkpath(QFileInfo(path).path());
        sqlite3* holder = nullptr;
        QByteArray before;
        if (kind == "/proc") {
            path = "/proc/self/historial.sqlite3";
        } else if (kind == "below-file") {
            QFile(dir_.filePath("archivo")).open(QIODevice::WriteOnly);
            path = dir_.filePath("archivo/cifrano/historial.sqlite3");
        } else if (kind == "/dev/full") {
            path = "/dev/full/cifrano/historial.sqlite3";
        } else if (kind == "folder") {
            QDir().mkpath(path);
        } else if (kind == "full") {
            SqliteHistory(path.toStdString()).Record(Game(0));
            FaultyWrites::Install();
            FaultyWrites::Full();
        } else if (kind == "locked") {
            SqliteHistory(path.toStdString()).Record(Game(0));
            sqlite3_open(path.toUtf8().constData(), &holder);
            QCOMPARE(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        } else if (kind == "newer") {
            SqliteHistory(path.toStdString()).Record(Game(0));
            QCOMPARE(RunSql(path, "UPDATE schema_version SET version = 3"), SQLITE_OK);
            before = Bytes(path);
        } else if (kind == "corrupt") {
            {
                SqliteHistory history(path.toStdString());
                for (int n = 0; n < 50; ++n)
                    history.Record(Game(n, std::string(200, 'a' + n % 26)));
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.size() > 4 * 4096);
            file.seek(2 * 4096);
            file.write(QByteArray(2 * 4096, '\x5a'));  // two pages of the table overwritten
            file.close();
            before = Bytes(path);
        } else if (kind == "garbage") {
            before = "Esto no es una base de datos, es una lista de la compra.\n";
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(before);
        }

        SqliteHistory store(path.toStdString());
        int notices = 0;
        std::string notice;
        HistoryRecorder recorder(store, [&](const std::string& text) {
            ++notices;
            notice = text;
        });
        bool first = true;
        bool second = true;
        try {
            first = recorder.Record(Game(100));
            second = recorder.Record(Game(101));
        } catch (...) {
            QFAIL("the history threw");
        }
        if (holder) sqlite3_close(holder);
        if (kind == "full") FaultyWrites::Uninstall();

        QVERIFY(!first);
        QCOMPARE(notices, 1);
        QVERIFY2(QString::fromStdString(notice).contains(expected), notice.c_str());
        if (kind == "corrupt" || kind == "garbage") {
            // Set aside untouched; the fresh history holds both games.
            QVERIFY(second);
            QCOMPARE(Bytes(QString::fromStdString(store.SetAsidePath())), before);
            QVERIFY(QString::fromStdString(store.SetAsidePath()).contains(".dañado-"));
            QCOMPARE(SqliteHistory(path.toStdString()).Games("Lucía", "").size(), std::size_t(2));
        } else {
            QVERIFY(!second);
            QVERIFY(store.SetAsidePath().empty());
        }
        if (kind == "newer") QCOMPARE(Bytes(path), before);
        if (kind == "full" || kind == "locked") {
            // The trouble gone, earlier games are still there and writing works again.
            SqliteHistory again(path.toStdString());
            QVERIFY(again.Record(Game(102)));
            QCOMPARE(again.Games("Lucía", "").size(), std::size_t(2));
        }
    }

    void readsBoundedValues() {
        QDir().mkpath(QFileInfo(Path()).path());
        SqliteHistory(Path().toStdString()).Record(Game(0));
        const QByteArray huge(200'000, 'n');
        QCOMPARE(RunSql(Path(),
                        "INSERT INTO games (played_at, player, operation, minutes, hits,"
                        " errors, rate) VALUES (5, 'Lucía', '" +
                            huge +
                            "', -3, 1e30, -1,"
                            " 1e999); UPDATE games SET player_file = x'ff41c3' WHERE id = 1;"),
                 SQLITE_OK);
        const auto games = SqliteHistory(Path().toStdString()).Games("Lucía", "");
        QCOMPARE(games.size(), std::size_t(2));
        QCOMPARE(games[0].Operation.size(), kMaxTextBytes);
        QCOMPARE(games[0].Minutes, 0);
        QCOMPARE(games[0].Hits, std::numeric_limits<int>::max());
        QCOMPARE(games[0].Errors, 0);
        QCOMPARE(games[0].Rate, 0.0);  // infinity read back as nothing
        QCOMPARE(games[1].PlayerFile, std::string("\xEF\xBF\xBD"
                                                  "A\xEF\xBF\xBD"));
    }

    void findsTheDataFolder_data() {
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QByteArray>("home");
        QTest::addColumn<QString>("expected");
        QTest::newRow("XDG_DATA_HOME") << QByteArray("/datos") << QByteArray("/home/ana")
                                       << "/datos/cifrano/historial.sqlite3";
        QTest::newRow("relative is ignored") << QByteArray("datos") << QByteArray("/home/ana")
                                             << "/home/ana/.local/share/cifrano/historial.sqlite3";
        QTest::newRow("nowhere") << QByteArray() << QByteArray() << "";
    }
    void findsTheDataFolder() {
        QFETCH(QByteArray, xdg);
        QFETCH(QByteArray, home);
        QFETCH(QString, expected);
        QCOMPARE(
            QString::fromStdString(HistoryFilePath(xdg.isNull() ? nullptr : xdg.constData(),
                                                   home.isNull() ? nullptr : home.constData())),
            expected);
    }
};

CIFRANO_TEST_MAIN(SqliteHistoryTest)
#include "test_sqlite_history.moc"
