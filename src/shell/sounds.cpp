#include "shell/sounds.h"

#include <QSoundEffect>
#include <QUrl>

#include "shell/datafiles.h"

namespace {
std::unique_ptr<QSoundEffect> loadEffect(const QString& file) {
    auto effect = std::make_unique<QSoundEffect>();
    const QString path = dataFilePath(file);
    if (!path.isEmpty()) effect->setSource(QUrl::fromLocalFile(path));
    return effect;
}
} // namespace

EffectPlayer::EffectPlayer() : calc1_(loadEffect("calc1.wav")), calc2_(loadEffect("calc2.wav")) {}

EffectPlayer::~EffectPlayer() = default;

void EffectPlayer::play(tally::Sound sound) {
    if (sound == tally::Sound::None) return;
    QSoundEffect* wanted = sound == tally::Sound::Calc1 ? calc1_.get() : sound == tally::Sound::Calc2 ? calc2_.get() : nullptr;
    // One sound at a time, like a printing calculator's single clicker.
    for (QSoundEffect* effect : {calc1_.get(), calc2_.get()})
        if (effect != wanted && effect->isPlaying()) effect->stop();
    if (wanted && wanted->status() != QSoundEffect::Error) {
        if (wanted->isPlaying()) wanted->stop();
        wanted->play();
    }
}
