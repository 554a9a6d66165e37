#include <GL/gl.h>

#include "editor/editor_view.h"
#include "modes/timeattack/run_scene.h"
#include "render/play_hud.h"
#include "render/screen_pieces.h"
#include "render/text.h"

void drawTestDrive(TestDrive& drive) {
    drawRunScene(drive.run.craft, drive.run.level, 0);
    drawRunClock(drive.run.craft);
    drawText(pixelX(0.02), pixelY(0.96), 0.8f, 0.6f, 1, 0.6f, "Test-drive    Escape: back to the editor");
    glColor3f(1, 1, 1);
}
