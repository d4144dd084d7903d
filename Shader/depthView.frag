#version 330 core
// A depth texture as grey, linearised: the depth a perspective projection
// wrote is turned back into a distance, near light and far dark, so the
// whole range can be told apart rather than only the last per cent of it.

in vec2 screenUv;

uniform sampler2D depthTexture;  // read as plain values, not compared
uniform float nearPlane;         // of the projection that wrote the depth
uniform float farPlane;
uniform float shownDistance;     // world units: this far and beyond is black

out vec4 fragColor;

void main() {
    float ndc = texture(depthTexture, screenUv).r * 2.0 - 1.0;
    float distance = 2.0 * nearPlane * farPlane / (farPlane + nearPlane - ndc * (farPlane - nearPlane));
    float grey = 1.0 - clamp(distance / shownDistance, 0.0, 1.0);
    fragColor = vec4(vec3(grey), 1.0);
}
