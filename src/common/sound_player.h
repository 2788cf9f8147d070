#pragma once
#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

#include "common/sound_cues.h"

namespace cifrano {

class SoundEffectsPlayer;

// Plays the cues from the application folder: asynchronous, one cue at a
// time (a new cue stops the one playing). Qt Multimedia lives in a module
// loaded on the first cue (or by Prepare), never at start-up. Silent, and
// stopping nothing, for a file that is missing, not a regular file, larger
// than kMaxCueFileBytes or not a PCM WAV file whose header agrees with its
// size, and when the module or an audio device is missing.
class QtSoundCues : public QObject, public SoundCues {
    Q_OBJECT
  public:
    explicit QtSoundCues(QString appFolder, QObject* parent = nullptr);
    ~QtSoundCues() override;
    void Play(SoundCue cue) override;

    // Loads the sound module now, ahead of the first cue; the program calls it
    // once its first window has painted. Further calls do nothing.
    void Prepare();
    bool Prepared() const { return prepared_; }

    // The file of the cue last started, empty when none could be started.
    QString CurrentFile() const { return currentFile_; }
    bool IsPlaying(const QString& path) const;

  private:
    // Whether the cue's file is fit to play, remembered per size and time.
    bool Playable(const QString& path);

    struct Checked {
        qint64 size = -1;
        qint64 modified = 0;
        bool playable = false;
    };
    QString appFolder_;
    QHash<QString, Checked> checked_;
    std::unique_ptr<SoundEffectsPlayer> player_;
    bool prepared_ = false;
    QString currentFile_;
};

}  // namespace cifrano
