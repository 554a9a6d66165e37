#include "replay/recording.h"

#include <sstream>

#include "core/byte_io.h"

bool sameKeys(const HeldKeys& a, const HeldKeys& b) {
    return a.forward == b.forward && a.backward == b.backward && a.left == b.left && a.right == b.right &&
           a.jump == b.jump;
}

HeldKeys forwardOnly() {
    HeldKeys keys;
    keys.forward = true;
    return keys;
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

void holdPlayerKeys(Craft& craft, int keyGroup, const HeldKeys& keys) {
    const ControlKeys codes = controlKeys(keyGroup);
    setKeyHeld(craft, codes.forward, keys.forward);
    setKeyHeld(craft, codes.backward, keys.backward);
    setKeyHeld(craft, codes.left, keys.left);
    setKeyHeld(craft, codes.right, keys.right);
    setKeyHeld(craft, codes.jump, keys.jump);
}
