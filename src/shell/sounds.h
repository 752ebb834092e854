#pragma once
// The two key sounds. Every request returns at once; a new one cuts off a sound still playing;
// a missing device or file is silence, never an error.
#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

#include "core/sound.h"

class QSoundEffect;

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(tally::Sound sound) = 0;
};

// Plays calc1.wav and calc2.wav, found as data files, through preloaded QSoundEffects.
class EffectPlayer : public SoundPlayer {
public:
    EffectPlayer();
    ~EffectPlayer() override;
    void play(tally::Sound sound) override;
    // The file a sound plays: empty for none, or when the file was not found.
    QUrl source(tally::Sound sound) const;

private:
    QSoundEffect* effect(tally::Sound sound) const;
    std::unique_ptr<QSoundEffect> calc1_;
    std::unique_ptr<QSoundEffect> calc2_;
};

// Plays nothing.
class SilentPlayer : public SoundPlayer {
public:
    void play(tally::Sound) override {}
};
