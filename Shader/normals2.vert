#version 330 core
// Lit, textured, shadowed scene objects. The lighting is done per pixel, so
// the vertex stage only hands on the mesh in model space.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;

out vec3 positionModel;
out vec3 normalModel;
out vec2 vertexUv;

void main() {
    gl_Position = projectionMatrix * viewMatrix * modelMatrix * vec4(position, 1.0);
    positionModel = position;
    normalModel = normal;
    vertexUv = uv;
}
