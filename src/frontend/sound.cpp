#include "frontend/sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cstdio>

#include "core/services.h"

const SoundFile SOUND_LOAD_ORDER[SOUND_FILE_COUNT] = {
    {SOUND_EXPLODE, "sounds/explode.wav"}, {SOUND_JUMP, "sounds/jump.wav"},
    {SOUND_MENU, "sounds/menu.wav"}, {SOUND_BUMP, "sounds/bump.wav"},
    {SOUND_SELECT, "sounds/select.wav"}, {SOUND_HURT, "sounds/hurt.wav"},
    {SOUND_HEAL, "sounds/heal.wav"}, {SOUND_SPEEDUP, "sounds/speedup.wav"},
    {SOUND_SLOWDOWN, "sounds/slowdown.wav"}, {SOUND_POWERUP, "sounds/powerup.wav"},
    {SOUND_PUSH, "sounds/push.wav"}, {SOUND_PLACE, "sounds/place.wav"},
    {SOUND_PONG1, "sounds/pong1.wav"}, {SOUND_CHECKPOINT, "sounds/checkpoint.wav"},
    {SOUND_LIFE, "sounds/life.wav"},
};

namespace {

constexpr int SAMPLE_RATE = 22050;
constexpr int CHUNK_SAMPLES = 1024;

Mix_Chunk* chunks[SOUND_COUNT] = {};
bool audioOpen = false;

class SdlMixer : public SoundMixer {
public:
    bool channelPlaying(int channel) override { return Mix_Playing(channel) != 0; }
    void playChunk(int channel, int soundId) override {
        if (chunks[soundId] != nullptr) Mix_PlayChannel(channel, chunks[soundId], 0);
    }
};

SdlMixer sdlMixer;

void releaseChunksAndDevice() {
    setSoundMixer(nullptr);
    if (audioOpen) Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : chunks) {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    if (audioOpen) Mix_CloseAudio();
    audioOpen = false;
}

}  // namespace

int initSound() {
    // The audio subsystem starts here, so a player with sound off never needs
    // a working audio device. Without one the game plays silent: the Sounds
    // setting stays as the player chose it, for the next start.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0 ||
        Mix_OpenAudio(SAMPLE_RATE, AUDIO_S16LSB, 2, CHUNK_SAMPLES) < 0) {
        std::printf("Could not initialize sound: %s - playing without sound.\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    audioOpen = true;
    for (const SoundFile& file : SOUND_LOAD_ORDER) {
        SDL_RWops* source = SDL_RWFromFile(file.path, "rb");
        if (source != nullptr) chunks[file.id] = Mix_LoadWAV_RW(source, 1);
        if (chunks[file.id] == nullptr) {
            releaseChunksAndDevice();
            SDL_Quit();
            std::fputs("One or more sound files not found.\n", stderr);
            return -1;
        }
    }
    setSoundMixer(&sdlMixer);
    return 0;
}

void shutdownSound() { releaseChunksAndDevice(); }
