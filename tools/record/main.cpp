// tavrelo-record: finds a run through a level and writes it as its replay
// proof (.keys: the held keys of every physics step).
//   tavrelo-record LEVEL.slv.txt [-o LEVEL.keys] [--keep KEYS[:STEPS]] [--ahead STEPS] [--max STEPS]
//       [--tries N]
// The level's name picks the rules, as the level check does: s- campaign
// levels, ca- castle maps (one attack by craft A), ra- race maps (the
// time-attack run and both racing crafts at once), all others time attack.
// The search is in replay/search.h; what it found is checked by the level check
// before it is written, and printed as the check's table row.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/settings.h"
#include "replay/level_check.h"
#include "replay/level_source.h"
#include "replay/search_sims.h"

namespace {

struct Arguments {
    std::string level;
    std::string output;     // empty: standard output
    std::string keepPath;   // the hint: a recording whose first steps are kept
    int keepSteps = -1;     // -1: all of it
    SearchOptions search;
};

struct MedalTimes {
    int gold, silver, bronze;
};

// Gold a little above the proof's time, silver and bronze as far above it
// as the design rules allow; whole tenths of a second, gold rounded up, the
// others down so that they stay within.
MedalTimes suggestedMedals(int proofMs) {
    const auto tenths = [proofMs](int percent, int roundUp) {
        return (proofMs * (100 + percent) / 100 + roundUp) / 100 * 100;
    };
    return {tenths(5, 99), tenths(MEDAL_ABOVE_PERCENT[MEDAL_SILVER], 0), tenths(MEDAL_ABOVE_PERCENT[MEDAL_BRONZE], 0)};
}

int usage() {
    std::fputs("usage: tavrelo-record LEVEL.slv.txt [-o LEVEL.keys] [--keep KEYS[:STEPS]] [--ahead STEPS]\n"
               "                      [--max STEPS] [--tries N]\n"
               "  -o FILE          write the proof there (what is not a proof yet goes to FILE.unfinished)\n"
               "  --keep KEYS:N    hold the first N steps of KEYS (all without :N), then search on\n"
               "  --ahead STEPS    how far each try is played out (default 150)\n"
               "  --max STEPS      the longest recording looked for (default 12000)\n"
               "  --tries N        dead ends to back out of before giving up (default 400)\n",
               stderr);
    return 2;
}

bool number(const char* text, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 0 || parsed > 1000000) return false;
    value = int(parsed);
    return true;
}

bool parseArguments(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool hasValue = i + 1 < argc;
        if (word == "-o" && hasValue) {
            arguments.output = argv[++i];
        } else if (word == "--keep" && hasValue) {
            std::string keep = argv[++i];
            const size_t colon = keep.rfind(':');
            if (colon != std::string::npos) {
                if (!number(keep.c_str() + colon + 1, arguments.keepSteps)) return false;
                keep.resize(colon);
            }
            arguments.keepPath = keep;
        } else if (word == "--ahead" && hasValue) {
            if (!number(argv[++i], arguments.search.ahead)) return false;
        } else if (word == "--max" && hasValue) {
            if (!number(argv[++i], arguments.search.maxSteps)) return false;
        } else if (word == "--tries" && hasValue) {
            if (!number(argv[++i], arguments.search.maxBacktracks)) return false;
        } else if (word[0] != '-' && arguments.level.empty()) {
            arguments.level = word;
        } else {
            return false;
        }
    }
    return !arguments.level.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!parseArguments(argc, argv, arguments)) return usage();
    Level level;
    std::string error;
    if (!loadLevelSource(arguments.level, level, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<HeldKeys> prefix;
    if (!arguments.keepPath.empty()) {
        prefix = readRecording(arguments.keepPath);
        if (prefix.empty()) {
            std::fprintf(stderr, "%s: no recording to keep\n", arguments.keepPath.c_str());
            return 1;
        }
        if (arguments.keepSteps >= 0 && size_t(arguments.keepSteps) < prefix.size())
            prefix.resize(size_t(arguments.keepSteps));
    }
    settings = defaultSettings();
    settings.sounds = 0;
    const std::string name = levelNameOf(arguments.level);
    // What is not a proof yet goes beside the output, never over it: a
    // search that fails must not cost the level the proof it had.
    const std::string unfinished = arguments.output + ".unfinished";
    if (!arguments.output.empty()) {
        arguments.search.save = [unfinished](const std::vector<HeldKeys>& sofar) {
            writeFileAtomically(unfinished, "# unfinished: the search goes on\n" + recordingText(sofar));
        };
    }
    const RecordResult found = recordLevel(level, levelModeOf(name), prefix, arguments.search);
    std::fprintf(stderr, "search %s after %zu steps, %d dead ends\n", found.reached ? "reached the goal" : "stopped",
                 found.keys.size(), found.deadEnds);
    const std::vector<HeldKeys>& steps = found.keys;

    // The check replays it from a fresh start, as the tests do.
    const LevelReport report = checkLevelWithProof(arguments.level, name, steps);
    std::fputs(checkTableHeader().c_str(), stderr);
    std::fputs(checkTableRow(report).c_str(), stderr);
    for (const std::string& fault : report.proofFaults()) std::fprintf(stderr, "BROKEN %s\n", fault.c_str());
    if (!report.proofBroken() && (report.mode == LevelMode::TimeAttack || report.mode == LevelMode::Race)) {
        const MedalTimes medals = suggestedMedals(report.proofTimeMs());
        std::fprintf(stderr, "medal times from this proof (a line for the level text): medals %d %d %d\n", medals.gold,
                     medals.silver, medals.bronze);
    }

    // An unfinished run is written too: it shows where the search stuck,
    // and --keep goes on from a part of it.
    const std::string text = recordingText(steps);
    if (arguments.output.empty()) {
        std::fputs(text.c_str(), stdout);
        return report.proofBroken() ? 1 : 0;
    }
    const std::string& written = report.proofBroken() ? unfinished : arguments.output;
    if (writeFileAtomically(written, report.proofBroken() ? "# unfinished: not a proof\n" + text : text) != 0) {
        std::fprintf(stderr, "%s: cannot write\n", written.c_str());
        return 1;
    }
    if (report.proofBroken()) {
        std::fprintf(stderr, "not a proof: written to %s (%s is left as it was)\n", written.c_str(),
                     arguments.output.c_str());
        return 1;
    }
    std::remove(unfinished.c_str());
    return 0;
}
