// The --comprobar report: each operation type's verdict, example and warnings.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/config_check.h"

using namespace cifrano;

static_assert(kExitUnusable != 0);

Q_DECLARE_METATYPE(cifrano::Verdict)

static QString Q(const std::string& text) { return QString::fromStdString(text); }

class ConfigCheckTest : public QObject {
    Q_OBJECT
  private slots:
    void verdictAndExample_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<QString>("example");  // a pattern
        using enum Verdict;
        QTest::newRow("form 4") << "AA + B =" << Judged << R"(^(\d{1,2}) \+ (\d) = \?$)";
        QTest::newRow("form 6") << "A x B + C =" << Judged << R"(^\d x \d \+ \d = \?$)";
        QTest::newRow("form 7") << "A ( B + C ) =" << Judged << R"(^\d \( \d \+ \d \) = \?$)";
        QTest::newRow("form 5") << "A x B + C" << FormFive << R"(^\d x \d \+ \d \?$)";
        QTest::newRow("no cell 4; = still shown") << "A + B" << NoCellFour << R"(^\d \+ \d = \?$)";
        QTest::newRow("unknown sign") << "AA ÷ B =" << UnknownSign << "÷";
        QTest::newRow("form 7 without a bracket") << "A [ B + C ] =" << NoBracket << R"(\[)";
        QTest::newRow("division by a literal zero") << "A : 0 =" << NeverComputable << ": 0 =";
    }
    void verdictAndExample() {
        QFETCH(QString, line);
        QFETCH(Verdict, verdict);
        QFETCH(QString, example);
        const OperationTypeCheck check = CheckOperationType(line.toStdString());
        QCOMPARE(check.Result, verdict);
        const QRegularExpressionMatch m = QRegularExpression(example).match(Q(check.Example));
        QVERIFY2(m.hasMatch(), check.Example.c_str());
        // The same seed every time: two reports of one file agree.
        QCOMPARE(CheckOperationType(line.toStdString()).Example, check.Example);
        // Only problems that will be judged come with an answer: for a sum, its value.
        QCOMPARE(check.ExampleAnswer.empty(), verdict != Verdict::Judged);
        if (m.lastCapturedIndex() == 2)
            QCOMPARE(std::stoi(check.ExampleAnswer), m.captured(1).toInt() + m.captured(2).toInt());
    }

    // What the report (or the error) says of a file, and the exit status. No content: no file.
    void report_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("every verdict explained; list and file line numbers, fields, summary")
            << QByteArray(
                   "AA + B =\r\n\r\nA  B =\r\nA + B\r\nA x B + C =\r\nA ( B + C ) =\r\n"
                   "A x B + C\r\nAA ÷ B =\r\nA [ B + C ] =\r\nA : 0 =")
            << kExitUsable
            << QStringList{"juzga como forma 4",
                           "juzga como forma 6",
                           "juzga como forma 7",
                           "nunca se juzga: forma 5",
                           "nunca se juzga: el campo 4 está vacío",
                           "el signo «÷» del campo 2 no es",
                           "debe ser «(» y es «[»",
                           "divide por cero",
                           "1 (línea 1): «AA + B =»",
                           "2 (línea 3): «A  B =»",
                           "Se juzgan 4 de 9",
                           "El juego puede usar este archivo."};
        QTest::newRow("nothing judged, still usable")
            << QByteArray("A + B\nA x B + C") << kExitUsable << QStringList{"ninguna partida"};
        QTest::newRow("twelve fields, ten spaces as eleven empty fields, warnings")
            << QByteArray("A + B = 1 2 3 4 5 6 7 8\n          \nA + b =\nA + B =  C") << kExitUsable
            << QStringList{"campos: «A» «+» «B» «=» «1» «2» «3» «4» «5» «6» «7»\n",
                           "12 campos y solo caben 11; se descartan «8»",
                           "campos 8 a 11",
                           "campos:" + QString(" «»").repeated(11) + "\n",
                           "«b» no es un número",
                           "campo 6 «C» queda debajo"};
        QTest::newRow("missing file")
            << QByteArray() << kExitUnusable
            << QStringList{"cifrano: No se encuentra el archivo de configuración: "};
    }
    void report() {
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QStringList, parts);
        QTemporaryDir dir;
        const std::string path = dir.filePath("tipos.txt").toStdString();
        if (!content.isNull()) std::ofstream(path, std::ios::binary) << content.toStdString();
        const ConfigCheckResult result = CheckConfigurationFile(path);
        QCOMPARE(result.Status, status);
        QCOMPARE(result.Error.empty(), status == kExitUsable);  // an error only when unusable
        for (const QString& part : parts)
            QVERIFY2(Q(result.Report + result.Error).contains(part), qPrintable(part));
    }

    // Each row: the command read, as "kind [path] [toolkit]".
    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("command");
        QTest::newRow("no arguments: the game") << QStringList{} << "Play";
        QTest::newRow("default file") << QStringList{"--comprobar"} << "Check";
        QTest::newRow("named file") << QStringList{"--comprobar", "a b.txt"} << "Check a b.txt";
        QTest::newRow("file after =") << QStringList{"--comprobar=x.txt"} << "Check x.txt";
        QTest::newRow("= without a file") << QStringList{"--comprobar="} << "Unknown";
        QTest::newRow("two files") << QStringList{"--comprobar", "a", "b"} << "Unknown";
        QTest::newRow("short help") << QStringList{"-h"} << "Help";
        QTest::newRow("help wins") << QStringList{"--comprobar", "--help"} << "Help";
        QTest::newRow("left to Qt") << QStringList{"-platform", "offscreen"} << "Unknown toolkit";
        QTest::newRow("stray argument") << QStringList{"configuracion.txt"} << "Unknown";
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(QString, command);
        std::vector<std::string> list;
        for (const QString& arg : args) list.push_back(arg.toStdString());
        const CommandLine parsed = ParseCommandLine(list);
        const QStringList kinds{"Play", "Check", "Help", "Unknown"};  // in CommandKind's order
        const QString toolkit = parsed.MaybeToolkitOptions ? " toolkit" : "";
        QCOMPARE((kinds[int(parsed.Kind)] + " " + Q(parsed.Path) + toolkit).simplified(), command);
        if (parsed.Kind == CommandKind::Unknown)  // a bad command line says what and how to use it
            QVERIFY(!parsed.Problem.empty() && Q(UsageText(parsed)).contains("Uso: cifrano"));
    }
};

QTEST_GUILESS_MAIN(ConfigCheckTest)
#include "test_config_check.moc"
