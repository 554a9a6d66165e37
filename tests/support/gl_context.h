#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A real OpenGL window for tests and benchmarks, the game's own: depth 24 (16 where
// the driver has no more, as in the game), stencil 8,
// double buffered, with the game's fixed GL state (lights, culling, depth
// test, normalisation) so drawing code sees what it sees in the game.
// Under Xvfb the default visual is Mesa llvmpipe.
//
// One window at a time: opening a second context closes the first window
// and its context. screenWidth/screenHeight follow the window.
class GlContext {
public:
    GlContext(int width, int height);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Clears colour, depth and stencil, loads identity matrices and the
    // viewport of the whole window: the start of renderFrame.
    void beginFrame();
    void swap();

    // Reads back the colour buffer; y measured upward as in GL.
    struct Pixel {
        int r, g, b;
    };
    Pixel pixel(int x, int y) const;
    // Sum of r + g + b over a rectangle (left, bottom inclusive, right, top
    // exclusive): a cheap "is something drawn here" probe.
    long brightness(int left, int bottom, int right, int top) const;
    // Writes the back buffer as an 8-bit RGB PNG (through SDL_image's
    // loader-free path: a small built-in writer). Returns false on failure.
    bool savePng(const std::string& path) const;

private:
    int width_, height_;
    bool ok_ = false;
    std::string error_;
};

// One 1024 x 768 window shared by all tests of a process; opened on first use and again whenever another GlContext has
// replaced it since. Each call restores the game's fixed GL state, the
// window framebuffer and screenWidth/screenHeight.
GlContext& sharedGlContext();

// The fixed OpenGL state the game sets at start-up, for a window of w x h.
void applyGameGlState(int width, int height);

// A few textures so drawing code can bind real slots without the data tree:
// every texture slot, the font and the sprite tiles get small procedural
// images. Call after a context is open; safe to call again.
void createTestTextures();

// The whole window as RGBA bytes, bottom row first.
std::vector<unsigned char> readWindow(const GlContext& gl);

// Pixels whose colour (alpha aside) differs between two RGBA window reads.
std::size_t differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);
