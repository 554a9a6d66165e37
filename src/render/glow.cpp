#include "render/glow.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/globals.h"
#include "core/settings.h"
#include "render/camera.h"
#include "render/glow_api.h"

GlowEntryPoints glowGl = {};
GlowResources glowResources;

namespace {

const char* const requiredExtensions[] = {
    "GL_ARB_shader_objects", "GL_ARB_draw_buffers", "GL_ARB_fragment_program",
    "GL_ARB_fragment_shader", "GL_EXT_framebuffer_object", "GL_ARB_texture_float",
};

template <class Function>
bool lookUp(Function& entry, const char* name) {
    entry = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
    return entry != nullptr;
}

bool lookUpEntryPoints() {
    GlowEntryPoints& g = glowGl;
    // Every lookup runs, in this order; a driver that names an extension
    // but lacks one of its functions must not leave a null pointer to call.
    bool ok = true;
    ok &= lookUp(g.genRenderbuffers, "glGenRenderbuffersEXT");
    ok &= lookUp(g.bindRenderbuffer, "glBindRenderbufferEXT");
    ok &= lookUp(g.deleteRenderbuffers, "glDeleteRenderbuffersEXT");
    ok &= lookUp(g.renderbufferStorage, "glRenderbufferStorageEXT");
    ok &= lookUp(g.framebufferRenderbuffer, "glFramebufferRenderbufferEXT");
    ok &= lookUp(g.bindFramebuffer, "glBindFramebufferEXT");
    ok &= lookUp(g.genFramebuffers, "glGenFramebuffersEXT");
    ok &= lookUp(g.deleteFramebuffers, "glDeleteFramebuffersEXT");
    ok &= lookUp(g.framebufferTexture2D, "glFramebufferTexture2DEXT");
    ok &= lookUp(g.uniform1i, "glUniform1iARB");
    ok &= lookUp(g.uniform1f, "glUniform1fARB");
    ok &= lookUp(g.createShaderObject, "glCreateShaderObjectARB");
    ok &= lookUp(g.shaderSource, "glShaderSourceARB");
    ok &= lookUp(g.compileShader, "glCompileShaderARB");
    ok &= lookUp(g.createProgramObject, "glCreateProgramObjectARB");
    ok &= lookUp(g.attachObject, "glAttachObjectARB");
    ok &= lookUp(g.linkProgram, "glLinkProgramARB");
    ok &= lookUp(g.useProgramObject, "glUseProgramObjectARB");
    ok &= lookUp(g.getUniformLocation, "glGetUniformLocationARB");
    ok &= lookUp(g.deleteObject, "glDeleteObjectARB");
    ok &= lookUp(g.getProgramiv, "glGetProgramiv");
    ok &= lookUp(g.getProgramInfoLog, "glGetProgramInfoLog");
    ok &= lookUp(g.checkFramebufferStatus, "glCheckFramebufferStatusEXT");
    return ok;
}

GLuint createGlowTexture(int width, int height) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
    // Nearest and clamped: the blur passes work exactly per texel.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    return texture;
}

// One shader pass: source texture through a program into a colour attachment.
void runPass(GLenum target, const GlowProgram& pass, GLuint source, float pixelSize) {
    glDrawBuffer(target);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glowGl.useProgramObject(pass.program);
    glBindTexture(GL_TEXTURE_2D, source);
    glowGl.uniform1i(pass.samplerLocation, 0);
    if (pass.pixelSizeLocation >= 0) glowGl.uniform1f(pass.pixelSizeLocation, pixelSize);
    drawFullWindowQuad(glowResources.width, glowResources.height, 1);
}

}  // namespace

const char* firstMissingGlowExtension(const char* extensions) {
    if (!extensions) return requiredExtensions[0];
    for (const char* name : requiredExtensions)
        if (!std::strstr(extensions, name)) return name;
    return nullptr;
}

