// One linked GL program built from a vertex and a fragment shader file.
//
// Building is all or nothing: any failure (program or shader object not
// created, file unreadable, compile or link error) prints its message, pauses
// the console and ends the program with status -1. A constructed Shader is
// therefore always usable. Requires a current GL context with GLEW loaded.
#pragma once

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <string>

class Shader {
public:
    GLuint programHandle = 0;         // read by every pass for glUseProgram and look-ups
    GLuint vertexShaderHandle = 0;
    GLuint fragmentShaderHandle = 0;
    std::string files;                // "vertex.vert and fragment.frag", as messages name it

    // `fragmentDefines` (for example "#define NAME\n") goes into the fragment
    // shader's source after its first line, the #version line, so one file
    // can give variants of a program.
    Shader(const std::string& vertexShaderPath, const std::string& fragmentShaderPath,
           const std::string& fragmentDefines = "");
    ~Shader();  // deletes the program and both shader objects
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

private:
    void loadShader(const std::string& path, GLenum type, GLuint& handle, const std::string& defines);
    void link();
};

// ---- Uniforms, looked up by name on the program at every use ---------------

// Each setter needs `shader`'s program current. A name the program lacks
// (location -1) is a fault of the code (gpu/gl_check.h): it stops the debug
// builds, and a release build ignores it, as GL itself does.
GLint uniformLocation(const Shader* shader, const char* name);
void setMatrix(const Shader* shader, const char* name, const glm::mat4& matrix);  // untransposed
void setFloat(const Shader* shader, const char* name, float value);
void setVector(const Shader* shader, const char* name, const glm::vec2& value);
void setVector(const Shader* shader, const char* name, const glm::vec3& value);
void setVector(const Shader* shader, const char* name, const glm::vec4& value);
// Points the sampler `name` at texture unit `unit`.
void setTextureUnit(const Shader* shader, const char* name, int unit);

// ---- Vertex inputs -------------------------------------------------------------
// Every program reads its vertex inputs at these fixed locations (each shader
// declares them with layout(location = ...)), and every vertex array of the
// game points its buffers at them: a mesh's position, normal and texture
// coordinate; a glyph's corner, atlas coordinate and ink; a billboard's or the
// screen quad's corner, and a billboard's centre with size and its colour.
enum VertexInput : GLuint {
    positionInput = 0,
    normalInput = 1,
    uvInput = 2,
    glyphPositionInput = 3,
    glyphUvInput = 4,
    glyphColorInput = 5,
    cornerInput = 0,
    centreSizeInput = 1,
    colorInput = 2,
};

// ---- The game's programs -------------------------------------------------------
// Built by scene assembly, deleted by shutdown.
extern Shader* depthShader;     // the shadow map: depth from the light
extern Shader* normalsShader;   // unlit meshes (the cubes, the mouse)
extern Shader* sceneShader;     // the lit, shadowed scene
extern Shader* unshadowedSceneShader;  // the same lighting for what lies outside the light's view
extern Shader* skyboxShader;    // the star sphere
extern Shader* textShader;      // the HUD's glyphs
extern Shader* particleShader;  // the trail's billboards
extern Shader* blurShader;      // the motion blur
extern Shader* scaleUpShader;   // below full quality: the scene scaled up into the window
extern Shader* ghostShader;     // the best run's ghost
extern Shader* depthViewShader; // the debug views of the shadow map and the scene's depth
extern Shader* lineShader;      // the culling view's spheres and frustum
