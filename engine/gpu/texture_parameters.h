// The wrap and filter parameters of a 2D texture. Several materials may sample one texture in
// different ways; the texture keeps what it has, so that binding it changes only what differs.
#pragma once

#include <epoxy/gl.h>

namespace engine {

struct TextureParameters {
    GLint wrapS = GL_REPEAT;
    GLint wrapT = GL_REPEAT;
    GLint minify = GL_LINEAR_MIPMAP_LINEAR;
    GLint magnify = GL_LINEAR;

    bool operator==(const TextureParameters& other) const {
        return wrapS == other.wrapS && wrapT == other.wrapT && minify == other.minify &&
               magnify == other.magnify;
    }
};

// The texture must be bound to GL_TEXTURE_2D.
inline void changeTextureParameters(TextureParameters& current, const TextureParameters& wanted) {
    if (current == wanted) {
        return;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wanted.wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wanted.wrapT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, wanted.minify);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, wanted.magnify);
    current = wanted;
}

}  // namespace engine
