// Vertex buffers: pointing a vertex input at one, and streaming a buffer's
// contents anew each time they change (the HUD's text, the batched coins and
// slabs).
#pragma once

#include <GL/glew.h>
#include <vector>

// Binds `buffer` to `target` and gives it `values` in new storage: the old
// storage is let go rather than overwritten, so a draw still waiting to read
// it on llvmpipe never holds the upload up. Leaves `buffer` bound to `target`.
template <typename T>
void refillBuffer(GLenum target, GLuint buffer, const std::vector<T>& values) {
    const auto bytes = static_cast<GLsizeiptr>(values.size() * sizeof(T));
    glBindBuffer(target, buffer);
    glBufferData(target, bytes, nullptr, GL_STREAM_DRAW);
    if (bytes > 0) glBufferSubData(target, 0, bytes, values.data());
}

// Points the vertex input at `location` (gpu/shader.h's VertexInput) of the
// bound vertex array at `buffer`, `components` values of `type` a vertex,
// tightly packed, and enables it. Leaves `buffer` bound to GL_ARRAY_BUFFER.
inline void pointVertexInput(GLuint location, GLuint buffer, GLint components, GLenum type = GL_FLOAT,
                             GLboolean normalized = GL_FALSE) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnableVertexAttribArray(location);
    glVertexAttribPointer(location, components, type, normalized, 0, nullptr);
}
