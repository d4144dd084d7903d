// Background music: one WAV looping on SDL_mixer's own thread.
#pragma once

// Starts `path` playing in an endless loop and returns at once. Every failure
// (no audio device, missing or unreadable file) is ignored: the game plays on
// in silence. Opens the device as 44100 Hz, signed 16-bit, stereo.
void playMusic(const char* path);

// Stops the music and releases the mixer and SDL's audio; safe without playMusic.
void stopMusic();
