// The command line, and the --comprobar report: each operation type's verdict,
// example and warnings.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/command_line.h"
#include "app/config_check.h"
#include "table_rows.h"
#include "test_main.h"

using namespace cifrano;
using cifrano::testing::Rows;

class AppTest : public QObject {
    Q_OBJECT
  private slots:
    // The arguments (separated by ","), the command read as "kind [path] [toolkit]", and what
    // is wrong with a command line that is not understood.
    void commandLine_data() {
        const QByteArray twoFiles =
            "|Unknown|sobra el argumento «b»: --comprobar revisa un solo archivo";
        Rows({"|Play|", "--comprobar|Check|", "--comprobar,a b.txt|Check a b.txt|",
              "--comprobar=x.txt|Check x.txt|",
              "--comprobar=|Unknown|falta el nombre del archivo después de --comprobar=",
              "--comprobar,a,b" + twoFiles, "--comprobar=a,b" + twoFiles, "-h|Help|",
              "x,--help|Help|",
              "-platform,offscreen|Unknown toolkit|opción desconocida «-platform»",
              "--style=fusion|Unknown toolkit|opción desconocida «--style=fusion»",
              "-platforms|Unknown|opción desconocida «-platforms»",
              "--comprobarx|Unknown|opción desconocida «--comprobarx»",
              "configuracion.txt|Unknown|argumento inesperado «configuracion.txt»"});
    }
    void commandLine() {
        QFETCH(QByteArrayList, row);
        std::vector<std::string> args;
        for (const QByteArray& arg : row[0].split(','))
            if (!row[0].isEmpty()) args.push_back(arg.toStdString());
        const CommandLine parsed = ParseCommandLine(args);
        const char* kinds[] = {"Play", "Check", "Help", "Unknown"};  // in CommandKind's order
        const std::string toolkit = parsed.MaybeToolkitOptions ? " toolkit" : "";
        const std::string path = parsed.Path.empty() ? "" : " " + parsed.Path;
        QCOMPARE(kinds[int(parsed.Kind)] + path + toolkit, row[1].toStdString());
        QCOMPARE(parsed.Problem, row[2].toStdString());
        if (!parsed.Problem.empty())
            QVERIFY(UsageText(parsed).starts_with("cifrano: " + parsed.Problem + "\nUso: cifrano"));
    }

