#include "sim/computer_driver.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "sim/physics.h"

// Every product here is taken in 64 bits: reaches of 68 air steps times 450,
// f_speed times 700 and the like leave the int range with coordinates a
// level file may hold.

namespace {

constexpr int64_t STEER = 95;               // sideways speed of a steering key
constexpr int64_t TOP_SPEED = 450;
constexpr int MAX_AIR_STEPS = 68;
constexpr int64_t LONGEST_JUMP = MAX_AIR_STEPS * TOP_SPEED;  // no block beyond this is reachable
constexpr int64_t BLOCK_PUSH_REACH = 60;    // LEFT and RIGHT blocks carry the craft further sideways

// A block's stored box, widened so sums and products cannot overflow.
struct Box {
    int64_t x = 0, y = 0, z = 0, width = 0, height = 0, length = 0;
    int type = 0;
    int64_t minusEdge() const { return x - width; }  // x is the +x edge
    int64_t farEnd() const { return z + length; }
    // x lies within `margin` of the box's x range.
    bool nearX(int64_t at, int64_t margin) const { return minusEdge() - margin <= at && at <= x + margin; }
    bool overlapsX(const Box& other) const { return minusEdge() < other.x && other.minusEdge() < x; }
};

Box boxOf(const Level& level, int index) {
    const Block& block = level.blocks[size_t(index)];
    const BlockBody& b = block.body;
    return {b.x, b.y, b.z, b.width, b.height, b.length, int(effectiveType(block))};
}

bool reachable(const Box& from, const Box& to) {
    int64_t air = airSteps(to.y - from.y);
    bool pushed = from.type == BLOCK_LEFT || from.type == BLOCK_RIGHT;
    int64_t lateral = air * (STEER + (pushed ? BLOCK_PUSH_REACH : 0));
    return to.z < from.farEnd() + air * TOP_SPEED && from.minusEdge() - lateral < to.x &&
           to.x - to.width < from.x + lateral && to.y + to.height < from.y + from.height + 1100;
}

// Route planning over the blocks after a given one, in level order. Only the
// blocks that can start within the longest jump are looked at.
class RoutePlanner {
public:
    RoutePlanner(const Level& level, const BlockZWindow& window) : level_(level), window_(window) {}

    // The block to head for from block `from`: `preferred` when it is still a
    // candidate, else the first candidate that does not start behind the far
    // end of `from`, else the last one; NO_BLOCK when none is reachable.
    // Candidates that lead nowhere are dropped while others remain.
    int choose(int from, int preferred) const {
        const Box a = boxOf(level_, from);
        int lastAny = NO_BLOCK, lastLive = NO_BLOCK, firstAhead = NO_BLOCK;
        bool preferredLive = false;
        forEachReachable(from, [&](int t, const Box& box) {
            lastAny = t;
            if (!leadsOn(t, box)) return true;
            lastLive = t;
            if (t == preferred) {
                preferredLive = true;
                return false;  // nothing later can change the choice
            }
            if (firstAhead == NO_BLOCK && box.z >= a.farEnd() - 5) firstAhead = t;
            // Candidates come in level order: once the preferred block is
            // behind, the first one ahead is the choice.
            return !(firstAhead != NO_BLOCK && preferred < t);
        });
        if (lastLive == NO_BLOCK) return lastAny;  // all lead nowhere: the last one stays
        if (preferredLive) return preferred;
        return firstAhead != NO_BLOCK ? firstAhead : lastLive;
    }

    // Up to four blocks strictly between `from` and `to` in level order that
    // hang over block `over`.
    void ceilings(int from, int to, int over, int (&slots)[CEILING_SLOTS]) const {
        std::fill(slots, slots + CEILING_SLOTS, NO_BLOCK);
        const Box base = boxOf(level_, over);
        int found = 0;
        for (int i = from + 1; i < to && found < CEILING_SLOTS; ++i) {
            const Box o = boxOf(level_, i);
            if (base.y < o.y && o.y - o.height - 750 < base.y && o.overlapsX(base)) slots[found++] = i;
        }
    }

private:
    template <class Visit>
    void forEachReachable(int from, Visit visit) const {
        const Box a = boxOf(level_, from);
        const int64_t beyond = a.farEnd() + LONGEST_JUMP;
        for (int t = window_.next(from + 1, INT64_MIN, beyond); t < level_.blockCount();
             t = window_.next(t + 1, INT64_MIN, beyond)) {
            const Box box = boxOf(level_, t);
            if (reachable(a, box) && !visit(t, box)) return;
        }
    }

