#version 330 core
// HUD text: glyph corners in HUD units (x 0 .. hudUnits.x to the right,
// y 0 .. hudUnits.y upward) mapped onto the whole viewport. The HUD is drawn
// without the depth test, on top of whatever the picture holds.

layout(location = 3) in vec2 position;
layout(location = 4) in vec2 uv;
layout(location = 5) in vec3 ink;

uniform vec2 hudUnits;

out vec2 glyphUv;
// One ink a line: never blended between the corners of a glyph.
flat out vec3 glyphInk;

void main() {
    gl_Position = vec4(position / hudUnits * 2.0 - 1.0, -1.0, 1.0);
    glyphUv = uv;
    glyphInk = ink;
}
