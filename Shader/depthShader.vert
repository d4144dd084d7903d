#version 330 core
// Shadow-map pass: only the depth seen from the light matters.

layout(location = 0) in vec3 position;

uniform mat4 depthMVP;  // light projection * light view * model

void main() {
    gl_Position = depthMVP * vec4(position, 1.0);
}
