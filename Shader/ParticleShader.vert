#version 330 core
// One camera-facing quad per particle.

layout(location = 0) in vec3 corner;       // of the unit quad, -0.5 .. 0.5
layout(location = 1) in vec4 centreSize;   // world position, edge length
layout(location = 2) in vec4 color;

uniform vec3 CameraRight_worldspace;
uniform vec3 CameraUp_worldspace;
uniform mat4 VP;

out vec2 quadUv;
out vec4 particleColor;

void main() {
    float size = centreSize.w;
    vec3 world = centreSize.xyz
               + CameraRight_worldspace * corner.x * size
               + CameraUp_worldspace * corner.y * size;
    gl_Position = VP * vec4(world, 1.0);
    quadUv = corner.xy + vec2(0.5);
    particleColor = color;
}
