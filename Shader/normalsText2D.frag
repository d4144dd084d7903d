#version 330 core
// The atlas has no alpha channel: a glyph is bright ink on black, so its
// brightness is the coverage.

in vec2 glyphUv;

uniform sampler2D myTextureSampler;

out vec4 fragColor;

void main() {
    vec3 ink = texture(myTextureSampler, glyphUv).rgb;
    // The ramp swallows the JPEG's faint ringing around the strokes.
    float coverage = smoothstep(0.15, 0.6, max(ink.r, max(ink.g, ink.b)));
    // Without this the empty parts of a cell would still write depth and
    // punch holes into the particles drawn after the HUD.
    if (coverage < 0.02) discard;
    fragColor = vec4(1.0, 0.97, 0.9, coverage);
}
