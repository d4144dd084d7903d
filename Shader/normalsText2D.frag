#version 330 core
// The atlas has no alpha channel: a glyph is bright ink on black, so its
// brightness is the coverage. A thin dark rim keeps the light text readable
// over the pale street and walls.

in vec2 glyphUv;
flat in vec3 glyphInk;

uniform sampler2D myTextureSampler;

out vec4 fragColor;

const float RIM = 0.003;  // texture units, about 1.5 texels of a 512-pixel atlas
const float RIM_OPACITY = 0.7;

float ink(vec2 uv) {
    vec3 c = texture(myTextureSampler, uv).rgb;
    // The ramp swallows the JPEG's faint ringing around the strokes.
    return smoothstep(0.15, 0.6, max(c.r, max(c.g, c.b)));
}

void main() {
    float glyph = ink(glyphUv);
    float rim = max(max(ink(glyphUv + vec2(RIM, RIM)), ink(glyphUv + vec2(-RIM, RIM))),
                    max(ink(glyphUv + vec2(RIM, -RIM)), ink(glyphUv + vec2(-RIM, -RIM))));
    // Text over its dark rim, composited into one colour and coverage.
    float alpha = glyph + RIM_OPACITY * rim * (1.0 - glyph);
    // Without this the empty parts of a cell would still write depth and
    // punch holes into the particles drawn after the HUD.
    if (alpha < 0.02) discard;
    fragColor = vec4(glyphInk * glyph / alpha, alpha);
}
