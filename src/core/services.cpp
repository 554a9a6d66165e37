#include "core/services.h"

#include <cstdlib>

#include "core/settings.h"

namespace {
SoundMixer* activeMixer = nullptr;

uint32_t zeroTicks() { return 0; }
TickSource tickSource = zeroTicks;
}  // namespace

void setSoundMixer(SoundMixer* mixer) { activeMixer = mixer; }
SoundMixer* soundMixer() { return activeMixer; }

void playSound(int channel, int soundId) {
    if (!settings.sounds || activeMixer == nullptr) return;
    if (channel != ANY_CHANNEL && activeMixer->channelPlaying(channel)) return;
    if (soundId < 0 || soundId >= SOUND_COUNT) return;
    activeMixer->playChunk(channel, soundId);
}

void setTickSource(TickSource source) { tickSource = source ? source : zeroTicks; }
uint32_t currentTicks() { return tickSource(); }

int randomInt(int lo, int hi) { return lo + (std::rand() % (hi - lo + 1)); }

int randomIntExcluding(int lo, int hi, int a, int b) {
    int value = randomInt(lo, hi);
    while (value > a && value < b) value = randomInt(lo, hi);
    return value;
}
