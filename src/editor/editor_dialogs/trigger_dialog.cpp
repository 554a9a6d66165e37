#include "editor/editor_dialogs/trigger_dialog.h"

#include <SDL2/SDL_keycode.h>

#include <cstdio>

const char* const TYPE_NAMES[TYPE_NAME_COUNT] = {"SPEED", "SLOW ", "LEFT ", "RIGHT", "HURT ", "ICE  ", "CRAZY", "HEAL "};

std::vector<int> blocksTargeting(const Level& level, int index) {
    std::vector<int> found;
    for (int k = 0; k < level.blockCount(); ++k) {
        const BlockBody& body = level.blocks[size_t(k)].body;
        if (k != index && body.has(FLAG_HAS_TARGET) && targetOf(body.flags) == index) found.push_back(k);
    }
    return found;
}

std::string triggeredByOthersText(const Level& level, int index) {
    std::string text = "Other: ";
    bool first = true;
    for (int k : blocksTargeting(level, index)) {
        if (text.size() > 29) break;
        if (!first) text += ",";
        text += std::to_string(k);
        first = false;
    }
    return text;
}

int digitOfKey(int sym, int character) {
    if (character >= '0' && character <= '9') return character - '0';
    if (sym >= SDLK_0 && sym <= SDLK_9) return sym - SDLK_0;
    if (sym == SDLK_KP_0) return 0;  // SDL2 numbers keypad 0 after keypad 9
    if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return sym - SDLK_KP_1 + 1;
    return -1;
}

void TriggerDialog::presetFrom(const BlockBody& body) {
    reset();
    if (body.has(FLAG_START_TRIGGER)) triggeredBy = TRIGGERED_BY_START;
    else if (body.has(FLAG_TOUCH_TRIGGER)) triggeredBy = TRIGGERED_BY_TOUCH;
    if (body.has(FLAG_CHANGE_TYPE)) action = ACTION_CHANGE_TYPE;
    else if (body.has(FLAG_MOVE)) action = ACTION_MOVE;
    if (body.has(FLAG_HAS_TARGET)) trigger = TRIGGER_OTHER;
    period = movePeriodOf(body.flags);
    // Opening and confirming the dialog unchanged must not drop a one-way motion.
    stopAtEnds = body.has(FLAG_MOVE_ONCE);
    if (body.has(FLAG_CHANGE_TYPE)) changeTypeIndex = newTypeOf(body.flags);
    if (body.has(FLAG_HAS_TARGET)) targetIndex = targetOf(body.flags);
    column = COLUMN_TRIGGERED_BY;
    cursor = triggeredBy;
}

void TriggerDialog::presetForMotion(const BlockBody& body) {
    presetFrom(body);
    action = ACTION_MOVE;
    stopAtEnds = body.has(FLAG_MOVE_ONCE);
}

DialogOutcome TriggerDialog::key(int sym, int character, const BlockBody& block, int blockCount) {
    switch (sym) {
        case SDLK_UP:
        case SDLK_DOWN:
        case SDLK_w:
        case SDLK_s: {
            const bool down = sym == SDLK_DOWN || sym == SDLK_s;
            if (column == COLUMN_TRIGGERED_BY) {
                triggeredBy = triggeredBy == TRIGGERED_BY_START ? TRIGGERED_BY_TOUCH : TRIGGERED_BY_START;
                cursor = triggeredBy;
            } else if (column == COLUMN_ACTION) {
                if (block.has(FLAG_MOVE)) {
                    action = ACTION_MOVE;
                    stopAtEnds = !stopAtEnds;
                } else if (action == ACTION_CHANGE_TYPE && down) {
                    changeTypeIndex = (changeTypeIndex + 1) % TYPE_NAME_COUNT;  // from none to 0
                } else {
                    action = action == ACTION_CHANGE_TYPE ? ACTION_NONE : ACTION_CHANGE_TYPE;
                }
                cursor = action;
            } else {
                trigger = trigger == TRIGGER_OTHER ? TRIGGER_NONE : TRIGGER_OTHER;
                cursor = trigger;
            }
            return DialogOutcome::Stay;
        }
        case SDLK_RIGHT:
        case SDLK_d:
            if (column < COLUMN_TRIGGER) ++column;
            cursor = column == COLUMN_ACTION ? action : trigger;
            return DialogOutcome::Stay;
        case SDLK_LEFT:
        case SDLK_a:
            if (column > COLUMN_TRIGGERED_BY) --column;
            cursor = column == COLUMN_ACTION ? action : triggeredBy;
            return DialogOutcome::Stay;
        case SDLK_BACKSPACE:
            if (column == COLUMN_ACTION && action == ACTION_MOVE) period /= 10;
            if (column == COLUMN_TRIGGER && trigger == TRIGGER_OTHER) targetIndex /= 10;  // -1 stays -1
            return DialogOutcome::Stay;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return DialogOutcome::Confirm;
        case SDLK_ESCAPE: return DialogOutcome::Cancel;
        default: break;
    }
    const int digit = digitOfKey(sym, character);
    if (digit < 0) return DialogOutcome::Stay;
    if (column == COLUMN_ACTION && action == ACTION_MOVE) {
        // Digits append while the period stays a 5-bit field: 4 then 0 keeps 4.
        if (period * 10 + digit <= int(MOVE_PERIOD_MASK)) period = period * 10 + digit;
    } else if (column == COLUMN_TRIGGER && trigger == TRIGGER_OTHER) {
        const int typed = targetIndex < 0 ? digit : targetIndex * 10 + digit;
        if (typed < blockCount && typed <= int(TARGET_MASK)) targetIndex = typed;
    }
    return DialogOutcome::Stay;
}

uint32_t TriggerDialog::confirmedFlags(bool targeted) const {
    uint32_t flags = 0;
    if (!targeted) flags |= triggeredBy == TRIGGERED_BY_TOUCH ? FLAG_TOUCH_TRIGGER : FLAG_START_TRIGGER;
    if (action == ACTION_MOVE) {
        flags |= FLAG_MOVE;
        flags = withMovePeriod(flags, period == 0 ? 1 : period);
        if (stopAtEnds) flags |= FLAG_MOVE_ONCE;
    } else if (action == ACTION_CHANGE_TYPE && changeTypeIndex >= 0) {
        flags |= FLAG_CHANGE_TYPE;
        flags = withNewType(flags, changeTypeIndex);
    }
    if (trigger == TRIGGER_OTHER && targetIndex >= 0) {
        flags |= FLAG_HAS_TARGET;
        flags = withTarget(flags, targetIndex);
    }
    return flags;
}

std::string TriggerDialog::actionText(const BlockBody& block) const {
    char text[48];
    if (block.has(FLAG_MOVE)) {
        std::snprintf(text, sizeof text, "Move: %d%s", period, stopAtEnds ? "  1" : " oo");
        return text;
    }
    if (changeTypeIndex < 0) return "Change Type: None";
    std::snprintf(text, sizeof text, "Change Type: %s", TYPE_NAMES[changeTypeIndex]);
    return text;
}

std::string TriggerDialog::targetText() const {
    if (targetIndex < 0) return "Other: ";  // no index typed yet
    return "Other: " + std::to_string(targetIndex);
}
