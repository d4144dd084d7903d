#version 330 core
// Blinn-Phong lighting from the point light above the cat, with the shadow
// map filtered over 3x3 taps. Model matrices of the scene are rigid
// (rotations and translations only), so model-space offsets are world units.

in vec3 positionModel;
in vec3 normalModel;
in vec2 vertexUv;

uniform mat4 viewMatrix;
uniform mat4 modelMatrix;
uniform mat4 DepthBiasMVP;        // model -> shadow-map texture coordinates and depth
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
float visibility(vec3 worldPosition, vec3 worldNormal, vec3 toLight) {
    // The size of one shadow-map texel on the ground grows with the depth
    // below the light; the offsets below are measured in those texels so the
    // bias is as small near the cat as it is far away.
    float depthBelowLight = max(lightPosition_worldspace.y - worldPosition.y, 0.1);
    vec2 mapSize = vec2(textureSize(shadowMap, 0));
    float texelWorld = 2.0 * lightFieldOfViewTan * depthBelowLight / mapSize.y;

    // Normal offset plus a slope-scaled push towards the light: steep faces
    // need more because their stored depth changes faster across the 3x3 kernel.
    float cosTheta = clamp(dot(worldNormal, toLight), 0.05, 1.0);
    float tanTheta = sqrt(1.0 - cosTheta * cosTheta) / cosTheta;
    vec3 offsetWorld = worldNormal * (1.2 * texelWorld) + toLight * (texelWorld * min(1.0 + 1.5 * tanTheta, 6.0));
    vec3 offsetModel = transpose(mat3(modelMatrix)) * offsetWorld;

    vec4 shadowCoord = DepthBiasMVP * vec4(positionModel + offsetModel, 1.0);
    if (shadowCoord.w <= 0.0) return 1.0;  // behind the light
    vec3 lookup = shadowCoord.xyz / shadowCoord.w;  // perspective light: divide by w
    if (lookup.x < 0.0 || lookup.x > 1.0 || lookup.y < 0.0 || lookup.y > 1.0 || lookup.z > 1.0) {
        return 1.0;
    }

    vec2 texel = 1.0 / mapSize;
    float lit = 0.0;
    for (int y = -1; y <= 1; ++y) {
        for (int x = -1; x <= 1; ++x) {
            lit += texture(shadowMap, vec3(lookup.xy + vec2(x, y) * texel, lookup.z));
        }
    }
    return lit / 9.0;
}

void main() {
    vec3 albedo = texture(colorTexture, vertexUv).rgb;
    vec3 worldPosition = (modelMatrix * vec4(positionModel, 1.0)).xyz;

    vec3 lightVector = lightPosition_worldspace - worldPosition;
    float lightDistance = length(lightVector);
    vec3 toLight = lightVector / max(lightDistance, 1e-4);

    // A mesh without normals still gets light, as if it faced the lamp.
    vec3 rawNormal = mat3(modelMatrix) * normalModel;
    float normalLength = length(rawNormal);
    vec3 worldNormal = normalLength > 1e-6 ? rawNormal / normalLength : toLight;

    // The view is rigid, so its transposed rotation takes camera space back to world space.
    vec3 positionCamera = (viewMatrix * vec4(worldPosition, 1.0)).xyz;
    vec3 toEye = normalize(transpose(mat3(viewMatrix)) * -positionCamera);

    float intensity = lightScale * lightPower / max(lightDistance * lightDistance, 1.0);
    float diffuse = max(dot(worldNormal, toLight), 0.0);
    vec3 halfway = normalize(toLight + toEye);
    float specular = diffuse > 0.0 ? pow(max(dot(worldNormal, halfway), 0.0), shininess) : 0.0;
    float shadow = diffuse > 0.0 ? visibility(worldPosition, worldNormal, toLight) : 0.0;

    vec3 ambient = albedo * (ambientColour + skyFill * max(worldNormal.y, 0.0));
    vec3 direct = (albedo * diffuse + specularColour * specular) * intensity * shadow;
    fragColor = vec4(ambient + direct, transparency);
}