    bool leadsOn(int t, const Box&) const {
        bool any = false;
        forEachReachable(t, [&any](int, const Box&) {
            any = true;
            return false;
        });
        return any;
    }

    const Level& level_;
    const BlockZWindow& window_;
};

class Driver {
public:
    Driver(Craft& craft, int previousBlock, const Craft& player, const Level& level, const BlockZWindow& window,
           RouteState& route, const char*& jumpLabel)
        : k_(craft), player_(player), level_(level), window_(window), route_(route), jumpLabel_(jumpLabel),
          previousBlock_(previousBlock), keys_(controlKeys(1)),
          pusher_(craft.kind == CRAFT_KIND_PUSHER), skill_(craft.phase) {}

    void run() {
        side_ = baseSide();
        keepSteering();
        keepPace();
        const int a = k_.camX;
        // The rules look two blocks ahead in level order: never past the last.
        if (a < 0 || a >= level_.blockCount() - 2) return;
        if (a != previousBlock_ || route_.referenceBlock != a) planRoute(a);
        if (!level_.validIndex(route_.nextBlock) || !level_.validIndex(route_.afterNext)) return;
        a_ = boxOf(level_, a);
        n_ = boxOf(level_, route_.nextBlock);
        m_ = boxOf(level_, route_.afterNext);
        reachValues();
        near_ = n_.z <= route_.forwardReach + k_.z + 200;
        jumpNeeded_ = gapAhead();
        speedForNext();
        steerTowardNext();
        counterDrift();
        jumpRules();
        hurtJump();
        ceilingAhead();
        ceilingsBeyond();
        ram();
    }

private:
    bool held(int code) const { return keyHeld(k_, code); }
    void press(int code) { setKeyHeld(k_, code, true); }
    void release(int code) { setKeyHeld(k_, code, false); }
    void steerLeft() {  // toward +x
        press(keys_.left);
        release(keys_.right);
    }
    void steerRight() {  // toward -x
        press(keys_.right);
        release(keys_.left);
    }
    void jump(const char* label) {
        press(keys_.jump);
        jumpLabel_ = label;
    }
    void bothSpeedKeys() {  // +4 - 3: a gain of 1 per step
        press(keys_.forward);
        press(keys_.backward);
    }

    // The sideways speed the craft has without this step's steering key.
    int64_t baseSide() const {
        if (k_.v_speed != 0 || k_.s_speed == 0) return 0;
        bool left = held(keys_.left), right = held(keys_.right);
        if (right && !left) return int64_t(k_.s_speed) + STEER;
        if (left) return int64_t(k_.s_speed) - STEER;
        return k_.s_speed;
    }

    // A steering key pressed by the ramming rule stays held for a while, but
    // not to within 300 of the edge it steers toward.
    void keepSteering() {
        bool left = held(keys_.left), right = held(keys_.right);
        std::fill(k_.keys, k_.keys + KEY_FLAG_COUNT, uint8_t(0));
        if (!level_.validIndex(previousBlock_) || k_.checkpoint <= 120 - 50 * skill_) return;
        const Box b = boxOf(level_, previousBlock_);
        if (left && b.x - k_.x >= 300) press(keys_.left);
        if (right && k_.x - b.minusEdge() >= 300) press(keys_.right);
    }

    // Keeps near the player: the pusher hangs back a little less eagerly
    // than the bonus craft, which waits to be caught.
    void keepPace() {
        const int64_t d = int64_t(k_.z) - player_.z;
        const int64_t kf = k_.f_speed, pf = player_.f_speed;
        bool forward = false, backward = false;
        if (pusher_) {
            if (d > 2500) {
                backward = kf >= pf - 55;
                forward = kf < pf - 90;
            } else if (d >= 200) {
                backward = kf >= pf - 35;
                forward = kf < pf - 50;
            } else if (d < -2500) {
                forward = kf <= pf + 55;
                backward = kf > pf + 90;
            } else if (d <= -200) {
                forward = kf <= pf + 35;
                backward = kf > pf + 50;
            }
        } else {
            if (d > 2500) {
                backward = kf >= pf - 15;
                forward = kf <= pf - 20;
            } else if (d >= 200) {
                backward = kf >= pf - 5;
                forward = !backward;
            } else if (d < -2500) {
                forward = kf <= pf + 15;
                backward = kf > pf + 20;
            } else if (d <= -200) {
                forward = kf <= pf + 5;
                backward = !forward;
            }
        }
        if (forward) press(keys_.forward);
        if (backward) press(keys_.backward);
    }

