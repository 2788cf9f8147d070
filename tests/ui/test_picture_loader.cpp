// User pictures: decoded at the size the screens show them, off the interface
// thread, once per file; a slow picture never holds up a later pick, and never
// shows once a later pick has been made.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <atomic>
#include <chrono>
#include <memory>
#include <semaphore>

#include "common/base_screen.h"
#include "common/game_settings.h"
#include "common/prompts.h"
#include "common/sound_cues.h"
#include "setup/picture_loader.h"
#include "setup/player_selection_screen.h"
#include "recorded_steps.h"
#include "test_main.h"

using namespace cifrano;

namespace {

constexpr int kHeight = 145;  // the player selection's boxes, in pixels

class Silent : public SoundCues {
  public:
    void Play(SoundCue) override {}
};

class Quiet : public Prompts {
  public:
    void Inform(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

// Records the players and pictures handed on.
using Steps = RecordedSteps;

QImage Filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool Write(const QString& path, const QImage& image,
           QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone) {
    QImageWriter writer(path);
    writer.setTransformation(turn);
    return writer.write(image);
}

QColor ColourOf(const QPixmap& picture) {
    return picture.isNull() ? QColor() : picture.toImage().pixelColor(0, 0);
}

// Jobs held until the test runs them, in the order it chooses.
struct HeldJobs {
    std::vector<std::function<void()>> jobs;
    PictureLoader::Worker Worker() {
        return [this](std::function<void()> job) { jobs.push_back(std::move(job)); };
    }
    void Run(std::size_t i) {
        jobs.at(i)();
        QCoreApplication::sendPostedEvents();  // the delivery the job posted
    }
};

// A player selection over a users folder of the given files.
struct Selection {
    QTemporaryDir folder;
    Steps steps;
    Silent cues;
    Quiet prompts;
    GameSettings settings;
    std::unique_ptr<PlayerSelectionScreen> screen;

    explicit Selection(const QStringList& files) {
        QDir(folder.path()).mkpath(QStringLiteral("usuarios"));
        for (const QString& file : files) {
            QFile f(Path(file));
            f.open(QIODevice::WriteOnly);
            f.write("picture");
        }
        screen = std::make_unique<PlayerSelectionScreen>(steps, cues, prompts, settings,
                                                         folder.path() + "/usuarios");
        screen->Load();
    }
    QString Path(const QString& file) const { return folder.path() + "/usuarios/" + file; }
    PictureLoader& Loader() { return screen->Pictures(); }
    void Pick(int list, const QString& file) {
        auto* files = screen->findChild<QListWidget*>(QStringLiteral("File1(%1)").arg(list));
        files->findItems(file, Qt::MatchExactly).first()->setSelected(true);
    }
    QString Name(int i) const {
        return screen->findChild<QLabel*>(QStringLiteral("Label1(%1)").arg(i))->text();
    }
    QColor Shown(int i) const {
        return ColourOf(
            screen->findChild<PictureBox*>(QStringLiteral("Image1(%1)").arg(i))->Picture());
    }
};

// Colours by file name: what the test decoder "decodes".
QImage Decoded(const QString& path) {
    if (path.endsWith(QLatin1String("Lento.png"))) return Filled({80, 60}, Qt::red);
    if (path.endsWith(QLatin1String("Rapido.png"))) return Filled({80, 60}, Qt::blue);
    if (path.endsWith(QLatin1String("Verde.png"))) return Filled({80, 60}, Qt::green);
    return {};
}

}  // namespace

class PictureLoaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }

