#include <gtest/gtest.h>

#include "modes/timeattack/name_entry.h"
#include "sim/run_timer.h"

namespace {

TEST(RunTimer, CarriesOncePerCall) {
    Craft craft;
    addRunTime(craft, 1500);
    EXPECT_EQ(craft.timeMs, 1500);
    EXPECT_EQ(craft.msPart, 500);
    EXPECT_EQ(craft.seconds, 1);
    addRunTime(craft, 2600);  // 3100 in the split, still one carry
    EXPECT_EQ(craft.msPart, 2100);
    EXPECT_EQ(craft.seconds, 2);
    EXPECT_EQ(craft.timeMs, 4100);
    EXPECT_EQ(runTimeOf(craft), 4100);
}

TEST(RunTimer, SecondsCarryIntoMinutes) {
    Craft craft;
    craft.seconds = 59;
    craft.msPart = 990;
    addRunTime(craft, 20);
    EXPECT_EQ(craft.msPart, 10);
    EXPECT_EQ(craft.seconds, 0);
    EXPECT_EQ(craft.minutes, 1);
}

TEST(RunTimer, SplitShowsMinutesSecondsHundredths) {
    TimeSplit none = splitTime(999999);
    EXPECT_EQ(none.minutes, 16u);
    EXPECT_EQ(none.seconds, 39u);
    EXPECT_EQ(none.hundredths, 99u);
    TimeSplit short_run = splitTime(61234);
    EXPECT_EQ(short_run.minutes, 1u);
    EXPECT_EQ(short_run.seconds, 1u);
    EXPECT_EQ(short_run.hundredths, 23u);
}

TEST(NameEntry, AcceptsPrintableAsciiUpToSixteen) {
    std::string name;
    EXPECT_FALSE(appendNameCharacter(name, 31));
    EXPECT_FALSE(appendNameCharacter(name, '~'));
    EXPECT_FALSE(appendNameCharacter(name, 127));
    EXPECT_FALSE(appendNameCharacter(name, 0x100 + 'a'));
    EXPECT_FALSE(appendNameCharacter(name, 0xe9));
    EXPECT_TRUE(appendNameCharacter(name, ' '));
    EXPECT_TRUE(appendNameCharacter(name, '}'));
    for (int i = 0; i < 20; ++i) appendNameCharacter(name, 'x');
    EXPECT_EQ(name.size(), 16u);
    EXPECT_EQ(name.substr(0, 3), " }x");
}

TEST(NameEntry, BackspaceRemovesTheLastCharacter) {
    std::string name = "ab";
    EXPECT_TRUE(eraseNameCharacter(name));
    EXPECT_EQ(name, "a");
    EXPECT_TRUE(eraseNameCharacter(name));
    EXPECT_FALSE(eraseNameCharacter(name));
    EXPECT_EQ(name, "");
}

}  // namespace
