#version 330 core
// The star backdrop: textured, not lit.

layout(location = 0) in vec3 position;
layout(location = 2) in vec2 uv;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;

out vec2 vertexUv;

void main() {
    gl_Position = projectionMatrix * viewMatrix * modelMatrix * vec4(position, 1.0);
    vertexUv = uv;
}