    // A line, its verdict (in Verdict's order), a pattern of its example problem (the answer
    // of a + b or a x b + c must follow from the captures), and a part of its explanation or
    // warnings ("!": must not be there).
    void operationType_data() {
        // clang-format off
        Rows({R"(AA + B =|0|^(\d{1,2}) \+ (\d) = \?$|se juzga como forma 4)",
              R"(A x B + C =|0|^(\d) x (\d) \+ (\d) = \?$|forma 6)",
              R"(A ( B + C ) =|0|^\d \( \d \+ \d \) = \?$|forma 7)",
              R"(A + B|1|^\d \+ \d = \?$|el campo 4 está vacío)",
              R"(A x B + C|2|^\d x \d \+ \d \?$|forma 5)", "AA ÷ B =|3|÷|el signo «÷» del campo 2",
              R"(A [ B + C ] =|4|\[|debe ser «(» y es «[»)", "A : 0 =|5|: 0 =|divide por cero",
              R"(A * B =|0|^\d [-+x] \d = \?$|forma 4)", "A AA B =|3||el campo 2 «AA» es un código",
              "A * B + C ) =|4||es un signo al azar", "A A B + C ) =|4||y es un número",
              "A ( B BB C ) =|3||el campo 4 «BB» es un código", "A + b =|0||«b» no es un número",
              "A ÷ b =|3||!no es un número", "q x B + C =|0||el campo 1 «q» no es un número",
              "A ( B + q ) =|0||el campo 5 «q» no es un número", "A x q + C =|0||el campo 3 «q» no es",
              "q : B =|0||!no es un número",
              "A - q =|0||!no es un número", "A + B =  C|0||el campo 6 «C» queda debajo",
              "A x B + C  D|2||«D» queda debajo de la casilla de respuesta, porque el campo 6",
              "A + B = 1 2 3 4 5 6 7 8|4||12 campos y solo caben 11; se descartan «8»",
              "A + B = 1 2 3 4 5 6 7|4||campos 8 a 11", "1e300 * 1e300 =|0||no se juzgan (desborda)",
              "A + 0 =|0||!no es un número", "A + 1e400 : 0 =|5||(desborda)",
              "1e308 x 1e308 + 1 =|5||resultado (desborda)", "A ( B : 0 ) =|5||(divide por cero)"});
        // clang-format on
    }
    void operationType() {
        QFETCH(QByteArrayList, row);
        const OperationTypeCheck check = CheckOperationType(row[0].toStdString());
        QCOMPARE(int(check.Result), row[1].toInt());
        const auto m = QRegularExpression(row[2]).match(QString::fromStdString(check.Example));
        QVERIFY2(m.hasMatch(), check.Example.c_str());
        // The same seed every time: two reports of one file agree.
        QCOMPARE(CheckOperationType(row[0].toStdString()).Example, check.Example);
        // Only problems that will be judged come with an answer.
        QVERIFY(check.ExampleAnswer.empty() || check.Result == Verdict::Judged);
        const auto n = [&](int k) { return m.captured(k).toInt(); };
        if (m.lastCapturedIndex() >= 2)  // a + b, or a x b + c
            QCOMPARE(check.ExampleAnswer,
                     std::to_string(m.lastCapturedIndex() == 2 ? n(1) + n(2) : n(1) * n(2) + n(3)));
        std::string said = check.Explanation;
        for (const std::string& warning : check.Warnings) said += "\n" + warning;
        const bool absent = row[3].startsWith('!');
        QVERIFY2((said.find(row[3].mid(absent).toStdString()) == std::string::npos) == absent,
                 said.c_str());
    }

    // A file ("-": none), and pieces of what the report or the error says, separated by "~";
    // no control character reaches the report as it is.
    void report_data() {
        // clang-format off
        Rows({"AA + B =\r\n\r\nA  B =\r\nA + B\r\n          |1 (línea 1): «AA + B =»"
              "~2 (línea 3): «A  B =»~campos: «A» «» «B» «=»\n"
              "~campos: «» «» «» «» «» «» «» «» «» «» «»\n~4 tipos de operación;"
              "~Se juzgan 2 de 4; nunca se juzgan 2; avisos y notas: 0."
              "~El juego puede usar este archivo.",
              "A + B|1 tipo de operación;~Se juzgan 0 de 1~ninguna partida",
              "-|cifrano: No se encuentra el archivo de configuración: ",
              QByteArray("A\0B\x1b[2J\xc2\x9b + B =\n", 16) +
                  "|\n1 (línea 1): «A\\x00B\\x1B[2J\\x9B + B =»\n"});
        // clang-format on
    }
    void report() {
        QFETCH(QByteArrayList, row);
        QTemporaryDir dir;
        const std::string path = dir.filePath("tipos.txt").toStdString();
        if (row[0] != "-") std::ofstream(path, std::ios::binary) << row[0].toStdString();
        std::ostringstream out;
        std::ostringstream err;
        QCOMPARE(CheckConfigurationFile(path, out, err), row[0] == "-" ? kExitUnusable : kExitUsable);
        QCOMPARE(err.str().empty(), row[0] != "-");  // an error only when unusable
        QVERIFY(out.str().find_first_of(std::string("\0\x1b", 2)) == std::string::npos);
        for (const QByteArray& part : row[1].split('~'))
            QVERIFY2((out.str() + err.str()).find(part.toStdString()) != std::string::npos, part);
    }
};

CIFRANO_TEST_MAIN(AppTest)
#include "test_app.moc"
