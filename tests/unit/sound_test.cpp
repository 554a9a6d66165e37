#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/services.h"
#include "core/settings.h"
#include "frontend/sound.h"

namespace {

class FakeMixer : public SoundMixer {
public:
    bool channelPlaying(int channel) override { return busy.count(channel) != 0; }
    void playChunk(int channel, int soundId) override { played.emplace_back(channel, soundId); }

    std::set<int> busy;
    std::vector<std::pair<int, int>> played;
};

class SoundChannels : public ::testing::Test {
protected:
    void SetUp() override {
        savedMixer = soundMixer();
        savedSounds = settings.sounds;
        settings.sounds = 1;
        setSoundMixer(&mixer);
    }
    void TearDown() override {
        setSoundMixer(savedMixer);
        settings.sounds = savedSounds;
    }
    using Played = std::vector<std::pair<int, int>>;

    FakeMixer mixer;
    SoundMixer* savedMixer = nullptr;
    int savedSounds = 1;
};

TEST_F(SoundChannels, BusyHealthOrBlockChannelDropsTheNewSound) {
    mixer.busy = {1};
    playSound(1, SOUND_HURT);  // a second hurt while the first still plays
    playSound(2, SOUND_SPEEDUP);
    mixer.busy = {1, 2};
    playSound(2, SOUND_BUMP);
    EXPECT_EQ(mixer.played, (Played{{2, SOUND_SPEEDUP}}));
}

TEST_F(SoundChannels, AnyChannelPlaysEvenWhenOthersAreBusy) {
    mixer.busy = {-1, 1, 2};
    playSound(ANY_CHANNEL, SOUND_JUMP);
    EXPECT_EQ(mixer.played, (Played{{ANY_CHANNEL, SOUND_JUMP}}));
}

TEST_F(SoundChannels, UnknownIdsAreIgnored) {
    playSound(ANY_CHANNEL, -1);
    playSound(ANY_CHANNEL, SOUND_COUNT);
    playSound(1, 1000);
    playSound(ANY_CHANNEL, SOUND_PUSH);
    EXPECT_EQ(mixer.played, (Played{{ANY_CHANNEL, SOUND_PUSH}}));
}

TEST_F(SoundChannels, SoundsOffPlaysNothing) {
    settings.sounds = 0;
    playSound(ANY_CHANNEL, SOUND_MENU);
    playSound(1, SOUND_HEAL);
    EXPECT_TRUE(mixer.played.empty());
}

TEST_F(SoundChannels, NoMixerIsSilentNotACrash) {
    setSoundMixer(nullptr);
    playSound(1, SOUND_HEAL);
    EXPECT_TRUE(mixer.played.empty());
}

TEST(SoundFiles, LoadOrderPairsEachFileWithItsId) {
    // Load order is not id order; a file paired with the wrong id plays the
    // wrong effect everywhere in the game.
    const std::vector<std::pair<int, std::string>> expected = {
        {SOUND_EXPLODE, "sounds/explode.wav"}, {SOUND_JUMP, "sounds/jump.wav"},
        {SOUND_MENU, "sounds/menu.wav"},       {SOUND_BUMP, "sounds/bump.wav"},
        {SOUND_SELECT, "sounds/select.wav"},   {SOUND_HURT, "sounds/hurt.wav"},
        {SOUND_HEAL, "sounds/heal.wav"},       {SOUND_SPEEDUP, "sounds/speedup.wav"},
        {SOUND_SLOWDOWN, "sounds/slowdown.wav"}, {SOUND_POWERUP, "sounds/powerup.wav"},
        {SOUND_PUSH, "sounds/push.wav"},       {SOUND_PLACE, "sounds/place.wav"},
        {SOUND_PONG1, "sounds/pong1.wav"},     {SOUND_CHECKPOINT, "sounds/checkpoint.wav"},
        {SOUND_LIFE, "sounds/life.wav"},
    };
    std::vector<std::pair<int, std::string>> actual;
    for (const SoundFile& file : SOUND_LOAD_ORDER) actual.emplace_back(file.id, file.path);
    EXPECT_EQ(actual, expected);
}

}  // namespace
