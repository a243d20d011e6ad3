#include "engine/gpu/render_target.h"

namespace engine {
namespace {

struct TextureFormat {
    GLint internalFormat;
    GLenum format;
    GLenum type;
};

TextureFormat colorFormat(TargetFormat wanted, const GlCapabilities& capabilities);
GlTexture createTargetTexture(const TextureFormat& format, int width, int height);
std::string describeStatus(GLenum status);

}  // namespace

std::optional<RenderTarget> RenderTarget::create(const RenderTargetDesc& desc, int width,
                                                 int height, const GlCapabilities& capabilities,
                                                 std::string& error) {
    RenderTarget target;
    target.width_ = width;
    target.height_ = height;
    target.framebuffer_ = createFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer_.get());
    const TextureFormat format = colorFormat(desc.format, capabilities);
    for (int index = 0; index < desc.colorBuffers; ++index) {
        target.colorTextures_.push_back(createTargetTexture(format, width, height));
        target.nearestFiltering_.push_back(false);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + index, GL_TEXTURE_2D,
                               target.colorTextures_.back().get(), 0);
    }
    if (desc.hasDepth) {
        target.depthTexture_ = createTargetTexture(
            {GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT}, width, height);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D,
                               target.depthTexture_.get(), 0);
    }
    target.bind();
    GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        error = describeStatus(status);
        return std::nullopt;
    }
    return target;
}

void RenderTarget::bind() const {
    static const GLenum kDrawBuffers[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1,
                                          GL_COLOR_ATTACHMENT2, GL_COLOR_ATTACHMENT3};
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
    glDrawBuffers(static_cast<GLsizei>(colorTextures_.size()), kDrawBuffers);
    glViewport(0, 0, width_, height_);
}

GLuint RenderTarget::colorTexture(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colorTextures_.size()) {
        return 0;
    }
    return colorTextures_[static_cast<std::size_t>(index)].get();
}

void RenderTarget::useFiltering(int index, bool nearest) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colorTextures_.size()) {
        return;
    }
    const auto slot = static_cast<std::size_t>(index);
    if (nearestFiltering_[slot] != nearest) {
        nearestFiltering_[slot] = nearest;
        const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    }
}

namespace {

TextureFormat colorFormat(TargetFormat wanted, const GlCapabilities& capabilities) {
    if (wanted == TargetFormat::R11fG11fB10f && capabilities.packedFloatTargets) {
        return {GL_R11F_G11F_B10F, GL_RGB, GL_FLOAT};
    }
    if (wanted != TargetFormat::Rgba8 && capabilities.halfFloatTargets) {
        return {GL_RGBA16F, GL_RGBA, GL_FLOAT};
    }
    return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE};
}

GlTexture createTargetTexture(const TextureFormat& format, int width, int height) {
    GlTexture texture = createTexture();
    glBindTexture(GL_TEXTURE_2D, texture.get());
    glTexImage2D(GL_TEXTURE_2D, 0, format.internalFormat, width, height, 0, format.format,
                 format.type, nullptr);
    // Bilinear until a pass asks otherwise; no mipmaps, no wrapping across the edge.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

std::string describeStatus(GLenum status) {
    switch (status) {
        case GL_FRAMEBUFFER_UNSUPPORTED:
            return "the driver does not support this combination of formats";
        case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT:
            return "an attachment is incomplete";
        case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT:
            return "the framebuffer has no attachment";
        default:
            return "the framebuffer is incomplete (status " + std::to_string(status) + ")";
    }
}

}  // namespace
}  // namespace engine
