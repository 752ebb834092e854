#include "shell/sounds.h"

#include <QSoundEffect>
#include <QUrl>

#include "shell/datafiles.h"

std::string_view soundKey(std::string_view name) {
    if (!name.empty() && name.front() == '\\') name.remove_prefix(1);
    return name;
}

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

void EffectPlayer::play(std::string_view name) {
    const std::string_view key = soundKey(name);
    QSoundEffect* wanted = key == "calc1" ? calc1_.get() : key == "calc2" ? calc2_.get() : nullptr;
    // One sound at a time, like a printing calculator's single clicker.
    for (QSoundEffect* effect : {calc1_.get(), calc2_.get()})
        if (effect != wanted && effect->isPlaying()) effect->stop();
    if (wanted && wanted->status() != QSoundEffect::Error) {
        if (wanted->isPlaying()) wanted->stop();
        wanted->play();
    }
}
