// Owners of OpenGL object names: each deletes its object when it goes, so releasing the
// engine frees every OpenGL object it made.
#pragma once

#include <utility>

#include <epoxy/gl.h>

namespace engine {

template <typename Deleter>
class GlObject {
  public:
    GlObject() = default;
    explicit GlObject(GLuint name) : name_(name) {}
    ~GlObject() { reset(); }
    GlObject(GlObject&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
    GlObject& operator=(GlObject&& other) noexcept {
        if (this != &other) {
            reset();
            name_ = std::exchange(other.name_, 0);
        }
        return *this;
    }
    GlObject(const GlObject&) = delete;
    GlObject& operator=(const GlObject&) = delete;

    GLuint get() const { return name_; }
    explicit operator bool() const { return name_ != 0; }
    void reset() {
        if (name_ != 0) {
            Deleter{}(name_);
            name_ = 0;
        }
    }

  private:
    GLuint name_ = 0;
};

struct TextureDeleter {
    void operator()(GLuint name) const { glDeleteTextures(1, &name); }
};
struct FramebufferDeleter {
    void operator()(GLuint name) const { glDeleteFramebuffers(1, &name); }
};
struct BufferDeleter {
    void operator()(GLuint name) const { glDeleteBuffers(1, &name); }
};
struct ShaderDeleter {
    void operator()(GLuint name) const { glDeleteShader(name); }
};
struct ProgramDeleter {
    void operator()(GLuint name) const { glDeleteProgram(name); }
};

using GlTexture = GlObject<TextureDeleter>;
using GlFramebuffer = GlObject<FramebufferDeleter>;
using GlBuffer = GlObject<BufferDeleter>;
using GlShader = GlObject<ShaderDeleter>;
using GlProgram = GlObject<ProgramDeleter>;

inline GlTexture createTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    return GlTexture(name);
}

inline GlFramebuffer createFramebuffer() {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return GlFramebuffer(name);
}

inline GlBuffer createBuffer() {
    GLuint name = 0;
    glGenBuffers(1, &name);
    return GlBuffer(name);
}

}  // namespace engine
