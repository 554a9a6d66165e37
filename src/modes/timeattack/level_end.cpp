#include "modes/timeattack/level_end.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>

#include "core/game_paths.h"
#include "modes/timeattack/ghost.h"
#include "render/screen_pieces.h"
#include "modes/timeattack/map_sel.h"
#include "modes/timeattack/name_entry.h"
#include "modes/timeattack/record_save.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "sim/run_timer.h"
#include "modes/timeattack/time_attack.h"
#include "render/text.h"

namespace {

TimeAttack& play() { return stateObject<TimeAttack>(STATE_TIMEATTACK); }

RecordEntry* selectedEntry() {
    int index = play().mapIndex;
    if (index < 0 || index >= int(recordTable.size())) return nullptr;
    return &recordTable[size_t(index)];
}

int medalOfRun() {
    const TimeAttackRun& run = play().run;
    return medalFor(runTimeOf(run.craft), run.level.goldTime, run.level.silverTime, run.level.bronzeTime);
}

void printLine(double x, double y, float scale, const char* format, ...) __attribute__((format(printf, 4, 5)));
void printLine(double x, double y, float scale, const char* format, ...) {
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    drawText(pixelX(x), pixelY(y), scale, 1, 1, 1, text);
}

}  // namespace

void LevelEnd::enter() {
    glDisable(GL_LIGHTING);
    typedName.clear();
    stored = false;
    saveFailed = false;
}

int LevelEnd::store() {
    const TimeAttackRun& run = play().run;
    RecordEntry* entry = selectedEntry();
    if (!run.craft.finished || entry == nullptr || stored) return 0;
    stored = true;
    const RecordEntry previous = *entry;
    entry->recordTime = uint32_t(run.craft.timeMs);
    entry->holder = typedName.substr(0, RECORD_HOLDER_SIZE - 1);
    entry->medal = medalOfRun();
    // A record the file does not hold is no record: the table goes back to
    // the kept one (the next run races it, beside its ghost), and the ghost
    // file stays the run of that kept record.
    const auto writeRecords = [] { return writeHighscores(userFileForWriting(play().recordsFile), recordTable); };
    if (saveRecordWithGhost(ghost, run.levelPath, *entry, writeRecords) != 0) {
        *entry = previous;
        saveFailed = true;
        return -1;
    }
    return 0;
}

int LevelEnd::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type == SDL_TEXTINPUT)
        for (const char* c = event.text.text; *c; ++c) appendNameCharacter(typedName, static_cast<unsigned char>(*c));
    if (event.type != SDL_KEYDOWN) return 0;
    switch (key.sym) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            // A record that could not be saved keeps the player here, reading
            // so; the next Enter or Escape leaves.
            if (store() == 0) switchToState(STATE_TIMEATTACK);
            break;
        case SDLK_ESCAPE:
            if (store() == 0) switchToState(play().exitState);
            break;
        case SDLK_BACKSPACE: eraseNameCharacter(typedName); break;
        default: break;
    }
    return 0;
}

void LevelEnd::update(int) {}

void LevelEnd::draw() {
    drawListBackdrop();
    if (play().run.craft.finished)
        drawNewRecord();
    else
        drawWithoutRecord();
}

void LevelEnd::drawWithoutRecord() {
    const RecordScreenTexts texts = recordScreenTexts(play().run.craft, selectedEntry(), false);
    // A light red, readable on the night backdrop.
    drawTitleStrip(0.16f, 0.842f, 0.86f, 0.932f, 0.66f, 0.76f, 1, 0.35f, 0.3f);
    printLine(0.198, 0.65, 1, "%s", texts.yourTime.c_str());
    printLine(0.198, 0.586, 1, "%s", texts.recordTime.c_str());
    if (!texts.difference.empty()) printLine(0.198, 0.521, 1, "%s", texts.difference.c_str());
    drawPanel(pixelX(0.029), pixelY(0.82), pixelX(0.941), pixelY(0.651), 1, 0, 0);
}

void LevelEnd::drawNewRecord() {
    const RecordScreenTexts texts = recordScreenTexts(play().run.craft, selectedEntry(), true);
    drawTitleStrip(0.206f, 0.845f, 0.906f, 0.902f, 0.77f, 0.84f, 0, 1, 0);
    // The medal's words, centred by their size.
    static const struct {
        const char* text;
        double x;
        float scale;
    } won[] = {{"You won a GOLD medal!", 0.307, 1.2f}, {"You won a SILVER medal!", 0.31, 1.1f},
               {"You won a BRONZE medal!", 0.327, 1.0f}};
    const int medal = medalOfRun();
    if (const MedalLook* look = medalLook(medal))
        drawText(pixelX(won[medal].x), pixelY(0.75), won[medal].scale, look->red, look->green, look->blue,
                 won[medal].text);
    printLine(0.197, 0.65, 1, "%s", texts.yourTime.c_str());
    printLine(0.197, 0.586, 1, "%s", texts.recordTime.c_str());
    if (!texts.difference.empty()) printLine(0.197, 0.495, 1, "%s", texts.difference.c_str());
    if (saveFailed)
        drawText(pixelX(0.197), pixelY(0.4), 1, 1, 0.2f, 0.2f, RECORD_NOT_SAVED_TEXT);
    else
        printLine(0.197, 0.4, 1, "Enter your name: %s", typedName.c_str());
    drawPanel(pixelX(0.029), pixelY(0.82), pixelX(0.941), pixelY(0.651), 0, 1, 0);
}
