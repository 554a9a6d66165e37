#pragma once

#include <GL/gl.h>

#include <vector>

// An offscreen colour and depth target of the window's size with a depth
// buffer of exactly the asked format (GL_DEPTH_COMPONENT16 or 24), so a
// test can draw the same scene with either precision whatever the window
// got. Bound while it lives; the window's framebuffer is bound again after.
class DepthTarget {
public:
    DepthTarget(int width, int height, GLenum depthFormat);
    ~DepthTarget();
    DepthTarget(const DepthTarget&) = delete;
    DepthTarget& operator=(const DepthTarget&) = delete;

    bool ok() const { return ok_; }
    // The depth bits the driver gave.
    int depthBits() const { return depthBits_; }
    // Clears colour and depth; the viewport covers the target.
    void clear() const;
    std::vector<unsigned char> read() const;  // RGBA rows, bottom first

private:
    int width_, height_;
    GLuint framebuffer_ = 0, colour_ = 0, depth_ = 0;
    int depthBits_ = 0;
    bool ok_ = false;
};
