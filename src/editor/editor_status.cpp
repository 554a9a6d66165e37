// What the cursor is over: the block to highlight, the toolbar icon to
// name, and the status line with the tool, the cursor in level units and
// the block count.
#include <string>

#include "editor/editor_model.h"

namespace {

// The level text's type names, so an author reads the same word in both.
const char* const BLOCK_TOOL_NAMES[BLOCK_TYPE_COUNT] = {"plain", "SPEED", "SLOW", "LEFT",  "RIGHT", "HURT",
                                                         "ICE",   "CRAZY", "HEAL", "JUMP", "GOAL",  "NOJUMP"};

}  // namespace

std::string toolName(int tool) {
    if (tool >= 0 && tool < BLOCK_TYPE_COUNT) return std::string(BLOCK_TOOL_NAMES[tool]) + " block";
    switch (tool) {
        case TOOL_CHECKPOINT: return "Checkpoint gate";
        case TOOL_PONG: return "Pong court";
        case TOOL_BONUS: return "Bonus craft";
        case TOOL_PUSHER: return "Pusher craft";
        case TOOL_POWERUP: return "Powerup";
        default: return "";
    }
}

int EditorModel::hoveredBlock() const {
    if (!mouseSeen || dialog != DIALOG_NONE || question != EditorQuestion::None) return -1;
    if (mouseX > screenWidth * 0.9375 || (view == VIEW_TOP && mouseX < screenWidth * 0.068) ||
        driveButtonAt(mouseX, mouseY))
        return -1;
    WindowPoint last;
    return blockAt(projection(), mouseX, screenHeight - mouseY, last);
}

std::string EditorModel::hoveredIconName() const {
    if (!mouseSeen || dialog != DIALOG_NONE || question != EditorQuestion::None) return "";
    if (mouseX > screenWidth * 0.9375) {
        switch (toolbarButtonAt(mouseY)) {
            case ToolbarButton::ViewToggle: return view == VIEW_TOP ? "Side view" : "Top view";
            case ToolbarButton::NewLevel: return "New level";
            case ToolbarButton::Save: return "Save level";
            case ToolbarButton::Load: return "Load level";
            case ToolbarButton::None: break;
        }
        if (view != VIEW_TOP || mouseY < screenHeight * 0.25) return "";
        return toolName(blockToolAt(mouseY));
    }
    if (driveButtonAt(mouseX, mouseY)) return "Test-drive (F5)";
    if (view == VIEW_TOP && mouseX < screenWidth * 0.068) return toolName(itemToolAt(mouseY));
    return "";
}

bool EditorModel::cursorLevelPoint(int& across, int& along) const {
    if (!mouseSeen) return false;
    const ViewProjection view3d = projection();
    // Top view looks straight down and side view along x, so every point of
    // the plane through the origin lies at the origin's depth.
    WindowPoint origin;
    Point3 world;
    if (!view3d.project({0, 0, 0}, origin) ||
        !view3d.unproject({double(mouseX), double(screenHeight - mouseY), origin.depth}, world))
        return false;
    across = int(view == VIEW_TOP ? world.x : world.y);
    along = int(world.z);
    return true;
}

std::string EditorModel::statusText() const {
    std::string text = "Tool: " + toolName(tool);
    int across = 0, along = 0;
    if (cursorLevelPoint(across, along))
        text += std::string("   ") + (view == VIEW_TOP ? "x " : "y ") + std::to_string(across) + "  z " +
                std::to_string(along);
    return text + "   Blocks: " + std::to_string(level.blockCount());
}
