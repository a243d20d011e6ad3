// Material files: the shader a surface is drawn with, its textures and its uniform values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <glm/vec4.hpp>

#include "engine/formats/parsed.h"

namespace engine {

enum class TextureKind { Flat, Cube };

struct MaterialTexture {
    std::string sampler;
    std::string file;
    TextureKind kind = TextureKind::Flat;
    // False for a texture always seen at least as large as it is: no mipmaps to make or sample.
    bool mipmaps = true;
};

struct MaterialUniform {
    std::string name;
    glm::vec4 value{0.0f};
};

struct MaterialDesc {
    std::string shader;
    // Back faces are culled unless the surface is seen from both sides (or from inside).
    bool cullsBackFaces = true;
    // False for surfaces the shader draws around the camera (a sky): never left out for lying
    // outside the view.
    bool frustumCulled = true;
    std::vector<MaterialTexture> textures;
    std::vector<MaterialUniform> uniforms;
    // The font metrics file of a text overlay's atlas; empty for other materials.
    std::string fontMetrics;
};

Parsed<MaterialDesc> parseMaterial(std::string_view bytes);

}  // namespace engine
