// The game's sound: the background music, one WAV looping on SDL_mixer's own
// thread, and the sounds of what happens in a run (base/sound.h) mixed over
// it on channels of their own, each kind at its own volume. Without a sound
// device the game is the same in silence, which needs no word.
#pragma once

// True: no sound device is opened, so neither music nor effects play (kivo
// --benchmark). False by default.
extern bool soundOff;

// Opens the sound device (44100 Hz, signed 16-bit, stereo) and starts `path`
// playing in an endless loop; returns at once. A file that is missing, that
// is no WAV the mixer may read (base/wave_file.h), or that the open device
// cannot decode, is reported ("Failed to load music: "
// and the path, base/assets.h) and the game plays on without music.
void playMusic(const char* path);

// Loads the sounds of a run from the asset folders and makes them what
// playSound() plays, at musicVolume and effectsVolume. A sound whose file
// is missing or broken is reported like the music and stays silent.
void loadSoundEffects();

// Stops all sound and releases the mixer and SDL's audio; safe without the above.
void stopMusic();
