// User pictures are decoded off the interface thread (the worker here holds
// each job until the test runs it): a pick never waits for a slow picture, a
// later pick wins whichever decoding ends first, and ACEPTAR hands on the
// picture of the last pick, decoded or not.
#include "setup/picture_loader.h"
#include "setup/player_selection_screen.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

class PictureLoaderTest : public QObject {
    Q_OBJECT

  private slots:
    // The jobs the worker holds: "01" runs the slow picture's first, "10" last,
    // "" none before ACEPTAR.
    void laterPickWins_data() {
        QTest::addColumn<QString>("order");
        QTest::newRow("slow picture ends first") << "01";
        QTest::newRow("slow picture ends last") << "10";
        QTest::newRow("accepted before either ends") << "";
    }
    void laterPickWins() {
        QFETCH(QString, order);
        Harness h;
        h.AddUser("Lento.png");
        h.AddUser("Rapido.png");
        h.ToPlayers();
        auto* screen = static_cast<PlayerSelectionScreen*>(h.flow.Find(PlayerSelection));
        std::vector<std::function<void()>> jobs;
        screen->Pictures().SetWorker([&jobs](auto job) { jobs.push_back(std::move(job)); });
        screen->Pictures().SetDecoder([](const QString& path, int) {
            QImage image(80, 60, QImage::Format_RGB32);
            image.fill(path.endsWith("Lento.png") ? Qt::red : Qt::blue);
            return image;
        });
        screen->Pictures().SetInlinePixels(0);
        const auto shown = [&](ScreenId id = PlayerSelection) {
            const QPixmap picture = h.Child<PictureBox>(id, "Image1(0)")->Picture();
            return picture.isNull() ? QColor() : picture.toImage().pixelColor(0, 0);
        };
        h.Pick(0, "Lento.png");
        h.Pick(0, "Rapido.png");
        QCOMPARE(h.Text(PlayerSelection, "Label1(0)"), "Rapido");
        QVERIFY(!shown().isValid() && jobs.size() == 2);  // nothing decoded yet
        for (const QChar job : order) {
            jobs.at(job.digitValue())();
            QCoreApplication::sendPostedEvents();  // the delivery the job posted
            QVERIFY(shown() != QColor(Qt::red));
        }
        QCOMPARE(shown(), order.isEmpty() ? QColor() : QColor(Qt::blue));
        h.Click(PlayerSelection, "Command1");
        h.ToGame(1);
        QCOMPARE(shown(Game), QColor(Qt::blue));
    }
};

CIFRANO_TEST_MAIN(PictureLoaderTest)
#include "test_picture_loader.moc"
