#include <string>

#include "core/globals.h"
#include "render/textures.h"
#include "editor/editor_overlay.h"
#include "render/screen_pieces.h"
#include "render/text.h"

namespace {

// An icon is drawn leftward and upward from its anchor (its lower right
// corner); the current tool's icon stands a little to the right.
void drawIcon(int slot, double anchorX, double anchorY, double width, double height, bool current,
              float uLeft = 0, float uRight = 1, float vBottom = 1, float vTop = 0) {
    const double shift = current ? 0.01 : 0.0;
    glColor3f(1, 1, 1);
    drawFlatPiece(textureFrame(slot, 0), anchorX - width + shift, anchorY, anchorX + shift, anchorY + height, uLeft,
                  uRight, vBottom, vTop);
}

constexpr double ICON_WIDTH = 0.0264, ICON_HEIGHT = 0.03516;
constexpr double ITEM_WIDTH = 0.0274, ITEM_HEIGHT = 0.03616;
// One item step below the powerup tool: rows 0.338..0.374 of the window
// from the top, where the model takes its clicks.
constexpr double DRIVE_ICON_X = 0.046, DRIVE_ICON_Y = 0.6262;

const int TOOL_SLOTS[BLOCK_TYPE_COUNT] = {0, 1, 2, 3, 4, 5, 6, TEX_TEX9, TEX_TEX10, TEX_TEX11, TEX_TEX12, TEX_TEX13};

// Tools 12..15 are the quarters of the "single" image: (u, v) ranges.
const float ITEM_QUARTERS[4][4] = {
    {0.49f, 1.0f, 0.49f, 1.0f},  // checkpoint
    {0.0f, 0.49f, 0.0f, 0.49f},  // pong court
    {0.49f, 1.0f, 0.0f, 0.49f},  // bonus craft
    {0.0f, 0.49f, 0.49f, 1.0f},  // pusher craft
};

// The hovered icon's name at the cursor's height, beside the column: to the
// left of the right-hand column, to the right of the item column.
void drawIconName(const EditorModel& model) {
    const std::string name = model.hoveredIconName();
    if (name.empty() || glowPass) return;
    const float scale = 0.8f;
    const double width = name.size() * 0.0146 * scale + 0.01;
    const double height = 0.026 * scale + 0.01;
    const bool right = model.mouseX > screenWidth / 2;
    const double left = right ? 0.925 - width : 0.075;
    const double top = 1.0 - double(model.mouseY) / screenHeight + height / 2;
    drawVeil(left, top, width, height);
    drawText(pixelX(left + 0.005), pixelY(top - 0.005), scale, 1, 1, 1, name.c_str());
}

}  // namespace

void drawEditorToolbar(const EditorModel& model) {
    double x = 0.97, y = 0.93;
    for (int slot : {TEX_LEV03, TEX_LEV05, TEX_LEV01, TEX_LEV02}) {
        drawIcon(slot, x, y, ICON_WIDTH, ICON_HEIGHT, false);
        y -= 0.053;
    }
    const bool top = model.view == VIEW_TOP;
    if (top) {
        y -= 0.07 - 0.053;
        for (int tool = 0; tool < BLOCK_TYPE_COUNT; ++tool) {
            drawIcon(TOOL_SLOTS[tool], x, y, ICON_WIDTH, ICON_HEIGHT, model.tool == tool);
            if (tool < BLOCK_TYPE_COUNT - 1) y -= 0.0598;
        }
        x -= 0.924;
        y += 0.882;
        for (int item = 0; item < 4; ++item) {
            const float* q = ITEM_QUARTERS[item];
            drawIcon(TEX_SINGLE, x, y, ITEM_WIDTH, ITEM_HEIGHT, model.tool == TOOL_CHECKPOINT + item, q[0], q[1], q[3],
                     q[2]);
            y -= 0.0598;
        }
        drawIcon(TEX_LEV04, x, y, ITEM_WIDTH, ITEM_HEIGHT, model.tool == TOOL_POWERUP);
    }
    // The test-drive button stands under the item tools in both views; in
    // side view its box is its own.
    drawIcon(TEX_LEV06, DRIVE_ICON_X, DRIVE_ICON_Y, ITEM_WIDTH, ITEM_HEIGHT, false);
    drawPanel(pixelX(0.928), pixelY(0.9896), pixelX(0.0684), pixelY(0.964), 1, 1, 1);
    if (top) drawPanel(0, pixelY(0.9896), pixelX(0.0684), pixelY(0.39), 1, 1, 1);
    else drawPanel(0, pixelY(0.675), pixelX(0.0684), pixelY(0.065), 1, 1, 1);
    drawIconName(model);
}
