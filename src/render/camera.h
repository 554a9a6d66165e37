#pragma once

#include "sim/craft.h"

// Cameras, projections, the backdrop, split-screen viewports and the 2D
// overlay mode of a play frame.

constexpr double NEAR_PLANE = 50.5;
constexpr double FAR_PLANE = 400000.0;
constexpr float BASE_VIEW_ANGLE = 35.0f;

// The menus, lists, options and result screens are laid out as a 4:3 page:
// a window of another shape shows the page whole between black bars.
constexpr int PAGE_WIDTH_RATIO = 4;
constexpr int PAGE_HEIGHT_RATIO = 3;
constexpr double PAGE_ASPECT = double(PAGE_WIDTH_RATIO) / PAGE_HEIGHT_RATIO;

// The four space backdrops a mode chooses from by index 0..3.
constexpr int BACKDROP_SLOTS[4] = {23, 28, 34, 35};

// How a play mode places its eye and shapes its projection.
enum class ViewVariant {
    Single,      // full window; does nothing while Speed is off
    TimeAttack,  // full window; while Speed is off only an angle of 35 is taken
    Split,       // half window (race): eye 5000 behind, 1500 above at 35 degrees
    SplitFacing  // half window (castle attack): the eye sits behind a craft facing -z too
};

// The speed view for tests and the viewer, through the game's own rules
// (updateViewAngle with the variant's ViewAngleRules, sim/view_angle.h): sets
// the craft's view angle (widening at once, narrowing by at most 1.5 degrees
// per call unless snapping), re-anchors the eye's y and z to the craft and
// loads the perspective; the variant's projection setter stays installed.
// Angles above 170 are ignored. The facing of a SplitFacing craft is the
// sign of its kind.
void setViewAngle(Craft& craft, float angle, bool snap, ViewVariant variant);

// Projection setters for the simulation's view-angle seam
// (setProjectionSetter): each loads the perspective for craft.viewAngle with
// its mode's aspect and leaves the model-view matrix current.
void loadSingleProjection(const Craft& craft);
void loadTimeAttackProjection(const Craft& craft);
void loadSplitProjection(const Craft& craft);
void loadSplitFacingProjection(const Craft& craft);

// The real window size, which renderFrame remembers while screenWidth and
// screenHeight hold the glow target's size: the split-screen aspect uses it
// so the glow image keeps the proportions of a half-window viewport.
void rememberWindowSize(int width, int height);
void forgetWindowSize();  // back to screenWidth x screenHeight

// Level (re)start: the sim's placeCameraBehind with the variant's eye
// distances (eye behind and above the craft, up (0, 1, 0), target offset
// ahead of the craft in its facing), then a snapped setViewAngle(35).
void placeCameraAtStart(Craft& craft, ViewVariant variant);

// gluLookAt from the eye at the craft position + camTargetOffset, up camUp.
void applyCamera(const Craft& craft);

// One window-filling textured quad behind everything. The half-height form
// shows the middle half of the image for a half-window viewport.
void drawBackdrop(int slot, bool halfHeight);
// The same picture for a frame whose track pass is already drawn (and
// nothing blended yet): the image fills only the pixels the blocks left
// empty, so a software renderer does not texture the whole window twice.
// Call it right after the track pass instead of drawBackdrop before it.
void drawBackdropBehind(int slot, bool halfHeight);

// The backdrop of a play view. With a track it is drawn behind it (after
// the track pass, see drawBackdropBehind); without one, and in wireframe
// (where drawing it first also turns face culling off again after the
// previous frame's sprites), it is drawn at once:
//   TrackBackdrop backdrop(slot, halfHeight, hasTrack);
//   ... the track pass ...
//   backdrop.behindTrack();
class TrackBackdrop {
public:
    TrackBackdrop(int slot, bool halfHeight, bool hasTrack);
    void behindTrack();

private:
    int slot_;
    bool halfHeight_;
    bool pending_;
};

// 2D overlay: pixel units, origin at the bottom-left of the window (of the
// glow target in the glow pass). end pops both matrices and leaves the
// model-view matrix current.
void beginOverlay();
void endOverlay();

// A textured quad over 0..width x 0..height (texture coordinates 0..1) under
// its own orthographic projection, emitted `copies` times in one batch:
// the glow target's shader passes and the additive bloom composite.
void drawFullWindowQuad(int width, int height, int copies);
// The same projection for quads of one's own in pixel units over
// 0..width x 0..height; end restores both matrices.
void beginPixelQuads(int width, int height);
void endPixelQuads();

// Split screen: craft A (first key group) is the lower half, craft B the
// upper half.
enum SplitPlayer : int { SPLIT_PLAYER_A = 0, SPLIT_PLAYER_B = 1 };
void setSplitViewport(SplitPlayer player);
void setWholeViewport();

// The console's "wireframe on/off": sets the flag and the matching GL state.
void setWireframe(bool on);
