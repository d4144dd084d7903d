#version 330 core
// Lines in world space: the culling view's bounding spheres and frustum.

layout(location = 0) in vec3 position;

uniform mat4 viewProjection;

void main() {
    gl_Position = viewProjection * vec4(position, 1.0);
}
