#version 330 core
// Blinn-Phong lighting from the point light above the cat, shadowed through
// the shadow map with a 3x3 filter. Model matrices of the scene are
// rigid (rotations and translations only), so model-space offsets are world units.

in vec3 positionWorld;
in vec3 normalWorld;
in vec3 toLightWorld;
in vec3 toEyeWorld;
in vec4 shadowCoord;
in vec2 vertexUv;

uniform mat4 modelMatrix;
uniform mat4 DepthBiasMVP;
uniform vec3 lightPosition_worldspace;
uniform float lightPower;         // 1500 lights the street about 35 units below the light well
uniform float transparency;       // written as alpha
uniform sampler2D colorTexture;
uniform sampler2DShadow shadowMap;

out vec4 fragColor;

const float lightScale = 0.7;            // brings lightPower / distance^2 into display range
const vec3 ambientColour = vec3(0.22, 0.23, 0.27);
const float skyFill = 0.08;              // extra ambient on faces that look up
const vec3 specularColour = vec3(0.35);
const float shininess = 48.0;
const float lightFieldOfViewTan = 1.0;   // tan(45 degrees): the light uses the camera's 90-degree projection

// Fraction of light reaching the point: 1 lit, 0 in shadow. Points outside
// the light's frustum are treated as lit.
float visibility(vec3 worldNormal, vec3 toLight, float cosTheta) {
    // The size of one shadow-map texel on a surface grows with its depth
    // below the light; the offsets are measured in those texels so the bias
    // is as small near the cat as it is far away.
    vec2 mapSize = vec2(textureSize(shadowMap, 0));
    float depthBelowLight = max(lightPosition_worldspace.y - positionWorld.y, 0.1);
    float texelWorld = 2.0 * lightFieldOfViewTan * depthBelowLight / mapSize.y;

    // Normal offset plus a slope-scaled push towards the light: steep faces
    // need more because their stored depth changes faster across the filter.
    float cosClamped = max(cosTheta, 0.05);
    float tanTheta = sqrt(1.0 - cosClamped * cosClamped) / cosClamped;
    vec3 offsetWorld = worldNormal * (1.2 * texelWorld) + toLight * (texelWorld * min(1.0 + 2.5 * tanTheta, 8.0));
    vec4 offset = DepthBiasMVP * vec4(transpose(mat3(modelMatrix)) * offsetWorld, 0.0);

    vec4 coord = shadowCoord + offset;
    if (coord.w <= 0.0) return 1.0;  // behind the light
    vec3 lookup = coord.xyz / coord.w;
    if (any(lessThan(lookup, vec3(0.0))) || any(greaterThan(lookup, vec3(1.0)))) return 1.0;

    // Nine bilinear comparisons one texel apart: a flat-topped filter four
    // texels wide, so the texel grid does not show as steps along the edge.
    // Along each axis the nine weigh the four texels under them 1 - f, 1, 1, f
    // (f: where the lookup falls between texel centres), so two bilinear taps
    // per axis, placed and weighted to carry (1 - f, 1) and (1, f), sum to
    // the same result with four lookups instead of nine.
    vec2 grid = lookup.xy * mapSize - 0.5;
    vec2 lower = floor(grid);  // the texel just below the lookup, second of the four
    vec2 f = grid - lower;
    vec2 weightLow = 2.0 - f;
    vec2 weightHigh = 1.0 + f;
    vec2 low = (lower - 0.5 + 1.0 / weightLow) / mapSize;
    vec2 high = (lower + 1.5 + f / weightHigh) / mapSize;
    float lit = weightLow.x * weightLow.y * texture(shadowMap, vec3(low.x, low.y, lookup.z))
              + weightHigh.x * weightLow.y * texture(shadowMap, vec3(high.x, low.y, lookup.z))
              + weightLow.x * weightHigh.y * texture(shadowMap, vec3(low.x, high.y, lookup.z))
              + weightHigh.x * weightHigh.y * texture(shadowMap, vec3(high.x, high.y, lookup.z));
    return lit / 9.0;
}

void main() {
    vec3 albedo = texture(colorTexture, vertexUv).rgb;

    float lightDistance = length(toLightWorld);
    vec3 toLight = toLightWorld / max(lightDistance, 1e-4);
    // A mesh without normals still gets light, as if it faced the lamp.
    float normalLength = length(normalWorld);
    vec3 worldNormal = normalLength > 1e-6 ? normalWorld / normalLength : toLight;
    vec3 toEye = normalize(toEyeWorld);

    float intensity = lightScale * lightPower / max(lightDistance * lightDistance, 1.0);
    float diffuse = max(dot(worldNormal, toLight), 0.0);
    float specular = 0.0;
    float shadow = 0.0;
    if (diffuse > 0.0) {
        specular = pow(max(dot(worldNormal, normalize(toLight + toEye)), 0.0), shininess);
#ifdef OUTSIDE_THE_LIGHTS_VIEW
        // This program draws only what lies outside the light's view, where
        // visibility() returns 1 without a lookup; leaving it out spares llvmpipe,
        // which runs both sides of every branch, all of the shadow's work.
        shadow = 1.0;
#else
        shadow = visibility(worldNormal, toLight, diffuse);
#endif
    }

    vec3 ambient = albedo * (ambientColour + skyFill * max(worldNormal.y, 0.0));
    vec3 direct = (albedo * diffuse + specularColour * specular) * intensity * shadow;
    fragColor = vec4(ambient + direct, transparency);
}
