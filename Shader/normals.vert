#version 330 core
// Debug program whose attribute locations build the helper cube and the
// mouse; it shows the mesh's normals and texture coordinates as colour.

layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 uv;

out vec3 vertexNormal;
out vec2 vertexUv;

void main() {
    gl_Position = vec4(position, 1.0);
    vertexNormal = normal;
    vertexUv = uv;
}
