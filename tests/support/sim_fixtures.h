#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/services.h"
#include "core/settings.h"
#include "sim/physics.h"

// Records every sound started, with its channel; a channel can be marked busy.
class RecordingMixer : public SoundMixer {
public:
    bool channelPlaying(int channel) override;
    void playChunk(int channel, int soundId) override;

    int count(int soundId) const;
    bool played(int channel, int soundId) const;
    void clear() { played_.clear(); }

    std::vector<std::pair<int, int>> played_;  // (channel, id) in order
    std::vector<int> busyChannels;
};

// Installs a RecordingMixer, a fake tick source at 1000, a fixed random
// seed and the default settings (sounds and the speed view on) for the
// lifetime of a test.
class SimServices {
public:
    SimServices();
    ~SimServices();

    RecordingMixer mixer;
    static uint32_t ticks;

private:
    Settings saved_;
};

// Counts what the step hands to the mode. On a death it resets the craft to
// the level start as the time-attack mode does.
class RecordingHooks : public PlayHooks {
public:
    explicit RecordingHooks(Level& level) : level_(level) {}
    void onDeath(Craft& craft, DeathCause cause) override;
    void onFinish(Craft& craft, int blockIndex) override;
    void onPongStart(Craft& craft, Level& level, int blockIndex) override;

    std::vector<DeathCause> deaths;
    int finishes = 0;
    int finishBlock = -1;
    int pongStarts = 0;

private:
    Level& level_;
};

// A craft on a level built from the level tool's text, stepped with the
// time-attack rules, the recorders above and the first player's keys.
class TextLevelPlay : public ::testing::Test {
protected:
    // Builds the level, puts the craft on its start and forgets the sounds
    // played so far.
    void load(const std::string& text);

    SimServices services;
    Level level;
    Craft craft;
    RecordingHooks hooks{level};
    PlayRules rules = timeAttackRules(hooks);
    ControlKeys keys = controlKeys(2);
};
