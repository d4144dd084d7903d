// Background music: one WAV looping on SDL_mixer's own thread.
#pragma once

// Starts `path` playing in an endless loop and returns at once. On any failure
// the game plays on in silence; a file that is missing or that the open
// device cannot decode is reported ("Failed to load music: " and the path,
// base/assets.h). No sound device needs no word. Opens the device as 44100
// Hz, signed 16-bit, stereo.
void playMusic(const char* path);

// Stops the music and releases the mixer and SDL's audio; safe without playMusic.
void stopMusic();
