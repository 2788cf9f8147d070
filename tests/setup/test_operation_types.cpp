// The configuration file: its lines become the operation types offered, and
// the chosen line's fields become OperationFields.
#include <QtTest>
#include <string>

#include "setup/operation_types.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using cifrano::DecodeConfigurationBytes;
using cifrano::OperationFields;
using cifrano::ReadOperationTypes;
using cifrano::SplitConfigurationLines;
using cifrano::SplitOperationType;

namespace {

std::string_view View(const QByteArray& bytes) { return {bytes.constData(), size_t(bytes.size())}; }

QStringList ToList(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << QString::fromStdString(item);
    return list;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TestOperationTypes : public QObject {
    Q_OBJECT

  private slots:
    void splitOperationType_data();
    void splitOperationType();
    void decodeConfigurationBytes_data();
    void decodeConfigurationBytes();
    void everyWindows1252ByteIsOneCharacter();
    void splitConfigurationLines_data();
    void splitConfigurationLines();
    void readsItemsInFileOrder();
    void readsLongLines();
    void readFailures_data();
    void readFailures();
    void unreadableFile();
    void readErrorAfterOpening();
};

void TestOperationTypes::splitOperationType_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("fields");  // the leading fields; the rest must be ""

    QTest::newRow("three fields") << QByteArray("A + B") << QStringList{"A", "+", "B"};
    QTest::newRow("no space is one field") << QByteArray("AA*BB") << QStringList{"AA*BB"};
    QTest::newRow("empty line") << QByteArray("") << QStringList{};
    QTest::newRow("double space gives empty field")
        << QByteArray("A  + B") << QStringList{"A", "", "+", "B"};
    QTest::newRow("leading space") << QByteArray(" A") << QStringList{"", "A"};
    QTest::newRow("trailing space") << QByteArray("A ") << QStringList{"A", ""};
    QTest::newRow("tab is not a separator") << QByteArray("A\t+ B") << QStringList{"A\t+", "B"};
    QTest::newRow("ten spaces give eleven empty fields") << QByteArray(10, ' ') << QStringList{};
    QTest::newRow("eleven fields")
        << QByteArray("0 1 2 3 4 5 6 7 8 9 10")
        << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    QTest::newRow("twelfth field dropped")
        << QByteArray("0 1 2 3 4 5 6 7 8 9 10 11")
        << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    QTest::newRow("many spaces") << QByteArray(100000, ' ') << QStringList{};
    QTest::newRow("UTF-8 text kept whole")
        << QByteArray("a\xC3\xB1o + \xC3\xA9") << QStringList{"año", "+", "é"};
}

void TestOperationTypes::splitOperationType() {
    QFETCH(QByteArray, line);
    QFETCH(QStringList, fields);
    const OperationFields actual = SplitOperationType(View(line));
    for (int i = 0; i < int(actual.size()); ++i) {
        const QString expected = i < fields.size() ? fields[i] : QString();
        QCOMPARE(QString::fromStdString(actual[i]), expected);
    }
}

void TestOperationTypes::decodeConfigurationBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("text");  // UTF-8

