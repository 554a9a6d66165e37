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

TEST(SoundFiles, EveryIdIsLoadedOnceAndLifeComesLast) {
    std::set<int> ids;
    std::set<std::string> paths;
    for (const SoundFile& file : SOUND_LOAD_ORDER) {
        ids.insert(file.id);
        paths.insert(file.path);
        EXPECT_EQ(std::string(file.path).rfind("sounds/", 0), 0u) << file.path;
    }
    EXPECT_EQ(ids.size(), size_t(SOUND_COUNT));
    EXPECT_EQ(paths.size(), size_t(SOUND_COUNT));
    EXPECT_EQ(SOUND_LOAD_ORDER[0].id, SOUND_EXPLODE);
    EXPECT_EQ(SOUND_LOAD_ORDER[SOUND_FILE_COUNT - 1].id, SOUND_LIFE);
    EXPECT_STREQ(SOUND_LOAD_ORDER[SOUND_FILE_COUNT - 1].path, "sounds/life.wav");
}

}  // namespace
