#include "frontend/menu.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "core/globals.h"
#include "core/services.h"
#include "core/version.h"
#include "frontend/menu_block.h"
#include "render/screen_pieces.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/text.h"
#include "render/textures.h"

namespace {
// Accumulated milliseconds; the ring and the hop advance one step per call
// once more than 20 ms have gathered.
int stepAccumulatorMs = 0;

constexpr int ENTRY_ANGLE = 60;
constexpr int TURN_STEP = 5;
constexpr int HOP_SPEED = 120;
constexpr int HOP_GRAVITY = 10;
constexpr float MENU_BLOCK_CENTRE_Z = -4000.0f;  // the slab's middle, its place on the ring

int ringEntry(int entry) { return (entry % MENU_ENTRY_COUNT + MENU_ENTRY_COUNT) % MENU_ENTRY_COUNT; }
}  // namespace

int menuEntryState(int entry) {
    static const int states[MENU_ENTRY_COUNT] = {STATE_MAPSEL, STATE_SINGLEPLCSEL, STATE_MODESELM,
                                                 STATE_OPTIONS, STATE_LEVELED, -1};
    return states[ringEntry(entry)];
}

int menuEntryLabel(int entry) {
    static const int labels[MENU_ENTRY_COUNT] = {TEX_MENU01, TEX_MENU01 + 1, TEX_MENU01 + 2,
                                                 TEX_MENU01 + 3, TEX_MENU01 + 4, TEX_MENU06};
    return labels[ringEntry(entry)];
}

void Menu::enter() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, PAGE_ASPECT, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    craftX = prevX = 20;
    craftY = prevY = MENU_CRAFT_REST_Y;
    craftZ = prevZ = -5250;
}

void Menu::turn(int newDirection) {
    playSound(ANY_CHANNEL, SOUND_MENU);
    // Reversing mid-turn first undoes the step in progress, so the ring
    // swings back to the entry it came from.
    if (newDirection == TURNING_LEFT && direction == TURNING_RIGHT) selection = ringEntry(selection + 1);
    if (newDirection == TURNING_RIGHT && direction == TURNING_LEFT) selection = ringEntry(selection - 1);
    direction = newDirection;
    if (craftY == MENU_CRAFT_REST_Y) verticalSpeed = HOP_SPEED;
}

int Menu::handleEvent(SDL_Event event, SDL_Keysym key) {
    if (event.type != SDL_KEYDOWN) return 0;
    switch (key.sym) {
        case SDLK_TAB:
        case SDLK_BACKQUOTE: openConsole(); break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: {
            playSound(ANY_CHANNEL, SOUND_SELECT);
            const int state = menuEntryState(selection);
            // The program's own shutdown closes SDL after the states are gone.
            if (state < 0) return -1;
            switchToState(state);
            break;
        }
        case SDLK_ESCAPE: return -1;
        case SDLK_LEFT:
        case SDLK_a: turn(TURNING_LEFT); break;
        case SDLK_RIGHT:
        case SDLK_d: turn(TURNING_RIGHT); break;
        default: break;
    }
    return 0;
}

void Menu::update(int elapsedMs) {
    stepAccumulatorMs += elapsedMs;
    if (stepAccumulatorMs <= 20) return;
    if (direction != RESTING) {
        angle += direction == TURNING_LEFT ? TURN_STEP : -TURN_STEP;
        if (angle % ENTRY_ANGLE == 0) {
            selection = ringEntry(selection + (direction == TURNING_LEFT ? -1 : 1));
            direction = RESTING;
            angle %= 360;
        }
    }
    verticalSpeed -= HOP_GRAVITY;
    prevX = craftX;
    prevY = craftY;
    prevZ = craftZ;
    craftY += verticalSpeed;
    if (craftY <= MENU_CRAFT_REST_Y) {
        craftY = MENU_CRAFT_REST_Y;
        verticalSpeed = 0;
    }
    stepAccumulatorMs %= 21;
}

void Menu::draw() {
    glLoadIdentity();
    gluLookAt(0, 2000, -12000, 0, 0, 0, 0, 1, 0);
    glColor3f(1, 1, 1);
    glPushMatrix();
    glRotatef(float(angle), 0, 1, 0);
    drawSkyBox();
    glPopMatrix();
    for (int entry = 0; entry < MENU_ENTRY_COUNT; ++entry) {
        // Each block rides the ring but keeps its label turned to the
        // viewer, so the entries beside the front one read as well.
        const float around = float(angle + ENTRY_ANGLE * entry);
        glPushMatrix();
        glRotatef(around, 0, 1, 0);
        glTranslatef(0, 0, MENU_BLOCK_CENTRE_Z);
        glRotatef(-around, 0, 1, 0);
        glTranslatef(0, 0, -MENU_BLOCK_CENTRE_Z);
        drawEntryBlock(menuEntryLabel(entry));
        glPopMatrix();
    }
    drawCraft(CRAFT_KIND_PLAYER, verticalSpeed, prevX, prevY, prevZ, craftX, craftY, craftZ, 0.0f, 16, 0, 0);
    glColor3f(1, 1, 1);
    drawOverlay();
}

void Menu::drawSkyBox() {
    static const int corners[5][2] = {{-15000, -15000}, {15000, -15000}, {15000, 15000}, {-15000, 15000}, {-15000, -15000}};
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    bindSlot(TEX_SPACEMENU, 0);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < 5; ++i) {
        glTexCoord2f(0.25f * float(i), 0.0f);
        glVertex3i(corners[i][0], 10000, corners[i][1]);
        glTexCoord2f(0.25f * float(i), 1.0f);
        glVertex3i(corners[i][0], -20000, corners[i][1]);
    }
    glEnd();
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
}

void Menu::drawEntryBlock(int labelSlot) {
    MenuBlockTextures textures;
    textures.side = 0;
    textures.top = TEX_MENU00;
    textures.label = labelSlot;
    drawMenuBlock(textures, animationTicks);
}

void Menu::drawOverlay() {
    drawTitleStrip(0.1f, 0.842f, 0.9f, 0.942f, 0.0f, 0.13f, 1, 1, 1);
    drawText(int(0.685 * screenWidth), int(screenHeight - 0.165 * screenHeight), 0.8f, 1, 1, 1, "Version " TAVRELO_VERSION);
    if (!debugView) return;
    char text[64];
    std::snprintf(text, sizeof text, "selection:   %d", selection);
    drawText(0, int(0.977 * screenHeight), 0.6f, 1, 1, 0, text);
    std::snprintf(text, sizeof text, "fps:         %d", framesPerSecond);
    drawText(0, int(0.957 * screenHeight), 0.6f, 1, 1, 0, text);
}
