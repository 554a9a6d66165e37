#pragma once

#include <functional>
#include <string>

#include "modes/timeattack/ghost.h"
#include "modes/timeattack/records_file.h"

// A new record and its ghost are kept together: whatever moment the game
// dies, the next start finds the old record beside its old ghost or the new
// record beside its new ghost.
//
// The new ghost is written first, beside the old one, under a switch name
// that names the record it belongs to ("<map>.gho.new-<file time>-<record
// ms>"). Then the record file is replaced: that rename is the moment the
// save happens. Then the new ghost is renamed over the old one. When the new
// ghost cannot be written, the old one waits as "<map>.gho.old-..." until
// the record is in, and is then removed, so the new record stands alone.
// A switch file found at the next start is finished when the record file
// holds the record it names, and undone otherwise.

// Stores `record`, the entry as the table now holds it, through
// `writeRecord` (0 or -1) with the run just recorded as its ghost. Returns
// writeRecord's result; after -1 the old ghost is as it was.
int saveRecordWithGhost(const Ghost& ghost, const std::string& levelPath, const RecordEntry& record,
                        const std::function<int()>& writeRecord);

// At start-up, in the data root: finishes or undoes the record saves a
// killed game left in the player's maps folder, and removes its half-written
// ghosts.
void finishInterruptedRecordSaves();
