#version 330 core
// The star backdrop: textured, not lit.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;

out vec2 vertexUv;
out float facing;  // how squarely the face looks at the camera, 0..1

void main() {
    vec4 positionCamera = viewMatrix * modelMatrix * vec4(position, 1.0);
    gl_Position = projectionMatrix * positionCamera;
    vertexUv = uv;
    vec3 normalCamera = mat3(viewMatrix * modelMatrix) * normal;
    float normalLength = length(normalCamera);
    facing = normalLength > 0.0 ? abs(dot(normalCamera / normalLength, normalize(-positionCamera.xyz))) : 1.0;
}
