#version 330 core

in vec2 screenUv;

uniform sampler2D sceneTexture;  // filtered linearly: the scaling up smooths

out vec4 fragColor;

void main() {
    fragColor = vec4(texture(sceneTexture, screenUv).rgb, 1.0);
}
