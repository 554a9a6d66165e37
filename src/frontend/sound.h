#pragma once

// The fifteen sound effects through SDL_mixer. The game plays them with
// playSound (core/services.h); this file opens the device and loads them.

// Opens the audio device, loads every effect and plugs the mixer into
// playSound; returns 0. Without an audio device it says so in one line on
// standard output and returns 0: the game plays silent. A missing sound
// file prints the reason on standard error, shuts SDL down and returns -1.
int initSound();
// Frees the chunks and closes the device; nothing when sound never started.
void shutdownSound();

// The files in the order they are loaded (which is not the id order), with
// their sound ids.
struct SoundFile {
    int id;
    const char* path;
};
constexpr int SOUND_FILE_COUNT = 15;
extern const SoundFile SOUND_LOAD_ORDER[SOUND_FILE_COUNT];
