#version 330 core
// Lit, textured, shadowed scene objects. Everything the lighting needs that
// is affine in the vertex position is computed here and interpolated, which
// is exact and leaves the fragment stage only what must be done per pixel.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

uniform mat4 projectionMatrix;
uniform mat4 viewMatrix;
uniform mat4 modelMatrix;
uniform mat4 DepthBiasMVP;        // model -> shadow-map texture coordinates and depth
uniform vec3 lightPosition_worldspace;
uniform vec4 clipPlane;            // world space; what the street hides is clipped

out vec3 positionWorld;
out vec3 normalWorld;             // not normalised: normalised per pixel
out vec3 toLightWorld;            // not normalised: its length is the light distance
out vec3 toEyeWorld;
out vec4 shadowCoord;             // homogeneous: the light is a perspective light
out vec2 vertexUv;

void main() {
    vec4 world = modelMatrix * vec4(position, 1.0);
    vec4 camera = viewMatrix * world;
    gl_Position = projectionMatrix * camera;
    gl_ClipDistance[0] = dot(world, clipPlane);

    positionWorld = world.xyz;
    normalWorld = mat3(modelMatrix) * normal;
    toLightWorld = lightPosition_worldspace - world.xyz;
    // The view is rigid, so its transposed rotation takes camera space back to world space.
    toEyeWorld = transpose(mat3(viewMatrix)) * -camera.xyz;
    shadowCoord = DepthBiasMVP * vec4(position, 1.0);
    vertexUv = uv;
}
