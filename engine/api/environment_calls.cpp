// The environment light glTF materials are lit by.
#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>

#include "engine/api/api_guard.h"
#include "engine/h3d.h"
#include "engine/resources/environment_light.h"

using namespace engine;

bool h3dSetEnvironment(H3DRes cubeTexture) {
    return withEngine("h3dSetEnvironment", false, [&](Engine& engine) {
        if (cubeTexture == 0) {
            engine.renderer.clearEnvironment();
            return true;
        }
        Resource* resource =
            resourceOrReport(engine, "h3dSetEnvironment", cubeTexture, ResourceType::Texture);
        if (resource == nullptr) {
            return false;
        }
        const auto* texture = resource->payloadAs<LoadedTexture>();
        std::string fault = "it is not loaded";
        const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        std::optional<EnvironmentLight> light =
            texture != nullptr
                ? environmentFromTexture(*texture, engine.renderer.capabilities().halfFloatTargets,
                                         threads, fault)
                : std::nullopt;
        if (!light) {
            messageLog().warning("h3dSetEnvironment: texture '" + resource->name +
                                 "' cannot light the scene: " + fault);
            return false;
        }
        char time[32];
        std::snprintf(time, sizeof time, "%.0f ms", light->milliseconds);
        messageLog().info("environment light from '" + resource->name + "' computed in " + time);
        light->source = cubeTexture;
        engine.renderer.setEnvironment(std::move(*light));
        return true;
    });
}
