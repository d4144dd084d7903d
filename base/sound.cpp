#include "base/sound.h"

namespace {
SoundOutput* output = nullptr;
}

void setSoundOutput(SoundOutput* replacement) { output = replacement; }

void playSound(Sound sound) {
    if (output) output->play(sound);
}

void setSoundVolumes(int musicPercent, int effectsPercent) {
    if (output) output->setVolumes(musicPercent, effectsPercent);
}
