#include "engine/render/scene_behind.h"

#include "engine/gpu/engine_uniforms.h"

namespace engine {

void SceneBehind::capture() {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glActiveTexture(GL_TEXTURE0 + kSceneBehindUnit);
    if (!texture_ || viewport[2] != width_ || viewport[3] != height_) {
        GLuint name = 0;
        glGenTextures(1, &name);
        texture_ = GlTexture(name);
        width_ = viewport[2];
        height_ = viewport[3];
        glBindTexture(GL_TEXTURE_2D, name);
        // Half floats keep an HDR target's bright parts; a screen's colours fit them as well.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width_, height_, 0, GL_RGBA, GL_FLOAT, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    } else {
        glBindTexture(GL_TEXTURE_2D, texture_.get());
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, viewport[0], viewport[1], width_, height_);
    glGenerateMipmap(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace engine
