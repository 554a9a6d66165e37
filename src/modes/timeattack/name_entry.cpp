#include "modes/timeattack/name_entry.h"

bool appendNameCharacter(std::string& name, unsigned unicode) {
    if (name.size() >= MAX_TYPED_NAME) return false;
    // The character is taken as a signed byte, so a code point above 255
    // that happens to end in a printable byte would slip in; refuse it.
    if (unicode < 32 || unicode > 125) return false;
    name.push_back(char(unicode));
    return true;
}

bool eraseNameCharacter(std::string& name) {
    if (name.empty()) return false;
    name.pop_back();
    return true;
}
