#include <QTest>

#include "setup/player_names.h"

using namespace cifrano;

class PlayerNamesTest : public QObject {
    Q_OBJECT
  private slots:
    // The name is the file name less its last four characters (not bytes).
    void userName_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");  // null: no name at all
        QTest::newRow("four-letter extension keeps the dot") << "maria.jpeg"
                                                             << "maria.";
        QTest::newRow("accent inside the cut") << "Ana.bmé"
                                               << "Ana";
        QTest::newRow("emoji counted as one character") << "Leo.p😀g"
                                                        << "Leo";
        QTest::newRow("exactly four characters") << "ñ.gi"
                                                 << "";
        QTest::newRow("fewer than four") << "a.b" << QString();
    }
    void userName() {
        QFETCH(QString, file);
        QFETCH(QString, name);
        QCOMPARE(HasUserName(file.toStdString()), !name.isNull());
        QCOMPARE(QString::fromStdString(UserName(file.toStdString())), name);
    }
};

QTEST_GUILESS_MAIN(PlayerNamesTest)
#include "test_player_names.moc"
