#version 330 core

in vec3 vertexNormal;
in vec2 vertexUv;

out vec4 fragColor;

void main() {
    vec3 normalColour = normalize(vertexNormal + vec3(1e-6)) * 0.5 + 0.5;
    fragColor = vec4(normalColour * (0.75 + 0.25 * fract(vertexUv.x + vertexUv.y)), 1.0);
}
