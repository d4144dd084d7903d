// Background music: one WAV looping on SDL_mixer's own thread.
#pragma once

// Starts `path` playing in an endless loop and returns at once. On any failure
// the game plays on in silence; a missing file (with a second line naming the
// path tried and the folders searched), and one the open device cannot
// decode, are reported on stderr ("Failed to load music"). Opens
// the device as 44100 Hz, signed 16-bit, stereo.
void playMusic(const char* path);

// Stops the music and releases the mixer and SDL's audio; safe without playMusic.
void stopMusic();
