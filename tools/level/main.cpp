// tavrelo-level: turns level files into readable text and back, and checks
// levels against their replay proofs.
//   tavrelo-level dump FILE.slv
//   tavrelo-level build FILE.txt -o FILE.slv
//   tavrelo-level check PATH...

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/byte_io.h"
#include "level/level_file.h"
#include "level/level_text.h"
#include "replay/level_check.h"
#include "replay/level_source.h"

namespace {

int usage() {
    std::fputs("usage: tavrelo-level dump FILE.slv\n"
               "       tavrelo-level build FILE.txt -o FILE.slv\n"
               "       tavrelo-level check PATH...   (levels, folders searched recursively)\n", stderr);
    return 2;
}

int dump(const std::string& path) {
    std::string contents;
    if (!readWholeFile(path, contents)) {
        std::fprintf(stderr, "%s: cannot open\n", path.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes(contents.begin(), contents.end());
    Level level;
    bool oldForm = false;
    if (readLevel(bytes, level, &oldForm) != 0) {
        std::fprintf(stderr, "%s: not a level file (short or damaged)\n", path.c_str());
        return 1;
    }
    size_t used = levelBytes(level, oldForm).size();
    if (used != bytes.size())
        std::fprintf(stderr, "%s: warning: %zu bytes after the last block are not kept\n", path.c_str(),
                     bytes.size() - used);
    std::fputs(printLevelText(level, oldForm).c_str(), stdout);
    return 0;
}

int build(const std::string& textPath, const std::string& outPath) {
    std::string text;
    if (!readWholeFile(textPath, text)) {
        std::fprintf(stderr, "%s: cannot open\n", textPath.c_str());
        return 1;
    }
    Level level;
    LevelTextError error;
    bool oldForm = false;
    if (parseLevelText(text, level, &error, &oldForm) != 0) {
        if (error.line > 0)
            std::fprintf(stderr, "%s:%d: %s\n", textPath.c_str(), error.line, error.message.c_str());
        else
            std::fprintf(stderr, "%s: %s\n", textPath.c_str(), error.message.c_str());
        return 1;
    }
    // The game's ground scan stops at the first block beyond the craft, so a
    // level must be in z order: sort it as the editor's save does, targets
    // following their blocks. A sorted text is left exactly as it is.
    if (!blocksSortedByZ(level)) {
        sortBlocksByZ(level.blocks.editAll());
        std::fprintf(stderr, "%s: blocks were not in z order; sorted by z as the editor saves them "
                     "(targets follow their blocks)\n", textPath.c_str());
    }
    std::vector<uint8_t> bytes = levelBytes(level, oldForm);
    if (writeFileAtomically(outPath, bytes.data(), bytes.size()) != 0) {
        std::fprintf(stderr, "%s: cannot write\n", outPath.c_str());
        return 1;
    }
    return 0;
}

// One row a level, then the cliffs in the campaigns' ramps, the design rules
// broken, what is wrong with each broken proof, and a failing status when
// there is one (or when nothing was found to check).
int check(const std::vector<std::string>& paths) {
    const std::vector<LevelFile> files = findLevelFiles(paths);
    if (files.empty()) {
        std::fputs("check: no level files (*.slv.txt, *.slv) found\n", stderr);
        return 1;
    }
    std::fputs(checkTableHeader().c_str(), stdout);
    std::vector<LevelReport> reports;
    std::vector<std::string> faults;
    for (const LevelFile& file : files) {
        reports.push_back(checkLevel(file.path, file.label));
        std::fputs(checkTableRow(reports.back()).c_str(), stdout);
        std::fflush(stdout);
        for (const std::string& fault : reports.back().proofFaults()) faults.push_back(file.label + ": " + fault);
    }
    for (const Cliff& cliff : campaignCliffs(reports)) std::printf("%s\n", cliffLine(cliff).c_str());
    for (const LevelReport& report : reports)
        for (const std::string& fault : report.designFaults())
            std::printf("DESIGN %s: %s\n", report.label.c_str(), fault.c_str());
    for (const std::string& fault : faults) std::printf("BROKEN %s\n", fault.c_str());
    std::printf("%zu levels checked, %zu proof faults\n", files.size(), faults.size());
    return faults.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "dump") == 0) return dump(argv[2]);
    if (argc == 5 && std::strcmp(argv[1], "build") == 0 && std::strcmp(argv[3], "-o") == 0)
        return build(argv[2], argv[4]);
    if (argc >= 3 && std::strcmp(argv[1], "check") == 0) return check(std::vector<std::string>(argv + 2, argv + argc));
    return usage();
}
