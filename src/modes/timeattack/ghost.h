#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modes/timeattack/ghost_file.h"
#include "sim/craft.h"

// Every run is sampled as a sparse path (one craft position per six physics
// steps); the stored path of the record run is replayed beside the player.

constexpr int GHOST_STEPS_PER_SAMPLE = 6;
constexpr int GHOST_FIRST_CAPACITY = 250;
constexpr int GHOST_CAPACITY_STEP = 750;
// The buffer stops growing once it reaches this, so the longest recording is
// 7750 samples; later samples are dropped.
constexpr int GHOST_GROWTH_LIMIT = 7500;

struct Ghost {
    // The loaded record run.
    bool loaded = false;
    std::vector<GhostSample> samples;
    // The run being driven; its size is the current capacity.
    std::vector<GhostSample> recording;
    // Index of the last recorded sample and of the ghost sample the replay
    // leaves: recording and replay share it.
    int sampleIndex = 0;
    int stepCounter = 0;  // steps since the last sample, 0..6
    GhostSample position, previousPosition;
};

extern Ghost ghost;

// The level path with everything from its first "." replaced by ".gho";
// empty when the path has no ".".
std::string ghostPathFor(const std::string& levelPath);

// Reads the level's ghost. A missing file, one whose count does not fit its
// size, or one without samples leaves no ghost loaded.
void loadGhost(Ghost& ghost, const std::string& levelPath);

// Whether a ghost of `sampleCount` samples can be the run of a record of
// `recordMs`: there must be a record, and the run cannot have been longer
// than the record allows. Every physics step takes at least 21 ms of the run
// clock, so sample k lies at least 126 * k ms into the run (one sample of
// slack is given).
bool ghostFitsRecord(size_t sampleCount, uint32_t recordMs);

// loadGhost for a level whose record is `recordMs`: a ghost that cannot be
// that record's run (left by an older game, or no record at all) is not
// loaded, so the player never races a run that is not the record.
void loadGhostOfRecord(Ghost& ghost, const std::string& levelPath, uint32_t recordMs);

// Restarts the recording with sample 0 at the craft's start position.
void startRecording(Ghost& ghost, const Craft& craft);

// Once per physics step after the craft has moved.
void recordAndReplay(Ghost& ghost, const Craft& craft, int phase);

// Writes the recording of the run just finished, atomically. Returns 0 or -1.
int saveGhost(const Ghost& ghost, const std::string& levelPath);

// Frees the loaded ghost and the recording.
void releaseGhost(Ghost& ghost);
