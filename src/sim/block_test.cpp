#include "sim/track.h"

#include <cmath>

#include "core/services.h"
#include "sim/arithmetic.h"

namespace {

// The craft lands on a top that lies between 110 and 190 below its centre
// (its feet rest 150 below it).
constexpr int LANDING_WINDOW_HIGH = 110;
constexpr int LANDING_WINDOW_LOW = 190;
// A block's side touches the craft when the block reaches from 130 above the
// craft's centre to 140 below it.
constexpr int VERTICAL_CONTACT_BELOW = 140;
constexpr int VERTICAL_CONTACT_ABOVE = 130;

struct Corners {
    int64_t bx, by, bz;  // now
    int64_t px, py, pz;  // one step ago
};

// A block that has not advanced yet this run stands where it stood.
Corners cornersOf(const BlockBody& body) {
    BlockCorner now = blockCorner(body);
    BlockCorner before = now;
    if (body.moving != 0 && body.moveTime > 0) before = blockCornerAt(body, body.moveTime - 1);
    return {now.x, now.y, now.z, before.x, before.y, before.z};
}

bool isFixedNow(const BlockBody& body) { return body.movePeriod == 0 || body.moveTime == 0; }

// The block carries the craft by its own motion this step.
void carry(Craft& craft, const Corners& c) {
    moveBy(craft.x, c.bx - c.px);
    moveBy(craft.z, c.bz - c.pz);
    moveBy(craft.camZ, c.bz - c.pz);
    if (craft.kind == 1 || craft.kind == -1) moveBy(craft.camX, c.bx - c.px);
}

bool withinFootprint(const Craft& craft, const Corners& c, int64_t width, int halfWidth) {
    return c.bx >= int64_t(craft.x) - halfWidth && c.bx - width <= int64_t(craft.x) + halfWidth;
}

void pickUpPowerup(Craft& craft, const Block& block, int64_t top) {
    const BlockBody& body = block.body;
    if (top > craft.ypos || craft.powerup != 0 || body.pointX == 0 || !body.has(FLAG_POWERUP) ||
        block.pickupCooldown >= 1)
        return;
    float dx = float(int64_t(craft.x) - body.pointX);
    float dy = float(int64_t(craft.ypos) - (int64_t(body.y) + 350));
    float dz = float(int64_t(craft.z) - body.pointY);
    if (std::sqrt(dx * dx + dy * dy + dz * dz) >= float(POWERUP_PICKUP_DISTANCE)) return;
    playSound(1, SOUND_POWERUP);
    craft.powerup = randomInt(1, 6);
    block.pickupCooldown = POWERUP_COOLDOWN_STEPS;
}

bool landsOn(const Craft& craft, const BlockBody& body, const Corners& c) {
    int64_t foot = int64_t(craft.ypos) - CRAFT_REST_HEIGHT;
    bool topCrossedFoot = body.movePeriod != 0 &&
                          ((c.py <= foot && foot <= c.by) || (c.by <= foot && foot <= c.py));
    bool fellThroughTop = foot < c.by && c.by <= int64_t(craft.prevY) - CRAFT_REST_HEIGHT;
    bool inLandingWindow =
        int64_t(craft.ypos) - LANDING_WINDOW_LOW <= c.by && c.by <= int64_t(craft.ypos) - LANDING_WINDOW_HIGH;
    return topCrossedFoot || fellThroughTop || inLandingWindow;
}

int land(Craft& craft, const Block& block, const Corners& c) {
    const BlockBody& body = block.body;
    if (!withinFootprint(craft, c, body.width, CRAFT_HALF_WIDTH)) return TEST_NO_CONTACT;
    int32_t restingY = wrapped(c.by + CRAFT_REST_HEIGHT);
    moveBy(craft.camY, int64_t(restingY) - craft.ypos);
    craft.ypos = restingY;
    carry(craft, c);
    if (body.moving == 0 && body.has(FLAG_TOUCH_TRIGGER)) {
        body.moving = 1;
        body.moveTime = 0;
    }
    pickUpPowerup(craft, block, c.by);
    return TEST_STANDS;
}

int sideContact(Craft& craft, const BlockBody& body, const Corners& c) {
    if (!withinFootprint(craft, c, body.width, CRAFT_SIDE_DETECT)) return TEST_NO_CONTACT;
    int64_t formerLeft = int64_t(craft.prevX) - CRAFT_SIDE_PLACE;
    int64_t formerRight = int64_t(craft.prevX) + CRAFT_SIDE_PLACE;
    if (formerLeft < c.bx && formerLeft < c.px) {
        if (c.bx - body.width < formerRight && c.px - body.width < formerRight) return TEST_CRASH;
        craft.s_speed = 0;
        craft.x = wrapped(c.bx - body.width - CRAFT_SIDE_PLACE);
        carry(craft, c);
        return TEST_LEANS_FROM_MINUS_X;
    }
    craft.s_speed = 0;
    craft.x = wrapped(c.bx + CRAFT_SIDE_PLACE);
    carry(craft, c);
    return TEST_LEANS_FROM_PLUS_X;
}

}  // namespace

int blockTest(Craft& craft, const Block& block) {
    const BlockBody& body = block.body;
    Corners c = cornersOf(body);
    int64_t craftFront = int64_t(craft.z) + CRAFT_HALF_LENGTH;
    if (craftFront < c.bz) {
        // Fixed blocks further on start even further on: a player may stop.
        if (craft.kind > 0 && isFixedNow(body)) return TEST_STOP_SCAN;
        return TEST_NO_CONTACT;
    }
    if (c.bz + body.length < int64_t(craft.z) - CRAFT_HALF_LENGTH) return TEST_NO_CONTACT;

    if (landsOn(craft, body, c)) return land(craft, block, c);
    bool verticalOverlap = int64_t(craft.ypos) - VERTICAL_CONTACT_BELOW < c.by &&
                           c.by - body.height < int64_t(craft.ypos) + VERTICAL_CONTACT_ABOVE;
    if (verticalOverlap) return sideContact(craft, body, c);
    if (withinFootprint(craft, c, body.width, CRAFT_HALF_WIDTH)) {
        pickUpPowerup(craft, block, c.by);
        return TEST_OVER_FOOTPRINT;
    }
    return TEST_NO_CONTACT;
}
