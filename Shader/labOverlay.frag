#version 330 core

in vec4 shapeColor;

out vec4 fragColor;

void main() { fragColor = shapeColor; }
