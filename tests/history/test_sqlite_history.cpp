// The history store: what it keeps across reopening and from the first
// layout; that a process killed while writing loses nothing recorded before;
// and that trouble gives false, one notice and no exception.
#include <errno.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <climits>

#include "history/history_recorder.h"
#include "history/sqlite_history.h"
#include "test_main.h"

using namespace cifrano;

namespace {

// SQLite's positioned writes taken over (SQLite lets a program replace its
// system calls, so the code under test needs no hook). Writes are counted; a
// kill point below 0 makes every write fail as on a full disk, and a kill
// point n writes half of the nth write and then kills the process.
namespace faulty {
int count = 0;
int killAt = 0;
sqlite3_syscall_ptr real[2] = {};
template <int I>
ssize_t Pwrite(int fd, const void* buffer, size_t size, off_t offset) {
    const auto call = reinterpret_cast<decltype(&::pwrite)>(real[I]);
    if (killAt < 0) return errno = ENOSPC, -1;
    if (++count == killAt) call(fd, buffer, size / 2, offset), ::raise(SIGKILL);
    return call(fd, buffer, size, offset);
}
void Install(int kill = 0) {
    count = 0;
    killAt = kill;
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    real[0] = vfs->xGetSystemCall(vfs, "pwrite");
    real[1] = vfs->xGetSystemCall(vfs, "pwrite64");
    vfs->xSetSystemCall(vfs, "pwrite", reinterpret_cast<sqlite3_syscall_ptr>(&Pwrite<0>));
    vfs->xSetSystemCall(vfs, "pwrite64", reinterpret_cast<sqlite3_syscall_ptr>(&Pwrite<1>));
}
void Uninstall() {
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    vfs->xSetSystemCall(vfs, nullptr, nullptr);  // every call back to its default
}
}  // namespace faulty

FinishedGame Game(int n, const std::string& player = "Lucía") {
    return FinishedGame{1714737802 + n * 600, player, player + ".jpg", "AA + B =", 2, 9 + n, n % 3,
                        (9.0 + n) / 2.0};
}

// Runs SQL on a database file directly, as another program would.
int RunSql(const std::string& path, const QByteArray& sql) {
    sqlite3* db = nullptr;
    int code = sqlite3_open(path.c_str(), &db);
    if (code == SQLITE_OK) code = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return code;
}

QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class SqliteHistoryTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::string Path() { return dir_.filePath("datos/historial.sqlite3").toStdString(); }

  private slots:
    void init() { QDir(dir_.filePath("datos")).removeRecursively(); }

    void keepsEveryFieldAcrossReopening() {
        const FinishedGame pair{1714737802, "Lucía", "Lucía.jpg", "A x B =", 2,
                                10,         1,       5.0,         3,         "Carlos"};
        FinishedGame odd = Game(3, "O'Brien, \"el rápido\"\n😀");
        odd.Rate = 10.0 / 3.0;
        QDir().mkpath(dir_.filePath("datos"));
        QVERIFY(QFile(QString::fromStdString(Path()))
                    .open(QIODevice::WriteOnly));  // empty: a new history
        {
            SqliteHistory history(Path());
            for (const FinishedGame& game : {Game(2), pair, odd}) QVERIFY(history.Record(game));
        }
        SqliteHistory reopened(Path());
        QCOMPARE(reopened.Games("Lucía", "A x B ="), std::vector{pair});
        QCOMPARE(reopened.Operations("Lucía"), (std::vector<std::string>{"AA + B =", "A x B ="}));
        QCOMPARE(reopened.Games(odd.Player, ""), std::vector{odd});
    }

