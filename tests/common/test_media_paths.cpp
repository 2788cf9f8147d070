#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "app/media_paths.h"
#include "app/sound_player.h"

using namespace cifrano;

static QString Path(auto f, auto s) { return QString::fromStdString(DataPath(f, s)); }

class MediaPathsTest : public QObject {
    Q_OBJECT
  private slots:
    // Backslash suffixes become paths under the application folder, letter case kept.
    void dataPathMapsBackslashes() {
        QCOMPARE(Path("/c/", "\\configuracion.txt"), "/c/configuracion.txt");  // trailing separator
        QCOMPARE(Path("/año", "\\usuarios\\"), "/año/usuarios/");              // the end is kept
        QCOMPARE(Path("/A b", "\\Gifs\\X.GIF"), "/A b/Gifs/X.GIF");
        QCOMPARE(Path("/c", AnimationSuffix(6)), "/c/gifs/6.gif");
    }

    void everyCueHasItsOwnFile() {
        std::set<std::string_view> files;
        for (SoundCue cue : kAllSoundCues) files.insert(CueSuffix(cue));
        QCOMPARE(files.size(), kAllSoundCues.size());
        for (auto file : files) QVERIFY(file.starts_with("\\sonidos\\") && file.ends_with(".WAV"));
        QCOMPARE(CueSuffix(SoundCue::ArribaAbajo), std::string_view("\\sonidos\\ARRIBAABAJO.WAV"));
    }

    // The real player, once: a folder without sounds is silent and nothing breaks.
    void realPlayerIsSilentForMissingFiles() {
        QTemporaryDir empty;
        QtSoundCues cues(empty.path());
        for (SoundCue cue : kAllSoundCues) cues.Play(cue);
        QVERIFY(cues.CurrentFile().isEmpty());
    }

    // A new cue stops the one playing; a missing file stops nothing.
    void realPlayerReplacesTheCuePlaying() {
        QTemporaryDir folder;
        QDir(folder.path()).mkpath("sonidos");
        for (const char* name : {"FINAL.WAV", "ACIERTO.WAV"})
            QFile::copy(qEnvironmentVariable("CIFRANO_SOURCE_DATA") + "/sonidos/" + name,
                        folder.filePath(QString("sonidos/") + name));
        QtSoundCues cues(folder.path());
        const QString final = folder.filePath("sonidos/FINAL.WAV");
        const QString hit = folder.filePath("sonidos/ACIERTO.WAV");
        cues.Play(SoundCue::Final);
        QVERIFY(cues.IsPlaying(final));
        cues.Play(SoundCue::Error);  // no such file
        QCOMPARE(cues.CurrentFile(), final);
        QVERIFY(cues.IsPlaying(final));
        cues.Play(SoundCue::Acierto);
        QCOMPARE(cues.CurrentFile(), hit);
        QVERIFY(!cues.IsPlaying(final));
        QVERIFY(cues.IsPlaying(hit));
    }
};

QTEST_MAIN(MediaPathsTest)
#include "test_media_paths.moc"
