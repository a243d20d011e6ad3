// What a material description holds, looked up by name for the tests' checks.
#pragma once

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "engine/formats/material_format.h"

inline const engine::MaterialUniform* findUniform(const engine::MaterialDesc& material,
                                                  const std::string& name) {
    for (const engine::MaterialUniform& uniform : material.uniforms) {
        if (uniform.name == name) {
            return &uniform;
        }
    }
    return nullptr;
}

// The uniform's value; a test failure, and -1 in every component, when the material lacks it.
inline glm::vec4 uniformOf(const engine::MaterialDesc& material, const std::string& name) {
    const engine::MaterialUniform* uniform = findUniform(material, name);
    if (uniform == nullptr) {
        ADD_FAILURE() << "no uniform " << name;
        return glm::vec4(-1.0f);
    }
    return uniform->value;
}

inline bool defines(const engine::MaterialDesc& material, const std::string& define) {
    return std::find(material.defines.begin(), material.defines.end(), define) !=
           material.defines.end();
}

inline const engine::MaterialTexture* textureOf(const engine::MaterialDesc& material,
                                                const std::string& sampler) {
    for (const engine::MaterialTexture& texture : material.textures) {
        if (texture.sampler == sampler) {
            return &texture;
        }
    }
    return nullptr;
}

inline void expectNear(const glm::vec4& actual, const glm::vec4& expected) {
    for (int axis = 0; axis < 4; ++axis) {
        EXPECT_NEAR(actual[axis], expected[axis], 1e-5f) << "component " << axis;
    }
}
