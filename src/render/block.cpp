#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/globals.h"
#include "core/settings.h"
#include "render/block_cache.h"
#include "render/objects.h"
#include "render/textures.h"
#include "render/track_rules.h"
#include "render/view_volume.h"

namespace {

bool cheapGlowPass = true;

BlockShape shapeOf(const BlockBody& b) {
    return {b.width, b.height, b.length, float(b.texRepeatX), float(b.texRepeatY), float(b.texRepeatZ)};
}

// Green and blue of a HURT block's throbbing top.
float throbLight(const BlockBody& body) { return std::fabs(body.pulse - 1.0f) + 0.45f; }

// The top: a red that throbs with a HURT block's pulse, otherwise the
// colour in force, which `colour` holds and is given back afterwards.
void drawTop(const BlockBody& body, const BlockShape& shape, bool halo, const GLfloat* colour) {
    if (halo || body.pulse == 0.0f) {
        emitTopFace(shape);
        return;
    }
    glColor3f(1.0f, throbLight(body), throbLight(body));
    emitTopFace(shape);
    glColor4fv(colour);
}

BlockDetail detailOf(int distance, bool halo) {
    const bool chamfered = halo || (glowPass && cheapGlowPass);
    return blockDetail(settings.details, distance, chamfered);
}

// The box every detail's body and top stay within: the rounded and
// chamfered faces stand 50 units outside the footprint (one more for the
// upper chamfers' start under the top).
bool outsideView(const ViewVolume& view, const BlockCorner& at, const BlockShape& shape) {
    constexpr double MARGIN = 51;
    const double low[3] = {at.x - shape.w - MARGIN, at.y - shape.h - MARGIN, at.z - MARGIN};
    const double high[3] = {at.x + MARGIN, at.y + MARGIN, at.z + shape.l + MARGIN};
    return view.boxOutside(low, high);
}

ViewVolume currentViewVolume() {
    GLdouble projection[16], modelView[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    return ViewVolume::of(projection, modelView);
}

// Binds a texture unless it is bound already.
void bindOnce(GLuint texture, GLuint& bound) {
    if (texture == bound) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    bound = texture;
}

}  // namespace

void setCheapGlowPass(bool enabled) { cheapGlowPass = enabled; }

void drawBlock(const Block& block, bool halo, int distance) {
    const BlockBody& body = block.body;
    const BlockTextures slots = blockTextureSlots(block);
    const BlockCorner at = blockCorner(body);
    const BlockShape shape = shapeOf(body);
    glPushMatrix();
    glTranslatef(float(at.x), float(at.y), float(at.z));
    bindSlot(slots.side, animationTicks);
    drawBlockBody(shape, detailOf(distance, halo));
    bindSlot(slots.top, animationTicks);
    // Only a throbbing top touches the colour, so only then is it read back
    // (reading it stalls the driver).
    GLfloat colour[4] = {1, 1, 1, 1};
    if (!halo && body.pulse != 0.0f) glGetFloatv(GL_CURRENT_COLOR, colour);
    drawTop(body, shape, halo, colour);
    glPopMatrix();
}

void BlockRun::add(const Block& block, int distance, float shade) { queued_.push_back({&block, distance, shade}); }

BlockRun::Drawn BlockRun::drawn(const Queued& q, const GLfloat* inForce) const {
    const BlockBody& body = q.block->body;
    const BlockTextures slots = blockTextureSlots(*q.block);
    Drawn d{body, blockCorner(body), shapeOf(body), textureFrame(slots.side, animationTicks),
            textureFrame(slots.top, animationTicks), {}};
    for (int i = 0; i < 4; ++i) d.colour[i] = q.shade < 0 ? inForce[i] : (i < 3 ? q.shade : 1.0f);
    return d;
}

void BlockRun::draw() {
    GLfloat inForce[4];
    glGetFloatv(GL_CURRENT_COLOR, inForce);
    // Blocks wholly outside the view (behind the eye, beside the window)
    // would only load the renderer's vertex stage: they are left out.
    const ViewVolume view = currentViewVolume();
    drawn_.clear();
    size_t kept = 0;
    for (const Queued& q : queued_) {
        Drawn d = drawn(q, inForce);
        if (outsideView(view, d.at, d.shape)) continue;
        drawn_.push_back(d);
        queued_[kept++] = q;
    }
    queued_.resize(kept);
    GLuint bound = 0;
    glBindTexture(GL_TEXTURE_2D, 0);
    colourInForce_ = nullptr;
    if (glowPass && cheapGlowPass) {
        // Every body, then every top: the texture changes only where the
        // next block's differs.
        for (size_t i = 0; i < drawn_.size(); ++i) drawParts(i, true, false, bound);
        for (const Drawn& d : drawn_) {
            if (d.body.pulse != 0.0f) {
                glColor3f(1.0f, throbLight(d.body), throbLight(d.body));
                colourInForce_ = nullptr;
            } else {
                useColour(d.colour);
            }
            bindOnce(d.top, bound);
            emitTopQuadAt(d.shape, d.at);
        }
        if (!drawn_.empty()) useColour(drawn_.back().colour);
    } else {
        // Block by block: surfaces of neighbouring blocks that meet at the
        // same depth keep the order they always had there.
        for (size_t i = 0; i < drawn_.size(); ++i) drawParts(i, true, true, bound);
    }
    queued_.clear();
}

// The colour is only set where it changes: setting it, even to the same
// value, makes the renderer take up its state again before the next draw.
void BlockRun::useColour(const GLfloat* colour) {
    if (colourInForce_ && std::equal(colourInForce_, colourInForce_ + 4, colour)) return;
    glColor4fv(colour);
    colourInForce_ = colour;
}

void BlockRun::drawParts(size_t i, bool body, bool top, GLuint& bound) {
    const Drawn& d = drawn_[i];
    useColour(d.colour);
    glPushMatrix();
    glTranslatef(float(d.at.x), float(d.at.y), float(d.at.z));
    if (body) {
        bindOnce(d.side, bound);
        drawBlockBody(d.shape, detailOf(queued_[i].distance, false));
    }
    if (top) {
        bindOnce(d.top, bound);
        drawTop(d.body, d.shape, false, d.colour);
    }
    glPopMatrix();
}
