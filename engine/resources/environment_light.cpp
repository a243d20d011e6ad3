#include "engine/resources/environment_light.h"

#include <chrono>

#include "engine/gpu/environment_texture.h"

namespace engine {

EnvironmentLight uploadEnvironment(const PrefilteredEnvironment& environment, bool halfFloats) {
    EnvironmentLight light;
    light.cube = uploadRadianceLevels(environment.levels, halfFloats);
    light.roughestLevel = static_cast<int>(environment.levels.size()) - 1;
    light.irradiance = environment.irradiance;
    return light;
}

std::optional<EnvironmentLight> environmentFromTexture(const LoadedTexture& texture,
                                                       bool halfFloats, int threads,
                                                       std::string& fault) {
    if (texture.target != GL_TEXTURE_CUBE_MAP) {
        fault = "it is not a cube texture";
        return std::nullopt;
    }
    const auto start = std::chrono::steady_clock::now();
    std::optional<RadianceCube> radiance = readRadianceCube(texture.texture.get());
    if (!radiance) {
        fault = "its faces cannot be read back";
        return std::nullopt;
    }
    EnvironmentLight light =
        uploadEnvironment(prefilterEnvironment(*radiance, threads), halfFloats);
    light.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return light;
}

}  // namespace engine
