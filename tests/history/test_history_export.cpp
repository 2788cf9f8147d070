// The CSV export and the history's command-line options.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

#include "app/config_check.h"
#include "fake_game_history.h"
#include "history/history_command.h"
#include "history/history_export.h"

using namespace cifrano;
using cifrano::testing::FakeGameHistory;

Q_DECLARE_METATYPE(cifrano::FinishedGame)

namespace {

FinishedGame Game(const std::string& player, double rate) {
    FinishedGame game;
    game.PlayedAt = 1714737802;
    game.Player = player;
    game.PlayerFile = player + ".png";
    game.Operation = "AA + B =";
    game.Minutes = 2;
    game.Hits = 9;
    game.Errors = 1;
    game.Rate = rate;
    return game;
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
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

    void fields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "AA + B ="
                               << "AA + B =";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("comma") << "Pérez, Ana"
                               << "\"Pérez, Ana\"";
        QTest::newRow("quotes doubled") << "el \"rápido\""
                                        << "\"el \"\"rápido\"\"\"";
        QTest::newRow("line break") << "a\nb"
                                    << "\"a\nb\"";
        QTest::newRow("carriage return") << "a\rb"
                                         << "\"a\rb\"";
        QTest::newRow("semicolon needs nothing") << "a;b"
                                                 << "a;b";
    }
    void fields() {
        QFETCH(QString, text);
        QTEST(QString::fromStdString(CsvField(text.toStdString())), "field");
    }

    void lines_data() {
        QTest::addColumn<FinishedGame>("game");
        QTest::addColumn<QString>("line");
        QTest::newRow("alone")
            << Game("Lucía", 4.5)
            << "2024-05-03T12:03:22+00:00,Lucía,Lucía.png,AA + B =,2,9,1,4.5,,\r\n";
        FinishedGame pair = Game("Ana", 10.0 / 3.0);
        pair.PairNumber = 2;
        pair.Rival = "Carlos, \"C\"";
        QTest::newRow("pair, rival quoted")
            << pair
            << "2024-05-03T12:03:22+00:00,Ana,Ana.png,AA + B =,2,9,1,3.33333333333333,2,"
               "\"Carlos, \"\"C\"\"\"\r\n";
    }
    void lines() {
        QFETCH(FinishedGame, game);
        QTEST(QString::fromStdString(CsvLine(game)), "line");
    }

