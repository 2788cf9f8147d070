// The program's media files (cues, figures, user pictures): regular files
// within bounds or nothing, at once, never a wait on a FIFO; and Qt Multimedia
// loaded only once the first window has painted.
#include <sys/stat.h>

#include <QtEndian>

#include "common/sound_player.h"
#include "common/wave_header.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}
bool MultimediaLoaded() {
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

}  // namespace

class MediaFilesTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

  private slots:
    // First in this class: nothing before it has played a cue.
    void multimediaLoadsAfterTheFirstPaint() {
        QtSoundCues cues(CIFRANO_DATA_DIR);
        QWidget window;
        PrepareSoundAfterFirstPaint(cues, &window);
        QVERIFY(!MultimediaLoaded() && !cues.Prepared());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));  // a guard only
        window.repaint();  // a paint lets the next turn of the loop load it
        QCoreApplication::sendPostedEvents();
        QVERIFY(cues.Prepared() && MultimediaLoaded());
    }

    // A cue plays from a regular file (after links) that is a fit WAV file
    // only; any other is silent, at once.
    void onlyFitCueFilesPlay_data() {
        QTest::addColumn<QString>("kind");
        for (const char* kind :
             {"good", "link to a good file", "missing", "folder", "FIFO", "link to a FIFO",
              "device", "cut short", "longer than its header", "header agrees, larger than 16 MB"})
            QTest::newRow(kind) << QString(kind);
    }
    void onlyFitCueFilesPlay() {
        QFETCH(QString, kind);
        const QString folder = dir_.filePath(kind);
        const QString cue = folder + "/sonidos/CONTINUAR.WAV";
        QDir().mkpath(folder + "/sonidos");
        QFile good(CIFRANO_DATA_DIR "/sonidos/CONTINUAR.WAV");
        QVERIFY(good.open(QIODevice::ReadOnly));
        QByteArray wave = good.readAll();
        const QString target = folder + "/target";
        if (kind.endsWith("good file") || kind == "good")
            WriteFile(kind == "good" ? cue : target, wave);
        if (kind.endsWith("FIFO")) QVERIFY(MakeFifo(kind == "FIFO" ? cue : target));
        if (kind.startsWith("link")) QVERIFY(QFile::link(target, cue));
        if (kind == "device") QVERIFY(QFile::link("/dev/zero", cue));
        if (kind == "folder") QVERIFY(QDir().mkpath(cue));
        if (kind == "cut short") WriteFile(cue, wave.chopped(100));
        if (kind == "longer than its header") WriteFile(cue, wave + "more");
        if (kind.startsWith("header agrees")) {
            const quint32 size = quint32(kMaxCueFileBytes) + 2;
            qToLittleEndian(size - 8, wave.data() + 4);
            qToLittleEndian(size - 44, wave.data() + 40);
            QVERIFY(WriteFile(cue, wave.left(44)) && QFile::resize(cue, size));
        }
        QtSoundCues cues(folder);
        cues.Play(SoundCue::Continuar);
        QCOMPARE(cues.CurrentFile(), kind.contains("good") ? cue : QString());
    }

    // A FIFO in place of a listed user picture and of the figure: the pick
    // shows the name and no picture, the game plays without its figure.
    void fifosInARunAreMissing() {
        Harness h;
        h.AddUser("Tubo.png");
        QDir(h.dir.path()).mkpath("gifs");
        QVERIFY(MakeFifo(h.Path("gifs/1.gif")));
        h.ToPlayers();
        QVERIFY(QFile::remove(h.Path("usuarios/Tubo.png")) &&
                MakeFifo(h.Path("usuarios/Tubo.png")));
        h.Pick(0, "Tubo.png");
        QCOMPARE(h.Text(PlayerSelection, "Label1(0)"), "Tubo");
        QVERIFY(h.Child<PictureBox>(PlayerSelection, "Image1(0)")->Picture().isNull());
        h.Click(PlayerSelection, "Command1");
        h.ToGame(1);
        h.Inicio();
        QCOMPARE(h.Session().State(), GameState::Playing);
        QVERIFY(!h.Child<QLabel>(Game, "Gif89a1")->movie());
    }
};

CIFRANO_TEST_MAIN(MediaFilesTest)
#include "test_media_files.moc"
