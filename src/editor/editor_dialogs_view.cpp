#include <algorithm>
#include <cstdio>
#include <string>

#include "core/globals.h"
#include "render/textures.h"
#include "editor/editor_overlay.h"
#include "render/screen_pieces.h"
#include "render/text.h"

namespace {

using Colour = ScreenColour;
constexpr Colour WHITE = SCREEN_WHITE;
constexpr Colour MAGENTA = {1, 0, 1};
constexpr Colour GREY = {0.7f, 0.7f, 0.7f};
constexpr Colour WARNING = {1, 0.4f, 0.4f};
constexpr Colour PATH = {0.6f, 0.8f, 1};
constexpr Colour NOTE = {1, 0.85f, 0.3f};
constexpr Colour QUESTION = {1, 1, 0.3f};

void text(double x, double y, float scale, Colour colour, const std::string& words) {
    drawText(pixelX(x), pixelY(y), scale, colour.red, colour.green, colour.blue, words.c_str());
}

Colour chosen(bool isChosen) { return isChosen ? MAGENTA : WHITE; }

void panel(double left, double top, double width, double height) {
    drawPanel(pixelX(left), pixelY(top), pixelX(width), pixelY(height), 1, 1, 1);
}

// The file list: six rows in a white frame, white arrows inside its right edge.
constexpr ListPanel FILE_LIST_PANEL = {0.23, 0.807, 0.516, 0.382, SCREEN_WHITE, 0.78125, 0.03947,
                                       FILE_DIALOG_VISIBLE_ROWS};
constexpr ScrollArrows FILE_LIST_ARROWS = {0.688, 0.7, 0.55, 0.585, 0.765, 0.8, SCREEN_WHITE, {0.2f, 0.2f, 0.2f}};

// The file dialog's lines from the top: its title over the frame, the list,
// the name and what Enter does with it; under the frame the refusal and
// where the level will be listed.
constexpr double FILE_TITLE_Y = 0.85, FILE_TARGET_Y = 0.451, FILE_MESSAGE_Y = 0.412, FILE_NOTE_Y = 0.38;

double fileDialogBottom(const FileDialog& file) {
    if (!file.placementNote().empty()) return FILE_NOTE_Y - 0.03;
    if (!file.message.empty()) return FILE_MESSAGE_Y - 0.03;
    return FILE_LIST_PANEL.top - FILE_LIST_PANEL.height;
}

void drawFileDialog(const FileDialog& file, const std::string& mapsRoot) {
    text(0.28, FILE_TITLE_Y, 1, WHITE, file.title());
    const int count = int(file.entries.size());
    const int last = std::min(count, file.firstVisible + FILE_LIST_PANEL.visibleRows);
    for (int i = file.firstVisible; i < last; ++i)
        text(0.28, listRowY(FILE_LIST_PANEL, i - file.firstVisible), 1, chosen(i == file.selected),
             file.entries[size_t(i)]);
    drawScrollArrows(file.hiddenAbove(), file.hiddenBelow(), FILE_LIST_ARROWS);
    text(0.28, 0.521, 1, WHITE, "Enter filename:");
    text(0.28, 0.48, 1, WHITE, file.name);
    text(0.28, FILE_TARGET_Y, 0.65f, PATH, file.targetLine(mapsRoot));
    // Under the frame, on the dialog's veil.
    if (!file.message.empty()) text(0.24, FILE_MESSAGE_Y, 0.8f, WARNING, file.message);
    text(0.24, FILE_NOTE_Y, 0.7f, NOTE, file.placementNote());
    drawListPanel(FILE_LIST_PANEL);
}

void drawDifficultyDialog(int difficulty) {
    text(0.15, 0.781, 1, WHITE, "Select difficulty: ");
    const char* const names[3] = {"Easy", "Medium", "Hard"};
    const double rows[3] = {0.72, 0.69, 0.66};
    for (int i = 0; i < 3; ++i) text(0.16, rows[i], 1, chosen(i == difficulty), names[i]);
    panel(0.12, 0.807, 0.35, 0.2);
}

void drawTriggerDialog(const EditorModel& model) {
    if (!model.level.validIndex(model.selected)) return;
    const TriggerDialog& t = model.trigger;
    const BlockBody& block = model.level.blocks[size_t(model.selected)].body;
    text(0.19, 0.781, 1, chosen(t.column == COLUMN_TRIGGERED_BY), "Triggered by:");
    text(0.43, 0.781, 1, chosen(t.column == COLUMN_ACTION), "Action:");
    text(0.68, 0.781, 1, chosen(t.column == COLUMN_TRIGGER), "Trigger:");
    const double rows[3] = {0.741, 0.711, 0.681};
    const float small = 0.8f;
    if (isTargeted(model.level, model.selected)) {
        text(0.19, rows[0], small, GREY, "Start");
        text(0.19, rows[1], small, GREY, "Touch");
        text(0.19, rows[2], small, GREY, triggeredByOthersText(model.level, model.selected));
    } else {
        text(0.19, rows[0], small, chosen(t.triggeredBy == TRIGGERED_BY_START), "Start");
        text(0.19, rows[1], small, chosen(t.triggeredBy == TRIGGERED_BY_TOUCH), "Touch");
        text(0.19, rows[2], small, GREY, "Other");
    }
    if (block.has(FLAG_MOVE)) {
        text(0.43, rows[0], small, GREY, "None");
        text(0.43, rows[1], small, chosen(t.action == ACTION_MOVE), t.actionText(block));
        text(0.43, rows[2], small, GREY, "Change Type:");
    } else {
        text(0.43, rows[0], small, chosen(t.action == ACTION_NONE), "None");
        text(0.43, rows[1], small, GREY, "Move");
        text(0.43, rows[2], small, chosen(t.action == ACTION_CHANGE_TYPE), t.actionText(block));
    }
    text(0.68, rows[0], small, chosen(t.trigger == TRIGGER_NONE), "None");
    text(0.68, rows[1], small, chosen(t.trigger == TRIGGER_OTHER), t.targetText());
    panel(0.15, 0.807, 0.7, 0.17);
}

std::string timeText(int32_t ms) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d: %02d: %02d", ms / 60000, (ms % 60000) / 1000, (ms % 1000) / 10);
    return buffer;
}

