#pragma once

#include "level/level.h"

// Which blocks a pass visits and how finely each is drawn: no GL here.

// Blocks this far behind the reference stop the walk (those without a
// second point) and this far behind are no longer drawn in the full-window
// pass.
constexpr int WALK_STOP_BEHIND = 23000;
constexpr int DRAW_CUT_BEHIND = 5000;

// Full-window walk from the last block toward the first (reference z R,
// limit = Draw-Dist or Shadow-Dist).
bool stopsFullWalk(const Block& block, int referenceZ);
bool drawnInFullPass(const Block& block, int referenceZ, int limit);

// Split-screen walk of a craft facing +z (from the last block) or -z (from
// the first block); the reference is that player's camZ.
bool stopsSplitWalk(const Block& block, int referenceZ, int facing);
bool drawnInSplitPass(const Block& block, int referenceZ, int limit, int facing);

// Halo walk: from the last block, no second-point exception.
bool stopsHaloWalk(const Block& block, int referenceZ);

enum class BlockDetail { Low, Medium, High };
// details: the Details setting 0..3; distance: how far ahead of the viewer.
BlockDetail blockDetail(int details, int distance, bool halo);

// Side and top texture slots drawn for a block.
BlockTextures blockTextureSlots(const Block& block);

// HURT halo, ICE halo or none.
enum class HaloKind { None, Hurt, Ice };
HaloKind haloKind(const Block& block);

// Opening angle in degrees (0 closed, 90 open) of the checkpoint doors.
int checkpointDoorAngle(int gateZ, int referenceZ);

// Damage smoke puffs shown around a craft of this health (0 at 95 and above).
int smokePuffCount(int health);
