#include "engine/gpu/environment_texture.h"

#include <algorithm>

#include <glm/common.hpp>

namespace engine {

std::optional<RadianceCube> readRadianceCube(GLuint cubeTexture) {
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeTexture);
    GLint width = 0;
    GLint height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_TEXTURE_HEIGHT, &height);
    if (width <= 0 || width != height) {
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        return std::nullopt;
    }
    GLint componentType = GL_NONE;
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_TEXTURE_RED_TYPE,
                             &componentType);
    const bool displayColors = componentType != GL_FLOAT;
    RadianceCube cube;
    cube.size = width;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int face = 0; face < 6; ++face) {
        std::vector<glm::vec3>& texels = cube.faces[static_cast<std::size_t>(face)];
        texels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(width));
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(face), 0, GL_RGB,
                      GL_FLOAT, texels.data());
        for (glm::vec3& texel : texels) {
            texel = glm::max(texel, glm::vec3(0.0f));
            if (displayColors) {
                texel *= texel;
            }
        }
    }
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return cube;
}

GlTexture uploadRadianceLevels(const std::vector<RadianceCube>& levels, bool halfFloats) {
    GLuint name = 0;
    glGenTextures(1, &name);
    GlTexture texture(name);
    glBindTexture(GL_TEXTURE_CUBE_MAP, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const GLint format = halfFloats ? GL_RGB16F : GL_RGB8;
    for (std::size_t level = 0; level < levels.size(); ++level) {
        const RadianceCube& cube = levels[level];
        for (int face = 0; face < 6; ++face) {
            glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(face),
                         static_cast<GLint>(level), format, cube.size, cube.size, 0, GL_RGB,
                         GL_FLOAT, cube.faces[static_cast<std::size_t>(face)].data());
        }
    }
    const auto lastLevel = static_cast<GLint>(std::max<std::size_t>(levels.size(), 1) - 1);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAX_LEVEL, lastLevel);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER,
                    lastLevel > 0 ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return texture;
}

}  // namespace engine
