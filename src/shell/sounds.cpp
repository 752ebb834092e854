#include "shell/sounds.h"

#include <QSoundEffect>
#include <QUrl>

#include "shell/datafiles.h"

namespace {
// Qt's sound layer reports a missing device or a bad file on standard error, in the default
// category; for this program that is silence. Every other message goes on as before.
constexpr const char* kSoundLayerMessages[] = {"PulseAudioService:", "No audio device detected", "QSoundEffect("};
QtMessageHandler passOn = nullptr;

void dropSoundLayerMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    for (const char* start : kSoundLayerMessages)
        if (qstrcmp(context.category, "default") == 0 && text.startsWith(QLatin1String(start)))
            return;
    passOn(type, context, text);
}

std::unique_ptr<QSoundEffect> loadEffect(const QString& file) {
    if (!passOn)
        passOn = qInstallMessageHandler(dropSoundLayerMessages);
    auto effect = std::make_unique<QSoundEffect>();
    const QString path = dataFilePath(file);
    if (!path.isEmpty())
        effect->setSource(QUrl::fromLocalFile(path));
    return effect;
}
} // namespace

EffectPlayer::EffectPlayer() : calc1_(loadEffect("calc1.wav")), calc2_(loadEffect("calc2.wav")) {}

EffectPlayer::~EffectPlayer() = default;

QSoundEffect* EffectPlayer::effect(tally::Sound sound) const {
    return sound == tally::Sound::Calc1 ? calc1_.get() : sound == tally::Sound::Calc2 ? calc2_.get() : nullptr;
}

QUrl EffectPlayer::source(tally::Sound sound) const {
    const QSoundEffect* wanted = effect(sound);
    return wanted ? wanted->source() : QUrl();
}

void EffectPlayer::play(tally::Sound sound) {
    QSoundEffect* wanted = effect(sound);
    if (!wanted)
        return;
    // One sound at a time, like a printing calculator's single clicker.
    for (QSoundEffect* effect : {calc1_.get(), calc2_.get()})
        if (effect != wanted && effect->isPlaying())
            effect->stop();
    if (wanted && wanted->status() != QSoundEffect::Error) {
        if (wanted->isPlaying())
            wanted->stop();
        wanted->play();
    }
}
