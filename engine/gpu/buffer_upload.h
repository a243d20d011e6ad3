// Data that never changes becomes an OpenGL buffer, uploaded once.
#pragma once

#include <cstddef>

#include <epoxy/gl.h>

#include "engine/gpu/gl_object.h"

namespace engine {

// target: GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER; left unbound afterwards.
GlBuffer uploadStaticBuffer(GLenum target, const void* data, std::size_t bytes);
// Replaces the whole content of a buffer that changes often (made when it has none yet).
void refillStreamBuffer(GLenum target, GlBuffer& buffer, const void* data, std::size_t bytes);
// Copies bytes of the buffer from offset into destination; the target is left unbound.
void readBufferBytes(GLenum target, const GlBuffer& buffer, GLintptr offset, std::size_t bytes,
                     void* destination);

}  // namespace engine
