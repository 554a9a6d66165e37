#include "modes/multi/split_keys.h"

#include "core/gamestate.h"
#include "core/state_ids.h"
#include "modes/multi/two_player.h"

bool routeSplitScreenKey(SDL_Event event, SDL_Keysym key, Craft& a, Craft& b) {
    if (event.type == SDL_KEYUP) {
        holdKeyForBoth(a, b, key.sym, false);
        return true;
    }
    if (event.type != SDL_KEYDOWN) return true;
    if (key.sym == SDLK_ESCAPE) {
        switchToState(STATE_MODESELM);
        return true;
    }
    if (key.sym == SDLK_BACKQUOTE || key.sym == SDLK_TAB) {
        openConsole();
        return true;
    }
    return false;
}
