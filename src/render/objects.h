#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

#include "render/block_geometry.h"
#include "level/level.h"

#include "level/level.h"
#include "sim/craft.h"

// How single objects of a play scene look: blocks, crafts, effect sprites
// and the items blocks carry.

// A block at its (possibly interpolated) position. halo: no texture choice
// of its own colour, medium detail at most. distance: how far ahead of the
// viewing craft it lies (picks the detail level). Leaves the current colour
// as it found it unless halo is set.
void drawBlock(const Block& block, bool halo, int distance);
// The blocks of one track pass, queued near to far and drawn by draw(),
// each in grey `shade` or, without one, in the colour in force when draw()
// is called. The normal pass draws block by block; the glow pass groups the
// run (see setCheapGlowPass). Ends with the last top's texture bound.
class BlockRun {
public:
    void add(const Block& block, int distance, float shade = -1.0f);
    void draw();

private:
    struct Queued {
        const Block* block;
        int distance;
        float shade;
    };
    struct Drawn {
        const BlockBody& body;
        BlockCorner at;
        BlockShape shape;
        GLuint side, top;
        GLfloat colour[4];
    };
    Drawn drawn(const Queued& q, const GLfloat* inForce) const;
    void drawParts(size_t i, bool body, bool top, GLuint& bound);
    void useColour(const GLfloat* colour);
    std::vector<Queued> queued_;
    std::vector<Drawn> drawn_;
    const GLfloat* colourInForce_ = nullptr;  // the colour last set, if known
};

// The glow pass takes two shortcuts: rounded bodies are drawn chamfered (a
// fifth of the vertices) and a block run draws every body, then every top
// (the texture changes only where the next block's differs). Its image is a
// quarter of the window or less and blurred, so the finished frame changes
// only a little (a GL test bounds it). Off draws as the normal pass does
// (for comparisons).
void setCheapGlowPass(bool enabled);

// A player's own colour on a craft (the two-player modes tell the crafts
// apart by it): the fin in that colour, the ring tinted toward it.
struct CraftPaint {
    float red, green, blue;
};

// The craft model. kind: 1 / -1 face +z / -z, -2 the pong paddle; only
// kinds -1..1 that are opaque (transparency 0) carry the red marker.
// paint: null for the craft's own textured colours.
void drawCraft(int kind, int verticalSpeed, int prevX, int prevY, int prevZ, int x, int y, int z,
               float tint, float segments, int forwardSpeed, unsigned transparency,
               const CraftPaint* paint = nullptr);
// A craft record with damage tint (100 - health) / 10 and 16 segments.
void drawCraftRecord(const Craft& craft, const CraftPaint* paint = nullptr);

// One additive textured tile from "efx01".
void drawSprite(EffectSprite sprite);

// The trail sprites around a craft, renewed and drawn once per frame: flames
// while it stands on a no-jump block, damage smoke below 95 health
// (ignoreGround: the pusher craft smokes wherever it is).
void drawCraftTrail(Craft& craft, bool ignoreGround = false);
// The jump flash, while the craft's jump effect has not expired.
void drawJumpEffect(const Craft& craft);

// The ring body alone (pong ball, ghost-like discs).
void drawDisc(int x, int y, int z, int segments, float red, float green, float blue, float scale,
              float alpha);

// The pong game's pieces.
struct PongBallView {
    int32_t x = 0, y = 0, z = 0;
    int32_t trail[5][3] = {};  // previous positions, newest first
    int32_t spin = 0;
};
void drawPongPaddle(int x, int y, int z);
void drawPongBall(const PongBallView& ball);

// Two doors hinged at the block's sides that swing open as the viewer nears.
void drawCheckpointGate(int rightX, int leftX, int y, int gateZ, int referenceZ);

// A flat red, yellow or custom star, alpha 0.5.
void drawBonusStar(int angle, int x, int y, int z, float red, float green, float blue);

// Single player's items on blocks: checkpoint gates, idle bonus stars, idle
// pusher crafts and the pong paddles (or the player's own bar while a court
// holds the craft).
void drawBlockItems(const Level& level, const Craft& player, bool pusherActive, bool bonusActive);

// The computer-driven objects of single player and what the debug view
// shows of them. Null pointers mean "not running / not active".
struct ComputerObjectsView {
    const PongBallView* ball = nullptr;  // set while a pong game runs
    int computerPaddleX = -1000;
    const Block* court = nullptr;  // the court of the running game
    Craft* pusher = nullptr;       // active pusher craft (its smoke is renewed)
    int pusherProbeDistance = 0;   // debug probe lines ahead of the pusher
    const Craft* bonus = nullptr;  // active bonus craft
    int bonusAngle = 0;
    float bonusColour[3] = {0.6f, 0.0f, 0.0f};
    int bonusFade = 0;  // positive: the star is blended
    int pusherBlockIndex = -1;     // debug: block under the pusher
    int referenceBlockIndex = -1;  // debug: the computer crafts' reference block
};
void drawComputerObjects(const Level& level, const ComputerObjectsView& view);

// Castle attack.
struct CastleWall {
    int32_t x = 0, y = 0, z = 0;  // all 0: not placed
    bool placed() const { return x != 0 || y != 0 || z != 0; }
};
void drawCastleWalls(const CastleWall& wallA, const CastleWall& wallB);
// Shields and push waves on the camera's side of each craft; a player's own
// are drawn over everything in its half.
struct CastleCraftState {
    const Craft* craft = nullptr;
    int shieldTime = 0;
    int pushTime = 0;
};
void drawShieldsAndWaves(const CastleCraftState& a, const CastleCraftState& b, int viewingPlayer);