  private slots:
    // Decoded at most kHeight pixels high, width in proportion, as shown.
    void decodesAtTheShownSize_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("turn");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("large JPEG") << "a.jpg" << QSize(1200, 900) << 0 << QSize(193, 145);
        QTest::newRow("large PNG, portrait") << "b.png" << QSize(600, 800) << 0 << QSize(109, 145);
        QTest::newRow("small picture keeps its size")
            << "c.bmp" << QSize(50, 40) << 0 << QSize(50, 40);
        QTest::newRow("as high as the box") << "d.png" << QSize(290, 145) << 0 << QSize(290, 145);
        QTest::newRow("JPEG turned a quarter by its EXIF")
            << "e.jpg" << QSize(400, 300) << int(QImageIOHandler::TransformationRotate90)
            << QSize(109, 145);
        QTest::newRow("panorama squeezed to the widest kept")
            << "f.png" << QSize(9000, 100) << 0 << QSize(kMaxPictureWidth, 100);
    }
    void decodesAtTheShownSize() {
        QFETCH(QString, file);
        QFETCH(QSize, stored);
        QFETCH(int, turn);
        QFETCH(QSize, decoded);
        QVERIFY(Write(Path(file), Filled(stored, Qt::darkCyan),
                      QImageIOHandler::Transformations(turn)));
        const QImage image = DecodeUserPicture(Path(file), kHeight);
        QCOMPARE(image.size(), decoded);
    }

    // Null, at once, for whatever is not a regular picture file within bounds.
    void refusesWhatIsNotAPictureFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("text file") << "text";
        QTest::newRow("folder") << "folder";
        QTest::newRow("FIFO named like a picture") << "fifo";
        QTest::newRow("link to a FIFO") << "link to fifo";
        QTest::newRow("device") << "device";
        QTest::newRow("larger than 64 MB") << "huge";
    }
    void refusesWhatIsNotAPictureFile() {
        QFETCH(QString, kind);
        QString path = Path(kind + ".png");
        if (kind == "text") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("no es una imagen");
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == "fifo" || kind == "link to fifo") {
            const QString fifo = Path(kind + ".fifo.png");
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            if (kind == "fifo")
                path = fifo;
            else
                QVERIFY(QFile::link(fifo, path));
        } else if (kind == "device") {
            path = QStringLiteral("/dev/zero");
        } else if (kind == "huge") {
            // A real picture at its start, then a hole to past the bound.
            QVERIFY(Write(path, Filled({10, 10}, Qt::red)));
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(kMaxPictureFileBytes + 1));
        }
        QVERIFY(DecodeUserPicture(path, kHeight).isNull());
        // The loader tells so at once, through the same signal.
        PictureLoader loader(kHeight);
        QSignalSpy delivered(&loader, &PictureLoader::Delivered);
        loader.Request(0, path);
        loader.Finish(0);
        QCOMPARE(delivered.count(), 1);
        QVERIFY(delivered.first().at(2).value<QPixmap>().isNull());
    }

    void followsLinksToPictures() {
        QVERIFY(Write(Path("real.png"), Filled({300, 290}, Qt::green)));
        QVERIFY(QFile::link(Path("real.png"), Path("link.png")));
        QCOMPARE(DecodeUserPicture(Path("link.png"), kHeight).size(), QSize(150, 145));
    }

    // A file is decoded once; a changed file (size or time) again.
    void decodesEachFileOnce() {
        const QString path = Path("once.png");
        QVERIFY(Write(path, Filled({400, 300}, Qt::yellow)));
        PictureLoader loader(kHeight);
        int decodes = 0;
        loader.SetDecoder([&decodes](const QString& p, int height) {
            ++decodes;
            return DecodeUserPicture(p, height);
        });
        HeldJobs held;
        loader.SetWorker(held.Worker());
        loader.SetInlinePixels(0);
        QSignalSpy delivered(&loader, &PictureLoader::Delivered);
        loader.Request(0, path);
        QCOMPARE(delivered.count(), 0);
        held.Run(0);
        QCOMPARE(delivered.count(), 1);
        loader.Request(1, path);  // the other player, same file: at once, no decoding
        QCOMPARE(delivered.count(), 2);
        QCOMPARE(decodes, 1);
        QCOMPARE(delivered.at(1).at(2).value<QPixmap>().size(), QSize(193, 145));
        QVERIFY(Write(path, Filled({400, 200}, Qt::yellow)));
        loader.Request(0, path);
        QCOMPARE(held.jobs.size(), std::size_t(2));
        held.Run(1);
        QCOMPARE(decodes, 2);
        QCOMPARE(delivered.last().at(2).value<QPixmap>().size(), QSize(290, 145));
    }

    // Small pictures come at once, at their own size; larger ones through
    // the worker, at the loader's height.
    void smallPicturesComeAtOnce_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<QSize>("delivered");
        QTest::newRow("200 x 200") << QSize(200, 200) << true << QSize(200, 200);
        QTest::newRow("512 x 512") << QSize(512, 512) << true << QSize(512, 512);
        QTest::newRow("513 x 512") << QSize(513, 512) << false << QSize(145, 145);
    }
    void smallPicturesComeAtOnce() {
        QFETCH(QSize, size);
        QFETCH(bool, atOnce);
        QFETCH(QSize, delivered);
        const QString path = Path(QStringLiteral("small%1.png").arg(size.width()));
        QVERIFY(Write(path, Filled(size, Qt::magenta)));
        PictureLoader loader(kHeight);
        HeldJobs held;
        loader.SetWorker(held.Worker());
        QSignalSpy spy(&loader, &PictureLoader::Delivered);
        loader.Request(0, path);
        QCOMPARE(spy.count(), atOnce ? 1 : 0);
        QCOMPARE(held.jobs.size(), atOnce ? std::size_t(0) : std::size_t(1));
        if (!atOnce) held.Run(0);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(2).value<QPixmap>().size(), delivered);
    }

    // A slow picture, then a second pick: the second picture shows, the first
    // never does, whichever decoding ends first. The name follows each pick at once.
    void slowPictureNeverShowsAfterALaterPick_data() {
        QTest::addColumn<bool>("slowEndsFirst");
        QTest::newRow("slow picture ends first") << true;
        QTest::newRow("slow picture ends last") << false;
    }
    void slowPictureNeverShowsAfterALaterPick() {
        QFETCH(bool, slowEndsFirst);
        Selection s({"Lento.png", "Rapido.png"});
        HeldJobs held;
        s.Loader().SetWorker(held.Worker());
        s.Loader().SetDecoder([](const QString& path, int) { return Decoded(path); });
        s.Loader().SetInlinePixels(0);

        s.Pick(0, "Lento.png");
        QCOMPARE(s.Name(0), QString("Lento"));
        s.Pick(0, "Rapido.png");
        QCOMPARE(s.Name(0), QString("Rapido"));
        QVERIFY(!s.Shown(0).isValid());  // nothing decoded yet
        QCOMPARE(held.jobs.size(), std::size_t(2));
        for (std::size_t job :
             slowEndsFirst ? std::vector<std::size_t>{0, 1} : std::vector<std::size_t>{1, 0}) {
            held.Run(job);
            QVERIFY(s.Shown(0) != QColor(Qt::red));
        }
        QCOMPARE(s.Shown(0), QColor(Qt::blue));
        QCOMPARE(s.Name(0), QString("Rapido"));
    }

    // The same on real threads: the slow decoder blocks until the second
    // picture is on the screen.
    void slowPictureOnAWorkerNeverBlocksALaterPick() {
        Selection s({"Lento.png", "Rapido.png"});
        QThreadPool pool;
        pool.setMaxThreadCount(2);
        std::binary_semaphore started(0);
        std::binary_semaphore release(0);
        s.Loader().SetWorker([&pool](std::function<void()> job) { pool.start(std::move(job)); });
        s.Loader().SetDecoder([&started, &release](const QString& path, int) {
            if (path.endsWith(QLatin1String("Lento.png"))) {
                started.release();
                release.acquire();
            }
            return Decoded(path);
        });
        s.Loader().SetInlinePixels(0);
        QSignalSpy delivered(&s.Loader(), &PictureLoader::Delivered);

        s.Pick(0, "Lento.png");
        // Lento is being decoded (a guard: the worker starts on it at once).
        QVERIFY(started.try_acquire_for(std::chrono::seconds(10)));
        s.Pick(0, "Rapido.png");
        QCOMPARE(s.Name(0), QString("Rapido"));
        QVERIFY(delivered.wait(10000));  // a guard: Rapido is decoded straight away
        QCOMPARE(s.Shown(0), QColor(Qt::blue));
        release.release();
        pool.waitForDone();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(delivered.count(), 1);
        QCOMPARE(s.Shown(0), QColor(Qt::blue));
    }

    // CONTINUAR with a picture still being decoded hands on that picture.
    void acceptingFinishesPendingPictures() {
        Selection s({"Rapido.png", "Verde.png"});
        HeldJobs held;
        s.Loader().SetWorker(held.Worker());
        s.Loader().SetDecoder([](const QString& path, int) { return Decoded(path); });
        s.Loader().SetInlinePixels(0);
        s.Pick(0, "Rapido.png");
        s.Pick(1, "Verde.png");
        QTest::mouseClick(s.screen->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(s.steps.steps, QStringList{"PlayersAccepted"});
        QCOMPARE(s.steps.players.Names, (std::array<std::string, 2>{"Rapido", "Verde"}));
        QCOMPARE(ColourOf(s.steps.pictures[0]), QColor(Qt::blue));
        QCOMPARE(ColourOf(s.steps.pictures[1]), QColor(Qt::green));
        held.Run(0);  // the workers' late results change nothing
        held.Run(1);
        QCOMPARE(s.Shown(0), QColor(Qt::blue));
    }

    // A pick whose file is not a picture takes the name and keeps the
    // previous picture, also when it fails on the worker.
    void failedPictureKeepsThePreviousOne() {
        Selection s({"Rapido.png", "roto.png"});
        HeldJobs held;
        s.Loader().SetWorker(held.Worker());
        s.Loader().SetDecoder([](const QString& path, int) { return Decoded(path); });
        s.Loader().SetInlinePixels(0);
        s.Pick(0, "Rapido.png");
        held.Run(0);
        s.Pick(0, "roto.png");
        held.Run(1);
        QCOMPARE(s.Name(0), QString("roto"));
        QCOMPARE(s.Shown(0), QColor(Qt::blue));
        QTest::mouseClick(s.screen->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(s.steps.players.Files[0], std::string("roto.png"));
        QCOMPARE(ColourOf(s.steps.pictures[0]), QColor(Qt::blue));
    }
};

CIFRANO_TEST_MAIN(PictureLoaderTest)
#include "test_picture_loader.moc"
