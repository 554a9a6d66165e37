#include "support/sim_fixtures.h"

#include <algorithm>
#include <cstdlib>

#include "core/settings.h"
#include "support/sim_levels.h"

uint32_t SimServices::ticks = 1000;

namespace {
uint32_t fakeTicks() { return SimServices::ticks; }
}  // namespace

bool RecordingMixer::channelPlaying(int channel) {
    return std::find(busyChannels.begin(), busyChannels.end(), channel) != busyChannels.end();
}

void RecordingMixer::playChunk(int channel, int soundId) { played_.emplace_back(channel, soundId); }

int RecordingMixer::count(int soundId) const {
    return int(std::count_if(played_.begin(), played_.end(), [soundId](const std::pair<int, int>& p) {
        return p.second == soundId;
    }));
}

bool RecordingMixer::played(int channel, int soundId) const {
    return std::find(played_.begin(), played_.end(), std::make_pair(channel, soundId)) != played_.end();
}

SimServices::SimServices() : saved_(settings) {
    settings = defaultSettings();
    settings.sounds = 1;
    settings.speed = 1;
    ticks = 1000;
    setSoundMixer(&mixer);
    setTickSource(fakeTicks);
    std::srand(7);
}

SimServices::~SimServices() {
    setSoundMixer(nullptr);
    setTickSource(nullptr);
    settings = saved_;
}

void RecordingHooks::onDeath(Craft& craft, DeathCause cause) {
    deaths.push_back(cause);
    resetCraft(craft, level_, 0);
}

void RecordingHooks::onFinish(Craft&, int blockIndex) {
    ++finishes;
    finishBlock = blockIndex;
}

void RecordingHooks::onPongStart(Craft&, Level&, int) { ++pongStarts; }

void TextLevelPlay::load(const std::string& text) {
    level = levelFromText(text);
    resetCraft(craft, level, 0);
    services.mixer.clear();
}
