// The kinds of resource the engine knows, numbered as the interface numbers them.
#pragma once

#include "engine/h3d.h"

namespace engine {

enum class ResourceType {
    SceneGraph = H3DResTypes::SceneGraph,
    Geometry = H3DResTypes::Geometry,
    Material = H3DResTypes::Material,
    Shader = H3DResTypes::Shader,
    Texture = H3DResTypes::Texture,
    Pipeline = H3DResTypes::Pipeline,
    // Engine-internal, declared by the materials that name one; the interface cannot name it.
    FontMetrics = 1000,
};

// A texture resource with this flag has no mipmaps: it is sampled bilinearly from its full
// size, for textures never seen smaller than they are (a sky box).
constexpr int kNoMipmapsTextureFlag = 4;
// A texture resource with this flag is a cube texture (six faces stacked in one PNG).
constexpr int kCubeTextureFlag = 8;

bool isResourceType(int type);
// The word messages use for the type: "scene", "material", ...
const char* resourceTypeName(ResourceType type);

}  // namespace engine
