#version 330 core
// The star backdrop: textured, not lit.

layout(location = 0) in vec3 position;
layout(location = 2) in vec2 uv;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;
uniform vec4 clipPlane;            // world space; what the street hides is clipped

out vec2 vertexUv;

void main() {
    gl_Position = projectionMatrix * viewMatrix * modelMatrix * vec4(position, 1.0);
    gl_ClipDistance[0] = dot(modelMatrix * vec4(position, 1.0), clipPlane);
    vertexUv = uv;
}