const char* framebufferStatusMessage(GLenum status) {
    switch (status) {
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT: return "Framebuffer incomplete attachment.\n";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT:
        return "Framebuffer incomplete, missing attachment.\n";
    case GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT:
        return "Framebuffer incomplete, attached images must have the same dimensions.\n";
    case GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT:
        return "Framebuffer incomplete, attached images must have the same format.\n";
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT: return "Framebuffer incomplete, missing draw buffer.\n";
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT: return "Framebuffer incomplete, missing read buffer.\n";
    case GL_FRAMEBUFFER_UNSUPPORTED_EXT: return "Unsupported framebuffer format.\n";
    }
    return "Undefined error.\n";
}

int loadGlowExtensions() {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (firstMissingGlowExtension(extensions)) {
        shadersActive = false;
        return -1;
    }
    GLint attachments = 0;
    glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS_EXT, &attachments);
    shadersActive = attachments > 1;
    if (!shadersActive) return -1;
    if (!lookUpEntryPoints()) {
        shadersActive = false;
        return -1;
    }
    return 0;
}

int createGlowTargets() {
    GlowResources& r = glowResources;
    r.width = settings.bloomW;
    r.height = settings.bloomH;
    glowGl.genFramebuffers(1, &r.framebuffer);
    glowGl.bindFramebuffer(GL_FRAMEBUFFER_EXT, r.framebuffer);

    glowGl.genRenderbuffers(1, &r.depthBuffer);
    glowGl.bindRenderbuffer(GL_RENDERBUFFER_EXT, r.depthBuffer);
    glowGl.renderbufferStorage(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, r.width, r.height);
    glowGl.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                   r.depthBuffer);

    r.textureA = createGlowTexture(r.width, r.height);
    r.textureB = createGlowTexture(r.width, r.height);
    glowGl.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, r.textureA, 0);
    glowGl.framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT1_EXT, GL_TEXTURE_2D, r.textureB, 0);

    GLenum status = glowGl.checkFramebufferStatus(GL_FRAMEBUFFER_EXT);
    if (status == GL_FRAMEBUFFER_COMPLETE_EXT || status == 0) return 0;
    std::fputs(framebufferStatusMessage(status), stdout);
    // Left bound, the unusable target would take every later frame and the
    // window would stay black; the game goes on without the glow.
    bindWindowFramebuffer();
    releaseGlowResources();
    return -1;
}

