#include <cstddef>
#include <vector>

#include "core/globals.h"
#include "core/services.h"
#include "sim/track.h"

namespace {
constexpr float HURT_PULSE_WRAP = 2.0f;
constexpr int LEGS_PER_CYCLE = 10;  // a free-running motion starts over after ten legs
// A checkpoint gate counts while the craft is between 100 below and 1700
// above the gate block's top.
constexpr int CHECKPOINT_WINDOW_BELOW = 100;
constexpr int CHECKPOINT_WINDOW_ABOVE = 1700;
// Computer crafts appear at spawn points 20000 to 25000 ahead of the player.
constexpr int SPAWN_WINDOW_NEAR = 20000;
constexpr int SPAWN_WINDOW_FAR = 25000;
}  // namespace

void triggerChain(Level& level, int start) {
    std::vector<bool> visited(level.blocks.size(), false);
    int current = start;
    while (level.validIndex(current) && !visited[std::size_t(current)]) {
        visited[std::size_t(current)] = true;
        const BlockBody& body = level.blocks[std::size_t(current)].body;
        body.moving = body.moving == 0 ? -1 : 0;
        if (body.has(FLAG_CHANGE_TYPE)) {
            if (body.changedTypeTime == 0) {
                body.changedType = newTypeOf(body.flags) + 1;
                body.changedTypeTime = CHANGED_TYPE_FOREVER;
            } else {
                body.changedTypeTime = 0;  // a second trigger reverts the type
            }
        }
        if (!body.has(FLAG_HAS_TARGET)) break;
        current = targetOf(body.flags);
    }
}

void advanceLevel(Level& level, float hurtPulseStep) {
    for (const Block& block : level.blocks) {
        const BlockBody& body = block.body;
        if (block.type == BLOCK_HURT) body.pulse = body.pulse > HURT_PULSE_WRAP ? 0.0f : body.pulse + hurtPulseStep;
        int64_t legSteps = int64_t(body.movePeriod) * STEPS_PER_MOVE_PERIOD;
        int64_t cycleSteps = legSteps * LEGS_PER_CYCLE;
        if (body.movePeriod != 0 && body.moving != 0 && body.moveTime < cycleSteps) {
            if (body.has(FLAG_MOVE_ONCE) && (body.moveTime / legSteps) % 2 != ((body.moveTime + 1) / legSteps) % 2)
                body.moving = 0;  // stops at the end of its leg
            body.moveTime += 1;
        } else if (body.moveTime >= cycleSteps) {
            body.moveTime = 0;
        }
    }
}

void scanItems(Craft& craft, Level& level, ItemScanHooks& hooks) {
    int ordinal = 0;
    for (int i = 0; i < level.blockCount(); ++i) {
        const BlockBody& body = level.blocks[std::size_t(i)].body;
        if (body.pointX == 0) continue;
        if (body.has(FLAG_CHECKPOINT)) {
            ++ordinal;
            bool insideX = int64_t(body.x) - body.width < craft.x && craft.x < body.x;
            bool insideHeight = int64_t(body.y) - CHECKPOINT_WINDOW_BELOW <= craft.ypos &&
                                craft.ypos <= int64_t(body.y) + CHECKPOINT_WINDOW_ABOVE;
            if (ordinal > craft.checkpoint && insideX && insideHeight && craft.z >= body.pointY) {
                craft.checkpoint = ordinal;
                playSound(ANY_CHANNEL, SOUND_CHECKPOINT);
                hooks.onCheckpoint(craft, ordinal);
            }
            continue;
        }
        bool spawnWindow = int64_t(craft.z) + SPAWN_WINDOW_NEAR < body.pointY &&
                           body.pointY < int64_t(craft.z) + SPAWN_WINDOW_FAR;
        if (!spawnWindow) continue;
        if (body.has(FLAG_BONUS))
            hooks.onBonusSpawnPoint(level, i);
        else if (body.has(FLAG_PUSHER))
            hooks.onPusherSpawnPoint(level, i);
    }
}

void resetLevel(Level& level) {
    animationTicks = 0;
    for (const Block& block : level.blocks) {
        const BlockBody& body = block.body;
        if (body.movePeriod != 0) body.moveTime = 0;
        if (!body.has(FLAG_START_TRIGGER)) {
            body.moving = 0;
            body.moveTime = 0;
            body.changedTypeTime = 0;
        }
    }
}

int checkpointCount(const Level& level) {
    int count = 0;
    for (const Block& block : level.blocks)
        if (block.body.pointX != 0 && block.body.has(FLAG_CHECKPOINT)) ++count;
    return count;
}

int checkpointBlock(const Level& level, int ordinal) {
    int seen = 0;
    for (int i = 0; i < level.blockCount(); ++i) {
        const BlockBody& body = level.blocks[std::size_t(i)].body;
        if (body.pointX != 0 && body.has(FLAG_CHECKPOINT) && ++seen == ordinal) return i;
    }
    return -1;
}
