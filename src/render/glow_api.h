#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

// Internals shared by the glow effect's source files and its tests.

// The extension entry points the effect uses, looked up by name at start-up.
struct GlowEntryPoints {
    PFNGLGENRENDERBUFFERSEXTPROC genRenderbuffers;
    PFNGLBINDRENDERBUFFEREXTPROC bindRenderbuffer;
    PFNGLDELETERENDERBUFFERSEXTPROC deleteRenderbuffers;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbufferStorage;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebufferRenderbuffer;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer;
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2D;
    PFNGLUNIFORM1IARBPROC uniform1i;
    PFNGLUNIFORM1FARBPROC uniform1f;
    PFNGLCREATESHADEROBJECTARBPROC createShaderObject;
    PFNGLSHADERSOURCEARBPROC shaderSource;
    PFNGLCOMPILESHADERARBPROC compileShader;
    PFNGLCREATEPROGRAMOBJECTARBPROC createProgramObject;
    PFNGLATTACHOBJECTARBPROC attachObject;
    PFNGLLINKPROGRAMARBPROC linkProgram;
    PFNGLUSEPROGRAMOBJECTARBPROC useProgramObject;
    PFNGLGETUNIFORMLOCATIONARBPROC getUniformLocation;
    PFNGLDELETEOBJECTARBPROC deleteObject;
    PFNGLGETPROGRAMIVPROC getProgramiv;
    PFNGLGETPROGRAMINFOLOGPROC getProgramInfoLog;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus;
};
extern GlowEntryPoints glowGl;

// One of the three fragment programs with the locations of its uniforms.
struct GlowProgram {
    GLhandleARB program = 0;
    GLint samplerLocation = -1;    // "tex" or "blurred"
    GLint pixelSizeLocation = -1;  // "pixsize"; -1 for the filter
};

// The composite's own program: the glow image times the number of layers.
struct CompositeProgram {
    GLhandleARB program = 0;
    GLint samplerLocation = -1;  // "tex"
    GLint layersLocation = -1;   // "layers"
};

struct GlowResources {
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
    GLuint textureA = 0;  // colour attachment 0: the glow pass, then the vertical blur
    GLuint textureB = 0;  // colour attachment 1: the filter, then the finished glow image
    int width = 0;
    int height = 0;
    GlowProgram filter, blurVertical, blurHorizontal;
    CompositeProgram composite;  // program 0: the layers are drawn one by one
};
extern GlowResources glowResources;

// The first of the required extensions missing from the GL_EXTENSIONS
// string, in the order they are checked; nullptr when all are present.
const char* firstMissingGlowExtension(const char* extensions);

// The line printed for an incomplete framebuffer status.
const char* framebufferStatusMessage(GLenum status);

// Reads a whole text file; false when it cannot be opened or read.
bool readShaderText(const char* path, std::string& text);

// Builds the composite program from the game's own source; leaves program 0
// when the driver does not link it.
void loadCompositeProgram();

// Deletes whatever glow resources exist and forgets them.
void releaseGlowResources();
