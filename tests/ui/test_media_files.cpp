// The program around the screens: its sound cue files, regular files within
// bounds or nothing, at once, never a wait on a FIFO; the real sound player, and Qt Multimedia loaded only once the first
// window has painted; its command line run as a process.
#include <sys/stat.h>

#include <QProcess>

#include "common/first_paint_view.h"
#include "common/sound_player.h"
#include "table_rows.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;
using namespace cifrano::testing;

namespace {

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
        struct Window : QWidget {
            int offered = 0, painted = 0;  // paint events sent, and those that reached it
            void paintEvent(QPaintEvent*) override { ++painted; }
            bool eventFilter(QObject*, QEvent* event) override {
                offered += event->type() == QEvent::Paint;
                return false;
            }
        } window;
        AfterFirstPaint(nullptr, [&cues] { cues.Prepare(); });  // no window: never runs
        AfterFirstPaint(&window, [&cues] { cues.Prepare(); });
        window.installEventFilter(&window);  // after the watch: sees every paint first
        QVERIFY(!MultimediaLoaded() && !cues.Prepared());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));  // a guard only
        window.repaint();  // a paint lets the next turn of the loop load it
        QCoreApplication::sendPostedEvents();
        QVERIFY(cues.Prepared() && MultimediaLoaded());
        QVERIFY(window.painted > 0 && window.painted == window.offered);  // the watch takes none
    }

    // A cue plays from a regular file (after links) that is a fit WAV file
    // only; any other is silent, at once.
    void onlyFitCueFilesPlay_data() {
        Rows({"good", "link to a good file", "missing", "folder", "FIFO", "link to a FIFO",
              "device", "cut short"});
    }
    void onlyFitCueFilesPlay() {
        QFETCH(QByteArrayList, row);
        const QString kind = row[0];
        const QString folder = dir_.filePath(kind);
        const QString cue = folder + "/sonidos/CONTINUAR.WAV";
        QDir().mkpath(folder + "/sonidos");
        const QString good = CIFRANO_DATA_DIR "/sonidos/CONTINUAR.WAV", target = folder + "/target";
        if (kind.contains("good") || kind == "cut short")
            QVERIFY(QFile::copy(good, kind.startsWith("link") ? target : cue));
        if (kind.endsWith("FIFO")) QVERIFY(!::mkfifo(qPrintable(kind == "FIFO" ? cue : target), 0600));
        if (kind.startsWith("link")) QVERIFY(QFile::link(target, cue));
        if (kind == "device") QVERIFY(QFile::link("/dev/zero", cue));
        if (kind == "folder") QVERIFY(QDir().mkpath(cue));
        if (kind == "cut short") QVERIFY(QFile::resize(cue, QFileInfo(good).size() - 100));
        QtSoundCues cues(folder);
        cues.Play(SoundCue::Continuar);
        QCOMPARE(cues.CurrentFile(), kind.contains("good") ? cue : QString());
    }

    // Checking a file, help and usage errors need no display, and never load
    // Qt Multimedia or the sound module (the loader lists what it loads); a
    // report that cannot be written is no success.
    void commandLineExitCodes_data() {
        Rows({"--comprobar," CIFRANO_DATA_DIR "/configuracion.txt|0", "--comprobar|0",
              "--comprobar," CIFRANO_DATA_DIR "/configuracion.txt|2|report to a full disk",
              "--comprobar,/no/such/file|2", "--help|0", "--desconocida|2"});
    }
    void commandLineExitCodes() {
        QFETCH(QByteArrayList, row);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        environment.insert("LD_DEBUG", "libs");
        QProcess program;
        program.setProcessEnvironment(environment);
        if (row.size() > 2) program.setStandardOutputFile("/dev/full");
        program.start(CIFRANO_PROGRAM, QString(row[0]).split(','));
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), row[1].toInt());
        const QByteArray output = program.readAllStandardOutput() + program.readAllStandardError();
        QVERIFY(output.contains("libQt6Core"));  // the loader did report
        QVERIFY(!output.contains("libQt6Multimedia") && !output.contains("libcifrano_sound"));
    }

    // A new cue stops the one playing; a cue without its file stops nothing.
    void soundPlayerPlaysOneCueAtATime() {
        QTemporaryDir folder;
        QDir(folder.path()).mkpath("sonidos/ERROR.WAV");  // a folder where the file should be
        for (const char* name : {"FINAL.WAV", "ACIERTO.WAV"})
            QVERIFY(QFile::copy(CIFRANO_DATA_DIR "/sonidos/" + QString(name),
                                folder.filePath("sonidos/") + name));
        QtSoundCues cues(folder.path());
        const QString final = folder.filePath("sonidos/FINAL.WAV"),
                      hit = folder.filePath("sonidos/ACIERTO.WAV");
        cues.Play(SoundCue::Final);
        cues.Play(SoundCue::Error);
        cues.Play(SoundCue::List);
        QCOMPARE(cues.CurrentFile(), final);
        QVERIFY(cues.IsPlaying(final) && !cues.IsPlaying(folder.filePath("sonidos/LIST.WAV")));
        cues.Play(SoundCue::Acierto);
        QCOMPARE(cues.CurrentFile(), hit);
        QVERIFY(!cues.IsPlaying(final) && cues.IsPlaying(hit));
    }
};

CIFRANO_TEST_MAIN(MediaFilesTest)
#include "test_media_files.moc"
