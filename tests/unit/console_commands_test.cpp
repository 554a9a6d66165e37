#include <gtest/gtest.h>

#include <string>

#include "core/globals.h"
#include "core/settings.h"
#include "frontend/console_commands.h"
#include "frontend/console_history.h"

namespace {

// Every test starts from the program's defaults and puts them back, so the
// globals the commands change do not leak into other test files.
class ConsoleCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSettings = settings;
        savedWireframe = wireframe;
        savedDebug = debugView;
    }
    void TearDown() override {
        settings = savedSettings;
        wireframe = savedWireframe;
        debugView = savedDebug;
    }
    Settings savedSettings;
    bool savedWireframe = false;
    bool savedDebug = false;
};

TEST_F(ConsoleCommandTest, SwitchesAnswerWithTheirOwnReply) {
    EXPECT_EQ(runConsoleCommand("debug on").replies, std::vector<std::string>{"Debugmode now on"});
    EXPECT_TRUE(debugView);
    EXPECT_EQ(runConsoleCommand("debug off").replies[0], "Debugmode now off");
    EXPECT_FALSE(debugView);

    settings.speed = 0;
    EXPECT_EQ(runConsoleCommand("speed on").replies[0], "Speed-effect now on");
    EXPECT_EQ(settings.speed, 1);
    settings.glow = 1;
    EXPECT_EQ(runConsoleCommand("glow off").replies[0], "Glow effect now off");
    EXPECT_EQ(settings.glow, 0);
    EXPECT_EQ(runConsoleCommand("shadows on").replies[0], "Shadows now on");
    EXPECT_EQ(settings.shadows, 1);
}

TEST_F(ConsoleCommandTest, WireframeAsksForTheGlStateToFollow) {
    ConsoleCommandResult result = runConsoleCommand("wireframe on");
    EXPECT_TRUE(wireframe);
    EXPECT_TRUE(result.wireframeChanged);
    EXPECT_EQ(result.replies[0], "Wireframemode now on");
    result = runConsoleCommand("wireframe off");
    EXPECT_FALSE(wireframe);
    EXPECT_TRUE(result.wireframeChanged);
    EXPECT_FALSE(runConsoleCommand("debug on").wireframeChanged);
}

TEST_F(ConsoleCommandTest, DetailsAcceptsZeroToThreeOnly) {
    const char* replies[] = {"Details are now on low", "Details are now on medium",
                             "Details are now on high", "Details are now on ultra"};
    for (int level = 0; level < 4; ++level) {
        ConsoleCommandResult result = runConsoleCommand("details " + std::to_string(level));
        EXPECT_EQ(settings.details, level);
        EXPECT_EQ(result.replies, std::vector<std::string>{replies[level]});
    }
    settings.details = 1;
    EXPECT_EQ(runConsoleCommand("details 4").replies.size(), 9u);
    EXPECT_EQ(settings.details, 1);
}

TEST_F(ConsoleCommandTest, MatchingIsExactForSwitches) {
    debugView = false;
    EXPECT_EQ(runConsoleCommand("debug on ").replies.size(), 9u);
    EXPECT_EQ(runConsoleCommand("Debug on").replies.size(), 9u);
    EXPECT_EQ(runConsoleCommand("").replies.size(), 9u);
    EXPECT_FALSE(debugView);
}

TEST_F(ConsoleCommandTest, HelpNamesTheRealRangesInOneColumn) {
    const std::vector<std::string> help = consoleHelpLines(3);
    ASSERT_EQ(help.size(), 9u);
    EXPECT_EQ(help[1].substr(0, HELP_MEANING_COLUMN), "   texset [0-2]          ");
    EXPECT_EQ(help[2].substr(0, HELP_MEANING_COLUMN), "   details [0-3]         ");
    for (size_t i = 1; i < help.size(); ++i) {
        EXPECT_EQ(help[i].find('\t'), std::string::npos) << help[i];
        EXPECT_EQ(help[i][HELP_MEANING_COLUMN - 1], ' ') << help[i];
        EXPECT_NE(help[i][HELP_MEANING_COLUMN], ' ') << help[i];
    }
}

