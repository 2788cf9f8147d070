#include "common/sound_player.h"

#include <QFileInfo>
#include <QUrl>

#include "common/media_paths.h"

namespace cifrano {

QtSoundCues::QtSoundCues(QString appFolder, QObject* parent)
    : QObject(parent), appFolder_(std::move(appFolder)) {}

void QtSoundCues::Play(SoundCue cue) {
    // The path is built anew at each play, so a file added while the program runs is heard.
    const QString path = QString::fromStdString(DataPath(appFolder_.toStdString(), CueSuffix(cue)));
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) return;

    QSoundEffect*& effect = effects_[path];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
    }
    if (current_ && current_ != effect) current_->stop();
    effect->stop();
    effect->play();
    current_ = effect;
    currentFile_ = path;
}

bool QtSoundCues::IsPlaying(const QString& path) const {
    const QSoundEffect* effect = effects_.value(path);
    return effect && effect->isPlaying();
}

}  // namespace cifrano
