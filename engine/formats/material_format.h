// Material files: the shader a surface is drawn with, its textures and its uniform values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <glm/vec4.hpp>

#include "engine/formats/parsed.h"

namespace engine {

enum class TextureKind { Flat, Cube };
enum class TextureWrap { Repeat, ClampToEdge, MirroredRepeat };
enum class TextureFilter { Linear, Nearest };

struct MaterialTexture {
    std::string sampler;
    std::string file;
    TextureKind kind = TextureKind::Flat;
    // False for a texture always seen at least as large as it is: no mipmaps to make or sample.
    bool mipmaps = true;
    // How the material samples it; the texture's own settings change to these when it binds.
    TextureWrap wrapS = TextureWrap::Repeat;
    TextureWrap wrapT = TextureWrap::Repeat;
    TextureFilter magnify = TextureFilter::Linear;
    TextureFilter minify = TextureFilter::Linear;
};

struct MaterialUniform {
    std::string name;
    glm::vec4 value{0.0f};
};

// Opaque surfaces write depth; alpha-blended ones are drawn after them, back to front, over
// what they cover, without writing depth.
enum class MaterialBlend { Opaque, Alpha };

struct MaterialDesc {
    std::string shader;
    // Words each program of the shader sees as #define lines: one build of the shader per set.
    std::vector<std::string> defines;
    MaterialBlend blend = MaterialBlend::Opaque;
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
