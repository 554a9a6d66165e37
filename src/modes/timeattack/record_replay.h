#pragma once

#include <cstdint>
#include <string>

#include "level/level.h"
#include "modes/timeattack/ghost.h"
#include "modes/timeattack/records_file.h"
#include "sim/craft.h"
#include "sim/physics.h"

// Watching a map's record run: the record's ghost played back as the craft
// itself, seen from the chase camera, one physics step per 21 ms (per
// 10.5 ms when fast). The map list owns one and shows it while it is active. Without a
// window, so tests step it.
class RecordReplay {
public:
    // Reads <mapsDir>/<entry.fileName> and the ghost of its record. False
    // (and nothing to watch) without a record or a ghost that can be its run.
    bool start(const RecordEntry& record, const std::string& mapsDir = "maps");
    bool active() const { return active_; }

    // SDL key codes: Space pauses, f doubles the speed, Escape ends.
    void keyDown(int sym);
    void update(int elapsedMs);
    // One step of the replay (the update's unit).
    void step();

    // On the record's last sample: the run is at its goal.
    bool atGoal() const;
    // The run clock: 21 ms a step, the record's time at the goal.
    int32_t clockMs() const;

    RecordEntry record;
    Level level;
    Craft craft;  // where the run was, with the chase camera behind it
    Ghost ghost;
    bool paused = false;
    bool fast = false;
    int steps = 0;

private:
    bool active_ = false;
    StepAccumulator accumulator_;
};
