// The set-up screens' decisions: the operation types read from the configuration
// file and split into fields, and the choice of players and the users list.
#include <sys/stat.h>

#include <QtTest>
#include <fstream>

#include "setup/operation_types.h"
#include "setup/player_choice.h"
#include "table_rows.h"
#include "test_main.h"

using namespace cifrano;
using cifrano::testing::Rows;

const QString kUnreadable = "No se puede leer el archivo de configuración";
const QString kNoItems = "El archivo de configuración no contiene ningún tipo de operación";
const QString kTooLarge = "El archivo de configuración pasa del límite de ";

static QStringList ToList(const auto& items) {
    QStringList list;
    for (const std::string& item : items) list << QString::fromStdString(item);
    return list;
}

static void Read(const char* tag, QByteArray content, QStringList items, QString error = {}) {
    QTest::newRow(tag) << content << items << error;
}

// A byte order mark and the text in UTF-16.
static QByteArray Utf16(std::u16string_view text, bool bigEndian) {
    QByteArray bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text)
        for (int shift : {bigEndian ? 8 : 0, bigEndian ? 0 : 8}) bytes += char(unit >> shift);
    return bytes;
}

class SetupTest : public QObject {
    Q_OBJECT
  private slots:
    // Every single space splits: the leading fields, the rest must be "".
    void splitOperationType() {
        const QStringList eleven = QString("0 1 2 3 4 5 6 7 8 9 10").split(' ');
        const auto split = [](const char* line) { return ToList(SplitOperationType(line)); };
        QCOMPARE(split(" A  + B "), (QStringList{"", "A", "", "+", "B", "", "", "", "", "", ""}));
        QCOMPARE(split("          "), QStringList(11, ""));
        QCOMPARE(split("0 1 2 3 4 5 6 7 8 9 10"), eleven);
        QCOMPARE(split("0 1 2 3 4 5 6 7 8 9 10 11"), eleven);
        // A sequence cut by the end of the bytes, even where the memory after them would end it.
        QCOMPARE(DecodeConfigurationBytes(std::string_view("A\xC3\xB1", 2)), std::string("AÃ"));
    }