    void planRoute(int a) {
        RoutePlanner planner(level_, window_);
        const int previousAfterNext = route_.afterNext;
        route_.referenceBlock = a;
        int next = planner.choose(a, previousAfterNext);
        if (next == NO_BLOCK) {
            route_.nextBlock = a + 1;
            route_.afterNext = a + 2;
        } else {
            route_.nextBlock = next;
            int after = planner.choose(next, previousAfterNext);
            // The block after the last block is the last block itself.
            route_.afterNext = after != NO_BLOCK ? after : std::min(next + 1, level_.blockCount() - 1);
        }
        planner.ceilings(a, route_.nextBlock, a, route_.ceilingsAhead);
        planner.ceilings(route_.nextBlock, route_.afterNext, route_.nextBlock, route_.ceilingsBeyond);
    }

    void reachValues() {
        int64_t acc = 0;
        if (held(keys_.forward) && k_.f_speed < FORWARD_LIMIT && k_.v_speed == 0)
            acc = 4;
        else if (held(keys_.backward) && k_.f_speed > BACKWARD_LIMIT && k_.v_speed == 0)
            acc = -3;
        const int64_t air = airSteps(n_.y - a_.y);
        route_.forwardReach = air * (k_.f_speed + acc);
        route_.leftReach = air * (side_ + STEER);
        route_.rightReach = air * (side_ - STEER);
    }

    // A jump is needed to reach nextBlock.
    bool gapAhead() const { return n_.z - a_.farEnd() >= 250 || !n_.overlapsX(a_) || n_.y > a_.y; }

    void speedForNext() {
        const int64_t reach = route_.forwardReach;
        if (a_.farEnd() + reach < n_.z) {
            press(keys_.forward);
        } else if (n_.farEnd() < a_.farEnd() + reach ||
                   (m_.farEnd() < n_.z + reach + 500 && m_.z > n_.farEnd() + 500)) {
            press(keys_.backward);
        }
    }

    void steerTowardNext() {
        const int64_t kx = k_.x;
        const bool plainRun = !near_ || !jumpNeeded_;
        if (kx < n_.minusEdge()) {
            if (side_ > -STEER && ((kx + 120 < a_.x && plainRun) || (near_ && kx + route_.leftReach + 180 < n_.x)))
                steerLeft();
        } else if (n_.x < kx) {
            if (side_ < STEER && ((a_.minusEdge() < kx - 120 && plainRun) ||
                                  (near_ && n_.minusEdge() < kx + route_.rightReach + 180)))
                steerRight();
        } else if (kx < m_.minusEdge()) {
            if ((kx + 120 < n_.x && kx + 130 < a_.x && !near_) ||
                (near_ && jumpNeeded_ && kx + route_.leftReach + 180 < n_.x))
                steerLeft();
        } else if (m_.x < kx) {
            if ((n_.minusEdge() < kx - 120 && a_.minusEdge() < kx - 130 && !near_) ||
                (near_ && jumpNeeded_ && n_.minusEdge() < kx + route_.rightReach + 180))
                steerRight();
        }
    }

    // ICE keeps a drift and LEFT and RIGHT blocks push: steer against it.
    void counterDrift() {
        const int t = a_.type;
        if (t != BLOCK_ICE && t != BLOCK_LEFT && t != BLOCK_RIGHT) return;
        if (near_ && !(a_.farEnd() + 10 < n_.z && !jumpNeeded_)) return;
        const int64_t kx = k_.x;
        if (k_.s_speed < 0) {
            if (!(held(keys_.right) && kx - a_.minusEdge() >= 320)) steerLeft();
        } else if (k_.s_speed > 0) {
            if (!(held(keys_.left) && a_.x - kx >= 320)) steerRight();
        }
    }

