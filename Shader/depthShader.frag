#version 330 core
// The shadow framebuffer has no colour buffer; depth is written by the rasteriser.

out vec4 fragColor;

void main() {
    fragColor = vec4(gl_FragCoord.z);
}
