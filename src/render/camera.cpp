#include "render/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/globals.h"
#include "core/settings.h"
#include "render/textures.h"
#include "sim/physics.h"
#include "sim/view_angle.h"

namespace {

int rememberedWidth = 0;
int rememberedHeight = 0;

int facingOf(const Craft& craft) { return craft.kind < 0 ? -1 : 1; }
bool isSplit(ViewVariant variant) { return variant == ViewVariant::Split || variant == ViewVariant::SplitFacing; }

double fullWindowAspect() { return double(screenWidth) / double(screenHeight); }

// Integer division halves the height, as the viewport does.
double splitAspect() {
    const int width = rememberedWidth > 0 ? rememberedWidth : screenWidth;
    const int height = rememberedHeight > 0 ? rememberedHeight : screenHeight;
    return double(width) / double(height / 2);
}

void loadPerspective(float viewAngle, double aspect) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(viewAngle, aspect, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
}

// The tests and the viewer move the eye by the game's own view rules.
ViewAngleRules viewRulesFor(ViewVariant variant) {
    switch (variant) {
        case ViewVariant::Single: return singlePlayerViewRules();
        case ViewVariant::TimeAttack: return timeAttackViewRules();
        case ViewVariant::Split: return splitScreenViewRules(false);
        case ViewVariant::SplitFacing: return splitScreenViewRules(true);
    }
    return singlePlayerViewRules();
}

ProjectionSetter projectionFor(ViewVariant variant) {
    switch (variant) {
        case ViewVariant::Single: return loadSingleProjection;
        case ViewVariant::TimeAttack: return loadTimeAttackProjection;
        case ViewVariant::Split: return loadSplitProjection;
        case ViewVariant::SplitFacing: return loadSplitFacingProjection;
    }
    return loadSingleProjection;
}

}  // namespace

void setViewAngle(Craft& craft, float angle, bool snap, ViewVariant variant) {
    setProjectionSetter(projectionFor(variant));
    updateViewAngle(craft, angle, snap, viewRulesFor(variant));
}

void loadSingleProjection(const Craft& craft) { loadPerspective(craft.viewAngle, fullWindowAspect()); }
void loadTimeAttackProjection(const Craft& craft) { loadPerspective(craft.viewAngle, fullWindowAspect()); }
void loadSplitProjection(const Craft& craft) { loadPerspective(craft.viewAngle, splitAspect()); }
void loadSplitFacingProjection(const Craft& craft) { loadPerspective(craft.viewAngle, splitAspect()); }

void rememberWindowSize(int width, int height) {
    rememberedWidth = width;
    rememberedHeight = height;
}

void forgetWindowSize() { rememberedWidth = rememberedHeight = 0; }

void placeCameraAtStart(Craft& craft, ViewVariant variant) {
    const ViewAngleRules rules = viewRulesFor(variant);
    const int facing = variant == ViewVariant::SplitFacing ? facingOf(craft) : 1;
    placeCameraBehind(craft, facing * rules.eyeBack, rules.eyeUp);
    // The full-window modes start from 40 degrees; with the speed view off
    // single player keeps it for the whole level.
    if (!isSplit(variant)) loadPerspective(40.0f, fullWindowAspect());
    setViewAngle(craft, BASE_VIEW_ANGLE, true, variant);
}

void applyCamera(const Craft& craft) {
    // Lit surfaces take their colour from glColor: the damage tint of a
    // craft, the throbbing HURT tops and the race's dimmed blocks rely on it.
    glEnable(GL_COLOR_MATERIAL);
    gluLookAt(double(craft.camX), double(craft.camY), double(craft.camZ),
              double(craft.x + craft.camTargetOffset[0]), double(craft.ypos + craft.camTargetOffset[1]),
              double(craft.z + craft.camTargetOffset[2]),
              double(craft.camUp[0]), double(craft.camUp[1]), double(craft.camUp[2]));
}

namespace {

// z -1 of the overlay lands on the far plane (depth 1.0).
void emitBackdrop(int slot, bool halfHeight, float z) {
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_CULL_FACE);
    }
    glBindTexture(GL_TEXTURE_2D, textureFrame(slot, 0));
    glDisable(GL_LIGHTING);
    beginOverlay();
    // The image is made for a 4:3 window: a wider window shows a band of it,
    // a taller one a column, so it is never stretched. The glow pass crops
    // as the window does.
    const int width = rememberedWidth > 0 ? rememberedWidth : screenWidth;
    const int height = rememberedHeight > 0 ? rememberedHeight : screenHeight;
    const float stretch = float(double(width) / double(height) / PAGE_ASPECT);
    const float band = halfHeight ? 0.5f : 1.0f;
    const float h = (1 - band) / 2 + (stretch > 1 ? band * (1 - 1 / stretch) / 2 : 0.0f);
    const float left = stretch < 1 ? (1 - stretch) / 2 : 0.0f, right = 0.999f - left;
    const float w = float(screenWidth), top = float(screenHeight);
    glBegin(GL_QUADS);
    glTexCoord2f(left, 1 - h); glVertex3f(0, 0, z);
    glTexCoord2f(right, 1 - h); glVertex3f(w, 0, z);
    glTexCoord2f(right, h); glVertex3f(w, top, z);
    glTexCoord2f(left, h); glVertex3f(0, top, z);
    glEnd();
    endOverlay();
    glEnable(GL_LIGHTING);
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
    }
}

}  // namespace

void drawBackdrop(int slot, bool halfHeight) {
    glDisable(GL_DEPTH_TEST);
    emitBackdrop(slot, halfHeight, 0);
    glEnable(GL_DEPTH_TEST);
}

void drawBackdropBehind(int slot, bool halfHeight) {
    // Only where nothing was drawn yet does the depth buffer still hold the
    // cleared far value; the image must not hide anything drawn later.
    glDepthMask(GL_FALSE);
    emitBackdrop(slot, halfHeight, -1);
    glDepthMask(GL_TRUE);
}

TrackBackdrop::TrackBackdrop(int slot, bool halfHeight, bool hasTrack)
    : slot_(slot), halfHeight_(halfHeight), pending_(hasTrack && !wireframe) {
    if (!pending_) drawBackdrop(slot, halfHeight);
}

void TrackBackdrop::behindTrack() {
    if (pending_) drawBackdropBehind(slot_, halfHeight_);
    pending_ = false;
}

void beginOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, screenWidth, 0, screenHeight);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endOverlay() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void beginPixelQuads(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endPixelQuads() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void drawFullWindowQuad(int width, int height, int copies) {
    beginPixelQuads(width, height);
    glBegin(GL_QUADS);
    for (int copy = 0; copy < copies; ++copy) {
        glTexCoord2f(0, 0); glVertex2i(0, 0);
        glTexCoord2f(1, 0); glVertex2i(width, 0);
        glTexCoord2f(1, 1); glVertex2i(width, height);
        glTexCoord2f(0, 1); glVertex2i(0, height);
    }
    glEnd();
    endPixelQuads();
}

void setSplitViewport(SplitPlayer player) {
    const int half = screenHeight / 2;
    glViewport(0, player == SPLIT_PLAYER_A ? 0 : half, screenWidth, half);
}

void setWholeViewport() { glViewport(0, 0, screenWidth, screenHeight); }

void setWireframe(bool on) {
    wireframe = on;
    glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
    if (on) {
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_CULL_FACE);
    }
}
