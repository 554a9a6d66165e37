#include "replay/recording.h"

HeldKeys forwardOnly() {
    HeldKeys keys;
    keys.forward = true;
    return keys;
}
