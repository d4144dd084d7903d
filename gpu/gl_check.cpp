#include "gpu/gl_check.h"

#include <GL/glew.h>
#include <execinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "base/console.h"

// AddressSanitizer's symbolised stack, where the build has it.
extern "C" void __sanitizer_print_stack_trace() __attribute__((weak));

namespace {

bool reported = false;  // a release build says one fault, then plays on

void printStack() {
    if (__sanitizer_print_stack_trace) {
        __sanitizer_print_stack_trace();
        return;
    }
    void* frames[64];
    backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
}

const char* errorName(GLenum error) {
    switch (error) {
        case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
        case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
        case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
        case GL_INVALID_FRAMEBUFFER_OPERATION: return "GL_INVALID_FRAMEBUFFER_OPERATION";
        case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
        default: return "a GL error";
    }
}

// A shader that does not compile is the files' fault, not the code's: the
// program says so in its own words (gpu/shader.h).
void GLAPIENTRY onDebugMessage(GLenum source, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                               const void*) {
    if (type == GL_DEBUG_TYPE_ERROR && source != GL_DEBUG_SOURCE_SHADER_COMPILER)
        glFault(std::string("GL error: ") + message);
}

}  // namespace

bool glChecksStop() {
#ifdef KIVO_GL_CHECKS
    return true;
#else
    return false;
#endif
}

void glFault(const std::string& what) {
    if (glChecksStop()) {
        report(what + "; stopping at the call that caused it:");
        printStack();
        std::abort();
    }
    if (reported) return;
    reported = true;
    report(what + "; playing on (said once)");
}

void watchGlErrors() {
    if (!glChecksStop() || !(GLEW_KHR_debug || GLEW_ARB_debug_output)) return;
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(onDebugMessage, nullptr);
}

void checkGlErrors(const char* where) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) return;
    while (glGetError() != GL_NO_ERROR) {
    }
    glFault(std::string(errorName(error)) + " " + where);
}
