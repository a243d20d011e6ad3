// Material files: a parsed material names its shader, and each sampler or uniform name once.
#include <set>
#include <string>

#include "engine/formats/material_format.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::Parsed<engine::MaterialDesc> parsed =
        engine::parseMaterial(fuzz::inputText(data, size));
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    const engine::MaterialDesc& material = parsed.value();
    fuzz::require(!material.shader.empty(), "a material names its shader");
    std::set<std::string> names;
    for (const engine::MaterialTexture& texture : material.textures) {
        fuzz::require(!texture.file.empty(), "a texture names its file");
        fuzz::require(names.insert(texture.sampler).second, "a sampler name comes once");
    }
    for (const engine::MaterialUniform& uniform : material.uniforms) {
        fuzz::require(names.insert(uniform.name).second, "a uniform name comes once");
    }
    return 0;
}
