// One linked GL program built from a vertex and a fragment shader file.
//
// Building is all or nothing: any failure (program or shader object not
// created, file unreadable, compile or link error) prints its message, pauses
// the console and ends the program with status -1. A constructed Shader is
// therefore always usable. Requires a current GL context with GLEW loaded.
#pragma once

#include <GL/glew.h>
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