    // Line ends, then the text: UTF-8 when the whole file is valid UTF-8, UTF-16 after its byte
    // order mark, else Windows-1252. Rows without content have no file: the tag says what is
    // there instead, in a folder with ñ.
    void readOperationTypes_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("error");  // followed by ": " and the path
        Read("CR LF, CR, LF, no final end", "A\r\nB\rC\nD", {"A", "B", "C", "D"});
        Read("empty lines skipped, LF CR is two ends", "A\r\n\r\nB\n\rC\r\r", {"A", "B", "C"});
        Read("blank line and outer spaces kept", "   \r\n A + B ", {"   ", " A + B "});
        Read("byte order mark dropped", "\xEF\xBB\xBF\x41", {"A"});
        Read("Windows-1252", "A\xF1o\x7F\x80\x81\x9F\xA0\xFF", {"Año\x7F€\u0081Ÿ\u00A0ÿ"});
        Read("one bad byte: the whole file is Windows-1252", "\xC3\xB1\xF1", {"Ã±ñ"});
        Read("cut sequence at the end", "A\xC3", {"AÃ"});
        Read("a lone continuation byte", "A\x80", {"A€"});
        Read("1 MiB exactly, read to its last byte", QByteArray((1 << 20) - 1, '\n') + "A", {"A"});
        Read("byte order mark then Windows-1252", "\xEF\xBB\xBF\xF1", {"ñ"});
        // UTF-8 at the edges of each length is kept; one step past any edge is not UTF-8.
        Read("UTF-8 edges", "\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF",
             {"\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF"});
        Read("overlong two bytes", "\xC1\xBF", {"Á¿"});
        Read("overlong three bytes", "\xE0\x9F\xBF", {"àŸ¿"});
        Read("surrogate", "\xED\xA0\x80", {"í\u00A0€"});
        Read("overlong four bytes", "\xF0\x8F\xBF\xBF", {"ð\u008F¿¿"});
        Read("past U+10FFFF", "\xF4\x90\x80\x80", {"ô\u0090€€"});
        Read("no such lead byte", "\xF5\x80\x80\x80", {"õ€€€"});
        Read("bad last continuation", "\xE2\x82Z", {"â\u201AZ"});
        Read("UTF-16 little-endian, odd byte dropped",
             Utf16(u"A\r\n\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF", false) + "B",
             {"A", "\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF"});
        Read("UTF-16 big-endian", Utf16(u"Ñ + B =\n€", true), {"Ñ + B =", "€"});
        Read("UTF-16 lone surrogates", Utf16(u"\xD800\x41\xDC00\xD800\xE000\xDBFF", false),
             {"\uFFFD\x41\uFFFD\uFFFD\uE000\uFFFD"});
        Read("300 two-byte characters", QString(300, QChar(0xF1)).toUtf8(), {QString(300, QChar(0xF1))});
        Read("1000 types", QByteArray("A\n").repeated(1000), QStringList(1000, "A"));
        Read("1001 types", QByteArray("A\n").repeated(1001), {}, kTooLarge + "1000 tipos de operación");
        Read("1 MiB and a byte", QByteArray((1 << 20) + 1, '\n'), {}, kTooLarge + "1 MiB");
        Read("lines 2 and 3 too long: the first is named",
             "A + B =\n" + QByteArray(301, 'x') + "\n" + QByteArray(302, 'x'), {},
             "La línea 2 del archivo de configuración pasa del límite de 300 caracteres");
        Read("empty", "", {}, kNoItems);
        Read("only line ends", "\r\n\r\n\n\r", {}, kNoItems);
        Read("missing", {}, {}, "No se encuentra el archivo de configuración");
        Read("directory", {}, {}, kUnreadable);
        Read("unreadable when not root", "A + B", {}, kUnreadable);
        Read("pipe", {}, {}, kUnreadable);  // opening a pipe with no writer would block for ever
        Read("read error after opening", {}, {}, kUnreadable);  // once taken as an empty file
    }
    void readOperationTypes() {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        const QString tag = QString::fromUtf8(QTest::currentDataTag());
        QTemporaryDir dir(QDir::tempPath() + "/año-XXXXXX");
        QString path = dir.filePath("configuracion.txt");
        if (!content.isNull())
            std::ofstream(path.toStdString(), std::ios::binary) << content.toStdString();
        if (tag == "directory") QVERIFY(QDir(dir.path()).mkdir("configuracion.txt"));
        const bool locked = tag.startsWith("unreadable") && QFile::setPermissions(path, {});
        if (locked && QFile(path).open(QIODevice::ReadOnly)) QSKIP("this user may read any file");
        if (tag == "pipe") QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (tag.startsWith("read error")) path = "/proc/self/mem";  // fails on read, for any user
        const auto result = ReadOperationTypes(path.toStdString());
        QCOMPARE(QString::fromStdString(result.error), error.isEmpty() ? "" : error + ": " + path);
        QTEST(ToList(result.items), "items");
    }

    // Picks "slot file picture-loads" separated by ",", then per pick 1 when the new picture
    // is shown, the two names, the two files, and the problem: 1 = player 1 missing, 2 = equal
    // names. A name is the file name less its last four characters (not bytes); a file too
    // short to name keeps the name shown before.
    void pick_data() {
        Rows({"||Jugador 1,Jugador 2|,|1", "0 maria.jpeg 1|1|maria.,Jugador 2|maria.jpeg,|",
              "0 ana.bmp 0|0|ana,Jugador 2|ana.bmp,|",
              "0 Leo.p😀g 1,1 Ana.bmé 1|11|Leo,Ana|Leo.p😀g,Ana.bmé|",
              "0 eva.png 1,0 a.b 1|11|eva,Jugador 2|a.b,|", "0 ñ.gi 1|1|,Jugador 2|ñ.gi,|",
              "-1 ana.bmp 1,2 ana.bmp 1,0  1|000|Jugador 1,Jugador 2|,|1",
              "1 ana.bmp 1|1|Jugador 1,ana|,ana.bmp|1",
              "0 JUGADOR 1.bmp 1|1|JUGADOR 1,Jugador 2|JUGADOR 1.bmp,|1",
              "0 jugador 2.bmp 1|1|jugador 2,Jugador 2|jugador 2.bmp,|2",
              "0 Ana.bmp 1,1 aNA.jpg 1|11|Ana,aNA|Ana.bmp,aNA.jpg|2",
              "0 ñandú.bmp 1,1 ÑANDÚ.png 1|11|ñandú,ÑANDÚ|ñandú.bmp,ÑANDÚ.png|2",
              "0 ana.bmp 1,1 aná.bmp 1|11|ana,aná|ana.bmp,aná.bmp|"});
    }
    void pick() {
        QFETCH(QByteArrayList, row);
        PlayerChoice choice;
        QByteArray shown;
        for (const QByteArray& pick : row[0].split(',')) {
            if (pick.isEmpty()) continue;
            const int slot = pick.left(pick.indexOf(' ')).toInt();
            const QByteArray file = pick.mid(pick.indexOf(' ') + 1).chopped(2);
            shown += choice.Pick(slot, file.toStdString(), pick.endsWith('1')) ? '1' : '0';
        }
        QCOMPARE(shown, row[1]);
        const ChosenPlayers& players = choice.Players();
        QCOMPARE(players.Names[0] + "," + players.Names[1], row[2].toStdString());
        QCOMPARE(players.Files[0] + "," + players.Files[1], row[3].toStdString());
        const char* problems[] = {"", "Has de seleccionar el jugador 1",
                                  "Se han de seleccionar nombres de jugadores diferentes"};
        QCOMPARE(choice.AcceptanceProblem().value_or(""), std::string(problems[row[4].toInt()]));
    }

    // Text, then its upper case: Latin, Greek and Cyrillic letters at the ends of their
    // ranges; anything else, and broken UTF-8, stays as it is.
    void upperCase_data() {
        Rows({"az AZ 09 @[`{|AZ AZ 09 @[`{", "àþÿ ÷ß ÀÞ|ÀÞŸ ÷ß ÀÞ", "āķĸĹĺňŋŷźž|ĀĶĸĹĹŇŊŶŹŽ",
              "αωςσ ΑΩ|ΑΩΣΣ ΑΩ", "аяѐџ АЯ|АЯЀЏ АЯ",
              "\u0080 \u0800 \U00010000 \U000E0041 €ǆ|\u0080 \u0800 \U00010000 \U000E0041 €ǆ",
              "a\xC3\x62\x80\xE2\x82\x63\xF0|A\xC3\x42\x80\xE2\x82\x43\xF0"});
    }
    void upperCase() {
        QFETCH(QByteArrayList, row);
        QCOMPARE(QByteArray::fromStdString(UpperCase(row[0].toStdString())), row[1]);
    }

    // A file name, and whether the users list can show it: no C0 or C1 control, DEL or bytes
    // that are not UTF-8.
    void showable_data() {
        Rows({"Begoña.jpg|1", " .png|1", "\x1f.png|0", "\x1b[2J.png|0", "\x7f.png|0", "\xc2\x80.png|0",
              "\xc2\x9f.png|0", "\xc2\xa0.png|1", "\xef\xbf\xbd.png|0", "\xff.png|0"});
    }
    void showable() {
        QFETCH(QByteArrayList, row);
        QCOMPARE(IsShowableFileName(row[0].toStdString()), row[1] == "1");
    }

    // The users list: punctuation, numbers (as numbers), letters (case ignored, an accent
    // after its plain letter), other characters by code (a broken byte as U+FFFD), then bytes.
    void usersListOrder() {
        // clang-format off
        const std::vector<std::string> sorted{
            "_zz.png", "0.png", "9.png", "10.png", "2000000000000000000.png",
            "10000000000000000000.png", "A.png", "a.png", "Àlex.png", "ana2.png", "Ana10.png",
            "Dan.png", "Élia.png", "Eva.png", "èva.png", "Éva.png", "Ewa.png", "ßa.png", "Sb.png",
            "zoe01.png", "zoe1.png", "\u0080.png", "\xFF\xFF\xFF\xFF\xFF.png", "😀.png"};
        // clang-format on
        for (std::size_t i = 0; i < sorted.size(); ++i)
            for (std::size_t j = 0; j < sorted.size(); ++j)
                QVERIFY2(UserFileLess(sorted[i], sorted[j]) == (i < j),
                         (sorted[i] + " / " + sorted[j]).c_str());
        std::vector<std::string> names(sorted.rbegin(), sorted.rend());
        SortUserFiles(names);
        QVERIFY(names == sorted);
    }
};

CIFRANO_TEST_MAIN(SetupTest)
#include "test_setup.moc"
