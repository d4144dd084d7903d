#version 330 core
// The full-screen quad of the motion blur, and of the scene drawn smaller
// below full quality that it scales up into the window.

layout(location = 0) in vec3 corner;  // clip space

out vec2 screenUv;

void main() {
    screenUv = corner.xy * 0.5 + 0.5;
    gl_Position = vec4(corner, 1.0);
}
