#include "app/startup.h"

#include <GL/glew.h>

#include "app/window.h"
#include "gpu/gl_check.h"

void setWindowHints() {
    // One sample a pixel: the scene is multisampled in a target of its own
    // (gpu/render_targets.h), and a multisampled window would cost every
    // frame a clear and a resolve of its own on top, at every quality level.
    glfwWindowHint(GLFW_SAMPLES, 0);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_COMPAT_PROFILE);
    // Where GL faults stop the program, the driver reports each one as it happens.
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, glChecksStop() ? GLFW_TRUE : GLFW_FALSE);
}

bool loadGlEntryPoints() {
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) return false;
    // GLEW's experimental loader can leave these four unset on some drivers;
    // GLFW's loader always finds them.
    glGenVertexArrays = reinterpret_cast<PFNGLGENVERTEXARRAYSPROC>(glfwGetProcAddress("glGenVertexArrays"));
    glBindVertexArray = reinterpret_cast<PFNGLBINDVERTEXARRAYPROC>(glfwGetProcAddress("glBindVertexArray"));
    glDeleteVertexArrays =
        reinterpret_cast<PFNGLDELETEVERTEXARRAYSPROC>(glfwGetProcAddress("glDeleteVertexArrays"));
    glGenerateMipmap = reinterpret_cast<PFNGLGENERATEMIPMAPPROC>(glfwGetProcAddress("glGenerateMipmap"));
    // glewInit itself may leave GL_INVALID_ENUM behind on core-style queries.
    while (glGetError() != GL_NO_ERROR) {
    }
    watchGlErrors();
    return true;
}
