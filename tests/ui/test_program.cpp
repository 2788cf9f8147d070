// The program around the screens: the data folder it ships, its command line
// run as a process, and the real sound player.
#include <QProcess>

#include "common/media_paths.h"
#include "common/sound_player.h"
#include "test_main.h"
#include "test_support.h"

using namespace cifrano;

class ProgramTest : public QObject {
    Q_OBJECT

  private slots:
    void dataFolderHoldsEveryCueAndFigure() {
        std::vector<std::string> suffixes;
        for (SoundCue cue : kAllSoundCues) suffixes.emplace_back(CueSuffix(cue));
        for (int minutes = 1; minutes <= 6; ++minutes) suffixes.push_back(AnimationSuffix(minutes));
        for (const std::string& suffix : suffixes) {
            const QFileInfo file(QString::fromStdString(DataPath(CIFRANO_DATA_DIR, suffix)));
            QVERIFY2(file.isFile() && file.size() > 0, suffix.c_str());
        }
    }

    // Checking a file, help and usage errors need no display, and never load
    // Qt Multimedia or the sound module (the loader lists what it loads).
    void commandLineExitCodes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        const QString good = CIFRANO_DATA_DIR "/configuracion.txt";
        QTest::newRow("a good file") << QStringList{"--comprobar", good} << 0;
        QTest::newRow("the file beside the program") << QStringList{"--comprobar"} << 0;
        QTest::newRow("a missing file") << QStringList{"--comprobar", "/no/such/file"} << 2;
        QTest::newRow("help") << QStringList{"--help"} << 0;
        QTest::newRow("an unknown option") << QStringList{"--desconocida"} << 2;
    }
    void commandLineExitCodes() {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        environment.insert("LD_DEBUG", "libs");
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(CIFRANO_PROGRAM, arguments);
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), code);
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
        const QString final = folder.filePath("sonidos/FINAL.WAV");
        const QString hit = folder.filePath("sonidos/ACIERTO.WAV");
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

CIFRANO_TEST_MAIN(ProgramTest)
#include "test_program.moc"
