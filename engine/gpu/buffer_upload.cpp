#include "engine/gpu/buffer_upload.h"

namespace engine {

GlBuffer uploadStaticBuffer(GLenum target, const void* data, std::size_t bytes) {
    GlBuffer buffer = createBuffer();
    glBindBuffer(target, buffer.get());
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    glBindBuffer(target, 0);
    return buffer;
}

// Orphaning the old storage first lets the driver keep drawing from it while the new is filled.
void refillStreamBuffer(GLenum target, GlBuffer& buffer, const void* data, std::size_t bytes) {
    if (buffer.get() == 0) {
        buffer = createBuffer();
    }
    glBindBuffer(target, buffer.get());
    glBufferData(target, static_cast<GLsizeiptr>(bytes), nullptr, GL_STREAM_DRAW);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STREAM_DRAW);
    glBindBuffer(target, 0);
}

void readBufferBytes(GLenum target, const GlBuffer& buffer, GLintptr offset, std::size_t bytes,
                     void* destination) {
    glBindBuffer(target, buffer.get());
    glGetBufferSubData(target, offset, static_cast<GLsizeiptr>(bytes), destination);
    glBindBuffer(target, 0);
}

}  // namespace engine
