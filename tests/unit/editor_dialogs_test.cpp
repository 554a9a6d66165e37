// The trigger, medal-times and difficulty dialogs on their own.
#include <gtest/gtest.h>

#include <SDL2/SDL_keycode.h>

#include "editor/editor_dialogs/medal_dialog.h"
#include "editor/editor_dialogs/trigger_dialog.h"
#include "support/sim_levels.h"

namespace {

struct TriggerDriver {
    TriggerDialog dialog;
    BlockBody block;
    int blockCount = 12;

    DialogOutcome press(int sym, int character = 0) { return dialog.key(sym, character, block, blockCount); }
    void digits(const char* text) {
        for (; *text; ++text) press(0, *text);
    }
};

}  // namespace

TEST(EditorTriggerDialog, FlagsEncodeEveryChoiceInItsOwnBits) {
    TriggerDriver t;
    t.block.flags = FLAG_MOVE;  // a block with a motion: the action column edits it
    t.dialog.presetFrom(t.block);
    EXPECT_EQ(t.dialog.action, ACTION_MOVE);
    t.press(SDLK_DOWN);  // column 0: Start -> Touch
    t.press(SDLK_RIGHT);
    t.digits("17");
    t.press(SDLK_s);     // stop at ends
    t.press(SDLK_d);
    t.press(SDLK_w);     // Other
    t.digits("11");
    EXPECT_EQ(t.press(SDLK_RETURN), DialogOutcome::Confirm);
    const uint32_t flags = t.dialog.confirmedFlags(false);
    EXPECT_EQ(flags & (FLAG_TOUCH_TRIGGER | FLAG_START_TRIGGER), FLAG_TOUCH_TRIGGER);
    EXPECT_TRUE(flags & FLAG_MOVE);
    EXPECT_TRUE(flags & FLAG_MOVE_ONCE);
    EXPECT_EQ(movePeriodOf(flags), 17);
    EXPECT_TRUE(flags & FLAG_HAS_TARGET);
    EXPECT_EQ(targetOf(flags), 11);
    EXPECT_FALSE(flags & FLAG_CHANGE_TYPE);
    EXPECT_EQ(flags & 0xf8000000u, 0u);  // no item bits

    // A targeted block keeps no Start or Touch of its own.
    EXPECT_EQ(t.dialog.confirmedFlags(true) & (FLAG_TOUCH_TRIGGER | FLAG_START_TRIGGER), 0u);
}

TEST(EditorTriggerDialog, ChangeTypeCyclesTheEightTypes) {
    TriggerDriver t;
    t.dialog.presetFrom(t.block);
    t.press(SDLK_RIGHT);
    t.press(SDLK_UP);  // None -> Change Type
    EXPECT_EQ(t.dialog.action, ACTION_CHANGE_TYPE);
    EXPECT_EQ(t.dialog.actionText(t.block), "Change Type: None");
    t.press(SDLK_DOWN);  // none -> SPEED
    EXPECT_EQ(t.dialog.changeTypeIndex, 0);
    for (int i = 0; i < 7; ++i) t.press(SDLK_s);
    EXPECT_EQ(t.dialog.actionText(t.block), "Change Type: HEAL ");
    t.press(SDLK_DOWN);
    EXPECT_EQ(t.dialog.changeTypeIndex, 0);  // modulo 8
    t.press(SDLK_DOWN);
    const uint32_t flags = t.dialog.confirmedFlags(false);
    EXPECT_TRUE(flags & FLAG_CHANGE_TYPE);
    EXPECT_EQ(newTypeOf(flags), 1);  // SLOW
    EXPECT_TRUE(flags & FLAG_START_TRIGGER);
    t.press(SDLK_UP);  // Up toggles back to None
    EXPECT_EQ(t.dialog.action, ACTION_NONE);
}

TEST(EditorTriggerDialog, NoTypeOrNoTargetStoresNoneWithoutSpillingIntoOtherFields) {
    TriggerDriver t;
    t.dialog.presetFrom(t.block);
    t.press(SDLK_RIGHT);
    t.press(SDLK_UP);      // Change Type, no type chosen
    t.press(SDLK_RIGHT);
    t.press(SDLK_UP);      // Other, no index typed
    EXPECT_EQ(t.dialog.targetText(), "Other: ");
    const uint32_t flags = t.dialog.confirmedFlags(false);
    EXPECT_EQ(flags, FLAG_START_TRIGGER);
}

TEST(EditorTriggerDialog, PeriodDigitsStayWithin31AndZeroIsStoredAsOne) {
    TriggerDriver t;
    t.block.flags = FLAG_MOVE;
    t.dialog.presetFrom(t.block);
    t.press(SDLK_RIGHT);
    t.digits("40");
    EXPECT_EQ(t.dialog.period, 4);  // 40 is refused
    t.press(SDLK_BACKSPACE);
    EXPECT_EQ(t.dialog.period, 0);
    t.digits("31");
    EXPECT_EQ(t.dialog.period, 31);
    t.digits("9");
    EXPECT_EQ(t.dialog.period, 31);
    t.press(SDLK_BACKSPACE);
    t.press(SDLK_BACKSPACE);
    EXPECT_EQ(movePeriodOf(t.dialog.confirmedFlags(false)), 1);
}

