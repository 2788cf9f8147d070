#include "common/sound_player.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "common/media_file_loader.h"
#include "common/media_paths.h"
#include "common/multimedia_sound_player.h"
#include "common/wave_header.h"

namespace cifrano {

QtSoundCues::QtSoundCues(QString appFolder, QObject* parent)
    : QObject(parent), appFolder_(std::move(appFolder)) {}

QtSoundCues::~QtSoundCues() = default;

void QtSoundCues::Prepare() {
    if (prepared_) return;
    prepared_ = true;
    // The module lies beside the executable; it is never unloaded.
    QLibrary module(QDir(QCoreApplication::applicationDirPath())
                        .filePath(QString::fromLatin1(kSoundModuleFile)));
    const auto create = reinterpret_cast<NewSoundEffectsPlayer>(module.resolve(kSoundModuleEntry));
    if (create) player_.reset(create());
}

bool QtSoundCues::Playable(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    Checked& checked = checked_[path];
    if (checked.size == info.size() && checked.modified == modified) return checked.playable;
    checked = {info.size(), modified, false};
    QFile file;
    if (!OpenMediaFile(path, static_cast<qint64>(kMaxCueFileBytes), file)) return false;
    const QByteArray head = file.read(static_cast<qint64>(kWaveHeadBytes));
    checked.playable = WaveFitsItsFile(std::string_view(head.constData(), head.size()),
                                       static_cast<std::uint64_t>(file.size()));
    return checked.playable;
}

void QtSoundCues::Play(SoundCue cue) {
    // The path is built anew at each play, so a file added while the program runs is heard.
    const QString path = QString::fromStdString(DataPath(appFolder_.toStdString(), CueSuffix(cue)));
    if (!Playable(path)) return;
    Prepare();
    if (!player_) return;
    player_->Play(path);
    currentFile_ = path;
}

bool QtSoundCues::IsPlaying(const QString& path) const {
    return player_ && player_->IsPlaying(path);
}

}  // namespace cifrano
