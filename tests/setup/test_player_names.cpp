#include <QTest>

#include "setup/player_names.h"

using namespace cifrano;

class PlayerNamesTest : public QObject {
    Q_OBJECT
private slots:
    void userName_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("hasName");
        QTest::addColumn<QString>("name");
        QTest::newRow("three-letter extension") << "ana.bmp" << true << "ana";
        QTest::newRow("four-letter extension keeps the dot") << "maria.jpeg" << true << "maria.";
        QTest::newRow("accented name") << "Lucía.jpg" << true << "Lucía";
        QTest::newRow("accent inside the cut") << "Ana.bmé" << true << "Ana";
        QTest::newRow("emoji counted as one character") << "Leo😀.png" << true << "Leo😀";
        QTest::newRow("emoji in the extension") << "Leo.p😀g" << true << "Leo";
        QTest::newRow("exactly four characters") << "a.gi" << true << "";
        QTest::newRow("four characters with an accent") << "ñ.gi" << true << "";
        QTest::newRow("three characters") << "a.b" << false << "";
        QTest::newRow("one character") << "x" << false << "";
        QTest::newRow("no extension") << "Carmen" << true << "Ca";
    }
    void userName() {
        QFETCH(QString, file);
        QFETCH(bool, hasName);
        QFETCH(QString, name);
        const std::string utf8 = file.toStdString();
        QCOMPARE(HasUserName(utf8), hasName);
        QCOMPARE(QString::fromStdString(UserName(utf8)), name);
    }
};

QTEST_GUILESS_MAIN(PlayerNamesTest)
#include "test_player_names.moc"
