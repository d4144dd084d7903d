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

// Each setter needs `shader`'s program current. A name the program lacks
// (location -1) is ignored, as GL itself does.
GLint uniformLocation(const Shader* shader, const char* name);
void setMatrix(const Shader* shader, const char* name, const glm::mat4& matrix);  // untransposed
void setFloat(const Shader* shader, const char* name, float value);
void setVector(const Shader* shader, const char* name, const glm::vec3& value);
void setVector(const Shader* shader, const char* name, const glm::vec4& value);
// Points the sampler `name` at texture unit `unit`.
void setTextureUnit(const Shader* shader, const char* name, int unit);

