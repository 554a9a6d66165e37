#include "core/held_keys.h"

#include <algorithm>

namespace {
std::vector<int> held;
}  // namespace

void setKeyDown(int code, bool down) {
    const auto at = std::find(held.begin(), held.end(), code);
    if (down && at == held.end()) held.push_back(code);
    if (!down && at != held.end()) held.erase(at);
}

bool keyIsDown(int code) { return std::find(held.begin(), held.end(), code) != held.end(); }

const std::vector<int>& keysDown() { return held; }

void releaseAllKeys() { held.clear(); }
