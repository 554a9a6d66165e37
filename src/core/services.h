#pragma once

#include <cstdint>

// Seams through which the simulation reaches sound, the millisecond clock and
// the random generator. The program plugs in SDL_mixer and SDL_GetTicks;
// tests plug in recorders and a fake clock.

enum SoundId : int {
    SOUND_HEAL = 0, SOUND_HURT, SOUND_JUMP, SOUND_BUMP, SOUND_MENU, SOUND_SELECT,
    SOUND_PLACE, SOUND_CHECKPOINT, SOUND_SLOWDOWN, SOUND_SPEEDUP, SOUND_EXPLODE,
    SOUND_POWERUP, SOUND_PONG1, SOUND_LIFE, SOUND_PUSH, SOUND_COUNT
};

constexpr int ANY_CHANNEL = -1;

class SoundMixer {
public:
    virtual ~SoundMixer() = default;
    virtual bool channelPlaying(int channel) = 0;
    // channel -1: the first free channel.
    virtual void playChunk(int channel, int soundId) = 0;
};

// nullptr silences the game.
void setSoundMixer(SoundMixer* mixer);
SoundMixer* soundMixer();

// The one play routine: honours the Sounds setting, never cuts off a sound
// still playing on channel 1 or 2, ignores unknown ids.
void playSound(int channel, int soundId);

using TickSource = uint32_t (*)();
void setTickSource(TickSource source);
uint32_t currentTicks();

// lo + (rand() mod (hi - lo + 1)).
int randomInt(int lo, int hi);
// As randomInt, drawing again while the value lies strictly inside (a, b).
int randomIntExcluding(int lo, int hi, int a, int b);
