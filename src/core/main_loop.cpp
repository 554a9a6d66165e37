#include "core/main_loop.h"

#include "core/state_table.h"

int runGame() {
    createStates();
    destroyStates();
    return 0;
}
