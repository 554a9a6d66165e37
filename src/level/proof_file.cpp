#include "level/proof_file.h"

#include <sstream>

#include "core/atomic_file.h"
#include "core/byte_io.h"

namespace {

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool sameKeys(const HeldKeys& a, const HeldKeys& b) {
    return a.forward == b.forward && a.backward == b.backward && a.left == b.left && a.right == b.right &&
           a.jump == b.jump;
}

std::vector<HeldKeys> readRecording(const std::string& path) {
    std::string text;
    if (!readWholeFile(path, text)) return {};
    return parseRecording(text);
}

std::vector<HeldKeys> parseRecording(const std::string& text) {
    std::vector<HeldKeys> steps;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        int count = 0;
        std::string keys;
        if (!(words >> count)) continue;
        if (!(words >> keys) || count <= 0) return {};
        HeldKeys held;
        for (char key : keys) {
            switch (key) {
                case 'F': held.forward = true; break;
                case 'B': held.backward = true; break;
                case 'L': held.left = true; break;
                case 'R': held.right = true; break;
                case 'J': held.jump = true; break;
                case '-': break;
                default: return {};
            }
        }
        steps.insert(steps.end(), size_t(count), held);
    }
    return steps;
}

std::string recordingText(const std::vector<HeldKeys>& steps) {
    std::string text =
        "# Held keys per physics step: <steps> <keys> (F forward, B backward, L left, R right, J jump, - none)\n";
    size_t i = 0;
    while (i < steps.size()) {
        size_t j = i;
        while (j < steps.size() && sameKeys(steps[j], steps[i])) ++j;
        std::string keys;
        if (steps[i].forward) keys += 'F';
        if (steps[i].backward) keys += 'B';
        if (steps[i].left) keys += 'L';
        if (steps[i].right) keys += 'R';
        if (steps[i].jump) keys += 'J';
        if (keys.empty()) keys = "-";
        text += std::to_string(j - i) + " " + keys + "\n";
        i = j;
    }
    return text;
}

int writeRecording(const std::string& path, const std::vector<HeldKeys>& steps) {
    return writeFileAtomically(path, recordingText(steps));
}

std::string proofPathFor(const std::string& levelPath) {
    for (const char* suffix : {".slv.txt", ".slv"})
        if (endsWith(levelPath, suffix)) return levelPath.substr(0, levelPath.size() - std::string(suffix).size()) + ".keys";
    return levelPath + ".keys";
}
