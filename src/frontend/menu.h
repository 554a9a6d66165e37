#pragma once

#include "core/gamestate.h"

// The main menu: six entry blocks on a ring in the sky box, turned one entry
// at a time with Left and Right while the craft in front hops; Enter opens
// the entry in front. The ring keeps its place between visits.
class Menu : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    enum Direction { RESTING = 0, TURNING_LEFT = 1, TURNING_RIGHT = 2 };

    int selection = 0;        // entry in front, 0..5
    int angle = 0;            // ring angle in degrees, a multiple of 60 at rest
    int direction = RESTING;
    int craftX = 20, craftY = 500, craftZ = -5250;
    int prevX = 20, prevY = 500, prevZ = -5250;
    int verticalSpeed = 0;

private:
    void turn(int newDirection);
    void drawSkyBox();
    void drawEntryBlock(int labelSlot);
    void drawOverlay();
};

constexpr int MENU_ENTRY_COUNT = 6;
constexpr int MENU_QUIT_ENTRY = 5;
constexpr int MENU_CRAFT_REST_Y = 500;

// The state Enter opens for an entry; -1 for "Quit".
int menuEntryState(int entry);
// The texture slot that labels an entry's block.
int menuEntryLabel(int entry);
