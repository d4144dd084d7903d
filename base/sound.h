// The seam between what happens in the game and the sound it makes.
//
// The rules say what happened (playSound); an output installed by the game's
// start-up plays it over the music, on channels of its own, at the effects'
// volume. Without an output (tests, no sound device) nothing is heard.
#pragma once

enum class Sound { coin, hit, finish, newBest, count };

struct SoundOutput {
    virtual ~SoundOutput() = default;
    virtual void play(Sound sound) = 0;
    virtual void setVolumes(int musicPercent, int effectsPercent) = 0;
};

// Replaces the output (nullptr: silence). The caller keeps ownership.
void setSoundOutput(SoundOutput* output);

void playSound(Sound sound);
void setSoundVolumes(int musicPercent, int effectsPercent);
