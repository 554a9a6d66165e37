#include <GL/gl.h>

#include <cmath>

#include "core/globals.h"
#include "core/settings.h"
#include "render/block_cache.h"
#include "render/objects.h"
#include "render/textures.h"
#include "render/track_rules.h"

namespace {

bool chamferedGlowBodies = true;

BlockShape shapeOf(const BlockBody& b) {
    return {b.width, b.height, b.length, float(b.texRepeatX), float(b.texRepeatY), float(b.texRepeatZ)};
}

// The top: a red that throbs with a HURT block's pulse, otherwise the
// colour in force. Only a throbbing top touches the colour, so only it
// saves and restores it (reading the colour back stalls the driver).
void drawTop(const BlockBody& body, const BlockShape& shape, bool halo) {
    if (halo || body.pulse == 0.0f) {
        emitTopFace(shape);
        return;
    }
    GLfloat saved[4];
    glGetFloatv(GL_CURRENT_COLOR, saved);
    const float light = std::fabs(body.pulse - 1.0f) + 0.45f;
    glColor3f(1.0f, light, light);
    emitTopFace(shape);
    glColor4fv(saved);
}

}  // namespace

void setChamferedGlowBodies(bool enabled) { chamferedGlowBodies = enabled; }

void drawBlock(const Block& block, bool halo, int distance) {
    const BlockBody& body = block.body;
    const BlockTextures slots = blockTextureSlots(block);
    const BlockCorner at = blockCorner(body);
    const BlockShape shape = shapeOf(body);
    glPushMatrix();
    glTranslatef(float(at.x), float(at.y), float(at.z));
    bindSlot(slots.side, animationTicks);
    const bool chamfered = halo || (glowPass && chamferedGlowBodies);
    drawBlockBody(shape, blockDetail(settings.details, distance, chamfered));
    bindSlot(slots.top, animationTicks);
    drawTop(body, shape, halo);
    glPopMatrix();
}
