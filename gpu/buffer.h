// Streaming a buffer's contents anew each time they change (the HUD's text,
// the batched coins and slabs).
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