    QTest::newRow("ASCII") << QByteArray("A + B\r\n") << QByteArray("A + B\r\n");
    QTest::newRow("UTF-8 kept") << QByteArray("A\xC3\xB1o \xC3\xA9")
                                << QByteArray("A\xC3\xB1o \xC3\xA9");
    QTest::newRow("UTF-8 four bytes kept")
        << QByteArray("\xF0\x9F\x98\x80") << QByteArray("\xF0\x9F\x98\x80");
    QTest::newRow("byte order mark dropped") << QByteArray(
                                                    "\xEF\xBB\xBF"
                                                    "A + B")
                                             << QByteArray("A + B");
    QTest::newRow("byte order mark alone") << QByteArray("\xEF\xBB\xBF") << QByteArray("");
    QTest::newRow("Windows-1252 enye") << QByteArray("A\xF1o") << QByteArray("A\xC3\xB1o");
    QTest::newRow("Windows-1252 accents")
        << QByteArray("\xE9\xE1\xCD\xFA") << QByteArray("\xC3\xA9\xC3\xA1\xC3\x8D\xC3\xBA");
    QTest::newRow("Windows-1252 euro") << QByteArray("\x80") << QByteArray("\xE2\x82\xAC");
    QTest::newRow("undefined byte kept as control")
        << QByteArray("\x81\x8D\x8F\x90\x9D")
        << QByteArray("\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    QTest::newRow("Windows-1252 Y diaeresis")
        << QByteArray("\x9F\xFF") << QByteArray("\xC5\xB8\xC3\xBF");
    QTest::newRow("one bad byte makes the whole file Windows-1252")
        << QByteArray("\xC3\xB1\xF1") << QByteArray("\xC3\x83\xC2\xB1\xC3\xB1");
    QTest::newRow("overlong form is not UTF-8")
        << QByteArray("\xC0\xAF") << QByteArray("\xC3\x80\xC2\xAF");
    QTest::newRow("surrogate is not UTF-8")
        << QByteArray("\xED\xA0\x80") << QByteArray("\xC3\xAD\xC2\xA0\xE2\x82\xAC");
    QTest::newRow("beyond U+10FFFF is not UTF-8")
        << QByteArray("\xF4\x90\x80\x80") << QByteArray("\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC");
    QTest::newRow("cut sequence at the end") << QByteArray("A\xC3") << QByteArray("A\xC3\x83");
    QTest::newRow("byte order mark then Windows-1252")
        << QByteArray("\xEF\xBB\xBF\xF1") << QByteArray("\xC3\xB1");
}

void TestOperationTypes::decodeConfigurationBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(DecodeConfigurationBytes(View(bytes))), text);
}

// Any byte outside UTF-8 still reads as one character, never as a
// replacement character; 0xA0 to 0xFF are the Latin-1 characters of that number.
void TestOperationTypes::everyWindows1252ByteIsOneCharacter() {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const QByteArray bytes(1, char(byte));
        const QString text = QString::fromStdString(DecodeConfigurationBytes(View(bytes)));
        QCOMPARE(text.size(), 1);
        QVERIFY(text[0] != QChar::ReplacementCharacter);
        if (byte >= 0xA0) QCOMPARE(text[0].unicode(), char16_t(byte));
    }
}

void TestOperationTypes::splitConfigurationLines_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QByteArray("A\r\nB\r\nC\r\n") << QStringList{"A", "B", "C"};
    QTest::newRow("LF") << QByteArray("A\nB") << QStringList{"A", "B"};
    QTest::newRow("CR alone") << QByteArray("A\rB\r") << QStringList{"A", "B"};
    QTest::newRow("last line without end") << QByteArray("A\r\nB") << QStringList{"A", "B"};
    QTest::newRow("empty lines skipped")
        << QByteArray("A\r\n\r\nB\n\nC\r\r") << QStringList{"A", "B", "C"};
    QTest::newRow("LF CR is two line ends") << QByteArray("A\n\rB") << QStringList{"A", "B"};
    QTest::newRow("nothing") << QByteArray("") << QStringList{};
    QTest::newRow("only line ends") << QByteArray("\r\n\n\r") << QStringList{};
    QTest::newRow("line of spaces kept") << QByteArray("   \r\nA") << QStringList{"   ", "A"};
    QTest::newRow("line of a tab kept") << QByteArray("\t\nA") << QStringList{"\t", "A"};
    QTest::newRow("spaces at both ends kept")
        << QByteArray(" A + B \r\n") << QStringList{" A + B "};
}

void TestOperationTypes::splitConfigurationLines() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, lines);
    QCOMPARE(ToList(SplitConfigurationLines(View(text))), lines);
}