    void jumpRules() {
        const int64_t kx = k_.x;
        if (k_.v_speed != 0 || !jumpNeeded_) {
            bool endsSoon = a_.farEnd() - k_.z < 100 || n_.farEnd() < k_.z + route_.forwardReach + 600;
            if (!n_.nearX(kx, 200) && endsSoon) press(keys_.jump);
            return;
        }
        jumpLabel_ = "JUUUUUMP !!!";
        const int64_t gap = n_.z - a_.farEnd();
        const bool left = held(keys_.left), right = held(keys_.right);
        if (kx + 20 < a_.minusEdge() && (right || k_.s_speed < 0) && (a_.minusEdge() - n_.x >= 201 || gap >= 201)) {
            jump("JUMP 1");
        } else if (kx - 20 > a_.x && (left || k_.s_speed > 0) && (n_.minusEdge() - a_.x >= 201 || gap >= 201)) {
            jump("JUMP 2");
        } else if (int64_t(k_.z) + k_.f_speed > a_.farEnd() && !(gap < 201 && n_.nearX(kx, 300))) {
            jump("JUMP 3");
        } else if (!near_) {
            release(keys_.jump);
        } else if (!left && !right) {
            if (n_.nearX(kx, 200))
                jump("JUMP 6");
            else
                jumpLabel_ = "JUMP 7";
        } else if (left) {
            if (n_.nearX(kx + route_.leftReach, 180) && !ceilingInTheWay()) jump("JUMP 4");
        } else if (n_.nearX(kx + route_.rightReach, 180) && !ceilingInTheWay()) {
            jump("JUMP 5");
        }
    }

    // A high ceiling right above that the craft cannot get clear of sideways
    // in time. Standing still it can get clear of nothing: no ceiling counts.
    bool ceilingInTheWay() const {
        if (k_.f_speed == 0) return false;
        for (int index : route_.ceilingsAhead) {
            if (index == NO_BLOCK) break;
            const Box o = boxOf(level_, index);
            if (!(o.z < k_.z + 220 && k_.z - 220 < o.farEnd() && o.y - a_.y >= 1001)) continue;
            int64_t edgeDistance = std::min(std::llabs(k_.x - o.x), std::llabs(k_.x - o.minusEdge()));
            int64_t clearance = ((o.farEnd() - k_.z) * STEER + 20900) / k_.f_speed + 200;
            if (edgeDistance < clearance) return true;
        }
        return false;
    }

    void hurtJump() {
        if (a_.type != BLOCK_HURT || jumpNeeded_) return;
        press(keys_.jump);
        release(keys_.left);
        release(keys_.right);
    }

    bool overCraft(const Box& o) const { return k_.x - 250 < o.x && o.minusEdge() < int64_t(k_.x) + 250; }
    bool nearerPlusSide(const Box& o) const { return o.x - k_.x <= k_.x - o.minusEdge(); }

    // The first ceiling ahead over the craft: steer round it and ease off, or
    // jump before it when it hangs low enough to be cleared.
    void ceilingAhead() {
        for (int index : route_.ceilingsAhead) {
            if (index == NO_BLOCK) return;
            const Box o = boxOf(level_, index);
            if (overCraft(o) && k_.z < o.z) {
                avoidCeiling(o);
                return;
            }
        }
    }

    void avoidCeiling(const Box& o) {
        const int64_t kx = k_.x, f = k_.f_speed;
        const int64_t ahead = o.z - k_.z;
        const bool high = o.y - a_.y > 1000;
        const bool canClear = f != 0 && (o.x - kx < ahead * STEER / f || kx - o.minusEdge() < ahead * STEER / f);
        if (!high && !canClear) {
            if (o.z <= airSteps(a_.y - o.y) * f + k_.z + 200) press(keys_.jump);
            return;
        }
        release(keys_.jump);
        if (f == 0) return;  // the passages are timed by the speed: none to time at rest
        const int64_t e = (2 * a_.z - o.farEnd()) * STEER / f;
        const bool plusOk = o.x - e + 200 < n_.x && a_.x - o.x > 499 && kx + 200 < a_.x;
        const bool minusOk = n_.minusEdge() < o.minusEdge() + e - 200 && o.minusEdge() - a_.minusEdge() > 499 &&
                             a_.minusEdge() < kx - 200;
        if (nearerPlusSide(o)) {
            if (plusOk)
                steerLeft();
            else if (minusOk)
                steerRight();
        } else {
            if (minusOk)
                steerRight();
            else if (plusOk)
                steerLeft();
        }
        const int64_t g = (ahead * STEER - 19000) / f;
        if (kx + g - 200 < o.x && o.minusEdge() < kx - g + 200) bothSpeedKeys();
    }

