// The configuration file: its lines become the operation types offered, and
// the chosen line's fields become OperationFields.
#include <QtTest>
#include <fstream>

#include "setup/operation_types.h"

#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

using namespace cifrano;

const QString kUnreadable = "No se puede leer el archivo de configuración";
const QString kNoItems = "El archivo de configuración no contiene ningún tipo de operación";

static QStringList ToList(const auto& items) {
    QStringList list;
    for (const std::string& item : items) list << QString::fromStdString(item);
    return list;
}

static void Fields(const char* n, QByteArray in, QStringList out) { QTest::newRow(n) << in << out; }

static void Read(const char* name, QByteArray in, QStringList items, QString error = {}) {
    QTest::newRow(name) << in << items << error;
}

class TestOperationTypes : public QObject {
    Q_OBJECT

  private slots:
    void splitOperationType_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QStringList>("fields");  // the leading fields; the rest must be ""
        const QStringList eleven = QString("0 1 2 3 4 5 6 7 8 9 10").split(' ');
        Fields("leading, double and trailing spaces", " A  + B ", {"", "A", "", "+", "B", ""});
        Fields("ten spaces give eleven empty fields", QByteArray(10, ' '), {});
        Fields("eleven fields", "0 1 2 3 4 5 6 7 8 9 10", eleven);
        Fields("twelfth field dropped", "0 1 2 3 4 5 6 7 8 9 10 11", eleven);
    }
    void splitOperationType() {
        QFETCH(QByteArray, line);
        QFETCH(QStringList, fields);
        while (fields.size() < 11) fields << QString();
        QCOMPARE(ToList(SplitOperationType(line.toStdString())), fields);
    }

    // Line ends, then the text: UTF-8 when the whole file is valid UTF-8, else Windows-1252.
    // Rows without content have no file (the tag says what is there instead), in a folder with ñ.
    void readOperationTypes_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("error");  // followed by ": " and the path
        Read("CR LF, CR, LF, no final end", "A\r\nB\rC\nD", {"A", "B", "C", "D"});
        Read("empty lines skipped, LF CR is two ends", "A\r\n\r\nB\n\rC\r\r", {"A", "B", "C"});
        Read("blank line and outer spaces kept", "   \r\n A + B ", {"   ", " A + B "});
        Read("UTF-8 enye and accent", "A\xC3\xB1o \xC3\xA9", {"Año é"});
        Read("byte order mark dropped",
             "\xEF\xBB\xBF"
             "A",
             {"A"});
        Read("Windows-1252: enye, accents, euro, undefined byte as a control",
             "A\xF1o \xE9\xCD\x80\x81", {"Año éÍ€\u0081"});
        Read("one bad byte: the whole file is Windows-1252", "\xC3\xB1\xF1", {"Ã±ñ"});
        Read("cut sequence at the end", "A\xC3", {"AÃ"});
        Read("byte order mark then Windows-1252", "\xEF\xBB\xBF\xF1", {"ñ"});
        Read("empty", "", {}, kNoItems);
        Read("only line ends", "\r\n\r\n\n\r", {}, kNoItems);
        Read("missing", {}, {}, "No se encuentra el archivo de configuración");
        Read("directory", {}, {}, kUnreadable);
        Read("unreadable when not root", "A + B", {}, kUnreadable);
#ifdef Q_OS_LINUX
        Read("pipe", {}, {}, kUnreadable);  // opening a pipe with no writer would block for ever
        Read("read error after opening", {}, {}, kUnreadable);  // once taken as an empty file
#endif
    }
    void readOperationTypes() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, items);
        QFETCH(QString, error);
        const QString tag = QString::fromUtf8(QTest::currentDataTag());
        QTemporaryDir dir(QDir::tempPath() + "/año-XXXXXX");
        QString path = dir.filePath("configuracion.txt");
        if (!content.isNull())
            std::ofstream(path.toStdString(), std::ios::binary) << content.toStdString();
        if (tag == "directory") QVERIFY(QDir(dir.path()).mkdir("configuracion.txt"));
        const bool locked = tag.startsWith("unreadable") && QFile::setPermissions(path, {});
        if (locked && QFile(path).open(QIODevice::ReadOnly)) QSKIP("this user may read any file");
#ifdef Q_OS_LINUX
        if (tag == "pipe") QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (tag.startsWith("read error")) path = "/proc/self/mem";  // fails on read, for any user
#endif
        const auto result = ReadOperationTypes(path.toStdString());
        if (!error.isEmpty()) error += ": " + path;
        QCOMPARE(QString::fromStdString(result.error), error);
        QCOMPARE(ToList(result.items), items);
    }
};

QTEST_GUILESS_MAIN(TestOperationTypes)
#include "test_operation_types.moc"
