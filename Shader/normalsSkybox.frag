#version 330 core

in vec2 vertexUv;

uniform sampler2D colorTexture;  // the stars

out vec4 fragColor;

void main() {
    // Stars shine by themselves: no lighting, always opaque.
    fragColor = vec4(texture(colorTexture, vertexUv).rgb, 1.0);
}