    void migratesTheFirstLayout() {
        QFile fixture(QFINDTESTDATA("fixtures/historial_v1.sql"));
        QVERIFY(fixture.open(QIODevice::ReadOnly));
        QDir().mkpath(dir_.filePath("datos"));
        QCOMPARE(RunSql(Path(), fixture.readAll()), SQLITE_OK);
        SqliteHistory history(Path());
        QVERIFY(history.Record(Game(0)));
        const auto lucia = history.Games("Lucía", "");
        QCOMPARE(lucia.size(), std::size_t(3));
        QCOMPARE(lucia[0], (FinishedGame{1714737802, "Lucía", "", "AA + B =", 2, 9, 1, 4.5}));
        // An unreadable date survives as the earliest possible one.
        // Counts past the range of int, or below 0, are read as the nearest int.
        QCOMPARE(history.Games("Carlos", "A x B =").front(),
                 (FinishedGame{0, "Carlos", "", "A x B =", 1, 2147483647, 0, 7.0}));
        QCOMPARE(RunSql(Path(), "UPDATE schema_version SET version = version + 1"), SQLITE_OK);
        QVERIFY(!SqliteHistory(Path()).Record(Game(1)));  // now version 3: too new to touch
    }

    // Killed halfway through the last write of a game, its commit: the game is
    // lost, never the ones before, and the history takes games again.
    void killedMidCommitKeepsEarlierGames() {
        std::vector<FinishedGame> earlier;
        {
            SqliteHistory history(Path());
            for (int n = 0; n < 20; ++n) QVERIFY(history.Record(earlier.emplace_back(Game(n))));
        }
        const FinishedGame big = Game(99, std::string(300, 'x'));
        const std::string copy = dir_.filePath("datos/copia.sqlite3").toStdString();
        QVERIFY(QFile::copy(QString::fromStdString(Path()), QString::fromStdString(copy)));
        faulty::Install();
        SqliteHistory counted(copy);  // left open: closing writes the log back
        QVERIFY(counted.Record(big));
        const int writes = faulty::count;
        faulty::Uninstall();
        const pid_t child = ::fork();
        if (child == 0) {
            faulty::Install(writes);
            SqliteHistory(Path()).Record(big);
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        SqliteHistory history(Path());
        QCOMPARE(history.Games("", ""), earlier);
        QVERIFY(history.Record(Game(50)));
        QCOMPARE(history.Games("", "").size(), earlier.size() + 1);
    }

    void troubleGivesFalseAndOneNotice_data() {
        QTest::addColumn<QString>("expected");  // a word of the problem
        // Tests run as root, which ignores permission bits: in /proc not even
        // root can create a file.
        QTest::newRow("read-only") << "no se puede abrir";
        QTest::newRow("full disk") << "lleno";
        QTest::newRow("corrupt") << "dañado";
    }
    void troubleGivesFalseAndOneNotice() {
        const QString kind = QTest::currentDataTag();
        QFETCH(QString, expected);
        const bool corrupt = kind == "corrupt";
        const std::string path = kind == "read-only" ? "/proc/self/historial.sqlite3" : Path();
        if (kind != "read-only") {
            SqliteHistory history(path);
            for (int n = 0; n < 50; ++n) history.Record(Game(n, std::string(200, 'a' + n % 26)));
        }
        if (corrupt) {
            QFile file(QString::fromStdString(path));
            QVERIFY(file.open(QIODevice::ReadWrite) && file.size() > 4 * 4096);
            file.seek(2 * 4096);
            file.write(QByteArray(2 * 4096, '\x5a'));  // two pages of the table overwritten
        }
        const QByteArray before = Bytes(path);
        if (kind == "full disk") faulty::Install(-1);
        SqliteHistory store(path);
        QStringList notices;
        HistoryRecorder recorder(
            store, [&](const std::string& text) { notices << QString::fromStdString(text); });
        const bool first = recorder.Record(Game(100));  // an exception fails the test
        const bool second = recorder.Record(Game(101));
        faulty::Uninstall();
        QVERIFY(!first);
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices[0].contains(expected), qPrintable(notices[0]));
        // A corrupt file is set aside untouched and a fresh history takes both
        // games; any other file is left as it was.
        QCOMPARE(second, corrupt);
        QCOMPARE(store.SetAsidePath().empty(), !corrupt);
        QCOMPARE(Bytes(corrupt ? store.SetAsidePath() : path), before);
        if (corrupt) QCOMPARE(SqliteHistory(path).Games("Lucía", "").size(), std::size_t(2));
    }
};

CIFRANO_TEST_MAIN(SqliteHistoryTest)
#include "test_sqlite_history.moc"
