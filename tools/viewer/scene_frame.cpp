#include "scene_frame.h"

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/startup.h"
#include "app/window.h"
#include "core/globals.h"
#include "core/services.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/objects.h"
#include "render/text.h"
#include "render/textures.h"
#include "render/track.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

int openViewerWindow(const ViewerOptions& options) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "Could not initialize SDL: %s\n", SDL_GetError());
        return -1;
    }
    std::string error;
    if (!openGameWindow({"Tavrelo view", options.width, options.height, false, false, false}, error)) {
        std::fprintf(stderr, "Could not set OpenGL Video Mode: %s\n", error.c_str());
        return -1;
    }
    setTickSource([]() -> uint32_t { return SDL_GetTicks(); });
    screenWidth = options.width;
    screenHeight = options.height;
    settings.style = options.style;
    settings.mipmaps = 1;
    settings.animDivisor = 1;
    setFixedGlState(options.width, options.height);
    listTextureSets();
    if (loadTextures() != 0 || loadFontTexture() != 0 || loadTitleTexture() != 0) {
        std::fprintf(stderr, "Textures not found (run from the runtime directory).\n");
        return -1;
    }
    buildSpriteTiles();
    buildCornerTables();
    return 0;
}

Craft placeViewerCraft(const Level& level, const ViewerOptions& options) {
    const BlockBody& first = level.blocks.front().body;
    Craft craft;
    craft.x = options.xGiven ? options.x : first.x - first.width / 2;
    craft.z = options.zGiven ? options.z : first.z + 500;
    craft.ypos = first.y + 2000;
    // Stand on the highest block under the craft.
    bool found = false;
    for (const Block& block : level.blocks) {
        const BlockCorner at = blockCorner(block.body);
        if (craft.x <= at.x && craft.x >= at.x - block.body.width && craft.z >= at.z &&
            craft.z <= at.z + block.body.length && (!found || at.y + 150 > craft.ypos)) {
            craft.ypos = at.y + 150;
            found = true;
        }
    }
    craft.prevX = craft.x;
    craft.prevY = craft.ypos;
    craft.prevZ = craft.z - options.forwardSpeed;
    craft.f_speed = options.forwardSpeed;
    craft.health = options.health;
    craft.groundType = found ? BLOCK_PLAIN : GROUND_AIRBORNE;
    return craft;
}

void drawViewerFrame(const Level& level, Craft& craft, const ViewerOptions& options) {
    settings.details = options.details;
    settings.drawDist = 200000;
    settings.shadowDist = 50000;
    settings.shadows = options.shadows ? 1 : 0;
    settings.glow = options.halos ? 1 : 0;
    settings.speed = 1;
    glViewport(0, 0, options.width, options.height);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    placeCameraAtStart(craft, ViewVariant::Single);
    setViewAngle(craft, 35.0f + float(options.forwardSpeed) / 8.0f, false, ViewVariant::Single);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    if (options.wireframe) setWireframe(true);
    applyCamera(craft);
    drawBackdrop(BACKDROP_SLOTS[options.backdrop], false);
    drawTrack(level, craft.z);
    if (options.craft) drawCraftRecord(craft);
    const Craft* crafts[] = {&craft};
    drawShadows(level, crafts, options.craft ? 1 : 0, craft.z);
    if (settings.glow) drawHalos(level, craft.z, HALO_SINGLE);
    if (options.craft) drawCraftTrail(craft);
    drawBlockItems(level, craft, false, false);
    if (options.wireframe) setWireframe(false);
    char caption[96];
    std::snprintf(caption, sizeof caption, "z %d  Details %d  Shadows %s  Halos %s", craft.z, options.details,
                  options.shadows ? "on" : "off", options.halos ? "on" : "off");
    drawText(int(0.02 * screenWidth), int(0.97 * screenHeight), 0.8f, 1, 1, 0, caption);
}

void drawSplitViewerFrame(const Level& level, Craft& craftA, Craft& craftB, const ViewerOptions& options) {
    settings.details = options.details;
    settings.drawDist = 200000;
    settings.shadows = options.shadows ? 1 : 0;
    settings.speed = 1;
    glViewport(0, 0, options.width, options.height);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    placeCameraAtStart(craftA, ViewVariant::Split);
    placeCameraAtStart(craftB, ViewVariant::Split);
    Craft* crafts[2] = {&craftA, &craftB};
    for (int player = 0; player < 2; ++player) {
        Craft& viewer = *crafts[player];
        setViewAngle(viewer, 35.0f + float(viewer.f_speed) / 8.0f, false, ViewVariant::Split);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        applyCamera(viewer);
        setSplitViewport(player == 0 ? SPLIT_PLAYER_A : SPLIT_PLAYER_B);
        drawBackdrop(BACKDROP_SLOTS[3], true);
        SplitTrackOptions track;
        if (options.leadingMark) track.leadingMark = options.leadingMark;
        drawSplitTrack(level, viewer, 1, track);
        drawCraftRecord(craftA);
        drawCraftRecord(craftB);
        drawSplitShadows(craftA, craftB);
        if (options.halos) drawSplitHalos(level, viewer.camZ, 1, HALO_SPLIT);
        drawText(int(0.75 * screenWidth), int(0.1 * screenHeight), 0.9f, 1, 1, 1, player == 0 ? "Player 2" : "Player 1");
    }
    setWholeViewport();
}

bool saveBackBufferPng(const std::string& path, int width, int height) {
    std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const size_t row = size_t(width) * 3;
    std::vector<unsigned char> flipped(rgb.size());
    for (int y = 0; y < height; ++y)
        std::copy(rgb.begin() + long(size_t(y) * row), rgb.begin() + long(size_t(y + 1) * row),
                  flipped.begin() + long(size_t(height - 1 - y) * row));
    return stbi_write_png(path.c_str(), width, height, 3, flipped.data(), int(row)) != 0;
}
