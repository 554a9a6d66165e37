#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/level.h"

// The trigger dialog: what starts a block (Start, Touch, or another block),
// what it does (move, change type) and which block it triggers in turn.

enum TriggerColumn : int { COLUMN_TRIGGERED_BY = 0, COLUMN_ACTION = 1, COLUMN_TRIGGER = 2 };
enum TriggeredBy : int { TRIGGERED_BY_START = 0, TRIGGERED_BY_TOUCH = 1 };
enum TriggerAction : int { ACTION_NONE = 0, ACTION_MOVE = 1, ACTION_CHANGE_TYPE = 2 };
enum TriggerTarget : int { TRIGGER_NONE = 0, TRIGGER_OTHER = 2 };

constexpr int TYPE_NAME_COUNT = 8;
// Names of NEW_TYPE 0..7 (block types 1..8), five characters each.
extern const char* const TYPE_NAMES[TYPE_NAME_COUNT];

// The other blocks whose trigger names block `index` (FLAG_HAS_TARGET set
// and TARGET equal to it), in level order.
std::vector<int> blocksTargeting(const Level& level, int index);
inline bool isTargeted(const Level& level, int index) { return !blocksTargeting(level, index).empty(); }

enum class DialogOutcome { Stay, Confirm, Cancel };

struct TriggerDialog {
    int column = COLUMN_TRIGGERED_BY;
    int cursor = 0;
    int triggeredBy = TRIGGERED_BY_START;
    int action = ACTION_NONE;
    int trigger = TRIGGER_NONE;
    int period = 0;            // 0..31
    bool stopAtEnds = false;
    int changeTypeIndex = -1;  // -1: none, else NEW_TYPE 0..7
    int targetIndex = -1;      // -1: none

    void reset() { *this = TriggerDialog{}; }
    // The `e` key: the choices the block's flags hold.
    void presetFrom(const BlockBody& body);
    // Releasing a drag of a block with a motion: as presetFrom, with the
    // action Move.
    void presetForMotion(const BlockBody& body);

    // One key press; `block` is the block the dialog edits, `blockCount` the
    // level's size (target indices stay below it).
    DialogOutcome key(int sym, int character, const BlockBody& block, int blockCount);

    // The flags Enter stores. `targeted`: other blocks trigger this one, so
    // it keeps no Start or Touch trigger of its own. A Change Type without a
    // type or an Other without a target index stores nothing for that part.
    uint32_t confirmedFlags(bool targeted) const;

    // The option texts as drawn, for the view and the tests.
    std::string actionText(const BlockBody& block) const;
    std::string targetText() const;
};

// "Other: " and the indices of the blocks that trigger `index`, separated by
// ","; no index is added once the text is longer than 29 characters.
std::string triggeredByOthersText(const Level& level, int index);

// '0'..'9' from the typed character or the key (main row or keypad), else -1.
int digitOfKey(int sym, int character);