    void exports_data() {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("target");  // relative to the temporary folder
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("lines");  // header included; -1: no file written
        QTest::addColumn<QString>("message");
        QTest::newRow("everyone") << ""
                                  << "todo.csv" << true << 3 << "2 partidas";
        QTest::newRow("one player") << "Ana"
                                    << "ana.csv" << true << 2 << "1 partida de «Ana»";
        QTest::newRow("unknown player") << "Nadie"
                                        << "nadie.csv" << false << -1 << "Nadie";
        QTest::newRow("replaces a file") << ""
                                         << "viejo.csv" << true << 3 << "2 partidas";
        QTest::newRow("a folder in the way") << ""
                                             << "carpeta" << false << -1 << "archivo normal";
        QTest::newRow("missing folder") << ""
                                        << "no/hay/x.csv" << false << -1 << "No se puede";
        QTest::newRow("full disk") << ""
                                   << "/dev/full" << false << -1 << "archivo normal";
    }
    void exports() {
        QFETCH(QString, player);
        QFETCH(QString, target);
        QFETCH(bool, ok);
        QFETCH(int, lines);
        FakeGameHistory history;
        history.Kept = {Game("Lucía", 4.5), Game("Ana", 6)};
        QDir(dir_.path()).mkpath("carpeta");
        QFile old(dir_.filePath("viejo.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'v'));
        old.close();
        const QString path = target.startsWith('/') ? target : dir_.filePath(target);

        const ExportResult result =
            ExportHistory(history, path.toStdString(), player.toStdString());
        QCOMPARE(result.Ok, ok);
        QFETCH(QString, message);
        QVERIFY2(QString::fromStdString(result.Message).contains(message), result.Message.c_str());
        if (lines >= 0) {
            const QByteArray csv = Read(path);
            QVERIFY(csv.startsWith(QByteArray(kCsvHeader.data(), kCsvHeader.size()) + "\r\n"));
            QCOMPARE(csv.count("\r\n"), qsizetype(lines));
        } else if (!target.startsWith('/') && target != "carpeta") {
            QVERIFY(!QFile::exists(path));
        }
        // Nothing partial is ever left beside the target.
        QCOMPARE(QDir(dir_.path()).entryList({"*.parcial-*"}), QStringList());
    }

    void exportOfAnUnreadableHistory() {
        FakeGameHistory history;
        history.FailWith = "No se ha podido usar el historial.";
        history.Record(FinishedGame{});  // leaves the problem set, as a failed read does
        const QString path = dir_.filePath("nada.csv");
        const ExportResult result = ExportHistory(history, path.toStdString(), "");
        QVERIFY(!result.Ok);
        QCOMPARE(result.Message, history.FailWith);
        QVERIFY(!QFile::exists(path));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("player");
        QTest::addColumn<QStringList>("rest");
        using K = HistoryCommandKind;
        const QStringList none;
        QTest::newRow("no option") << QStringList{} << int(K::None) << ""
                                   << "" << none;
        QTest::newRow("someone else's") << QStringList{"--comprobar", "x"} << int(K::None) << ""
                                        << "" << none;
        QTest::newRow("progress") << QStringList{"--progreso"} << int(K::Progress) << ""
                                  << "" << none;
        QTest::newRow("progress of a player")
            << QStringList{"--progreso", "--jugador", "Lucía"} << int(K::Progress) << ""
            << "Lucía" << none;
        QTest::newRow("progress, toolkit options kept")
            << QStringList{"-platform", "offscreen", "--progreso"} << int(K::Progress) << ""
            << "" << QStringList{"-platform", "offscreen"};
        QTest::newRow("export") << QStringList{"--exportar", "a.csv"} << int(K::Export) << "a.csv"
                                << "" << none;
        QTest::newRow("export, player first")
            << QStringList{"--jugador", "Ana María", "--exportar", "a b.csv"} << int(K::Export)
            << "a b.csv"
            << "Ana María" << none;
        QTest::newRow("export with =")
            << QStringList{"--exportar=a.csv", "--jugador=Ana"} << int(K::Export) << "a.csv"
            << "Ana" << none;
        QTest::newRow("a file named like an option")
            << QStringList{"--exportar", "--progreso"} << int(K::Export) << "--progreso"
            << "" << none;
        QTest::newRow("export without file") << QStringList{"--exportar"} << int(K::Bad) << ""
                                             << "" << none;
        QTest::newRow("empty file") << QStringList{"--exportar="} << int(K::Bad) << ""
                                    << "" << none;
        QTest::newRow("player without name")
            << QStringList{"--exportar", "a", "--jugador"} << int(K::Bad) << ""
            << "" << none;
        QTest::newRow("player alone") << QStringList{"--jugador", "Ana"} << int(K::Bad) << ""
                                      << "" << none;
        QTest::newRow("both") << QStringList{"--progreso", "--exportar", "a"} << int(K::Bad) << ""
                              << "" << none;
        QTest::newRow("twice") << QStringList{"--progreso", "--progreso"} << int(K::Bad) << ""
                               << "" << none;
        QTest::newRow("export and something else")
            << QStringList{"--exportar", "a", "--comprobar"} << int(K::Bad) << ""
            << "" << none;
        QTest::newRow("progress with a value") << QStringList{"--progreso=1"} << int(K::Bad) << ""
                                               << "" << none;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        std::vector<std::string> list;
        for (const QString& arg : args) list.push_back(arg.toStdString());
        const HistoryCommand command = ParseHistoryCommand(list);
        QTEST(int(command.Kind), "kind");
        if (command.Kind == HistoryCommandKind::Bad) {
            QVERIFY(!command.Problem.empty());
            QVERIFY(QString::fromStdString(HistoryUsageText(command)).contains("Uso:"));
            return;
        }
        QTEST(QString::fromStdString(command.File), "file");
        QTEST(QString::fromStdString(command.Player), "player");
        QStringList rest;
        for (const std::string& arg : command.Rest) rest << QString::fromStdString(arg);
        QTEST(rest, "rest");
    }

    void exportCommandStatus_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("saysSomething");  // on standard output
        QTest::newRow("written") << QStringList{"--exportar", "ok.csv"} << 0 << true;
        QTest::newRow("unknown player") << QStringList{"--exportar", "x.csv", "--jugador", "Nadie"}
                                        << kExitHistoryFailed << false;
        QTest::newRow("bad command line") << QStringList{"--exportar"} << kExitUnusable << false;
    }
    void exportCommandStatus() {
        QFETCH(QStringList, args);
        std::vector<std::string> list;
        for (const QString& arg : args)
            list.push_back(arg.endsWith(".csv") ? dir_.filePath(arg).toStdString()
                                                : arg.toStdString());
        FakeGameHistory history;
        history.Kept = {Game("Ana", 3)};
        const CommandResult result = RunExportCommand(ParseHistoryCommand(list), history);
        QTEST(result.Status, "status");
        QTEST(!result.Output.empty(), "saysSomething");
        QCOMPARE(result.Error.empty(), result.Status == 0);
    }
};

QTEST_APPLESS_MAIN(HistoryExportTest)
#include "test_history_export.moc"
