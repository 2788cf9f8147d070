// The history store: what it keeps across reopening and from the first
// layout; that a process killed while writing loses nothing recorded before;
// and that trouble gives false, one notice and no exception. Then the figures
// beside the progress chart, the CSV export and the history's command-line
// options.
#include <errno.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

#include "app/command_line.h"
#include "app/history_command.h"
#include "history/history_export.h"
#include "history/history_recorder.h"
#include "history/sqlite_history.h"
#include "table_rows.h"
#include "test_main.h"

using namespace cifrano;
using cifrano::testing::Rows;

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

std::vector<std::string> Args(const QByteArray& list) {
    std::vector<std::string> args;
    for (const QByteArray& arg : list.split(',')) args.push_back(arg.toStdString());
    return args;
}

QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::string Path() { return dir_.filePath("datos/historial.sqlite3").toStdString(); }

  private slots:
    void initTestCase() {
        // By rule, no time zone files needed: +12:45, and +13:45 in the southern summer.
        qputenv("TZ", "<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45");
        tzset();
        QVERIFY(QDir::setCurrent(dir_.path()));
    }
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
    }

    // SQL run on a new file, and whether it is set aside: a database that is no history of
    // games is, and a fresh history takes the next game; one too new is left alone. Either
    // way the first game is refused, as the history it was meant for is not there.
    void foreignDatabase_data() {
        const QByteArray both = "CREATE TABLE games (x); CREATE TABLE schema_version (version);";
        Rows({"CREATE TABLE other (x)|1", both + "|1", both + " INSERT INTO schema_version VALUES (0)|1",
              both + " INSERT INTO schema_version VALUES (1001)|1",
              both + " INSERT INTO schema_version VALUES (1000)|0",
              "CREATE TABLE schema_version (v); INSERT INTO schema_version VALUES (2)|1"});
    }
    void foreignDatabase() {
        QFETCH(QByteArrayList, row);
        QDir().mkpath(dir_.filePath("datos"));
        QCOMPARE(RunSql(Path(), row[0]), SQLITE_OK);
        SqliteHistory history(Path());
        QVERIFY(!history.Record(Game(0)));
        QCOMPARE(history.SetAsidePath().empty(), row[1] == "0");
        QCOMPARE(history.Record(Game(1)), row[1] == "1");
    }

    // XDG_DATA_HOME and HOME ("-": unset), and the history's file.
    void filePath_data() {
        Rows({"/x|/h|/x/cifrano/historial.sqlite3", "x|/h|/h/.local/share/cifrano/historial.sqlite3",
              "|/h|/h/.local/share/cifrano/historial.sqlite3",
              "-|/|//.local/share/cifrano/historial.sqlite3", "-||", "-|-|"});
    }
    void filePath() {
        QFETCH(QByteArrayList, row);
        const auto given = [&](int i) { return row[i] == "-" ? nullptr : row[i].constData(); };
        QCOMPARE(QByteArray::fromStdString(HistoryFilePath(given(0), given(1))), row[2]);
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

    // The trouble, and a word of the notice. Tests run as root, which ignores permission bits:
    // in /proc not even root can create a file.
    void troubleGivesFalseAndOneNotice_data() {
        Rows({"read-only|no se puede abrir", "full disk|lleno", "corrupt|dañado"});
    }
    void troubleGivesFalseAndOneNotice() {
        QFETCH(QByteArrayList, row);
        const QString kind = row[0], expected = row[1];
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

    // Header, ISO dates with the local offset, "." as the separator, RFC 4180
    // quoting; bytes that are no character (past U+10FFFF here) become U+FFFD.
    void csv() {
        FinishedGame pair = Game(1, "Pérez, Ana");
        pair.PlayedAt = 1704067200;
        pair.Rate = 10.0 / 3.0;
        pair.PairNumber = 1;
        pair.Rival = "el \"rápido\"\r\n\xF4\x90\x80\x80\xF1\x80\x80\x80";
        QCOMPARE(QByteArray::fromStdString(HistoryCsv({Game(0), pair})),
                 QByteArray(kCsvHeader.data(), qsizetype(kCsvHeader.size())) +
                     "\r\n2024-05-04T00:48:22+12:45,Lucía,Lucía.jpg,AA + B =,2,9,0,4.5,,\r\n"
                     "2024-01-01T13:45:00+13:45,\"Pérez, Ana\",\"Pérez, Ana.jpg\",AA + B =,2,10,1,"
                     "3.33333333333333,1,\"el \"\"rápido\"\"\r\n����\xF1\x80\x80\x80\"\r\n");
    }

    // Arguments (separated by ","), the CSV file's lines (header included; -1: no file), a
    // part of the message and the status. "viejo.csv" is there before: it is replaced.
    void exportCommand_data() {
        Rows({"--exportar,viejo.csv|3|Se han exportado 2 partidas a viejo.csv.|0",
              "--jugador=Ana,--exportar=a.csv|2|Se han exportado 1 partida de «Ana» a a.csv.|0",
              "--exportar,x.csv,--jugador=Nadie|-1|ninguna partida de «Nadie»|1",
              "--exportar,.|-1|No se puede escribir en .: no es un archivo normal.|1",
              "--exportar|-1|Uso:|2", "--progreso|-1|Se esperaba --exportar ARCHIVO.csv.|2"});
    }
    void exportCommand() {
        QFETCH(QByteArrayList, row);
        const std::vector<std::string> args = Args(row[0]);
        QFile old("viejo.csv");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100000, 'v')) > 0);
        SqliteHistory history(Path());
        QVERIFY(history.Record(Game(0)) && history.Record(Game(1, "Ana")));
        const CommandResult result = RunExportCommand(ParseHistoryCommand(args), history);
        QCOMPARE(result.Status, row[3].toInt());
        // On exactly one of the two streams.
        const std::string& said = result.Status ? result.Error : result.Output;
        QVERIFY2(QString::fromStdString(said).contains(row[2]), said.c_str());
        QCOMPARE(result.Output.empty() + result.Error.empty(), 1);
        QFile csv(QString::fromStdString(args.back()).section('=', -1));
        if (row[1] != "-1") QVERIFY(csv.open(QIODevice::ReadOnly));
        if (row[1] != "-1") QCOMPARE(csv.readAll().count("\r\n"), row[1].toInt());
        QCOMPARE(QDir().entryList({"x.csv", "*.parcial-*"}), QStringList());  // nothing partial
    }

    // Arguments (separated by ","), then the command read: its kind, file, player, and the
    // arguments left to the toolkit, or what is wrong.
    void commandLine_data() {
        Rows({"--comprobar,x|0|||", "--comprobar,--progresos,--jugadores=x|0|||",
              "--progreso,--jugador,Lucía|1||Lucía|", "--jugador=Lucía,--progreso|1||Lucía|",
              "-platform,offscreen,--progreso|1|||-platform offscreen",
              "--jugador,Ana María,--exportar,--progreso|2|--progreso|Ana María|",
              "--exportar,a,--jugador=|3|||Falta el nombre del jugador después de --jugador.",
              "--exportar,a,--jugador|3|||Falta el nombre del jugador después de --jugador.",
              "--exportar|3|||Falta el nombre del archivo CSV después de --exportar.",
              "--progreso=1|3|||--progreso no lleva valor.",
              "--progreso,--progreso|3|||--progreso aparece dos veces.",
              "--jugador=a,--jugador=b,--progreso|3|||--jugador aparece dos veces.",
              "--progreso,--exportar,a|3|||--progreso y --exportar no van juntas.",
              "--exportar=a,--exportar=b|3|||--exportar aparece dos veces.",
              "--jugador=a|3|||--jugador va con --exportar o con --progreso.",
              "--exportar,a,-x|3|||Opción desconocida con --exportar: -x"});
    }
    void commandLine() {
        QFETCH(QByteArrayList, row);
        const HistoryCommand command = ParseHistoryCommand(Args(row[0]));
        QStringList rest;
        for (const std::string& arg : command.Rest) rest << QString::fromStdString(arg);
        const bool bad = command.Kind == HistoryCommandKind::Bad;
        QCOMPARE(QString("%1|%2|%3|%4")
                     .arg(int(command.Kind))
                     .arg(QString::fromStdString(command.File),
                          QString::fromStdString(command.Player),
                          bad ? QString::fromStdString(command.Problem) : rest.join(' ')),
                 QString(row.mid(1).join('|')));
    }

    // Rates, then the best game (a tie keeps the first) and the average of the last ten.
    void summary_data() {
        Rows({"|0|0", "2 5 1 5|1|3.25", "100 1 1 1 1 1 1 1 1 1 11|0|2"});
    }
    void summary() {
        QFETCH(QByteArrayList, row);
        std::vector<FinishedGame> games;
        for (const QByteArray& rate : row[0].split(' '))
            if (!rate.isEmpty()) games.push_back(FinishedGame{.Rate = rate.toDouble()});
        const ProgressSummary summary = Summarise(games);
        QVERIFY(summary.BestIndex == row[1].toUInt() && summary.RecentAverage == row[2].toDouble());
        QCOMPARE(summary.RecentCount, std::min<std::size_t>(games.size(), 10));
    }
};

CIFRANO_TEST_MAIN(HistoryTest)
#include "test_history.moc"
