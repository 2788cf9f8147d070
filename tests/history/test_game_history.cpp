// The figures beside the progress chart, the CSV export and the history's
// command-line options.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

#include "app/command_line.h"
#include "app/history_command.h"
#include "fake_game_history.h"
#include "history/history_export.h"
#include "test_main.h"

using namespace cifrano;

namespace {

FinishedGame Game(const std::string& player, double rate, std::int64_t at = 1714737802) {
    return FinishedGame{at, player, player + ".png", "AA + B =", 2, 9, 1, rate};
}

}  // namespace

using Args = std::vector<std::string>;
Q_DECLARE_METATYPE(Args)

class GameHistoryTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void initTestCase() {
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");  // by rule: no time zone files needed
        tzset();
        QVERIFY(QDir::setCurrent(dir_.path()));
    }

    // Header, ISO dates with the local offset, "." as the separator, RFC 4180
    // quoting; bytes that are no character (past U+10FFFF here) become U+FFFD.
    void csv() {
        FinishedGame pair = Game("Pérez, Ana", 10.0 / 3.0, 1704067200);
        pair.PairNumber = 2;
        pair.Rival = "el \"rápido\"\r\n\xF4\x90\x80\x80";
        QCOMPARE(QByteArray::fromStdString(HistoryCsv({Game("Lucía", 4.5), pair})),
                 QByteArray(kCsvHeader.data(), qsizetype(kCsvHeader.size())) +
                     "\r\n2024-05-03T14:03:22+02:00,Lucía,Lucía.png,AA + B =,2,9,1,4.5,,\r\n"
                     "2024-01-01T01:00:00+01:00,\"Pérez, Ana\",\"Pérez, Ana.png\",AA + B =,2,9,1,"
                     "3.33333333333333,2,\"el \"\"rápido\"\"\r\n����\"\r\n");
    }

    void exportCommand_data() {
        QTest::addColumn<Args>("args");
        QTest::addColumn<int>("lines");  // header included, -1: no file
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("status");
        // "viejo.csv" is there before: it is replaced.
        QTest::newRow("all") << Args{"--exportar", "viejo.csv"} << 3 << "2 partidas" << 0;
        QTest::newRow("Ana") << Args{"--jugador=Ana", "--exportar=a.csv"} << 2 << "«Ana»" << 0;
        QTest::newRow("unknown player") << Args{"--exportar", "x.csv", "--jugador=Nadie"} << -1
                                        << "«Nadie»" << kExitHistoryFailed;
        QTest::newRow("no file") << Args{"--exportar"} << -1 << "Uso:" << kExitUnusable;
        QTest::newRow("not an export") << Args{"--progreso"} << -1 << "Uso:" << kExitUnusable;
    }
    void exportCommand() {
        QFETCH(Args, args);
        QFETCH(int, lines);
        QFile old("viejo.csv");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100000, 'v')) > 0);
        testing::FakeGameHistory history;
        history.Kept = {Game("Lucía", 4.5), Game("Ana", 6)};
        const CommandResult result = RunExportCommand(ParseHistoryCommand(args), history);
        QTEST(result.Status, "status");
        QFETCH(QString, message);  // on exactly one of the two streams
        const std::string& said = result.Status ? result.Error : result.Output;
        QVERIFY2(QString::fromStdString(said).contains(message), said.c_str());
        QCOMPARE(result.Output.empty() + result.Error.empty(), 1);
        QFile csv(QString::fromStdString(args.back()).section('=', -1));
        if (lines >= 0) QVERIFY(csv.open(QIODevice::ReadOnly));
        if (lines >= 0) QCOMPARE(csv.readAll().count("\r\n"), qsizetype(lines));
        QCOMPARE(QDir().entryList({"x.csv", "*.parcial-*"}), QStringList());  // nothing partial
    }

    void commandLine_data() {
        QTest::addColumn<Args>("args");
        QTest::addColumn<QString>("parsed");  // kind|file|player|rest
        QTest::newRow("no option") << Args{"--comprobar", "x"} << "0|||";
        QTest::newRow("progress of a player")
            << Args{"--progreso", "--jugador", "Lucía"} << "1||Lucía|";
        QTest::newRow("progress, toolkit options kept")
            << Args{"-platform", "offscreen", "--progreso"} << "1|||-platform offscreen";
        QTest::newRow("a file named like an option, player first")
            << Args{"--jugador", "Ana María", "--exportar", "--progreso"}
            << "2|--progreso|Ana María|";
        QTest::newRow("empty name") << Args{"--exportar", "a", "--jugador="} << "3|||";
        QTest::newRow("both") << Args{"--progreso", "--exportar", "a"} << "3|||";
        QTest::newRow("twice") << Args{"--exportar=a", "--exportar=b"} << "3|||";
        QTest::newRow("export and more") << Args{"--exportar", "a", "-x"} << "3|||";
    }
    void commandLine() {
        QFETCH(Args, args);
        const HistoryCommand command = ParseHistoryCommand(args);
        QStringList rest;
        for (const std::string& arg : command.Rest) rest << QString::fromStdString(arg);
        QTEST(QString("%1|%2|%3|%4")
                  .arg(int(command.Kind))
                  .arg(QString::fromStdString(command.File), QString::fromStdString(command.Player),
                       rest.join(' ')),
              "parsed");
        QCOMPARE(command.Problem.empty(), command.Kind != HistoryCommandKind::Bad);
    }

    void summary_data() {
        QTest::addColumn<QList<double>>("rates");
        QTest::addColumn<int>("best");
        QTest::addColumn<double>("average");
        QTest::newRow("none") << QList<double>{} << 0 << 0.0;
        QTest::newRow("a tie keeps the first") << QList<double>{2, 5, 1, 5} << 1 << 3.25;
        QTest::newRow("only the last ten count")
            << QList<double>{100, 1, 1, 1, 1, 1, 1, 1, 1, 1, 11} << 0 << 2.0;
    }
    void summary() {
        QFETCH(QList<double>, rates);
        std::vector<FinishedGame> games;
        for (double rate : rates) games.push_back(FinishedGame{.Rate = rate});
        const ProgressSummary summary = Summarise(games);
        QTEST(int(summary.BestIndex), "best");
        QTEST(summary.RecentAverage, "average");
        QCOMPARE(summary.RecentCount, std::min<std::size_t>(rates.size(), 10));
    }
};

CIFRANO_TEST_MAIN(GameHistoryTest)
#include "test_game_history.moc"
