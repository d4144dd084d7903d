#version 330 core
// A pale blue glow, thin where the surface faces the eye and denser towards
// the outline, as light seen through a bubble: a ghost, lit by nothing, that
// shows what lies behind it and stands out against the night street.

in vec3 normalCamera;
in vec3 toEyeCamera;

out vec4 fragColor;

const vec3 GHOST_COLOR = vec3(0.6, 0.85, 1.0);

void main() {
    float facing = abs(dot(normalize(normalCamera), normalize(toEyeCamera)));
    float rim = (1.0 - facing) * (1.0 - facing);
    fragColor = vec4(min(GHOST_COLOR * (0.8 + 0.5 * rim), vec3(1.0)), 0.4 + 0.5 * rim);
}
