#include "support/depth_target.h"

#include <SDL2/SDL.h>
#include <GL/glext.h>

namespace {

struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(
        SDL_GL_GetProcAddress("glGenFramebuffersEXT"));
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(
        SDL_GL_GetProcAddress("glBindFramebufferEXT"));
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSEXTPROC>(
        SDL_GL_GetProcAddress("glDeleteFramebuffersEXT"));
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSEXTPROC>(
        SDL_GL_GetProcAddress("glGenRenderbuffersEXT"));
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFEREXTPROC>(
        SDL_GL_GetProcAddress("glBindRenderbufferEXT"));
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSEXTPROC>(
        SDL_GL_GetProcAddress("glDeleteRenderbuffersEXT"));
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEEXTPROC>(
        SDL_GL_GetProcAddress("glRenderbufferStorageEXT"));
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer =
        reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>(SDL_GL_GetProcAddress("glFramebufferRenderbufferEXT"));
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>(
        SDL_GL_GetProcAddress("glCheckFramebufferStatusEXT"));
    PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC renderbufferParameter =
        reinterpret_cast<PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC>(SDL_GL_GetProcAddress("glGetRenderbufferParameterivEXT"));
    bool ok() const {
        return genFramebuffers && bindFramebuffer && deleteFramebuffers && genRenderbuffers && bindRenderbuffer &&
               deleteRenderbuffers && renderbufferStorage && framebufferRenderbuffer && checkFramebufferStatus &&
               renderbufferParameter;
    }
};

const FramebufferCalls& calls() {
    static const FramebufferCalls c;
    return c;
}

GLuint renderbuffer(GLenum format, int width, int height) {
    GLuint id = 0;
    calls().genRenderbuffers(1, &id);
    calls().bindRenderbuffer(GL_RENDERBUFFER_EXT, id);
    calls().renderbufferStorage(GL_RENDERBUFFER_EXT, format, width, height);
    return id;
}

}  // namespace

DepthTarget::DepthTarget(int width, int height, GLenum depthFormat) : width_(width), height_(height) {
    const FramebufferCalls& gl = calls();
    if (!gl.ok()) return;
    gl.genFramebuffers(1, &framebuffer_);
    gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer_);
    colour_ = renderbuffer(GL_RGBA8, width, height);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, colour_);
    depth_ = renderbuffer(depthFormat, width, height);
    gl.renderbufferParameter(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_DEPTH_SIZE_EXT, &depthBits_);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depth_);
    glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    ok_ = gl.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

DepthTarget::~DepthTarget() {
    const FramebufferCalls& gl = calls();
    if (!gl.ok()) return;
    gl.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    gl.deleteRenderbuffers(1, &colour_);
    gl.deleteRenderbuffers(1, &depth_);
    gl.deleteFramebuffers(1, &framebuffer_);
}

void DepthTarget::clear() const {
    glViewport(0, 0, width_, height_);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor4f(1, 1, 1, 1);
}

std::vector<unsigned char> DepthTarget::read() const {
    std::vector<unsigned char> pixels(size_t(width_) * size_t(height_) * 4);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}