void bindGlowFramebuffer() {
    glowGl.bindFramebuffer(GL_FRAMEBUFFER_EXT, glowResources.framebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
}

void bindWindowFramebuffer() {
    if (glowGl.bindFramebuffer) glowGl.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
}

void runGlowBlur() {
    const GlowResources& r = glowResources;
    glViewport(0, 0, r.width, r.height);
    runPass(GL_COLOR_ATTACHMENT1_EXT, r.filter, r.textureA, 0.0f);
    runPass(GL_COLOR_ATTACHMENT0_EXT, r.blurVertical, r.textureB, 1.0f / float(r.height));
    runPass(GL_COLOR_ATTACHMENT1_EXT, r.blurHorizontal, r.textureA, 1.0f / float(r.width));
    glowGl.useProgramObject(0);
}

GLuint glowTexture() { return glowResources.textureB; }

namespace {

bool singlePassComposite = true;
bool litTilesOnly = true;

// The blurred image is black wherever nothing bright was near, and adding
// black changes no pixel: only the tiles of it that hold some light are
// added, in runs along each row of tiles. The runs map window to image as
// the whole-window quad does, so every pixel reads the texel it read.
constexpr int TILE_TEXELS = 8;

struct TileRun {
    int x0, y0, x1, y1;  // texels
};

std::vector<TileRun> litTileRuns() {
    const GlowResources& r = glowResources;
    static std::vector<unsigned char> image;
    image.resize(size_t(r.width) * size_t(r.height) * 4);
    glBindTexture(GL_TEXTURE_2D, r.textureB);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    auto lit = [&](int tx, int ty) {
        for (int y = ty * TILE_TEXELS; y < std::min(r.height, (ty + 1) * TILE_TEXELS); ++y)
            for (int x = tx * TILE_TEXELS; x < std::min(r.width, (tx + 1) * TILE_TEXELS); ++x) {
                const unsigned char* texel = &image[(size_t(y) * size_t(r.width) + size_t(x)) * 4];
                if (texel[0] | texel[1] | texel[2]) return true;
            }
        return false;
    };
    std::vector<TileRun> runs;
    const int columns = (r.width + TILE_TEXELS - 1) / TILE_TEXELS, rows = (r.height + TILE_TEXELS - 1) / TILE_TEXELS;
    for (int ty = 0; ty < rows; ++ty)
        for (int tx = 0; tx < columns; ++tx) {
            if (!lit(tx, ty)) continue;
            const int start = tx;
            while (tx + 1 < columns && lit(tx + 1, ty)) ++tx;
            runs.push_back({start * TILE_TEXELS, ty * TILE_TEXELS, std::min(r.width, (tx + 1) * TILE_TEXELS),
                            std::min(r.height, (ty + 1) * TILE_TEXELS)});
        }
    return runs;
}

void drawGlowQuads(int width, int height, int copies) {
    if (!litTilesOnly) {
        drawFullWindowQuad(width, height, copies);
        return;
    }
    const GlowResources& r = glowResources;
    const std::vector<TileRun> runs = litTileRuns();
    glBindTexture(GL_TEXTURE_2D, r.textureB);
    beginPixelQuads(width, height);
    glBegin(GL_QUADS);
    for (const TileRun& run : runs) {
        const float s0 = float(run.x0) / float(r.width), s1 = float(run.x1) / float(r.width);
        const float t0 = float(run.y0) / float(r.height), t1 = float(run.y1) / float(r.height);
        const float x0 = s0 * float(width), x1 = s1 * float(width), y0 = t0 * float(height), y1 = t1 * float(height);
        for (int copy = 0; copy < copies; ++copy) {
            glTexCoord2f(s0, t0); glVertex2f(x0, y0);
            glTexCoord2f(s1, t0); glVertex2f(x1, y0);
            glTexCoord2f(s1, t1); glVertex2f(x1, y1);
            glTexCoord2f(s0, t1); glVertex2f(x0, y1);
        }
    }
    glEnd();
    endPixelQuads();
}

}  // namespace

void setSinglePassComposite(bool enabled) { singlePassComposite = enabled; }
void setLitTilesOnly(bool enabled) { litTilesOnly = enabled; }

void drawGlowLayers(int width, int height, int layers) {
    if (layers <= 0) return;
    glBindTexture(GL_TEXTURE_2D, glowResources.textureB);
    const CompositeProgram& composite = glowResources.composite;
    if (!singlePassComposite || composite.program == 0 || layers == 1) {
        drawGlowQuads(width, height, layers);
        return;
    }
    // A software renderer pays for every layer over the whole window.
    glowGl.useProgramObject(composite.program);
    glowGl.uniform1i(composite.samplerLocation, 0);
    glowGl.uniform1f(composite.layersLocation, float(layers));
    drawGlowQuads(width, height, 1);
    glowGl.useProgramObject(0);
}

void releaseGlow() { releaseGlowResources(); }

void releaseGlowResources() {
    GlowResources& r = glowResources;
    for (GlowProgram* pass : {&r.filter, &r.blurVertical, &r.blurHorizontal}) {
        if (pass->program && glowGl.deleteObject) glowGl.deleteObject(pass->program);
        *pass = GlowProgram();
    }
    if (r.composite.program && glowGl.deleteObject) glowGl.deleteObject(r.composite.program);
    if (r.textureA) glDeleteTextures(1, &r.textureA);
    if (r.textureB) glDeleteTextures(1, &r.textureB);
    if (r.framebuffer && glowGl.deleteFramebuffers) glowGl.deleteFramebuffers(1, &r.framebuffer);
    if (r.depthBuffer && glowGl.deleteRenderbuffers) glowGl.deleteRenderbuffers(1, &r.depthBuffer);
    r = GlowResources();
}
