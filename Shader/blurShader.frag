#version 330 core
// Camera motion blur: each pixel's world position, rebuilt from depth, is
// projected with last frame's camera, and the colour is averaged along the
// way the pixel travelled on screen. The image holds the 3D scene alone: the
// HUD goes on top of the blurred picture afterwards.

in vec2 screenUv;

uniform sampler2D blurTexture;
uniform sampler2D depthBlurTexture;
uniform mat4 vpInverse;   // this frame's (projection * view)^-1
uniform mat4 vpPrevious;  // last frame's projection * view
uniform float deltaT;     // seconds since last frame
uniform bool showMotion;  // the debug view: the smear itself, not the smeared picture

out vec4 fragColor;

const int SAMPLES = 12;
const float REFERENCE_FRAME = 1.0 / 60.0;  // motion is measured per 60 Hz frame...
const float STRENGTH = 3.0;                 // ...and the shutter stays open for three of them
const float MAX_SMEAR = 0.06;              // of the screen height, however fast
const float MIN_SMEAR_PIXELS = 0.5;        // below this the pixel is left as it is

void main() {
    vec3 sharp = texture(blurTexture, screenUv).rgb;
    float depth = texture(depthBlurTexture, screenUv).r;

    vec2 motion = vec2(0.0);
    vec4 world = vpInverse * vec4(screenUv * 2.0 - 1.0, depth * 2.0 - 1.0, 1.0);
    world /= world.w;
    vec4 previous = vpPrevious * world;
    if (previous.w > 0.0) motion = screenUv - (previous.xy / previous.w * 0.5 + 0.5);

    // Frame-rate independent: the same sprint smears as much at 10 Hz as at 60 Hz.
    motion *= STRENGTH * REFERENCE_FRAME / max(deltaT, 0.001);
    vec2 size = vec2(textureSize(blurTexture, 0));
    vec2 motionPixels = motion * size;
    float smear = length(motionPixels);
    float maxPixels = MAX_SMEAR * size.y;
    if (smear > maxPixels) motionPixels *= maxPixels / smear;
    // The cat in the middle of the screen stays crisp; the street and the
    // houses towards the edges streak.
    vec2 fromCentre = (screenUv - 0.5) * vec2(size.x / size.y, 1.0);
    motionPixels *= smoothstep(0.06, 0.3, length(fromCentre));

    if (showMotion) {
        // The hue says which way, the brightness how far (of the longest smear).
        float hue = atan(motionPixels.y, motionPixels.x) / 6.2831853 + 0.5;
        vec3 rainbow = clamp(abs(fract(hue + vec3(0.0, 2.0, 1.0) / 3.0) * 6.0 - 3.0) - 1.0, 0.0, 1.0);
        fragColor = vec4(rainbow * min(length(motionPixels) / maxPixels, 1.0), 1.0);
        return;
    }

    if (length(motionPixels) < MIN_SMEAR_PIXELS) {
        fragColor = vec4(sharp, 1.0);
        return;
    }
    vec2 stepUv = motionPixels / size / float(SAMPLES - 1);
    vec3 sum = sharp;
    for (int i = 1; i < SAMPLES; ++i) sum += texture(blurTexture, screenUv - stepUv * float(i)).rgb;
    fragColor = vec4(sum / float(SAMPLES), 1.0);
}
