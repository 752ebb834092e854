#pragma once
// The two key sounds. Every request returns at once; a new one cuts off a sound still playing;
// a missing device or file is silence, never an error.
#include <QObject>
#include <QString>
#include <memory>
#include <string_view>

class QSoundEffect;

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // "calc1", "calc2", or the same names with a leading backslash.
    virtual void play(std::string_view name) = 0;
};

// "\calc1" and "calc1" name the same sound.
std::string_view soundKey(std::string_view name);

// Plays calc1.wav and calc2.wav, found as data files, through preloaded QSoundEffects.
class EffectPlayer : public SoundPlayer {
public:
    EffectPlayer();
    ~EffectPlayer() override;
    void play(std::string_view name) override;

private:
    std::unique_ptr<QSoundEffect> calc1_;
    std::unique_ptr<QSoundEffect> calc2_;
};

// Plays nothing.
class SilentPlayer : public SoundPlayer {
public:
    void play(std::string_view) override {}
};
