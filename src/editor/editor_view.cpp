#include "editor/editor_view.h"

#include <GL/gl.h>

#include <cstdlib>
#include <string>

#include "core/globals.h"
#include "render/textures.h"
#include "editor/editor_overlay.h"
#include "render/screen_pieces.h"
#include "render/objects.h"
#include "render/text.h"

namespace {

// The detail a block gets, as in play: by its distance along the track from
// where the camera looks.
int viewDistance(const EditorModel& model, const BlockBody& body) { return std::abs(body.z - model.camera.target.z); }

void drawBlocks(const EditorModel& model) {
    for (int i = 0; i < model.level.blockCount(); ++i) {
        const Block& block = model.level.blocks[size_t(i)];
        const float shade = i == model.selected ? 0.5f : 1.0f;
        glColor3f(shade, shade, shade);
        drawBlock(block, false, viewDistance(model, block.body));
    }
    glColor3f(1, 1, 1);
}

void cornerLine(const BlockBody& b, int dx, int dy, int dz, int offsetX, int offsetY, int offsetZ) {
    glVertex3i(b.x + dx, b.y + dy, b.z + dz);
    glVertex3i(b.x + dx + offsetX, b.y + dy + offsetY, b.z + dz + offsetZ);
}

// The far end of a motion: a blended copy at the second point and four
// lines from the block's corners to the copy's.
void drawMotion(const EditorModel& model, const Block& block) {
    const BlockBody& b = block.body;
    Block copy = block;
    copy.body.x = b.pointX;
    copy.body.y = b.pointY;
    copy.body.z = b.pointZ;
    drawBlock(copy, false, viewDistance(model, copy.body));
    const int ox = b.pointX - b.x, oy = b.pointY - b.y, oz = b.pointZ - b.z;
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    cornerLine(b, -b.width, -b.height, b.length, ox, oy, oz);
    cornerLine(b, -b.width, -b.height, 0, ox, oy, oz);
    cornerLine(b, 0, 0, 0, ox, oy, oz);
    cornerLine(b, 0, -b.height, b.length, ox, oy, oz);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

// The item a block carries, drawn as in play; the first set flag decides.
void drawItemMarker(const BlockBody& b) {
    if (b.pointX == 0) return;
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
    if (b.has(FLAG_POWERUP)) {
        drawBonusStar(0, b.pointX, b.y + 300, b.pointY, 1, 1, 0);
    } else if (b.has(FLAG_CHECKPOINT)) {
        // Seen from far before the gate, so the doors stand closed.
        drawCheckpointGate(b.x, b.x - b.width, b.y, b.pointY, b.pointY - 100000);
    } else if (b.has(FLAG_PONG)) {
        drawPongPaddle(b.pointX, b.y, b.pointY);
    } else if (b.has(FLAG_BONUS)) {
        drawBonusStar(0, b.pointX, b.y + 200, b.pointY, 0.6f, 0, 0);
    } else if (b.has(FLAG_PUSHER)) {
        drawCraft(1, 0, b.pointX, b.y + 200, b.pointY, b.pointX, b.y + 200, b.pointY, 0, 16, 0, 0);
    }
    glEnable(GL_BLEND);
    glColor3f(0.4f, 0.5f, 0.4f);
}

void drawMotionsAndItems(const EditorModel& model) {
    glEnable(GL_BLEND);
    glColor3f(0.4f, 0.5f, 0.4f);
    for (const Block& block : model.level.blocks) {
        if (block.body.has(FLAG_MOVE) && block.body.pointX != 0) drawMotion(model, block);
        else drawItemMarker(block.body);
    }
    glDisable(GL_BLEND);
    glColor3f(1, 1, 1);
}

// The block under the cursor: its edges in yellow, seen through whatever
// stands in front of it.
void drawHoverOutline(const EditorModel& model) {
    if (glowPass) return;
    const int index = model.hoveredBlock();
    if (index < 0) return;
    const BlockBody& b = model.level.blocks[size_t(index)].body;
    const int xs[2] = {b.x - b.width, b.x}, ys[2] = {b.y - b.height, b.y}, zs[2] = {b.z, b.z + b.length};
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glLineWidth(2);
    glColor3f(1, 0.9f, 0.2f);
    glBegin(GL_LINES);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            glVertex3i(xs[0], ys[i], zs[j]);
            glVertex3i(xs[1], ys[i], zs[j]);
            glVertex3i(xs[i], ys[0], zs[j]);
            glVertex3i(xs[i], ys[1], zs[j]);
            glVertex3i(xs[i], ys[j], zs[0]);
            glVertex3i(xs[i], ys[j], zs[1]);
        }
    }
    glEnd();
    glLineWidth(1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
}

void drawStartLine(const Level& level) {
    if (level.blocks.empty()) return;
    const BlockBody& first = level.blocks[0].body;
    const int x = first.x - first.width / 2;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    glBegin(GL_LINES);
    glVertex3i(x, first.y, 10000000);
    glVertex3i(x, first.y, -10000000);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
}

void loadCamera(const EditorModel& model) {
    // The window's size in the normal pass, the glow target's in the glow pass.
    const ViewProjection view = editorViewProjection(model.camera, screenWidth, screenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(view.projectionMatrix());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view.modelviewMatrix());
}

void drawSelectedIndex(const EditorModel& model) {
    if (!model.level.validIndex(model.selected)) return;
    const std::string text = std::to_string(model.selected);
    const bool plain = model.plainIndex(model.selected);
    drawText(pixelX(0.5), pixelY(0.981), 1, 1, plain ? 1.0f : 0.0f, plain ? 1.0f : 0.0f, text.c_str());
}

// Along the bottom edge: the last action's notice above the status line.
void drawStatus(const EditorModel& model) {
    if (!model.notice.empty()) {
        const float green = model.noticeIsWarning ? 0.4f : 1.0f;
        drawText(pixelX(0.1), pixelY(0.065), 0.8f, model.noticeIsWarning ? 1.0f : 0.5f, green,
                 model.noticeIsWarning ? 0.4f : 0.5f, model.notice.c_str());
    }
    drawText(pixelX(0.01), pixelY(0.028), 0.7f, 0.75f, 0.75f, 0.75f, model.statusText().c_str());
}

}  // namespace

void drawEditor(const EditorModel& model) {
    glDisable(GL_LIGHTING);
    loadCamera(model);
    drawBlocks(model);
    drawMotionsAndItems(model);
    drawHoverOutline(model);
    glColor3f(1, 1, 1);
    drawEditorDialog(model);
    drawEditorToolbar(model);
    drawSelectedIndex(model);
    drawStatus(model);
    drawEditorQuestion(model);
    loadCamera(model);
    glDisable(GL_LIGHTING);
    drawStartLine(model.level);
    glEnable(GL_LIGHTING);
}
