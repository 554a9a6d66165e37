#include "support/gl_context.h"

#include <SDL2/SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <memory>
#include <cstdlib>
#include <vector>

#include "app/startup.h"
#include "app/window.h"
#include "core/globals.h"
#include "render/block_cache.h"
#include "render/textures.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace {

bool videoStarted = false;
// Every new window has a new GL context, and with it no texture or display
// list of the old one: counted so the shared context can tell.
int contextGeneration = 0;

// What other suites (the glow tests) may leave behind: their render
// target, a fragment program, masks and switches.
void resetLeftoverState() {
    using BindFramebuffer = void (*)(GLenum, GLuint);
    using UseProgram = void (*)(GLuint);
    using ActiveTexture = void (*)(GLenum);
    if (auto bind = reinterpret_cast<BindFramebuffer>(SDL_GL_GetProcAddress("glBindFramebufferEXT")))
        bind(0x8D40 /* GL_FRAMEBUFFER_EXT */, 0);
    if (auto use = reinterpret_cast<UseProgram>(SDL_GL_GetProcAddress("glUseProgram"))) use(0);
    if (auto active = reinterpret_cast<ActiveTexture>(SDL_GL_GetProcAddress("glActiveTexture"))) {
        // A texture left enabled on another unit would modulate everything.
        for (GLenum unit = 1; unit < 4; ++unit) {
            active(0x84C0 /* GL_TEXTURE0 */ + unit);
            glDisable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        active(0x84C0);
    }
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDepthRange(0, 1);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// SDL may open the display more than once as it starts (a probe, then its
// own connection). An X server that resets when its last client leaves (as
// xvfb-run's does) turns that second connection away now and then ("Couldn't
// open X11 display"), so a few tries.
bool startVideo() {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
        SDL_Delay(200);
    }
    return false;
}

}  // namespace

void applyGameGlState(int width, int height) {
    setFixedGlState(width, height);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_ONE);
}

GlContext::GlContext(int width, int height) : width_(width), height_(height) {
    if (!videoStarted) {
        if (!startVideo()) {
            error_ = SDL_GetError();
            return;
        }
        videoStarted = true;
    }
    // Compiled block bodies belong to the context about to be replaced.
    clearBlockCache();
    ++contextGeneration;
    // The game's own window, without vertical sync: the benchmarks time
    // frames.
    if (!openGameWindow({"Tavrelo tests", width, height, false, false, false}, error_)) return;
    screenWidth = width;
    screenHeight = height;
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    swapGameWindow();
    applyGameGlState(width, height);
    ok_ = true;
}

GlContext& sharedGlContext() {
    static std::unique_ptr<GlContext> context;
    static int generation = -1;
    if (!context || generation != contextGeneration) {
        context.reset();
        context = std::make_unique<GlContext>(1024, 768);
        generation = contextGeneration;
    }
    // Other suites may have changed the size globals or the GL state.
    screenWidth = context->width();
    screenHeight = context->height();
    if (context->ok()) {
        resetLeftoverState();
        applyGameGlState(context->width(), context->height());
        // Errors raised before this point are not the caller's.
        for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
        }
    }
    return *context;
}

GlContext::~GlContext() {
    // The window stays open for the next test: re-creating GL contexts under
    // Xvfb costs far more than the tests themselves.
}

void GlContext::beginFrame() {
    glViewport(0, 0, width_, height_);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
}

void GlContext::swap() { swapGameWindow(); }

GlContext::Pixel GlContext::pixel(int x, int y) const {
    unsigned char rgb[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

long GlContext::brightness(int left, int bottom, int right, int top) const {
    if (right <= left || top <= bottom) return 0;
    std::vector<unsigned char> rgba(size_t(right - left) * size_t(top - bottom) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(left, bottom, right - left, top - bottom, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    long sum = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) sum += rgba[i] + rgba[i + 1] + rgba[i + 2];
    return sum;
}

bool GlContext::savePng(const std::string& path) const {
    std::vector<unsigned char> rgb(size_t(width_) * size_t(height_) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    // GL rows run bottom-up, PNG rows top-down.
    std::vector<unsigned char> flipped(rgb.size());
    const size_t row = size_t(width_) * 3;
    for (int y = 0; y < height_; ++y)
        std::copy(rgb.begin() + long(y * row), rgb.begin() + long((y + 1) * row),
                  flipped.begin() + long((height_ - 1 - y) * row));
    return stbi_write_png(path.c_str(), width_, height_, 3, flipped.data(), int(row)) != 0;
}

namespace {

GLuint uploadTexture(int size, const std::vector<unsigned char>& rgba) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return id;
}

// A tile with a light border and a darker centre in one colour per slot, so
// the blocks read as blocks in pictures and chamfers show the border colour.
GLuint slotTexture(int slot) {
    const int size = 32;
    const unsigned char base[3] = {(unsigned char)(60 + (slot * 53) % 160),
                                   (unsigned char)(60 + (slot * 97) % 160),
                                   (unsigned char)(60 + (slot * 31) % 160)};
    std::vector<unsigned char> rgba(size * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool border = x < 2 || y < 2 || x >= size - 2 || y >= size - 2;
            unsigned char* p = &rgba[size_t((y * size + x) * 4)];
            for (int c = 0; c < 3; ++c) p[c] = border ? 230 : base[c];
            p[3] = 255;
        }
    return uploadTexture(size, rgba);
}

GLuint solidTexture(unsigned char value) {
    const int size = 16;
    std::vector<unsigned char> rgba(size * size * 4, value);
    return uploadTexture(size, rgba);
}

}  // namespace

void createTestTextures() {
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        if (!textureTable[slot].empty()) glDeleteTextures(GLsizei(textureTable[slot].size()), textureTable[slot].data());
        textureTable[slot].assign(1, slotTexture(slot));
        frameCounts[slot] = 0;
    }
    // Every font cell and the title image fully white: a glyph then covers
    // exactly its quad, which the pixel probes rely on.
    if (fontTexture) glDeleteTextures(1, &fontTexture);
    fontTexture = solidTexture(255);
    if (titleTexture) glDeleteTextures(1, &titleTexture);
    titleTexture = solidTexture(255);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    buildSpriteTiles();
    buildCornerTables();
}

std::vector<unsigned char> readWindow(const GlContext& gl) {
    std::vector<unsigned char> pixels(size_t(gl.width()) * size_t(gl.height()) * 4);
    glReadPixels(0, 0, gl.width(), gl.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::size_t differingPixels(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4)
        differing += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return differing;
}
