#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "app/media_paths.h"
#include "app/sound_cues.h"
#include "app/sound_player.h"

using namespace cifrano;

class MediaPathsTest : public QObject {
    Q_OBJECT
private slots:
    void dataPath_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("path");
        QTest::newRow("sound cue") << "/opt/cifrano" << "\\sonidos\\FINAL.WAV"
                                   << "/opt/cifrano/sonidos/FINAL.WAV";
        QTest::newRow("folder with trailing separator")
            << "/opt/cifrano/" << "\\configuracion.txt" << "/opt/cifrano/configuracion.txt";
        QTest::newRow("users folder keeps its end") << "/a" << "\\usuarios\\" << "/a/usuarios/";
        QTest::newRow("letter case kept") << "/A b" << "\\Gifs\\X.GIF" << "/A b/Gifs/X.GIF";
        QTest::newRow("root folder") << "/" << "\\gifs\\1.gif" << "/gifs/1.gif";
        QTest::newRow("non-ASCII folder") << "/home/año" << "\\usuarios\\"
                                          << "/home/año/usuarios/";
    }
    void dataPath() {
        QFETCH(QString, folder);
        QFETCH(QString, suffix);
        QFETCH(QString, path);
        QCOMPARE(QString::fromStdString(DataPath(folder.toStdString(), suffix.toStdString())),
                 path);
    }

    void animationSuffixNamesTheMinutes() {
        QCOMPARE(AnimationSuffix(6), std::string("\\gifs\\6.gif"));
        QCOMPARE(AnimationSuffix(1), std::string("\\gifs\\1.gif"));
    }

    void everyCueHasItsOwnFile() {
        std::set<std::string_view> files;
        for (SoundCue cue : kAllSoundCues) {
            QVERIFY(CueSuffix(cue).starts_with("\\sonidos\\"));
            QVERIFY(CueSuffix(cue).ends_with(".WAV"));
            files.insert(CueSuffix(cue));
        }
        QCOMPARE(files.size(), kAllSoundCues.size());
        QCOMPARE(CueSuffix(SoundCue::ArribaAbajo), std::string_view("\\sonidos\\ARRIBAABAJO.WAV"));
    }

    // The real player, once: a folder without sounds is silent and nothing breaks.
    void realPlayerIsSilentForMissingFiles() {
        QTemporaryDir empty;
        QtSoundCues cues(empty.path());
        for (SoundCue cue : kAllSoundCues) cues.Play(cue);
        QVERIFY(cues.CurrentFile().isEmpty());
    }
};

QTEST_GUILESS_MAIN(MediaPathsTest)
#include "test_media_paths.moc"
