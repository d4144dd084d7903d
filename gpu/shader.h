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

    Shader(const std::string& vertexShaderPath, const std::string& fragmentShaderPath);
    ~Shader();  // deletes the program and both shader objects
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

private:
    void loadShader(const std::string& path, GLenum type, GLuint& handle);
    void link();
};

// ---- Uniforms, looked up by name on the program at every use ---------------

GLint uniformLocation(const Shader* shader, const char* name);
// Uploads `matrix` untransposed; the program must be current.
void setMatrix(const Shader* shader, const char* name, const glm::mat4& matrix);

// The texture unit the lit program reads the shadow map from.
constexpr int shadowMapUnit = 20;

// What the lit program needs of one object besides its mesh: the shadow-map
// lookup "DepthBiasMVP" = `shadowLookup` * `modelMatrix`, the shadow map on
// its unit, and "modelMatrix". `shadowLookup` is the bias matrix times the
// light's view-projection. Leaves the shadow map's unit active.
void setLitObject(const Shader* shader, const glm::mat4& modelMatrix, const glm::mat4& shadowLookup,
                  GLuint shadowMap);
