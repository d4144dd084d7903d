#version 330 core

in vec2 vertexUv;
in float facing;

uniform sampler2D colorTexture;  // the stars

out vec4 fragColor;

void main() {
    // Faces seen at a grazing angle fade a little, so the backdrop's edges
    // read as depth without any lighting of the stars themselves.
    vec3 stars = texture(colorTexture, vertexUv).rgb;
    fragColor = vec4(stars * (0.8 + 0.2 * facing), 1.0);
}
