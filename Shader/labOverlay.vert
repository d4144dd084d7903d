#version 330 core
// The lab overlay's panel and frame-time graph: flat-coloured shapes in HUD
// units (x 0 .. hudUnits.x to the right, y 0 .. hudUnits.y upward) over the
// whole viewport, drawn without the depth test on top of the picture.

layout(location = 0) in vec2 position;
layout(location = 1) in vec4 color;

uniform vec2 hudUnits;

out vec4 shapeColor;

void main() {
    gl_Position = vec4(position / hudUnits * 2.0 - 1.0, -1.0, 1.0);
    shapeColor = color;
}
