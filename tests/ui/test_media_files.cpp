// The program's media files (cues, figures) from the application folder:
// regular files within bounds or nothing, and Qt Multimedia only once a cue
// plays, never for the command-line jobs.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMovie>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QtEndian>

#include "common/base_screen.h"
#include "common/media_file_loader.h"
#include "common/sound_player.h"
#include "common/wave_header.h"
#include "game/game_screen.h"
#include "recorded_steps.h"
#include "test_main.h"

using namespace cifrano;

namespace {

bool MultimediaLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

using NoSteps = RecordedSteps;

class Silent : public SoundCues {
  public:
    void Play(SoundCue) override {}
};

}  // namespace

class MediaFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    const QString sourceData_ = qEnvironmentVariable("CIFRANO_SOURCE_DATA", CIFRANO_DATA_DIR);

    // An application folder whose CONTINUAR cue is made by `kind`.
    QString CueFolder(const QString& kind) {
        const QString folder = dir_.filePath(kind);
        QDir().mkpath(folder + "/sonidos");
        const QString cue = folder + "/sonidos/CONTINUAR.WAV";
        QFile good(sourceData_ + "/sonidos/CONTINUAR.WAV");
        good.open(QIODevice::ReadOnly);
        const QByteArray wave = good.readAll();
        if (kind == "good") WriteFile(cue, wave);
        if (kind == "cut short") WriteFile(cue, wave.left(wave.size() - 100));
        if (kind == "longer than its header") WriteFile(cue, wave + "more");
        if (kind == "text") WriteFile(cue, "no es un sonido");
        if (kind == "folder") QDir().mkpath(cue);
        if (kind == "FIFO") MakeFifo(cue);
        if (kind == "larger than 16 MB") {
            // A header that agrees with the file's size, past the bound.
            QByteArray head = wave.left(44);
            const quint32 size = quint32(kMaxCueFileBytes) + 2;
            qToLittleEndian(size - 8, head.data() + 4);
            qToLittleEndian(size - 44, head.data() + 40);
            WriteFile(cue, head);
            QFile f(cue);
            f.open(QIODevice::ReadWrite);
            f.resize(size);
        }
        return folder;
    }

  private slots:
    // Only regular files, after links, within the bound are opened.
    void opensOnlyRegularFilesWithinTheBound_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("opens");
        QTest::newRow("regular file") << "regular" << true;
        QTest::newRow("link to a regular file") << "link" << true;
        QTest::newRow("at the bound") << "bound" << true;
        QTest::newRow("one byte past the bound") << "past" << false;
        QTest::newRow("missing") << "missing" << false;
        QTest::newRow("folder") << "folder" << false;
        QTest::newRow("FIFO") << "fifo" << false;
        QTest::newRow("link to a FIFO") << "link to fifo" << false;
        QTest::newRow("device") << "device" << false;
    }
    void opensOnlyRegularFilesWithinTheBound() {
        QFETCH(QString, kind);
        QFETCH(bool, opens);
        const qint64 bound = 1000;
        QString path = dir_.filePath("open-" + kind);
        if (kind == "regular" || kind == "link") WriteFile(dir_.filePath("open-target"), "abc");
        if (kind == "regular") path = dir_.filePath("open-target");
        if (kind == "link") QVERIFY(QFile::link(dir_.filePath("open-target"), path));
        if (kind == "bound") WriteFile(path, QByteArray(bound, 'x'));
        if (kind == "past") WriteFile(path, QByteArray(bound + 1, 'x'));
        if (kind == "folder") QDir().mkpath(path);
        if (kind == "fifo") QVERIFY(MakeFifo(path));
        if (kind == "link to fifo") {
            QVERIFY(MakeFifo(path + ".fifo"));
            QVERIFY(QFile::link(path + ".fifo", path));
        }
        if (kind == "device") path = QStringLiteral("/dev/zero");
        QFile file;
        QCOMPARE(OpenMediaFile(path, bound, file), opens);
        QCOMPARE(file.isOpen(), opens);
        QCOMPARE(ReadMediaFile(path, bound).has_value(), opens);
    }

    // Nothing at start-up loads Qt Multimedia; the first cue that plays does.
    // (First in this class: nothing before it has played a cue.)
    void multimediaLoadsWithTheFirstCue() {
        QVERIFY(!MultimediaLoaded());
        const QString folder = CueFolder("good");
        QtSoundCues cues(folder);
        QWidget window;
        PrepareSoundAfterFirstPaint(cues, &window);
        QtSoundCues silent(CueFolder("text"));
        silent.Play(SoundCue::Continuar);
        silent.Play(SoundCue::Final);  // missing
        QVERIFY(!MultimediaLoaded());
        QVERIFY(!cues.Prepared());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));  // a guard only
        window.repaint();  // a paint lets the next turn of the loop load it
        QCoreApplication::sendPostedEvents();
        QVERIFY(cues.Prepared());
        QVERIFY(MultimediaLoaded());
        cues.Play(SoundCue::Continuar);
        QCOMPARE(cues.CurrentFile(), folder + "/sonidos/CONTINUAR.WAV");
    }

    // The command-line jobs run without ever loading Qt Multimedia.
    void commandLineJobsNeverLoadMultimedia_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("--help") << QStringList{"--help"};
        QTest::newRow("--comprobar") << QStringList{"--comprobar"};
        QTest::newRow("unknown option") << QStringList{"--nada"};
    }
    void commandLineJobsNeverLoadMultimedia() {
        QFETCH(QStringList, arguments);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_DEBUG", "libs");
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(CIFRANO_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(60000));  // a guard only
        const QByteArray loaded = program.readAllStandardError();
        QVERIFY(loaded.contains("libQt6Core"));  // the loader did report
        QVERIFY(!loaded.contains("libQt6Multimedia"));
        QVERIFY(!loaded.contains("libcifrano_sound"));
    }

    // A cue file that is not a fit WAV file is silent, at once.
    void unfitCueFilesAreSilent_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"missing", "cut short", "longer than its header", "text", "folder",
                                 "FIFO", "larger than 16 MB"})
            QTest::newRow(kind) << QString(kind);
    }
    void unfitCueFilesAreSilent() {
        QFETCH(QString, kind);
        QtSoundCues cues(CueFolder(kind));
        cues.Play(SoundCue::Continuar);
        QVERIFY(cues.CurrentFile().isEmpty());
    }

    // The figure: read once into memory, its frames kept; a FIFO in its place
    // leaves it empty and the game goes on.
    void figureFileIsReadSafely_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("shown");
        QTest::newRow("the default figure") << "good" << true;
        QTest::newRow("FIFO named like the figure") << "FIFO" << false;
        QTest::newRow("not a picture") << "text" << false;
    }
    void figureFileIsReadSafely() {
        QFETCH(QString, kind);
        QFETCH(bool, shown);
        const QString folder = dir_.filePath("figure-" + kind);
        QDir().mkpath(folder + "/gifs");
        const QString gif = folder + "/gifs/1.gif";
        if (kind == "good") QVERIFY(QFile::copy(sourceData_ + "/gifs/1.gif", gif));
        if (kind == "FIFO") QVERIFY(MakeFifo(gif));
        if (kind == "text") WriteFile(gif, "GIF89a, o eso dice");
        NoSteps steps;
        Silent cues;
        GameSettings settings;
        settings.OperationFields = {"AA", "+", "B", "="};
        settings.GameMinutes = 1;
        GameScreen screen(steps, cues, settings, "AA + B =", PlayerPictures{}, 7u, folder);
        screen.Load();
        screen.Command1_Click();  // "Inicio"
        QCOMPARE(screen.Session().State(), GameState::Playing);
        auto* figure = screen.findChild<QLabel*>("Gif89a1");
        QCOMPARE(figure->movie() != nullptr, shown);
        if (shown) QCOMPARE(figure->movie()->cacheMode(), QMovie::CacheAll);
        screen.Unload();
    }
};

CIFRANO_TEST_MAIN(MediaFilesTest)
#include "test_media_files.moc"
