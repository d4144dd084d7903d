// Render-setting hotkeys: light power, transparency, wireframe, texture
// sampling, mip-mapping, quality, frustum culling, the frame-rate line, the
// lab overlay and the ghost; the debug views and the screenshot. Quality and the ghost are settings the game keeps: their keys
// save them.
//
// The settings logic is kept apart from GL so it can be tested without a
// context: applyHotkey() changes the program-wide settings and messages and
// only reports the polygon mode that keyCallback() then hands to GL.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <string>

// Filter pair a sampling or mip-mapping key leads to, with the HUD texts it posts.
struct SamplingChange {
    GLint textureFilter;         // GL_TEXTURE_MAG_FILTER after the key
    GLint mipmapFilter;          // GL_TEXTURE_MIN_FILTER after the key
    const char* settingMessage;  // null when the key posts nothing on that line
    const char* mipmapMessage;
};

// F4: the other sampling family (linear <-> nearest), keeping the mip-mapping level.
SamplingChange switchSamplingFamily(GLint textureFilter, GLint mipmapFilter);
// F5: the next mip-mapping mode within the family: linear -> nearest -> off -> linear.
SamplingChange nextMipmapMode(GLint textureFilter, GLint mipmapFilter);

// "Transparency: " and the value with exactly one decimal digit.
std::string transparencyText(float value);

// Applies one key event to the settings. Returns the polygon mode GL must
// switch to (GL_LINE or GL_FILL), or 0 when the polygon mode stays.
GLenum applyHotkey(int key, int action);

// GLFW key callback; only `key` and `action` matter, and only presses act.
// Every event is also noted for the frame's input (base/platform.h), so a
// key tapped and let go between two frames is still seen.
void keyCallback(GLFWwindow* window, int key, int scancode, int action, int mods);
