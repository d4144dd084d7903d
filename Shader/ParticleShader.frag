#version 330 core
// A soft round ember: hot near the middle, fading to nothing at the rim, with
// the coin's engraving giving each spark a little grain.

in vec2 quadUv;
in vec4 particleColor;

uniform sampler2D myTextureSampler;

out vec4 fragColor;

void main() {
    float r = length(quadUv - vec2(0.5)) * 2.0;  // 0 at the centre, 1 at the rim
    float glow = 1.0 - smoothstep(0.0, 1.0, r);
    glow *= glow;
    // Corners never write depth, so a later spark is never clipped by an
    // earlier one's invisible square.
    if (glow < 0.01) discard;

    float grain = dot(texture(myTextureSampler, quadUv).rgb, vec3(0.299, 0.587, 0.114));
    vec3 ember = particleColor.rgb * (1.2 + 0.8 * grain);
    vec3 core = vec3(1.0, 0.85, 0.55);
    vec3 rgb = mix(ember, core, smoothstep(0.5, 0.0, r) * 0.6);
    fragColor = vec4(rgb, clamp(particleColor.a * glow * 2.0, 0.0, 1.0));
}