void drawMedalDialog(const EditorModel& model) {
    const Level& level = model.level;
    text(0.35, 0.781, 1, WHITE, "Please enter times:");
    text(0.27, 0.707, 1, {0.5f, 0.3f, 0.3f}, "Bronze Medal: ");
    text(0.27, 0.647, 1, {0.7f, 0.7f, 0.7f}, "Silver Medal: ");
    text(0.27, 0.587, 1, {1, 0.85f, 0}, "Gold Medal: ");
    text(0.56, 0.707, 1, chosen(model.medals.row == ROW_BRONZE), timeText(level.bronzeTime));
    text(0.56, 0.647, 1, chosen(model.medals.row == ROW_SILVER), timeText(level.silverTime));
    text(0.56, 0.587, 1, chosen(model.medals.row == ROW_GOLD), timeText(level.goldTime));
    text(0.25, 0.545, 0.7f, WARNING, medalTimeWarning(level));
    if (!model.file.message.empty()) text(0.25, 0.505, 0.7f, WARNING, model.file.message);
    panel(0.23, 0.807, 0.516, 0.339);
}

}  // namespace

void drawEditorDialog(const EditorModel& model) {
    switch (model.dialog) {
        case DIALOG_SAVE:
        case DIALOG_LOAD: {
            const double top = FILE_TITLE_Y + 0.01;
            drawVeil(0.23, top, model.file.placementNote().empty() ? 0.516 : 0.57,
                     top - fileDialogBottom(model.file));
            break;
        }
        case DIALOG_MEDALS: drawVeil(0.23, 0.807, 0.516, 0.339); break;
        case DIALOG_BONUS:
        case DIALOG_PUSHER:
        case DIALOG_PONG: drawVeil(0.12, 0.807, 0.35, 0.2); break;
        case DIALOG_TRIGGER: drawVeil(0.15, 0.807, 0.7, 0.17); break;
        default: break;
    }
    switch (model.dialog) {
        case DIALOG_SAVE:
        case DIALOG_LOAD: drawFileDialog(model.file, model.mapsRoot); break;
        case DIALOG_BONUS:
        case DIALOG_PUSHER:
        case DIALOG_PONG: drawDifficultyDialog(model.difficulty.difficulty); break;
        case DIALOG_TRIGGER: drawTriggerDialog(model); break;
        case DIALOG_MEDALS: drawMedalDialog(model); break;
        default: break;
    }
    glColor3f(1, 1, 1);
}

void drawEditorQuestion(const EditorModel& model) {
    if (model.question == EditorQuestion::None) return;
    drawVeil(0.1, 0.34, 0.8, 0.06);
    text(0.12, 0.325, 0.8f, QUESTION, model.questionLine);
    glColor3f(1, 1, 1);
}
