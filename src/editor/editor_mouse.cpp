// The editing view's mouse: the toolbar and item strip, picking blocks by
// their projected corners, placing blocks and items, and dragging.
#include <algorithm>

#include "core/services.h"
#include "editor/editor_model.h"
#include "editor/editor_snap.h"

namespace {

constexpr int BUTTON_LEFT = 1;
constexpr int BUTTON_MIDDLE = 2;
constexpr int BUTTON_WHEEL_UP = 4;
constexpr int BUTTON_WHEEL_DOWN = 5;

int fraction(int size, double part) { return int(size * part); }

// Un-projected points drop their fraction, toward zero.
int truncated(double value) { return int(value); }

// pointX 0 means "no second point" in a stored level, so an item or a far
// end that would land exactly on x = 0 is put one unit beside it.
int storablePointX(int x) { return x == 0 ? 1 : x; }

}  // namespace

void EditorModel::mouseDown(int button, int x, int y) {
    if (driving()) return;
    const int W = screenWidth;
    mouseSeen = true;
    mouseX = x;
    mouseY = y;
    if (button == BUTTON_WHEEL_UP || button == BUTTON_WHEEL_DOWN) {
        const bool closer = button == BUTTON_WHEEL_UP;
        if (view == VIEW_TOP) {
            if (closer && camera.eye.y > 12000) camera.eye.y -= 1500;
            if (!closer && camera.eye.y < 120000) camera.eye.y += 1500;
        } else {
            int startX = 0;
            if (!level.blocks.empty()) startX = level.blocks[0].body.x - level.blocks[0].body.width / 2;
            if (closer && camera.eye.x < startX - 16000) camera.eye.x += 1500;
            if (!closer && camera.eye.x > startX - 120000) camera.eye.x -= 1500;
        }
        return;
    }
    if (button == BUTTON_MIDDLE) {
        if (view == VIEW_TOP) {
            camera.target.x = camera.eye.x;
            camera.eye.y = 48000;
            camera.target.z = camera.eye.z;
        } else {
            camera.eye.x = -56000;
            camera.target.y = camera.eye.y;
            camera.target.z = camera.eye.z;
        }
        return;
    }
    if (button != BUTTON_LEFT || dialog != DIALOG_NONE || dragging || question != EditorQuestion::None) return;
    if (x > W * 0.9375) {
        toolbarClick(x, y);
        return;
    }
    if (driveButtonAt(x, y)) {
        playSound(ANY_CHANNEL, SOUND_SELECT);
        startTestDrive();
        return;
    }
    if (view == VIEW_TOP && x < W * 0.068) {
        itemStripClick(x, y);
        return;
    }
    viewClick(x, y);
}

int EditorModel::blockToolAt(int y) const {
    const int H = screenHeight;
    // Windows under 18 pixels high have no room for the tool icons.
    const int step = fraction(H, 0.0586);
    if (step <= 0) return -1;
    return std::max(0, std::min(BLOCK_TYPE_COUNT - 1, (y - fraction(H, 0.261)) / step));
}

int EditorModel::itemToolAt(int y) const {
    const int H = screenHeight;
    if (y < H * 0.255) {
        const int step = fraction(H, 0.0586);
        if (step <= 0) return -1;
        const int chosen = (y - fraction(H, 0.03)) / step + TOOL_CHECKPOINT;
        return chosen >= TOOL_CHECKPOINT && chosen <= TOOL_PUSHER ? chosen : -1;
    }
    return y > H * 0.28 && y < H * 0.32 ? TOOL_POWERUP : -1;
}

ToolbarButton EditorModel::toolbarButtonAt(int y) const {
    const int H = screenHeight;
    if (y >= H * 0.25) return ToolbarButton::None;
    if (y > H * 0.19) return ToolbarButton::Load;
    if (y > H * 0.13) return ToolbarButton::Save;
    if (y > H * 0.086) return ToolbarButton::NewLevel;
    if (y < H * 0.086) return ToolbarButton::ViewToggle;
    return ToolbarButton::None;
}

bool EditorModel::driveButtonAt(int x, int y) const {
    return x < screenWidth * 0.068 && y > screenHeight * 0.33 && y < screenHeight * 0.38;
}

bool EditorModel::toolbarClick(int, int y) {
    if (view == VIEW_TOP) {
        // Any click in the column picks the block tool level with it.
        const int chosen = blockToolAt(y);
        if (chosen >= 0) tool = chosen;
        playSound(ANY_CHANNEL, SOUND_SELECT);
    }
    switch (toolbarButtonAt(y)) {
        case ToolbarButton::Load:
            playSound(ANY_CHANNEL, SOUND_SELECT);
            openFileDialog(false);
            break;
        case ToolbarButton::Save:
            playSound(ANY_CHANNEL, SOUND_SELECT);
            requestSave();
            break;
        case ToolbarButton::NewLevel: newLevel(); break;
        case ToolbarButton::ViewToggle:
            playSound(ANY_CHANNEL, SOUND_SELECT);
            toggleView();
            break;
        case ToolbarButton::None: break;
    }
    return true;
}

void EditorModel::toggleView() {
    view = view == VIEW_TOP ? VIEW_SIDE : VIEW_TOP;
    resetCamera();
    if (view == VIEW_TOP) {
        camera.eye = {camera.target.x, 48000, camera.target.z};
    } else {
        camera.eye = {-56000, camera.target.y, camera.target.z};
    }
}

bool EditorModel::itemStripClick(int, int y) {
    if (y < screenHeight * 0.255) playSound(ANY_CHANNEL, SOUND_SELECT);
    const int chosen = itemToolAt(y);
    if (chosen >= 0) tool = chosen;
    return true;
}

