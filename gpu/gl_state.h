// The GL state contract of the passes.
//
// Every frame starts from one state, set once by the frame (setFrameState(),
// app/frame.h): back faces culled, the depth test on with depth writes, and
// alpha blending with (GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA). A pass may need
// otherwise for its own draws (the sky without blending, the ghost without
// depth writes, the HUD without the depth test); it changes the state only
// through the scoped switches below, so when it returns every capability,
// the depth mask and the blend function are as it found them, and the order
// of the passes never changes what any of them draws. What a pass binds
// (program, textures, buffers, framebuffer, viewport) it binds afresh each
// time and leaves bound: no pass relies on another's bindings.
#pragma once

#include <GL/glew.h>

// Switches a capability (GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE,
// GL_CLIP_DISTANCE0 ...) on or off while it lives, then back as it was.
class GlSwitch {
public:
    GlSwitch(GLenum capability, bool on) : capability_(capability), was_(glIsEnabled(capability) == GL_TRUE) {
        set(on);
    }
    ~GlSwitch() { set(was_); }
    GlSwitch(const GlSwitch&) = delete;
    GlSwitch& operator=(const GlSwitch&) = delete;

private:
    void set(bool on) const { on ? glEnable(capability_) : glDisable(capability_); }
    GLenum capability_;
    bool was_;
};

// Depth writes on or off while it lives, then back as they were.
class GlDepthWrites {
public:
    explicit GlDepthWrites(bool on) {
        GLboolean was = GL_TRUE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &was);
        was_ = was;
        glDepthMask(on ? GL_TRUE : GL_FALSE);
    }
    ~GlDepthWrites() { glDepthMask(was_); }
    GlDepthWrites(const GlDepthWrites&) = delete;
    GlDepthWrites& operator=(const GlDepthWrites&) = delete;

private:
    GLboolean was_ = GL_TRUE;
};

// Blending on with the function (source, destination) while it lives, then
// the blending and the function as they were.
class GlBlending {
public:
    GlBlending(GLenum source, GLenum destination) : blend_(GL_BLEND, true) {
        glGetIntegerv(GL_BLEND_SRC_RGB, &source_);
        glGetIntegerv(GL_BLEND_DST_RGB, &destination_);
        glBlendFunc(source, destination);
    }
    ~GlBlending() { glBlendFunc(GLenum(source_), GLenum(destination_)); }
    GlBlending(const GlBlending&) = delete;
    GlBlending& operator=(const GlBlending&) = delete;

private:
    GlSwitch blend_;
    GLint source_ = GL_ONE, destination_ = GL_ZERO;
};
