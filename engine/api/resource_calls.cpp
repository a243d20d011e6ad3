// Declaring and finding resources, pipeline buffers and material uniforms.
#include <optional>
#include <string>

#include "engine/api/api_guard.h"
#include "engine/core/geometry_figures.h"
#include "engine/h3d.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/loaded_pipeline.h"

using namespace engine;

namespace {

// Far beyond any screen, and small enough that width * height cannot overflow.
constexpr int kMaximumBufferSide = 16384;

}  // namespace

H3DRes h3dAddResource(int type, const char* name, int flags) {
    return withEngine("h3dAddResource", 0, [&](Engine& engine) {
        if (!presentOrReport("h3dAddResource", name, "resource name")) {
            return 0;
        }
        if (!isResourceType(type)) {
            messageLog().warning("h3dAddResource: unknown resource type " + std::to_string(type) +
                                 " for '" + name + "'");
            return 0;
        }
        if (*name == '\0') {
            messageLog().warning("h3dAddResource: a resource needs a name");
            return 0;
        }
        return engine.resources.add(static_cast<ResourceType>(type), name, flags);
    });
}

H3DRes h3dFindResource(int type, const char* name) {
    return withEngine("h3dFindResource", 0, [&](Engine& engine) {
        if (name == nullptr || !isResourceType(type)) {
            return 0;
        }
        return engine.resources.find(static_cast<ResourceType>(type), name);
    });
}

bool h3dIsResLoaded(H3DRes resource) {
    return withEngine("h3dIsResLoaded", false, [&](Engine& engine) {
        Resource* found = resourceOrReport(engine, "h3dIsResLoaded", resource);
        return found != nullptr && found->loaded();
    });
}

int h3dGetResParamI(H3DRes resource, int parameter) {
    return withEngine("h3dGetResParamI", 0, [&](Engine& engine) {
        Resource* found = resourceOrReport(engine, "h3dGetResParamI", resource);
        if (found == nullptr) {
            return 0;
        }
        const std::optional<int> figure = geometryFigure(*found, engine.resources, parameter);
        if (!figure) {
            messageLog().warning("h3dGetResParamI: " + std::string(resourceTypeName(found->type)) +
                                 " '" + found->name + "' has no figure " +
                                 std::to_string(parameter) +
                                 (found->loaded() ? "" : " (it is not loaded)"));
            return 0;
        }
        return *figure;
    });
}

namespace {

// The animation of a loaded geometry that a per-element call names; nothing, with a message,
// when there is none.
const GeometryAnimation* animationOrReport(Engine& engine, const char* call, H3DRes resource,
                                           int parameter, int expected, int index) {
    Resource* found = resourceOrReport(engine, call, resource, ResourceType::Geometry);
    if (found == nullptr) {
        return nullptr;
    }
    const auto* geometry = found->payloadAs<LoadedGeometry>();
    if (parameter != expected || geometry == nullptr || index < 0 ||
        index >= static_cast<int>(geometry->animations.size())) {
        messageLog().warning(std::string(call) + ": geometry '" + found->name + "' has no figure " +
                             std::to_string(parameter) + " of element " + std::to_string(index) +
                             (found->loaded() ? "" : " (it is not loaded)"));
        return nullptr;
    }
    return &geometry->animations[static_cast<std::size_t>(index)];
}

}  // namespace

float h3dGetResParamF(H3DRes resource, int parameter, int index) {
    return withEngine("h3dGetResParamF", 0.0f, [&](Engine& engine) {
        const GeometryAnimation* animation = animationOrReport(
            engine, "h3dGetResParamF", resource, parameter, H3DGeometry::AnimationDurationF, index);
        return animation != nullptr ? animation->duration : 0.0f;
    });
}

const char* h3dGetResParamStr(H3DRes resource, int parameter, int index) {
    return withEngine("h3dGetResParamStr", "", [&](Engine& engine) -> const char* {
        const GeometryAnimation* animation = animationOrReport(
            engine, "h3dGetResParamStr", resource, parameter, H3DGeometry::AnimationNameStr, index);
        engine.returnedText = animation != nullptr ? animation->name : "";
        return engine.returnedText.c_str();
    });
}

void h3dResizePipelineBuffers(H3DRes pipelineResource, int width, int height) {
    withEngine("h3dResizePipelineBuffers", [&](Engine& engine) {
        Resource* found = resourceOrReport(engine, "h3dResizePipelineBuffers", pipelineResource,
                                           ResourceType::Pipeline);
        if (found == nullptr) {
            return;
        }
        auto* pipeline = found->payloadAs<LoadedPipeline>();
        if (pipeline == nullptr) {
            messageLog().warning("h3dResizePipelineBuffers: pipeline '" + found->name +
                                 "' is not loaded");
            return;
        }
        if (width <= 0 || height <= 0 || width > kMaximumBufferSide ||
            height > kMaximumBufferSide) {
            messageLog().warning("h3dResizePipelineBuffers: " + std::to_string(width) + "x" +
                                 std::to_string(height) + " is not a usable size");
            return;
        }
        engine.renderer.resizePipeline(pipelineResource, *pipeline, width, height, messageLog());
    });
}

bool h3dSetMaterialUniform(H3DRes materialResource, const char* name, float a, float b, float c,
                           float d) {
    return withEngine("h3dSetMaterialUniform", false, [&](Engine& engine) {
        Resource* found = resourceOrReport(engine, "h3dSetMaterialUniform", materialResource,
                                           ResourceType::Material);
        if (found == nullptr || !presentOrReport("h3dSetMaterialUniform", name, "uniform name")) {
            return false;
        }
        auto* material = found->payloadAs<LoadedMaterial>();
        if (material == nullptr) {
            // Its failed load was reported already; a message every frame would bury it.
            return false;
        }
        if (!material->setUniform(name, glm::vec4(a, b, c, d))) {
            messageLog().warning("h3dSetMaterialUniform: material '" + found->name +
                                 "' has no uniform '" + name + "'");
            return false;
        }
        return true;
    });
}