int EditorModel::blockAt(const ViewProjection& view3d, double cursorX, double cursorY, WindowPoint& last) const {
    view3d.project({0, 0, 0}, last);  // the world origin when nothing is tested
    for (int i = 0; i < level.blockCount(); ++i) {
        const BlockBody& b = level.blocks[size_t(i)].body;
        WindowPoint first;
        view3d.project({double(b.x), double(b.y), double(b.z)}, first);
        const double farY = view == VIEW_TOP ? b.y : double(b.y) - b.height;
        view3d.project({double(b.x) - b.width, farY, double(b.z) + b.length}, last);
        if (cursorX >= std::min(first.x, last.x) && cursorX <= std::max(first.x, last.x) &&
            cursorY >= std::min(first.y, last.y) && cursorY <= std::max(first.y, last.y))
            return i;
    }
    return -1;
}

void EditorModel::viewClick(int x, int y) {
    dragging = true;
    dragKind = DragKind::None;
    beginEdit();
    const ViewProjection view3d = projection();
    const double cursorX = x, cursorY = screenHeight - y;  // window y runs upward
    WindowPoint last;
    const int hit = blockAt(view3d, cursorX, cursorY, last);
    Point3 world;
    view3d.unproject({cursorX, cursorY, last.depth}, world);
    const int worldX = truncated(world.x), worldZ = truncated(world.z);

    if (hit >= 0) {
        const BlockBody& body = level.blocks[size_t(hit)].body;
        if (view == VIEW_TOP) {
            grabOffsetX = body.x - worldX;
            grabOffsetZ = body.z - worldZ;
            if (isItemTool(tool)) {
                placeItem(hit, worldX, worldZ);
                return;
            }
        }
        grabbedExisting = true;
        selected = hit;
        dragKind = DragKind::Move;
        if (control) {
            // The place where the drag starts becomes the far end of the motion.
            BlockBody& edited = editBlock(hit).body;
            edited.pointX = storablePointX(edited.x);
            edited.pointY = edited.y;
            edited.pointZ = edited.z;
            edited.flags |= FLAG_MOVE;
        }
        return;
    }
    if (view != VIEW_TOP) return;
    if (isItemTool(tool)) {
        tool = 0;  // an item needs a block
        return;
    }
    placeBlock(worldX, worldZ);
}

void EditorModel::placeItem(int blockIndex, int worldX, int worldZ) {
    BlockBody& body = editBlock(blockIndex).body;
    body.pointX = storablePointX(worldX);
    body.pointY = worldZ;
    static const uint32_t ITEM_FLAGS[] = {FLAG_CHECKPOINT, FLAG_PONG, FLAG_BONUS, FLAG_PUSHER};
    if (tool == TOOL_POWERUP) {
        body.flags |= FLAG_POWERUP;
    } else {
        body.flags |= ITEM_FLAGS[tool - TOOL_CHECKPOINT];
        if (tool != TOOL_CHECKPOINT) {
            // Pong courts and computer crafts ask for their difficulty.
            difficulty.difficulty = 0;
            body.pointZ = 0;
            selected = blockIndex;
            dialog = tool == TOOL_PONG ? DIALOG_PONG : tool == TOOL_BONUS ? DIALOG_BONUS : DIALOG_PUSHER;
        }
    }
    tool = 0;
}

void EditorModel::placeBlock(int worldX, int worldZ) {
    if (level.blockCount() >= EDITOR_BLOCK_LIMIT) {
        setNotice("A level holds at most " + std::to_string(EDITOR_BLOCK_LIMIT) + " blocks.", true);
        return;
    }
    const int x = snapTowardZero(worldX, PLACE_GRID), z = snapTowardZero(worldZ, PLACE_GRID);
    editBlocks().push_back(newEditorBlock(tool, x, z));
    selected = level.blockCount() - 1;
    dragOriginX = x;
    dragOriginZ = z;
    dragKind = DragKind::Stretch;
    notice.clear();
}

void EditorModel::mouseUp(int button) {
    if (driving()) return;
    if (button != BUTTON_LEFT || !dragging) return;
    dragging = false;
    const Block* block = selectedBlock();
    if (block && block->body.pointX != 0 && block->body.has(FLAG_MOVE) && grabbedExisting && dialog == DIALOG_NONE)
        openTriggerDialog(true);
    grabbedExisting = false;
    dragKind = DragKind::None;
    finishEditIfIdle();
}

void EditorModel::mouseMotion(int x, int y) {
    if (driving()) return;
    mouseSeen = true;
    mouseX = x;
    mouseY = y;
    const Block* block = selectedBlock();
    if (!dragging || !block || dialog != DIALOG_NONE || dragKind == DragKind::None) return;
    const BlockBody& at = block->body;
    const ViewProjection view3d = projection();
    WindowPoint corner;
    view3d.project({double(at.x), double(at.y), double(at.z)}, corner);
    Point3 world;
    if (!view3d.unproject({double(x), double(screenHeight - y), corner.depth}, world)) return;
    const int ux = truncated(world.x), uy = truncated(world.y), uz = truncated(world.z);
    BlockBody& b = editBlock(selected).body;
    if (view == VIEW_SIDE) {
        b.y = snapTowardZero(uy, HEIGHT_GRID);
    } else if (dragKind == DragKind::Stretch) {
        b.width = stretchedSize(b.x - ux);
        b.length = stretchedSize(uz - b.z);
        b.texRepeatX = b.width / STRETCH_GRID;
        b.texRepeatY = 1;
        b.texRepeatZ = b.length / STRETCH_GRID;
    } else {
        b.x = snapTowardZero(grabOffsetX + ux, PLACE_GRID);
        b.z = snapTowardZero(grabOffsetZ + uz, PLACE_GRID);
    }
}
