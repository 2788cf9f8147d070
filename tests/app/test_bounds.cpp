// Files and runs past every sensible size meet a limit, never the end of
// memory; the configuration check's report is complete and harmless.
#include <sys/resource.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "app/config_check.h"
#include "common/game_settings.h"
#include "common/geometry.h"
#include "game/problem_sheet.h"
#include "results/match.h"
#include "setup/operation_types.h"
#include "setup/player_choice.h"
#include "test_main.h"

using namespace cifrano;

namespace {

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::string Write(const QTemporaryDir& dir, const std::string& bytes) {
    const std::string path = dir.filePath("configuracion.txt").toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Report {
    int status;
    std::string out;
    std::string err;
};

Report Check(const std::string& path) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = CheckConfigurationFile(path, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace

class TestBounds : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    // First in the class, so that the process's peak is still low: a 50 MiB
    // file is turned down without being read.
    void hugeFileIsNeverRead() {
        const std::string path = dir_.filePath("huge.txt").toStdString();
        std::ofstream(path, std::ios::binary) << std::string(50 << 20, '9');
        const long before = PeakResidentKilobytes();
        const OperationTypesResult result = ReadOperationTypes(path);
        QVERIFY(result.items.empty());
        QVERIFY(result.error.find("1 MiB") != std::string::npos);
        QCOMPARE(Check(path).status, kExitUnusable);
        QVERIFY2(PeakResidentKilobytes() - before < 8 * 1024, "more than 8 MB for a refused file");
    }

    void limits_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");  // "" when the file is usable
        QTest::newRow("300 characters") << QByteArray(300, 'x') << "";
        QTest::newRow("301 characters, line 2")
            << "A + B =\n" + QByteArray(301, 'x') << "La línea 2 del archivo de configuración pasa";
        QTest::newRow("300 two-byte characters") << QString(300, QChar(0xF1)).toUtf8() << "";
        QTest::newRow("1000 types") << QByteArray("A\n").repeated(1000) << "";
        QTest::newRow("1001 types") << QByteArray("A\n").repeated(1001) << "1000 tipos";
        QTest::newRow("1 MiB of empty lines") << QByteArray(1 << 20, '\n') << "ningún tipo";
        QTest::newRow("1 MiB and a byte") << QByteArray((1 << 20) + 1, '\n') << "1 MiB";
    }
    void limits() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const OperationTypesResult result = ReadOperationTypes(Write(dir_, bytes.toStdString()));
        QCOMPARE(QString::fromStdString(result.error).left(error.size()), error);
        QCOMPARE(result.items.empty(), !error.isEmpty());
    }

    void reportIsByteExactAndEscaped() {
        const char bytes[] = "A\0B + C =\n\x1b[2J + B =\n\xc2\x9b" "1 + B =\n";
        const Report r = Check(Write(dir_, std::string(bytes, sizeof bytes - 1)));
        QCOMPARE(r.status, kExitUsable);
        QVERIFY(r.out.find("«A\\x00B»") != std::string::npos);
        QVERIFY(r.out.find("«\\x1B[2J»") != std::string::npos);
        QVERIFY(r.out.find("«\\x9B1»") != std::string::npos);
        QVERIFY(r.out.find('\x1b') == std::string::npos && r.out.find('\0') == std::string::npos);
        QVERIFY(r.out.find("3 (línea 3)") != std::string::npos);
        QVERIFY(r.out.ends_with("El juego puede usar este archivo.\n"));
    }

    void overflowIsNotADivisionByZero_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("product") << "1e308 x 1e308 =" << "(desborda)";
        QTest::newRow("operand") << "1e400 + B =" << "(desborda)";
        QTest::newRow("by zero") << "A : 0 =" << "(divide por cero)";
        QTest::newRow("second sign") << "A + B : 0 =" << "(divide por cero)";
        QTest::newRow("bracket") << "A ( B : 0 ) =" << "(divide por cero)";
    }
    void overflowIsNotADivisionByZero() {
        QFETCH(QString, line);
        QFETCH(QString, reason);
        const OperationTypeCheck check = CheckOperationType(line.toStdString());
        QCOMPARE(check.Result, Verdict::NeverComputable);
        QVERIFY2(QString::fromStdString(check.Explanation).endsWith(reason),
                 check.Explanation.c_str());
    }

    void unwritableReportFails() {
        std::ostringstream out;
        out.setstate(std::ios::badbit);
        std::ostringstream err;
        CheckConfigurationFile(Write(dir_, "A + B =\n"), out, err);
        QVERIFY(!out);  // the caller sees the failure and exits non-zero
    }

    // A run no person can make still never wraps.
    void countersSaturateOrWiden() {
        ProblemSheet sheet;
        for (int i = 0; i < 1'600'000; ++i) sheet.ScrollUp();
        QVERIFY(sheet.Top < 0 && sheet.Top >= -ProblemSheet::kTopLimit);
        const int lowest = sheet.Top;
        sheet.ScrollUp();
        QCOMPARE(sheet.Top, lowest);
        sheet.ScrollDown();
        QCOMPARE(sheet.Top, lowest + sheet_geometry::kRowPitch);

        GameSettings settings;
        settings.GameNumber = 32767;
        ResultsBoard board;
        RecordGame(settings, board, GameOutcome{});
        QCOMPARE(settings.GameNumber, 32768);
        QCOMPARE(board.Lists[0].back().substr(0, 7), std::string("32767) "));
    }

    void pictureNeverWiderThanItsWindow_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("maxWidth");
        QTest::addColumn<int>("shownWidth");
        QTest::addColumn<int>("shownHeight");
        QTest::newRow("fits") << 1200 << 1500 << 9000 << 1740 << 2175;
        QTest::newRow("2048 x 1") << 30720 << 15 << 9000 << 9000 << 4;
        QTest::newRow("tall stays") << 15 << 30720 << 9000 << 1 << 2175;
    }
    void pictureNeverWiderThanItsWindow() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, maxWidth);
        QFETCH(int, shownWidth);
        QFETCH(int, shownHeight);
        QCOMPARE(ScalePicture({width, height}, 2175, maxWidth),
                 (PictureSize{shownWidth, shownHeight}));
    }

    void namesThatCannotBeShown_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("showable");
        QTest::newRow("plain") << QByteArray("Ana.png") << true;
        QTest::newRow("accent") << QByteArray("Begoña.jpg") << true;
        QTest::newRow("line feed") << QByteArray("Ana\n.png") << false;
        QTest::newRow("escape") << QByteArray("\x1b[2J.png") << false;
        QTest::newRow("C1 control") << QByteArray("\xc2\x9b.png") << false;
        QTest::newRow("not UTF-8, read as U+FFFD") << QByteArray("\xef\xbf\xbd.png") << false;
    }
    void namesThatCannotBeShown() {
        QFETCH(QByteArray, name);
        QFETCH(bool, showable);
        QCOMPARE(IsShowableFileName(name.toStdString()), showable);
    }
};

CIFRANO_TEST_MAIN(TestBounds)
#include "test_bounds.moc"
