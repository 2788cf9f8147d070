#include <QTest>

#include "common/geometry.h"

using namespace cifrano;

class GeometryTest : public QObject {
    Q_OBJECT
  private slots:
    // The difference rounds half to even, then halves toward zero.
    void centringHalvesTheRoundedDifference() {
        QCOMPARE(CentredPosition(12000, 6915), 2542);  // splash on 800x600
        QCOMPARE(CentredPosition(100, 49.5), 25);      // 50.5 rounds down to even
        QCOMPARE(CentredPosition(100, 48.5), 26);      // 51.5 rounds up to even
        QCOMPARE(CentredPosition(101, 0), 50);         // an odd difference truncates
        QCOMPARE(CentredPosition(6000, 6915), -457);   // a larger window goes negative
        QCOMPARE(CentredPosition(0, 3), -1);           // toward zero, not down
    }

    // The width in proportion, whole part; no height, or no target height, stays empty.
    void scalePictureTruncatesTheWidth() {
        QCOMPARE(ScalePicture({1800, 2250}, 2175), (PictureSize{1740, 2175}));
        QCOMPARE(ScalePicture({1000, 3000}, 2177), (PictureSize{725, 2177}));  // 725.67, not 726
        QCOMPARE(ScalePicture({1200, 0}, 2175), PictureSize{});
        QCOMPARE(ScalePicture({1200, 1200}, 0), PictureSize{});
    }

    void twipsToPixelsRoundsToNearest() {
        QCOMPARE(TwipsToPixels(7), 0);
        QCOMPARE(TwipsToPixels(8), 1);
        QCOMPARE(TwipsToPixels(-650), -43);
        QCOMPARE(PixelsToTwips(461), 6915);
    }
};

QTEST_GUILESS_MAIN(GeometryTest)
#include "test_geometry.moc"
