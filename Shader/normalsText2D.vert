#version 330 core
// HUD text: glyph corners in HUD units (x 0..800 to the right, y 0..600
// upward) mapped onto the whole window.

layout(location = 3) in vec2 position;
layout(location = 4) in vec2 uv;

out vec2 glyphUv;

void main() {
    // Depth 0 (the near plane) passes the LESS test against anything the
    // scene drew, and the depth buffer is not cleared before the HUD.
    gl_Position = vec4(position.x / 400.0 - 1.0, position.y / 300.0 - 1.0, -1.0, 1.0);
    glyphUv = uv;
}