    void ceilingsBeyond() {
        const int64_t f = k_.f_speed, kx = k_.x;
        if (f == 0) return;  // timed by the speed, as above
        for (int index : route_.ceilingsBeyond) {
            if (index == NO_BLOCK) return;
            const Box o = boxOf(level_, index);
            if (!overCraft(o) || o.z - n_.z >= 5000 || o.y - n_.y <= 1000) continue;
            const int64_t e = (2 * n_.z - o.farEnd()) * STEER / f;
            const bool roomLeft = kx + 200 < a_.x, roomRight = a_.minusEdge() < kx - 200;
            if (o.x - e + 200 < m_.x) {
                if (nearerPlusSide(o)) {
                    if (roomLeft) steerLeft();
                } else if (roomRight) {
                    steerRight();
                }
            } else if (m_.minusEdge() < o.minusEdge() + e - 200) {
                if (!nearerPlusSide(o)) {
                    if (roomRight) steerRight();
                } else if (roomLeft) {
                    steerLeft();
                }
            }
            if (o.z < f * 700 + n_.z + 500) bothSpeedKeys();
        }
    }

    bool playerCrosses(int steps) const {
        const int64_t now = player_.x, later = int64_t(player_.x) + steps * int64_t(player_.s_speed);
        return (now < k_.x && later >= k_.x) || (now > k_.x && later <= k_.x);
    }

    void steerTowardPlayer() {
        if (player_.x > k_.x)
            steerLeft();
        else
            steerRight();
    }

    // Side by side with the player: jump into its path and shove.
    void ram() {
        const bool close = std::llabs(int64_t(k_.z) - player_.z) < 100 && std::llabs(int64_t(k_.x) - player_.x) < 2000 &&
                           std::llabs(int64_t(k_.ypos) - player_.ypos) < 150;
        if (!close || k_.groundType < 0) return;
        const bool continues = n_.z <= a_.farEnd() + 500 && n_.overlapsX(a_) && n_.y <= a_.y;
        if (continues || n_.z > k_.z + route_.forwardReach + 1700) {
            if (playerCrosses(5)) press(keys_.jump);
            if (k_.checkpoint < 1) {
                steerTowardPlayer();
                k_.checkpoint = 150 - 50 * skill_;
            }
        } else if (playerCrosses(7)) {
            steerTowardPlayer();
        }
    }

    Craft& k_;
    const Craft& player_;
    const Level& level_;
    const BlockZWindow& window_;
    RouteState& route_;
    const char*& jumpLabel_;
    const int previousBlock_;
    const ControlKeys keys_;
    const bool pusher_;
    const int skill_;
    int64_t side_ = 0;
    Box a_, n_, m_;
    bool near_ = false;
    bool jumpNeeded_ = false;
};

}  // namespace

int airSteps(int64_t d) {
    int value;
    if (d > 979)
        value = 15;
    else if (d >= 740)
        value = 8;
    else if (d >= 480)
        value = 4;
    else if (d >= 240)
        value = 2;
    else if (d >= -239)
        value = 0;
    else if (d >= -479)
        value = -2;
    else if (d >= -739)
        value = -4;
    else if (d >= -979)
        value = -8;
    else if (d >= -1239)
        value = -15;
    else if (d >= -1439)
        value = -23;
    else if (d >= -1739)
        value = -31;
    else
        value = -38;
    return 30 - value;
}

void driveComputerCraft(Craft& craft, int previousBlock, const Craft& player, const Level& level,
                        const BlockZWindow& window, RouteState& route, const char*& jumpLabel) {
    Driver(craft, previousBlock, player, level, window, route, jumpLabel).run();
}
