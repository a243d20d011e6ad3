// What every program drawing in one pass is told once: the camera, the lights, the shadow map
// and the sizes of the target and the screen.
#pragma once

#include <array>
#include <cstdint>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/render/light_set.h"
#include "engine/resources/environment_light.h"
#include "engine/resources/loaded_shader.h"

namespace engine {

struct PassUniforms {
    // Different for every pass, so that programs can tell whether they hold this pass's values.
    std::uint64_t stamp = 0;
    glm::mat4 viewProjection{1.0f};
    glm::vec3 cameraPosition{0.0f};
    const LightSet* lights = nullptr;
    const EnvironmentLight* environment = nullptr;
    const std::array<glm::mat4, 6>* shadowMatrices = nullptr;
    glm::vec2 shadowTexelSize{1.0f};
    glm::vec4 targetSize{1.0f};
    glm::vec4 screenSize{1.0f};
};

// (width, height, 1 / width, 1 / height), as the size uniforms hold sizes.
glm::vec4 sizeUniform(int width, int height);

// Sets the pass's values on the program, which must be in use, unless it holds them already.
void applyPassUniforms(ContextProgram& program, const PassUniforms& pass);

}  // namespace engine