void TestOperationTypes::readsItemsInFileOrder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("configuracion.txt");
    QVERIFY(WriteFile(path, "A + B\r\n\r\nA\xF1o * B\r\n\r\n  \r\nAA / B"));

    const auto result = ReadOperationTypes(path.toStdString());
    QCOMPARE(QString::fromStdString(result.error), QString());
    QCOMPARE(ToList(result.items), (QStringList{"A + B", "Año * B", "  ", "AA / B"}));
}

void TestOperationTypes::readsLongLines() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("configuracion.txt");
    const QByteArray longLine(1 << 20, 'A');
    QVERIFY(WriteFile(path, longLine + "\r\nA + B\r\n"));

    const auto result = ReadOperationTypes(path.toStdString());
    QCOMPARE(result.items.size(), size_t(2));
    QCOMPARE(result.items[0].size(), size_t(longLine.size()));
    QCOMPARE(result.items[1], std::string("A + B"));
}

void TestOperationTypes::readFailures_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");  // followed by ": " and the path

    const QString notFound = "No se encuentra el archivo de configuración";
    const QString unreadable = "No se puede leer el archivo de configuración";
    const QString noItems = "El archivo de configuración no contiene ningún tipo de operación";
    QTest::newRow("missing") << "missing" << notFound;
    QTest::newRow("missing in a folder with ñ") << "missing-enye" << notFound;
    QTest::newRow("inside a file") << "inside-file" << notFound;
    QTest::newRow("directory") << "directory" << unreadable;
    QTest::newRow("no bytes") << "empty" << noItems;
    QTest::newRow("only line ends") << "line-ends" << noItems;
    QTest::newRow("only a byte order mark") << "bom" << noItems;
#ifdef Q_OS_UNIX
    QTest::newRow("broken link") << "broken-link" << notFound;
    QTest::newRow("pipe") << "pipe" << unreadable;
#endif
}

void TestOperationTypes::readFailures() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath("configuracion.txt");

    if (kind == "missing-enye") {
        path = dir.filePath("a\u00F1o/configuracion.txt");
    } else if (kind == "inside-file") {
        QVERIFY(WriteFile(dir.filePath("archivo"), "A + B"));
        path = dir.filePath("archivo/configuracion.txt");
    } else if (kind == "directory") {
        QVERIFY(QDir(dir.path()).mkdir("configuracion.txt"));
    } else if (kind == "empty") {
        QVERIFY(WriteFile(path, ""));
    } else if (kind == "line-ends") {
        QVERIFY(WriteFile(path, "\r\n\r\n\n\r"));
    } else if (kind == "bom") {
        QVERIFY(WriteFile(path, "\xEF\xBB\xBF\r\n"));
    }
#ifdef Q_OS_UNIX
    else if (kind == "broken-link") {
        QVERIFY(QFile::link(dir.filePath("nada.txt"), path));
    } else if (kind == "pipe") {
        // Opening a pipe with no writer would block for ever.
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
#endif

    const auto result = ReadOperationTypes(path.toStdString());
    QCOMPARE(QString::fromStdString(result.error), message + ": " + path);
    QVERIFY(result.items.empty());
}

void TestOperationTypes::unreadableFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("configuracion.txt");
    QVERIFY(WriteFile(path, "A + B\r\n"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) QSKIP("this user may read any file");

    const auto result = ReadOperationTypes(path.toStdString());
    QCOMPARE(QString::fromStdString(result.error),
             "No se puede leer el archivo de configuración: " + path);
    QVERIFY(result.items.empty());
}

// A file that opens but fails while being read is reported, not taken as empty.
void TestOperationTypes::readErrorAfterOpening() {
#ifdef Q_OS_LINUX
    // Reading this process's memory at offset 0 fails with an I/O error, for any user.
    const std::string path = "/proc/self/mem";
    const auto result = ReadOperationTypes(path);
    QCOMPARE(result.error, "No se puede leer el archivo de configuración: " + path);
    QVERIFY(result.items.empty());
#else
    QSKIP("needs a file that fails on read");
#endif
}

QTEST_GUILESS_MAIN(TestOperationTypes)
#include "test_operation_types.moc"
