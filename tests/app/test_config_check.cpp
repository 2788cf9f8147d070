#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <string>
#include <vector>

#include "app/config_check.h"
#include "common/numbers.h"

using namespace cifrano;

Q_DECLARE_METATYPE(cifrano::Verdict)
Q_DECLARE_METATYPE(cifrano::CommandKind)

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string WriteFile(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const std::string path = dir.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

bool HasWarningWith(const OperationTypeCheck& check, const QString& part) {
    for (const std::string& warning : check.Warnings)
        if (Q(warning).contains(part)) return true;
    return false;
}

}  // namespace

class ConfigCheckTest : public QObject {
    Q_OBJECT
private slots:
    void verdict_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("shape");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<QString>("explains");

        QTest::newRow("form 4") << "AA + B =" << 4 << Verdict::Judged << "forma 4";
        QTest::newRow("form 4, random operator") << "AA * BB =" << 4 << Verdict::Judged
                                                 << "forma 4";
        QTest::newRow("form 4, capital X") << "A X B =" << 4 << Verdict::Judged << "forma 4";
        QTest::newRow("empty sign field shows the designed x")
            << "A  B =" << 4 << Verdict::Judged << "forma 4";
        QTest::newRow("form 6") << "A x B + C =" << 6 << Verdict::Judged << "forma 6";
        QTest::newRow("form 7") << "A ( B + C ) =" << 7 << Verdict::Judged << "forma 7";
        QTest::newRow("form 5") << "A x B + C" << 5 << Verdict::FormFive << "forma 5";
        QTest::newRow("three fields: no cell 4") << "A + B" << 0 << Verdict::NoCellFour
                                                 << "campo 4 está vacío";
        QTest::newRow("empty fourth field") << "A + B  C D =" << 0 << Verdict::NoCellFour
                                            << "campo 4 está vacío";
        QTest::newRow("unknown sign") << "AA ÷ B =" << 4 << Verdict::UnknownSign << "«÷»";
        QTest::newRow("a double space shifts the fields") << "AA +  B =" << 5
                                                          << Verdict::FormFive << "forma 5";
        QTest::newRow("number code where the sign goes")
            << "A A B =" << 4 << Verdict::UnknownSign << "código de número";
        QTest::newRow("second sign of form 6 unknown")
            << "A x B / C =" << 6 << Verdict::UnknownSign << "«/»";
        QTest::newRow("bracket form without =, read as form 6")
            << "A ( B + C )" << 6 << Verdict::UnknownSign << "«(»";
        QTest::newRow("form 7 without a bracket")
            << "A [ B + C ] =" << 7 << Verdict::NoBracket << "«[»";
        QTest::newRow("form 7 with a drawn operator for the bracket")
            << "A * B + C ) =" << 7 << Verdict::NoBracket << "signo al azar";
        QTest::newRow("form 7, unknown sign inside")
            << "A ( B % C ) =" << 7 << Verdict::UnknownSign << "«%»";
        QTest::newRow("division by a literal zero")
            << "A : 0 =" << 4 << Verdict::NeverComputable << "divide por cero";
    }
    void verdict() {
        QFETCH(QString, line);
        QFETCH(int, shape);
        QFETCH(Verdict, verdict);
        QFETCH(QString, explains);
        const OperationTypeCheck check = CheckOperationType(line.toStdString());
        QCOMPARE(check.ProblemShape, shape);
        QCOMPARE(check.Result, verdict);
        QVERIFY2(Q(check.Explanation).contains(explains), check.Explanation.c_str());
        // Only problems that will be judged come with an answer.
        QCOMPARE(check.ExampleAnswer.empty(), verdict != Verdict::Judged);
    }

    void exampleProblem_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("AA + B =") << "AA + B =" << R"(^\d{1,2} \+ \d = \?$)";
        QTest::newRow("AAAA - BBB =") << "AAAA - BBB =" << R"(^\d{1,4} - \d{1,4} = \?$)";
        QTest::newRow("random operator") << "AA * BB =" << R"(^\d{1,2} [+x-] \d{1,2} = \?$)";
        QTest::newRow("A x B + C =") << "A x B + C =" << R"(^\d x \d \+ \d = \?$)";
        QTest::newRow("A ( B + C ) =") << "A ( B + C ) =" << R"(^\d \( \d \+ \d \) = \?$)";
        QTest::newRow("cell 4 still shows its designed =") << "A + B" << R"(^\d \+ \d = \?$)";
    }
    void exampleProblem() {
        QFETCH(QString, line);
        QFETCH(QString, pattern);
        const OperationTypeCheck check = CheckOperationType(line.toStdString());
        QVERIFY2(QRegularExpression(pattern).match(Q(check.Example)).hasMatch(),
                 check.Example.c_str());
        // The same seed every time: two reports of one file agree.
        QCOMPARE(CheckOperationType(line.toStdString()).Example, check.Example);
    }

    // The example's answer is the value of the problem it shows.
    void exampleAnswerMatchesTheProblem_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("sum") << "AA + B =";
        QTest::newRow("difference stays positive") << "AAA - BB =";
        QTest::newRow("product") << "AA x B =";
        QTest::newRow("exact quotient") << "AAA : BB =";
    }
    void exampleAnswerMatchesTheProblem() {
        QFETCH(QString, line);
        const OperationTypeCheck check = CheckOperationType(line.toStdString());
        const QStringList parts = Q(check.Example).split(' ');
        QCOMPARE(parts.size(), 5);
        const long long a = parts[0].toLongLong();
        const long long b = parts[2].toLongLong();
        long long expected = 0;
        if (parts[1] == "+") expected = a + b;
        if (parts[1] == "-") expected = a - b;
        if (parts[1] == "x") expected = a * b;
        if (parts[1] == ":") {
            QCOMPARE(a % b, 0LL);
            expected = a / b;
        }
        QVERIFY(expected > 0);
        QCOMPARE(check.ExampleAnswer, NumberText(expected));
    }

    void fieldCounts_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kept");
        QTest::addColumn<QStringList>("dropped");
        QTest::newRow("eleven fields fit") << "A + B = 1 2 3 4 5 6 7" << 11 << QStringList{};
        QTest::newRow("twelve fields") << "A + B = 1 2 3 4 5 6 7 8" << 11 << QStringList{"8"};
        QTest::newRow("empty fields past the eleventh")
            << "A + B = 1 2 3 4 5 6 7  " << 11 << QStringList{"", ""};
        QTest::newRow("ten spaces: eleven empty fields") << QString(10, ' ') << 11
                                                         << QStringList{};
        QTest::newRow("one field") << "AA" << 1 << QStringList{};
    }
    void fieldCounts() {
        QFETCH(QString, line);
        QFETCH(int, kept);
        QFETCH(QStringList, dropped);
        const OperationTypeCheck check = CheckOperationType(line.toStdString());
        QCOMPARE(int(check.Fields.size()), kept);
        QStringList actual;
        for (const std::string& field : check.Dropped) actual << Q(field);
        QCOMPARE(actual, dropped);
        QCOMPARE(HasWarningWith(check, "solo caben 11"), !dropped.isEmpty());
    }

    void warnings_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<bool>("expected");
        QTest::newRow("lower-case code is text") << "A + b =" << "«b» no es un número" << true;
        QTest::newRow("code in the wrong field") << "B + A =" << "«B» no es un número" << true;
        QTest::newRow("literal number is fine") << "A + 5 =" << "no es un número" << false;
        QTest::newRow("text that the division rewrites") << "x : B =" << "no es un número"
                                                         << false;
        QTest::newRow("cell 6 under the box after an empty field 5")
            << "A + B =  C" << "campo 6 «C» queda debajo" << true;
        QTest::newRow("cell 7 under the box in form 5")
            << "A + B = C  D" << "campo 7 «D» queda debajo" << true;
        QTest::newRow("unused fields 8 to 11") << "A + B =    x" << "campos 8 a 11" << true;
        QTest::newRow("a plain line has none") << "AA + B =" << "aviso" << false;
    }
    void warnings() {
        QFETCH(QString, line);
        QFETCH(QString, warning);
        QFETCH(bool, expected);
        QCOMPARE(HasWarningWith(CheckOperationType(line.toStdString()), warning), expected);
    }

    void fileThatCannotBeUsed_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "missing" << "No se encuentra";
        QTest::newRow("a folder") << "folder" << "No se puede leer";
        QTest::newRow("no bytes") << "empty" << "no contiene ningún tipo";
        QTest::newRow("only line ends") << "blank" << "no contiene ningún tipo";
    }
    void fileThatCannotBeUsed() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        std::string path = dir.filePath("configuracion.txt").toStdString();
        if (kind == "folder") path = dir.path().toStdString();
        if (kind == "empty") path = WriteFile(dir, "configuracion.txt", "");
        if (kind == "blank") path = WriteFile(dir, "configuracion.txt", "\r\n\n\r\n");
        const ConfigCheckResult result = CheckConfigurationFile(path);
        QCOMPARE(result.Status, kExitUnusable);
        QVERIFY2(Q(result.Error).contains(message), result.Error.c_str());
        QVERIFY(Q(result.Error).contains(Q(path)));
    }

    void reportOfAUsableFile() {
        QTemporaryDir dir;
        const std::string path =
            WriteFile(dir, "tipos.txt", "AA + B =\r\n\r\nA  B =\r\nA + B\r\nA x B + C =");
        const ConfigCheckResult result = CheckConfigurationFile(path);
        QCOMPARE(result.Status, kExitUsable);
        QVERIFY(result.Error.empty());
        const QString report = Q(result.Report);
        // List numbers and the file's own line numbers, which skip the empty line.
        QVERIFY(report.contains("1 (línea 1): «AA + B =»"));
        QVERIFY(report.contains("2 (línea 3): «A  B =»"));
        QVERIFY(report.contains("4 (línea 5): «A x B + C =»"));
        QVERIFY(report.contains("campos: «A» «» «B» «=»"));
        QVERIFY(report.contains("Se juzgan 3 de 4"));
        QVERIFY(report.contains("El juego puede usar este archivo."));
    }

    void reportWhenNothingIsJudged() {
        QTemporaryDir dir;
        const std::string path = WriteFile(dir, "c.txt", "A + B\nA x B + C\n");
        const ConfigCheckResult result = CheckConfigurationFile(path);
        QCOMPARE(result.Status, kExitUsable);  // the game still opens with it
        QVERIFY(Q(result.Report).contains("ninguna partida contará"));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<CommandKind>("kind");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("toolkit");
        QTest::newRow("no arguments: the game") << QStringList{} << CommandKind::Play << "" << false;
        QTest::newRow("default file") << QStringList{"--comprobar"} << CommandKind::Check << "" << false;
        QTest::newRow("named file") << QStringList{"--comprobar", "a b.txt"}
                                    << CommandKind::Check << "a b.txt" << false;
        QTest::newRow("file after =") << QStringList{"--comprobar=x.txt"} << CommandKind::Check
                                      << "x.txt" << false;
        QTest::newRow("= without a file") << QStringList{"--comprobar="} << CommandKind::Unknown
                                          << "" << false;
        QTest::newRow("two files") << QStringList{"--comprobar", "a", "b"}
                                   << CommandKind::Unknown << "" << false;
        QTest::newRow("short help") << QStringList{"-h"} << CommandKind::Help << "" << false;
        QTest::newRow("long help") << QStringList{"--help"} << CommandKind::Help << "" << false;
        QTest::newRow("help wins") << QStringList{"--comprobar", "--help"} << CommandKind::Help
                                   << "" << false;
        QTest::newRow("unknown option") << QStringList{"--jugar"} << CommandKind::Unknown << "" << false;
        QTest::newRow("options are case-sensitive") << QStringList{"--COMPROBAR"}
                                                    << CommandKind::Unknown << "" << false;
        QTest::newRow("toolkit option, left to the toolkit")
            << QStringList{"-platform", "offscreen"} << CommandKind::Unknown << "" << true;
        QTest::newRow("toolkit option with two dashes and a value")
            << QStringList{"--style=fusion"} << CommandKind::Unknown << "" << true;
        QTest::newRow("value alone is no toolkit option")
            << QStringList{"offscreen"} << CommandKind::Unknown << "" << false;
        QTest::newRow("stray argument") << QStringList{"configuracion.txt"}
                                        << CommandKind::Unknown << "" << false;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(CommandKind, kind);
        QFETCH(QString, path);
        QFETCH(bool, toolkit);
        std::vector<std::string> list;
        for (const QString& arg : args) list.push_back(arg.toStdString());
        const CommandLine parsed = ParseCommandLine(list);
        QCOMPARE(parsed.Kind, kind);
        QCOMPARE(Q(parsed.Path), path);
        QCOMPARE(parsed.MaybeToolkitOptions, toolkit);
        if (kind == CommandKind::Unknown) {
            QVERIFY(!parsed.Problem.empty());
            QVERIFY(Q(UsageText(parsed)).contains("Uso: cifrano"));
        }
    }
};

QTEST_GUILESS_MAIN(ConfigCheckTest)
#include "test_config_check.moc"
