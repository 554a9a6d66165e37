#include <GL/gl.h>

#include <cstdio>

#include "core/services.h"
#include "modes/timeattack/map_sel.h"
#include "modes/timeattack/record_texts.h"
#include "modes/timeattack/records.h"
#include "modes/timeattack/run_scene.h"
#include "modes/timeattack/time_attack.h"
#include "render/camera.h"
#include "render/play_hud.h"
#include "render/screen_pieces.h"
#include "render/text.h"
#include "sim/view_angle.h"

namespace {

void line(double x, double y, float scale, ScreenColour colour, const char* words) {
    drawText(pixelX(x), pixelY(y), scale, colour.red, colour.green, colour.blue, words);
}

}  // namespace

// R on the list: the selected map's record run, from its start.
void MapSel::watchSelectedRecord() {
    if (mapCount == 0) return;
    const RecordEntry& entry = recordTable[size_t(selected)];
    setProjectionSetter(loadTimeAttackProjection);
    if (!replay.start(entry)) {
        watchRefusedFor = selected;
        return;
    }
    playSound(ANY_CHANNEL, SOUND_SELECT);
    glEnable(GL_LIGHTING);
}

void MapSel::replayKey(int sym) {
    replay.keyDown(sym);
    if (!replay.active()) enter();  // the list as it was, its projection back
}

void MapSel::drawReplay() {
    const RecordEntry& record = replay.record;
    drawRunScene(replay.craft, replay.level, backgroundIndexFor(selected, record.fileName));
    drawRunClock(replay.craft);
    char text[128];
    std::snprintf(text, sizeof text, "Record run of %s", record.fileName.c_str());
    line(0.02, 0.96, 0.8f, SCREEN_CYAN, text);
    const MapRowTexts row = mapRowTexts(record);  // as the list shows them
    std::snprintf(text, sizeof text, "Holder: %s    Record time: %s", row.holder.c_str(), row.time.c_str());
    line(0.02, 0.925, 0.8f, SCREEN_WHITE, text);
    const char* state = replay.atGoal() ? "Goal" : replay.paused ? "Paused" : replay.fast ? "Speed x2" : "";
    line(0.78, 0.11, 0.9f, SCREEN_YELLOW, state);
    line(0.02, 0.02, 0.7f, SCREEN_WHITE, "Space: pause   F: double speed   Escape: back to the list");
    glColor3f(1, 1, 1);
}

void MapSel::drawWatchLine() {
    const bool refused = watchRefusedFor == selected && mapCount > 0;
    line(0.07, 0.13, 0.7f, refused ? ScreenColour{1, 0.5f, 0.5f} : SCREEN_WHITE,
         refused ? "No record run to watch on this map yet." : "R: watch the record run");
}
