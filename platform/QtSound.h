#pragma once

#include "Sound.h"

#include <memory>

class QSoundEffect;

// Production sound through QSoundEffect. The media player is avoided on
// purpose: it crashes on machines without an audio device.
class QtSound final : public Sound {
public:
    QtSound();
    ~QtSound() override;
    void play(const QString& path) override;

private:
    // Created on the first sound, so a run without one never opens audio.
    std::unique_ptr<QSoundEffect> effect_;
};