TEST_F(ConsoleCommandTest, TexsetReadsTheNumberAfterTheWord) {
    ConsoleCommandResult result = runConsoleCommand("texset 1");
    EXPECT_EQ(settings.style, 1);
    EXPECT_TRUE(result.reloadTextures);
    EXPECT_EQ(result.replies, std::vector<std::string>{"Changed set of textures"});

    settings.style = 2;
    EXPECT_TRUE(runConsoleCommand("texset").reloadTextures);
    EXPECT_EQ(settings.style, 0);

    // "contains", not "equals": text before the word is ignored.
    runConsoleCommand("please texset 2");
    EXPECT_EQ(settings.style, 2);
}

TEST_F(ConsoleCommandTest, NegativeTexsetFallsBackToTheFirstSet) {
    ConsoleCommandResult result = runConsoleCommand("texset -3");
    EXPECT_EQ(settings.style, 0);
    EXPECT_EQ(result.replies[0], "Changed set of textures");
}

TEST_F(ConsoleCommandTest, TexsetWinsOverAnimspeed) {
    settings.animDivisor = 10;
    runConsoleCommand("animspeed texset 1");
    EXPECT_EQ(settings.style, 1);
    EXPECT_EQ(settings.animDivisor, 10);
}

TEST_F(ConsoleCommandTest, AnimspeedStoresFiftyThreeMinusTheValue) {
    EXPECT_EQ(runConsoleCommand("animspeed 50").replies, std::vector<std::string>{"Speed adjusted"});
    EXPECT_EQ(settings.animDivisor, 3);
    runConsoleCommand("animspeed 0");
    EXPECT_EQ(settings.animDivisor, 53);
    runConsoleCommand("animspeed 43");
    EXPECT_EQ(settings.animDivisor, 10);
    // Not limited to 0..50: a negative speed slows the animation further.
    runConsoleCommand("animspeed -7");
    EXPECT_EQ(settings.animDivisor, 60);
}

TEST_F(ConsoleCommandTest, AnimspeedNeverLeavesAZeroDivisor) {
    for (const char* input : {"animspeed 52", "animspeed 53", "animspeed 54", "animspeed 9999",
                              "animspeed 99999999999999999999"}) {
        settings.animDivisor = 10;
        EXPECT_EQ(runConsoleCommand(input).replies[0], "Speed adjusted") << input;
        EXPECT_GE(settings.animDivisor, 1) << input;
    }
    runConsoleCommand("animspeed 52");
    EXPECT_EQ(settings.animDivisor, 1);
    runConsoleCommand("animspeed -99999999999999999999");
    EXPECT_GT(settings.animDivisor, 53);
}

TEST_F(ConsoleCommandTest, AnimspeedWithoutANumberReadsZero) {
    runConsoleCommand("animspeed");
    EXPECT_EQ(settings.animDivisor, 53);
    runConsoleCommand("animspeed5");
    EXPECT_EQ(settings.animDivisor, 53);
}

class ConsoleHistoryTest : public ::testing::Test {
protected:
    ConsoleHistory history;
};

TEST_F(ConsoleHistoryTest, NewestLineIsLineZero) {
    history.print("first");
    history.print("second");
    EXPECT_STREQ(history.line(0), "second");
    EXPECT_STREQ(history.line(1), "first");
    EXPECT_STREQ(history.line(2), "");
    EXPECT_EQ(history.lineCount(), 2);
}

TEST_F(ConsoleHistoryTest, KeepsOnlyTheNewestTwentyLines) {
    for (int i = 1; i <= 25; ++i) history.print(("line " + std::to_string(i)).c_str());
    EXPECT_EQ(history.lineCount(), 19);
    for (int i = 0; i < ConsoleHistory::LINES; ++i)
        EXPECT_EQ(history.line(i), "line " + std::to_string(25 - i));
}

TEST_F(ConsoleHistoryTest, CountStopsAtNineteen) {
    for (int i = 0; i < 18; ++i) history.print("x");
    EXPECT_EQ(history.lineCount(), 18);
    history.print("x");
    EXPECT_EQ(history.lineCount(), 19);
    history.print("x");
    EXPECT_EQ(history.lineCount(), 19);
}

TEST_F(ConsoleHistoryTest, LongLinesAreCut) {
    std::string longLine(300, 'a');
    history.print(longLine.c_str());
    EXPECT_EQ(std::string(history.line(0)), std::string(127, 'a'));
}

TEST_F(ConsoleHistoryTest, ClearEmptiesEverything) {
    history.print("a");
    history.print("b");
    history.clear();
    EXPECT_EQ(history.lineCount(), 0);
    EXPECT_STREQ(history.line(0), "");
    EXPECT_STREQ(history.line(1), "");
}

}  // namespace
