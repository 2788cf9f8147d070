#include <QTest>

#include "common/geometry.h"

using namespace cifrano;

class GeometryTest : public QObject {
    Q_OBJECT
private slots:
    void centring_data() {
        QTest::addColumn<double>("screen");
        QTest::addColumn<double>("window");
        QTest::addColumn<long long>("position");
        QTest::newRow("splash on 800x600") << 12000.0 << 6915.0 << 2542LL;
        QTest::newRow("even difference") << 12000.0 << 6000.0 << 3000LL;
        QTest::newRow("half rounds down to even") << 100.0 << 49.5 << 25LL;    // 50.5 -> 50
        QTest::newRow("half rounds up to even") << 100.0 << 48.5 << 26LL;      // 51.5 -> 52
        QTest::newRow("odd difference truncates") << 101.0 << 0.0 << 50LL;
        QTest::newRow("larger window is negative") << 6000.0 << 6915.0 << -457LL;
        QTest::newRow("negative truncates toward zero") << 0.0 << 3.0 << -1LL;
        QTest::newRow("negative half to even") << 0.0 << 2.5 << -1LL;          // -2.5 -> -2
        QTest::newRow("equal sizes") << 9345.0 << 9345.0 << 0LL;
    }
    void centring() {
        QFETCH(double, screen);
        QFETCH(double, window);
        QFETCH(long long, position);
        QCOMPARE(CentredPosition(screen, window), position);
    }

    void scalePicture_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("pictureHeight");
        QTest::addColumn<int>("scaledWidth");
        QTest::addColumn<int>("scaledHeight");
        QTest::newRow("portrait to 2175") << 1800 << 2250 << 2175 << 1740 << 2175;
        QTest::newRow("width truncated, not rounded") << 1000 << 3000 << 2175 << 725 << 2175;
        QTest::newRow("fraction below one half") << 1001 << 3000 << 1095 << 365 << 1095;
        QTest::newRow("landscape") << 2400 << 1800 << 1215 << 1620 << 1215;
        QTest::newRow("huge picture") << 150000 << 150000 << 1575 << 1575 << 1575;
        QTest::newRow("zero height stays empty") << 1200 << 0 << 2175 << 0 << 0;
        QTest::newRow("no picture stays empty") << 0 << 0 << 2175 << 0 << 0;
        QTest::newRow("no target height") << 1200 << 1200 << 0 << 0 << 0;
    }
    void scalePicture() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, pictureHeight);
        QFETCH(int, scaledWidth);
        QFETCH(int, scaledHeight);
        const PictureSize scaled = ScalePicture({width, height}, pictureHeight);
        QCOMPARE(scaled.width, scaledWidth);
        QCOMPARE(scaled.height, scaledHeight);
    }

    void twipsToPixelsRoundsToNearest() {
        QCOMPARE(TwipsToPixels(6915), 461);
        QCOMPARE(TwipsToPixels(7), 0);
        QCOMPARE(TwipsToPixels(8), 1);
        QCOMPARE(TwipsToPixels(-650), -43);
        QCOMPARE(PixelsToTwips(461), 6915);
    }
};

QTEST_GUILESS_MAIN(GeometryTest)
#include "test_geometry.moc"
