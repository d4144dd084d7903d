#version 330 core
// The ghost of the best run: the cat's mesh, seen as a glow. It takes the
// cat's vertex array, built against the lit program, so its inputs keep
// that program's locations.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;

out vec3 normalCamera;  // not normalised: normalised per pixel
out vec3 toEyeCamera;

void main() {
    vec4 camera = viewMatrix * modelMatrix * vec4(position, 1.0);
    gl_Position = projectionMatrix * camera;
    normalCamera = mat3(viewMatrix) * mat3(modelMatrix) * normal;
    toEyeCamera = -camera.xyz;
}