TEST(EditorTriggerDialog, TargetDigitsStayBelowTheBlockCount) {
    TriggerDriver t;
    t.dialog.presetFrom(t.block);
    t.press(SDLK_d);
    t.press(SDLK_d);
    t.digits("5");
    EXPECT_EQ(t.dialog.targetIndex, -1);  // digits only count with Other chosen
    t.press(SDLK_DOWN);
    t.digits("15");
    EXPECT_EQ(t.dialog.targetIndex, 1);  // with 12 blocks, 15 is refused
    t.digits("1");
    EXPECT_EQ(t.dialog.targetIndex, 11);
    t.press(SDLK_BACKSPACE);
    t.press(SDLK_BACKSPACE);
    EXPECT_EQ(t.dialog.targetIndex, 0);
    t.blockCount = 20000;
    t.digits("8192");
    EXPECT_EQ(t.dialog.targetIndex, 819);  // TARGET holds 13 bits
    t.press(SDLK_KP_1);
    EXPECT_EQ(t.dialog.targetIndex, 8191);
}

TEST(EditorTriggerDialog, PresetReadsTheBlockAndKeepsAOneWayMotion) {
    BlockBody body;
    body.flags = withTarget(withMovePeriod(FLAG_MOVE | FLAG_MOVE_ONCE | FLAG_TOUCH_TRIGGER | FLAG_HAS_TARGET, 6), 3);
    TriggerDialog dialog;
    dialog.presetFrom(body);
    EXPECT_EQ(dialog.triggeredBy, TRIGGERED_BY_TOUCH);
    EXPECT_EQ(dialog.cursor, TRIGGERED_BY_TOUCH);
    EXPECT_EQ(dialog.action, ACTION_MOVE);
    EXPECT_EQ(dialog.trigger, TRIGGER_OTHER);
    EXPECT_EQ(dialog.targetIndex, 3);
    EXPECT_EQ(dialog.changeTypeIndex, -1);
    EXPECT_EQ(dialog.actionText(body), "Move: 6  1");
    EXPECT_EQ(dialog.confirmedFlags(false), body.flags);  // unchanged when confirmed as it is
}

TEST(EditorTriggerDialog, OtherListNamesTheTriggeringBlocksUpTo29Characters) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "block plain pos=0,0,0 flags=HAS_TARGET target=39\n";
    Level level = levelFromText(text);
    EXPECT_EQ(blocksTargeting(level, 39).size(), 39u);  // itself excluded
    const std::string others = triggeredByOthersText(level, 39);
    EXPECT_EQ(others.rfind("Other: 0,1,2,", 0), 0u);
    EXPECT_LE(others.size(), 29u + 3u);
    EXPECT_FALSE(isTargeted(level, 5));
}

TEST(EditorMedalDialog, DigitsReplaceOnePositionEach) {
    EXPECT_EQ(replaceTimeDigit(0, 0, 9), 5400000);  // 90 minutes
    EXPECT_EQ(replaceTimeDigit(754320, 0, 2), 1200000 + 154320);
    EXPECT_EQ(replaceTimeDigit(754320, 1, 0), 754320 - 120000);  // 12:34.32 -> 10:34.32
    EXPECT_EQ(replaceTimeDigit(754320, 3, 9), 754320 + 5000);
    EXPECT_EQ(replaceTimeDigit(754320, 4, 0), 754020);
    EXPECT_EQ(replaceTimeDigit(754320, 5, 7), 754370);

    Level level;
    MedalDialog dialog;
    dialog.open();
    for (char c : std::string("0130005")) dialog.key(0, c, level);  // six digits, then wraps to position 0
    EXPECT_EQ(level.bronzeTime, 5 * 600000 + 90000 + 0);
    EXPECT_EQ(dialog.position, 1);
    dialog.key(SDLK_DOWN, 0, level);
    EXPECT_EQ(dialog.row, ROW_SILVER);
    EXPECT_EQ(dialog.position, 0);
    dialog.key(SDLK_UP, 0, level);
    dialog.key(SDLK_UP, 0, level);
    EXPECT_EQ(dialog.row, ROW_GOLD);
}

TEST(EditorMedalDialog, EnterOrdersGoldSilverBronze) {
    Level level;
    level.bronzeTime = 10000;
    level.silverTime = 30000;
    level.goldTime = 20000;
    MedalDialog dialog;
    EXPECT_EQ(dialog.key(SDLK_RETURN, 0, level), DialogOutcome::Confirm);
    EXPECT_EQ(level.goldTime, 10000);
    EXPECT_EQ(level.silverTime, 20000);
    EXPECT_EQ(level.bronzeTime, 30000);
    EXPECT_EQ(dialog.key(SDLK_ESCAPE, 0, level), DialogOutcome::Cancel);
}

TEST(EditorMedalDialog, TimesFromADriveAreSlowerBy7_30And60PercentCutToTheHundredth) {
    struct Case {
        int32_t drivenMs, gold, silver, bronze;
    };
    for (const Case& c : {Case{10000, 10700, 13000, 16000}, Case{23456, 25090, 30490, 37520},
                          Case{4000000, 4280000, 5200000, 5999990}}) {
        Level level;
        setMedalTimesFrom(level, c.drivenMs);
        EXPECT_EQ(level.goldTime, c.gold) << c.drivenMs;
        EXPECT_EQ(level.silverTime, c.silver) << c.drivenMs;
        EXPECT_EQ(level.bronzeTime, c.bronze) << c.drivenMs;
    }
}

TEST(EditorDifficultyDialog, CyclesAndOnlyEnterLeaves) {
    DifficultyDialog dialog;
    dialog.key(SDLK_UP);
    EXPECT_EQ(dialog.difficulty, 2);
    dialog.key(SDLK_DOWN);
    EXPECT_EQ(dialog.difficulty, 0);
    EXPECT_EQ(dialog.key(SDLK_ESCAPE), DialogOutcome::Stay);
    EXPECT_EQ(dialog.key(SDLK_RETURN), DialogOutcome::Confirm);
}
