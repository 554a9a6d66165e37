#include "modes/multi/race_run.h"

#include <algorithm>

#include "core/services.h"
#include "level/level_file.h"
#include "modes/multi/two_player.h"
#include "sim/arithmetic.h"

int RaceRun::loadLevel(const std::string& path) {
    if (loadPlayLevel(path, level) != 0) {
        level = Level();
        return -1;
    }
    return 0;
}

void RaceRun::start(int lives, int raceGravity) {
    gravity = raceGravity;
    for (int player = 0; player < 2; ++player) {
        RacePlayer& side = players[player];
        side.craft = Craft();
        side.craft.kind = player == PLAYER_A ? 1 : 2;
        side.craft.lives = lives;
        side.craft.phase = 0;
        side.craft.viewAngle = 35.0f;
        side.accumulator = StepAccumulator();
        side.points = 0;
        side.distance = 0;
        side.longestRun = -99999999;
        side.longestRunX = side.longestRunY = 0;
    }
    respawn(PLAYER_A);
    respawn(PLAYER_B);
}

void RaceRun::respawn(int player) {
    Craft& craft = players[player].craft;
    if (!hasLevel()) {
        respawnTwoPlayerCraft(craft, 0, 0, 0, 1);
        return;
    }
    const BlockBody& first = level.blocks[0].body;
    const int64_t middle = int64_t(first.x) - first.width / 2;
    const int side = player == PLAYER_A ? -RACE_START_SIDE_OFFSET : RACE_START_SIDE_OFFSET;
    respawnTwoPlayerCraft(craft, wrapped(middle + side), wrapped(int64_t(first.y) + 150),
                          wrapped(int64_t(first.z) + 500), 1);
}

void RaceRun::update(int elapsedMs) {
    for (RacePlayer& side : players)
        if (side.craft.lives > 0) addFrameTime(side.accumulator, elapsedMs);
    stepDueRounds(players, [this](auto due) { return stepRound(due); });
}

void RaceRun::stepRound() {
    stepRound([](int) { return true; });
}

template <class Due>
bool RaceRun::stepRound(Due due) {
    bool stepped = false;
    for (int player = 0; player < 2; ++player) {
        if (players[player].craft.lives <= 0 || !due(player)) continue;
        stepped = true;
        step(player);
    }
    // Once per round of steps, never per drawn frame: at any frame rate and
    // under the console the bump acts as often as the crafts move.
    if (stepped) contact();
    return stepped;
}

StepOutcome RaceRun::step(int player) {
    Craft& craft = players[player].craft;
    if (craft.holdTimer > 0) craft.holdTimer -= 1;
    advanceSharedLevel(level, players[0].craft, players[1].craft);
    if (!hasLevel()) return StepOutcome::Completed;
    return physicsStep(craft, level, raceRules(*this, player == PLAYER_A ? 1 : 2, gravity));
}

bool RaceRun::contact() {
    Craft& a = players[0].craft;
    Craft& b = players[1].craft;
    const int64_t limit = RACE_CONTACT_DISTANCE;
    if (craftDistanceSquared(a, b) >= limit * limit || a.holdTimer > 0 || b.holdTimer > 0) return false;
    playSound(ANY_CHANNEL, SOUND_BUMP);
    // Both forward speeds move halfway toward the larger one.
    const int32_t faster = std::max(a.f_speed, b.f_speed);
    a.f_speed = wrapped(int64_t(a.f_speed) + (int64_t(faster) - a.f_speed) / 2);
    b.f_speed = wrapped(int64_t(b.f_speed) + (int64_t(faster) - b.f_speed) / 2);
    // Pushed sideways apart, B counting as the one on the +x side on a tie.
    Craft& hi = a.x > b.x ? a : b;
    Craft& lo = a.x > b.x ? b : a;
    const int64_t d = (int64_t(hi.x) - lo.x - RACE_CONTACT_SEPARATION) / 2;
    hi.x = wrapped(hi.x - d);
    hi.camX = wrapped(hi.camX - d);
    lo.x = wrapped(lo.x + d);
    lo.camX = wrapped(lo.camX + d);
    return true;
}

int raceWinner(const RacePlayer& a, const RacePlayer& b) {
    if (a.points != b.points) return a.points > b.points ? PLAYER_A : PLAYER_B;
    if (a.distance != b.distance) return a.distance > b.distance ? PLAYER_A : PLAYER_B;
    return RACE_DRAW;
}

int RaceRun::winner() const { return raceWinner(players[0], players[1]); }

int32_t RaceRun::runLength(const Craft& craft) const {
    const int64_t start = hasLevel() ? level.blocks[0].body.z : 0;
    return wrapped(int64_t(craft.z) - start);
}

int32_t RaceRun::shownDistanceMeters(int player) const {
    const RacePlayer& side = players[player];
    return int32_t((int64_t(side.distance) + runLength(side.craft)) / UNITS_PER_METER);
}

int32_t RaceRun::farthestPoint() const {
    const int64_t start = hasLevel() ? level.blocks[0].body.z : 0;
    int64_t farthest = std::max(players[0].craft.z, players[1].craft.z);
    for (const RacePlayer& side : players) farthest = std::max(farthest, start + side.longestRun);
    return wrapped(farthest);
}

void RaceRun::countRun(int player) {
    RacePlayer& side = players[player];
    const int32_t length = runLength(side.craft);
    side.distance = wrapped(int64_t(side.distance) + length);
    if (length > side.longestRun) {
        side.longestRun = length;
        side.longestRunX = side.craft.x;
        side.longestRunY = side.craft.ypos;
    }
}

void RaceRun::onDeath(Craft& craft, DeathCause) {
    // The explosion has played; no console line in a race.
    const int player = playerOf(craft);
    craft.lives -= 1;
    countRun(player);
    respawn(player);
}

void RaceRun::onFinish(Craft& craft, int) {
    const int player = playerOf(craft);
    countRun(player);
    players[player].points += 1;
    playSound(1, SOUND_HURT);
    respawn(player);
}
