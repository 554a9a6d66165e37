#include "modes/timeattack/ghost.h"

#include <algorithm>

#include "core/game_paths.h"
#include "modes/timeattack/records_file.h"
#include "sim/physics.h"

Ghost ghost;

namespace {

GhostSample positionOf(const Craft& craft) { return {craft.x, craft.ypos, craft.z}; }

int32_t between(int32_t from, int32_t to, double t) {
    return int32_t(int64_t(from) + int64_t(t * (double(to) - double(from))));
}

void replay(Ghost& ghost) {
    size_t i = size_t(ghost.sampleIndex);
    if (!ghost.loaded || i + 1 >= ghost.samples.size()) return;  // run out: stays put
    double t = double(ghost.stepCounter) / GHOST_STEPS_PER_SAMPLE;
    const GhostSample& a = ghost.samples[i];
    const GhostSample& b = ghost.samples[i + 1];
    ghost.previousPosition = ghost.position;
    ghost.position = {between(a.x, b.x, t), between(a.y, b.y, t), between(a.z, b.z, t)};
}

void record(Ghost& ghost, const Craft& craft) {
    ghost.sampleIndex += 1;
    int capacity = int(ghost.recording.size());
    if (ghost.sampleIndex >= capacity && capacity < GHOST_GROWTH_LIMIT)
        ghost.recording.resize(size_t(capacity + GHOST_CAPACITY_STEP));
    if (ghost.sampleIndex < int(ghost.recording.size()))
        ghost.recording[size_t(ghost.sampleIndex)] = positionOf(craft);
    ghost.stepCounter = 0;
}

}  // namespace

std::string ghostPathFor(const std::string& levelPath) {
    size_t dot = levelPath.find('.');
    if (dot == std::string::npos) return std::string();
    return levelPath.substr(0, dot) + ".gho";
}

void loadGhost(Ghost& ghost, const std::string& levelPath) {
    ghost.sampleIndex = 0;
    ghost.loaded = false;
    ghost.samples.clear();
    if (ghostPathFor(levelPath).empty()) return;
    const std::string path = userFile(ghostPathFor(levelPath));
    ghost.loaded = readGhostFile(path, ghost.samples);
}

bool ghostFitsRecord(size_t sampleCount, uint32_t recordMs) {
    if (recordMs >= NO_RECORD_TIME || sampleCount == 0) return false;
    const uint64_t sampleMs = uint64_t(GHOST_STEPS_PER_SAMPLE) * STEP_MS;
    return uint64_t(sampleCount - 1) * sampleMs <= uint64_t(recordMs) + sampleMs;
}

void loadGhostOfRecord(Ghost& ghost, const std::string& levelPath, uint32_t recordMs) {
    loadGhost(ghost, levelPath);
    if (ghost.loaded && !ghostFitsRecord(ghost.samples.size(), recordMs)) {
        ghost.loaded = false;
        ghost.samples.clear();
    }
}

void startRecording(Ghost& ghost, const Craft& craft) {
    ghost.recording.assign(GHOST_FIRST_CAPACITY, GhostSample());
    ghost.recording[0] = positionOf(craft);
    ghost.sampleIndex = 0;
}

void recordAndReplay(Ghost& ghost, const Craft& craft, int phase) {
    if (phase == 0) {
        if (ghost.loaded) ghost.position = ghost.previousPosition = ghost.samples[0];
        return;
    }
    replay(ghost);
    if (ghost.stepCounter > GHOST_STEPS_PER_SAMPLE - 1) record(ghost, craft);
}

int saveGhost(const Ghost& ghost, const std::string& levelPath) {
    if (ghostPathFor(levelPath).empty() || ghost.recording.empty()) return -1;
    const std::string path = userFileForWriting(ghostPathFor(levelPath));
    return writeGhostFile(path, ghost.recording, size_t(ghost.sampleIndex) + 1);
}

void releaseGhost(Ghost& ghost) {
    ghost.loaded = false;
    std::vector<GhostSample>().swap(ghost.samples);
    std::vector<GhostSample>().swap(ghost.recording);
    ghost.sampleIndex = 0;
}
