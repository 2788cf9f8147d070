// The CSV export and the history's command-line options.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

#include "test_main.h"
#include "app/command_line.h"
#include "fake_game_history.h"
#include "app/history_command.h"
#include "history/history_export.h"

using namespace cifrano;
using cifrano::testing::FakeGameHistory;

namespace {

FinishedGame Game(const std::string& player, double rate) {
    return FinishedGame{1714737802, player, player + ".png", "AA + B =", 2, 9, 1, rate, 0, ""};
}

std::vector<std::string> Strings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& s : list) strings.push_back(s.toStdString());
    return strings;
}

}  // namespace

class HistoryExportTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    void initTestCase() {
        qputenv("TZ", "UTC0");
        tzset();
    }

    void lines_data() {
        QTest::addColumn<QString>("player");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("rival");
        QTest::addColumn<QString>("line");
        QTest::newRow("alone") << "Lucía" << 4.5 << ""
                               << "2024-05-03T12:03:22+00:00,Lucía,Lucía.png,AA + B =,2,9,1,4.5,,";
        QTest::newRow("comma, quotes, line break quoted; full precision")
            << "Pérez, Ana" << 10.0 / 3.0 << "el \"rápido\"\r\n"
            << "2024-05-03T12:03:22+00:00,\"Pérez, Ana\",\"Pérez, Ana.png\",AA + B =,2,9,1,"
               "3.33333333333333,2,\"el \"\"rápido\"\"\r\n\"";
    }
    void lines() {
        QFETCH(QString, player);
        QFETCH(double, rate);
        QFETCH(QString, rival);
        FinishedGame game = Game(player.toStdString(), rate);
        game.Rival = rival.toStdString();
        game.PairNumber = rival.isEmpty() ? 0 : 2;
        QFETCH(QString, line);
        QCOMPARE(QString::fromStdString(CsvLine(game)), line + "\r\n");
    }

    void exports_data() {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("target");  // relative to the temporary folder
        QTest::addColumn<int>("lines");       // header included; -1: no file
        QTest::addColumn<QString>("message");
        QTest::newRow("everyone, replacing a file") << ""
                                                    << "viejo.csv" << 3 << "2 partidas";
        QTest::newRow("one player") << "Ana"
                                    << "ana.csv" << 2 << "1 partida de «Ana»";
        QTest::newRow("unknown player") << "Nadie"
                                        << "nadie.csv" << -1 << "Nadie";
        QTest::newRow("a folder in the way") << ""
                                             << "carpeta" << -1 << "archivo normal";
        QTest::newRow("missing folder") << ""
                                        << "no/hay/x.csv" << -1 << "No se puede";
    }
    void exports() {
        QFETCH(QString, player);
        QFETCH(QString, target);
        QFETCH(int, lines);
        FakeGameHistory history;
        history.Kept = {Game("Lucía", 4.5), Game("Ana", 6)};
        QDir(dir_.path()).mkpath("carpeta");
        QFile old(dir_.filePath("viejo.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'v'));
        old.close();
        const QString path = dir_.filePath(target);

        const ExportResult result =
            ExportHistory(history, path.toStdString(), player.toStdString());
        QCOMPARE(result.Ok, lines >= 0);
        QFETCH(QString, message);
        QVERIFY2(QString::fromStdString(result.Message).contains(message), result.Message.c_str());
        QFile csv(path);
        if (lines >= 0) {
            QVERIFY(csv.open(QIODevice::ReadOnly));
            const QByteArray bytes = csv.readAll();
            QVERIFY(bytes.startsWith(QByteArray(kCsvHeader.data()) + "\r\n"));
            QCOMPARE(bytes.count("\r\n"), qsizetype(lines));
        } else if (target != "carpeta") {
            QVERIFY(!csv.exists());
        }
        // Nothing partial is ever left beside the target.
        QCOMPARE(QDir(dir_.path()).entryList({"*.parcial-*"}), QStringList());
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("parsed");  // kind|file|player|rest
        QTest::newRow("no option") << QStringList{"--comprobar", "x"} << "0|||";
        QTest::newRow("progress of a player")
            << QStringList{"--progreso", "--jugador", "Lucía"} << "1||Lucía|";
        QTest::newRow("progress, toolkit options kept")
            << QStringList{"-platform", "offscreen", "--progreso"} << "1|||-platform offscreen";
        QTest::newRow("export, player first")
            << QStringList{"--jugador", "Ana María", "--exportar", "a b.csv"}
            << "2|a b.csv|Ana María|";
        QTest::newRow("export with =")
            << QStringList{"--exportar=a.csv", "--jugador=Ana"} << "2|a.csv|Ana|";
        QTest::newRow("a file named like an option")
            << QStringList{"--exportar", "--progreso"} << "2|--progreso||";
        QTest::newRow("export without file") << QStringList{"--exportar"} << "3|||";
        QTest::newRow("empty name") << QStringList{"--exportar", "a", "--jugador="} << "3|||";
        QTest::newRow("player alone") << QStringList{"--jugador", "Ana"} << "3|||";
        QTest::newRow("both") << QStringList{"--progreso", "--exportar", "a"} << "3|||";
        QTest::newRow("twice") << QStringList{"--progreso", "--progreso"} << "3|||";
        QTest::newRow("export and more") << QStringList{"--exportar", "a", "-x"} << "3|||";
    }
    void commandLine() {
        QFETCH(QStringList, args);
        const HistoryCommand command = ParseHistoryCommand(Strings(args));
        QStringList rest;
        for (const std::string& arg : command.Rest) rest << QString::fromStdString(arg);
        QTEST(QString("%1|%2|%3|%4")
                  .arg(int(command.Kind))
                  .arg(QString::fromStdString(command.File), QString::fromStdString(command.Player),
                       rest.join(' ')),
              "parsed");
        QCOMPARE(command.Problem.empty(), command.Kind != HistoryCommandKind::Bad);
    }

    void exportCommandStatus_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("written") << QStringList{"--exportar", "ok.csv"} << 0;
        QTest::newRow("unknown player")
            << QStringList{"--exportar", "x.csv", "--jugador", "Nadie"} << kExitHistoryFailed;
        QTest::newRow("bad command line") << QStringList{"--exportar"} << kExitUnusable;
    }
    void exportCommandStatus() {
        QFETCH(QStringList, args);
        for (QString& arg : args)
            if (arg.endsWith(".csv")) arg = dir_.filePath(arg);
        FakeGameHistory history;
        history.Kept = {Game("Ana", 3)};
        const CommandResult result = RunExportCommand(ParseHistoryCommand(Strings(args)), history);
        QTEST(result.Status, "status");
        // A message on exactly one of the two streams.
        QCOMPARE(result.Output.empty(), result.Status != 0);
        QCOMPARE(result.Error.empty(), result.Status == 0);
    }
};

CIFRANO_TEST_MAIN(HistoryExportTest)
#include "test_history_export.moc"
