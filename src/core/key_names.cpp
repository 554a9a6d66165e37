#include "core/key_names.h"

#include <cstdio>

namespace {

struct NamedKey {
    int code;
    const char* name;
};

// Keypad 2, 4, 6 and 8 carry their arrow names, as printed on the keys.
constexpr NamedKey NAMED_KEYS[] = {
    {8, "backspace"}, {13, "return"}, {32, "space"},
    {256, "KP_0"}, {257, "KP_1"}, {258, "KP_DOWN"}, {259, "KP_3"}, {260, "KP_LEFT"},
    {261, "KP_5"}, {262, "KP_RIGHT"}, {263, "KP_7"}, {264, "KP_UP"}, {265, "KP_9"},
    {271, "KP_RETURN"}, {273, "up"}, {274, "down"}, {275, "right"}, {276, "left"},
    {303, "rshift"}, {304, "lshift"}, {305, "rctrl"}, {306, "lctrl"},
};

char keyNameBuffer[24];

}  // namespace

const char* keyName(int keyCode) {
    if (keyCode >= 'a' && keyCode <= 'z') {
        std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "%c", keyCode);
    } else if (keyCode >= '0' && keyCode <= '9') {
        std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "%d", keyCode - '0');
    } else {
        std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "key%d", keyCode);
        for (const NamedKey& named : NAMED_KEYS)
            if (named.code == keyCode) std::snprintf(keyNameBuffer, sizeof keyNameBuffer, "%s", named.name);
    }
    return keyNameBuffer;
}
