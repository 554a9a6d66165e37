#pragma once

#include <GL/gl.h>

// Pieces the list and menu screens share: flat image pieces such as the title
// strip cut from the title image, the list panel with its rows, the scroll
// arrows beside it and the dimmed backdrop. Positions are fractions of the
// window, y measured upward.

struct ScreenColour {
    float red, green, blue;
};

constexpr ScreenColour SCREEN_WHITE = {1.0f, 1.0f, 1.0f};
constexpr ScreenColour SCREEN_BLUE = {0.0f, 0.0f, 1.0f};
constexpr ScreenColour SCREEN_YELLOW = {1.0f, 1.0f, 0.0f};
constexpr ScreenColour SCREEN_CYAN = {0.0f, 1.0f, 1.0f};

// A piece of `texture` (u from uLeft to uRight, v from vBottom at the bottom
// edge to vTop at the top edge) blended onto the quad in the current colour,
// with depth test and lighting off while it draws; the colour is white
// afterwards.
void drawFlatPiece(GLuint texture, double left, double bottom, double right, double top, float uLeft,
                   float uRight, float vBottom, float vTop);

// A band of titleTexture (v from vTop at the top edge to vBottom at the
// bottom edge, the whole width) blended onto the quad, tinted.
void drawTitleStrip(float left, float bottom, float right, float top, float vTop, float vBottom,
                    float red, float green, float blue);

// The "gui" arrow pair beside a list: the lower arrow points down, the upper
// one up; each is lit when rows are hidden on its side and dark otherwise.
struct ScrollArrows {
    double left, right;               // both arrows share these columns
    double belowBottom, belowTop;     // the down arrow
    double aboveBottom, aboveTop;     // the up arrow
    ScreenColour lit;
    ScreenColour dark;
};

// Where the time-attack map list (and the lists made like it) put theirs.
constexpr ScrollArrows LIST_SCROLL_ARROWS = {0.918, 0.93, 0.3, 0.335, 0.7, 0.735,
                                             {0.2f, 0.2f, 1.0f}, {0.2f, 0.2f, 0.2f}};

// The same place with another lit colour (yellow, cyan, white lists).
constexpr ScrollArrows listScrollArrowsLit(ScreenColour lit) {
    return {LIST_SCROLL_ARROWS.left, LIST_SCROLL_ARROWS.right, LIST_SCROLL_ARROWS.belowBottom,
            LIST_SCROLL_ARROWS.belowTop, LIST_SCROLL_ARROWS.aboveBottom, LIST_SCROLL_ARROWS.aboveTop,
            lit, LIST_SCROLL_ARROWS.dark};
}

void drawScrollArrows(bool hiddenAbove, bool hiddenBelow, const ScrollArrows& arrows = LIST_SCROLL_ARROWS);

// The same "gui" arrow turned to point left or right (the keys that turn a
// row of pages), in a colour.
void drawSideArrow(double left, double bottom, double right, double top, bool pointsRight, ScreenColour colour);

// A framed list: the panel's outline and where its rows go.
struct ListPanel {
    double left, top, width, height;  // the outline (top is its upper edge)
    ScreenColour frame;
    double firstRowY;  // the first visible row's text line
    double rowStep;    // each further row this much lower
    int visibleRows;
};

// The time-attack map list's panel.
constexpr ListPanel MAP_LIST_PANEL = {0.029, 0.82, 0.941, 0.651, SCREEN_BLUE, 0.716, 0.039, 11};

void drawListPanel(const ListPanel& panel);
// The text line of the visibleIndex-th shown row (0 = the first shown).
double listRowY(const ListPanel& panel, int visibleIndex);

// Window fraction to whole pixels, dropping the fraction.
int pixelX(double fraction);
int pixelY(double fraction);

// A full-window backdrop of texture slot `slot`, dimmed to `brightness`.
void drawDimmedBackdrop(int slot, float brightness);
// The list screens' backdrop: "space1" dimmed to 0.7.
void drawListBackdrop();

// A dark veil under words that stand over a scene (a dialog, a result):
// (left, top) corner and size as fractions of the window. The scene shows
// through a panel's frame; the veil keeps the words readable over bright
// block tops.
void drawVeil(double left, double top, double width, double height);
