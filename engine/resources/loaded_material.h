// A loaded material: its description with the shader and textures resolved to resource
// handles, and the current uniform values, which h3dSetMaterialUniform changes at run time.
#pragma once

#include <string_view>
#include <vector>

#include <glm/vec4.hpp>

#include "engine/formats/material_format.h"
#include "engine/h3d.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct LoadedMaterial : ResourcePayload {
    MaterialDesc desc;
    H3DRes shader = 0;
    // One texture resource per entry of desc.textures.
    std::vector<H3DRes> textures;
    // The font metrics resource a text overlay material names; 0 for other materials.
    H3DRes fontMetrics = 0;
    // The build of the shader the material draws with (see LoadedShader::variants); 0 for a
    // material without defines, kVariantPending until its variant is built, kVariantFailed
    // when it did not build (the material is then not drawn).
    static constexpr int kVariantPending = -1;
    static constexpr int kVariantFailed = -2;
    int shaderVariant = 0;
    // The builds for skinned meshes, with four and with eight joints a vertex, made for the
    // materials of skinned meshes (kVariantNone for the others, which are skinned on the CPU).
    static constexpr int kVariantNone = -3;
    int skinnedVariants[2] = {kVariantNone, kVariantNone};
    // Transmissive materials (the define TRANSMISSION) see the opaque scene behind them, so they
    // are drawn after it.
    bool seesSceneBehind = false;

    // False when the material has no uniform of that name.
    bool setUniform(std::string_view name, const glm::vec4& value);
    const MaterialUniform* findUniform(std::string_view name) const;
};

}  // namespace engine
