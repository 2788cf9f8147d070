#pragma once
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSoundEffect>
#include <QString>

#include "common/sound_cues.h"

namespace cifrano {

// Plays the cues from the application folder with QSoundEffect: asynchronous,
// one cue at a time (a new cue stops the one playing). A missing or unreadable
// file is silent and stops nothing; without an audio device QSoundEffect is
// silent on its own.
class QtSoundCues : public QObject, public SoundCues {
    Q_OBJECT
  public:
    explicit QtSoundCues(QString appFolder, QObject* parent = nullptr);
    void Play(SoundCue cue) override;

    // The file of the cue last started, empty when none could be started.
    QString CurrentFile() const { return currentFile_; }
    bool IsPlaying(const QString& path) const;

  private:
    QString appFolder_;
    QHash<QString, QSoundEffect*> effects_;
    QPointer<QSoundEffect> current_;
    QString currentFile_;
};

}  // namespace cifrano
