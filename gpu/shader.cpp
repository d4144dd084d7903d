#include "gpu/shader.h"

#include <fstream>
#include <glm/gtc/type_ptr.hpp>
#include <iostream>
#include <iterator>
#include <vector>

#include "base/assets.h"
#include "base/console.h"
#include "gpu/gl_check.h"

Shader* depthShader = nullptr;
Shader* normalsShader = nullptr;
Shader* sceneShader = nullptr;
Shader* unshadowedSceneShader = nullptr;
Shader* skyboxShader = nullptr;
Shader* textShader = nullptr;
Shader* particleShader = nullptr;
Shader* blurShader = nullptr;
Shader* scaleUpShader = nullptr;
Shader* ghostShader = nullptr;
Shader* depthViewShader = nullptr;
Shader* lineShader = nullptr;

Shader::Shader(const std::string& vertexShaderPath, const std::string& fragmentShaderPath,
               const std::string& fragmentDefines)
    : files(vertexShaderPath + " and " + fragmentShaderPath) {
    programHandle = glCreateProgram();
    if (programHandle == 0) {
        std::cout << "Didnt get a valid program Handle" << std::endl;
        fatalExit();
    }
    loadShader(vertexShaderPath, GL_VERTEX_SHADER, vertexShaderHandle, "");
    loadShader(fragmentShaderPath, GL_FRAGMENT_SHADER, fragmentShaderHandle, fragmentDefines);
    link();
}

Shader::~Shader() {
    glDeleteProgram(programHandle);
    glDeleteShader(vertexShaderHandle);
    glDeleteShader(fragmentShaderHandle);
}

void Shader::loadShader(const std::string& path, GLenum type, GLuint& handle, const std::string& defines) {
    std::ifstream file(assetPath(path));
    if (!file.good()) {
        reportAssetFailure("Failed to open File", path, "cannot be opened");
        fatalExit();
    }
    std::string source((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    const size_t afterVersion = source.find('\n');
    source.insert(afterVersion == std::string::npos ? source.size() : afterVersion + 1, defines);

    handle = glCreateShader(type);
    if (handle == 0) {
        std::cout << "Failed to create shader" << std::endl;
        fatalExit();
    }
    const char* text = source.c_str();
    glShaderSource(handle, 1, &text, nullptr);
    glCompileShader(handle);

    GLint status = GL_FALSE;
    glGetShaderiv(handle, GL_COMPILE_STATUS, &status);
    if (status != GL_FALSE && glIsShader(handle)) return;

    GLint length = 0;
    glGetShaderiv(handle, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(length > 0 ? length : 1, '\0');
    glGetShaderInfoLog(handle, static_cast<GLsizei>(log.size()), nullptr, log.data());
    std::cout << "Failed to compile shader" << std::endl;
    std::cout << log.data() << std::endl;
    fatalExit();
}

void Shader::link() {
    glAttachShader(programHandle, vertexShaderHandle);
    glAttachShader(programHandle, fragmentShaderHandle);
    // Every fragment shader writes "fragColor"; binding it before the link
    // sends it to draw buffer 0 whatever location the linker would pick.
    glBindFragDataLocation(programHandle, 0, "fragColor");
    glLinkProgram(programHandle);

    GLint status = GL_FALSE;
    glGetProgramiv(programHandle, GL_LINK_STATUS, &status);
    if (status != GL_FALSE) return;

    GLint length = 0;
    glGetProgramiv(programHandle, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(length > 0 ? length : 1, '\0');
    glGetProgramInfoLog(programHandle, static_cast<GLsizei>(log.size()), nullptr, log.data());
    std::cout << "Failed to link shader program" << std::endl;
    std::cout << log.data() << std::endl;
    fatalExit();
}

GLint uniformLocation(const Shader* shader, const char* name) {
    const GLint location = glGetUniformLocation(shader->programHandle, name);
    if (location < 0) glFault("the program of " + shader->files + " has no uniform \"" + name + "\"");
    return location;
}

void setMatrix(const Shader* shader, const char* name, const glm::mat4& matrix) {
    glUniformMatrix4fv(uniformLocation(shader, name), 1, GL_FALSE, glm::value_ptr(matrix));
}

void setFloat(const Shader* shader, const char* name, float value) {
    glUniform1f(uniformLocation(shader, name), value);
}

void setVector(const Shader* shader, const char* name, const glm::vec2& value) {
    glUniform2f(uniformLocation(shader, name), value.x, value.y);
}

void setVector(const Shader* shader, const char* name, const glm::vec3& value) {
    glUniform3f(uniformLocation(shader, name), value.x, value.y, value.z);
}

void setVector(const Shader* shader, const char* name, const glm::vec4& value) {
    glUniform4f(uniformLocation(shader, name), value.x, value.y, value.z, value.w);
}

void setTextureUnit(const Shader* shader, const char* name, int unit) {
    glUniform1i(uniformLocation(shader, name), unit);
}
