// The sound module: QSoundEffect behind SoundEffectsPlayer. Linked alone
// against Qt Multimedia and loaded by QtSoundCues on first need.
#include "common/multimedia_sound_player.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

namespace cifrano {

namespace {

class QSoundEffectPlayer : public SoundEffectsPlayer {
  public:
    ~QSoundEffectPlayer() override { qDeleteAll(effects_); }

    void Play(const QString& path) override {
        QSoundEffect*& effect = effects_[path];
        if (!effect) {
            effect = new QSoundEffect;
            effect->setSource(QUrl::fromLocalFile(path));
        }
        if (current_ && current_ != effect) current_->stop();
        effect->stop();
        effect->play();
        current_ = effect;
    }

    bool IsPlaying(const QString& path) const override {
        const QSoundEffect* effect = effects_.value(path);
        return effect && effect->isPlaying();
    }

  private:
    QHash<QString, QSoundEffect*> effects_;
    QPointer<QSoundEffect> current_;
};

}  // namespace

}  // namespace cifrano

extern "C" Q_DECL_EXPORT cifrano::SoundEffectsPlayer* cifrano_new_sound_effects_player() {
    return new cifrano::QSoundEffectPlayer;
}
