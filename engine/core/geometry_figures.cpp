#include "engine/core/geometry_figures.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/formats/gltf_materials.h"
#include "engine/h3d.h"

namespace engine {
namespace {

// Resources the file declared that loaded: a failed texture is drawn with a stand-in, and a
// stand-in is not the file's texture.
int loadedCount(const std::vector<H3DRes>& handles, const ResourceTable& resources) {
    return static_cast<int>(std::count_if(handles.begin(), handles.end(), [&](H3DRes handle) {
        const Resource* resource = resources.get(handle);
        return resource != nullptr && resource->loaded();
    }));
}

// The file's own materials that loaded; the default material the engine adds for primitives
// without one is not the file's.
int loadedFileMaterials(const Resource& geometry, const LoadedGeometry& loaded,
                        const ResourceTable& resources) {
    const std::string defaultName = defaultGltfMaterial(geometry.name).name;
    std::vector<H3DRes> fileMaterials;
    for (H3DRes handle : loaded.materials) {
        const Resource* material = resources.get(handle);
        const bool unlitCopy =
            material != nullptr &&
            material->name.size() >= std::char_traits<char>::length(kUnlitMaterialSuffix) &&
            material->name.compare(
                material->name.size() - std::char_traits<char>::length(kUnlitMaterialSuffix),
                std::string::npos, kUnlitMaterialSuffix) == 0;
        if (material == nullptr || (material->name != defaultName && !unlitCopy)) {
            fileMaterials.push_back(handle);
        }
    }
    return loadedCount(fileMaterials, resources);
}

// Triangles, line segments or points of all meshes, each mesh counted once.
int elementCount(const LoadedGeometry& geometry, std::uint32_t MeshRange::*count) {
    std::uint64_t total = 0;
    for (const MeshRange& mesh : geometry.meshes) {
        total += mesh.*count;
    }
    return static_cast<int>(std::min<std::uint64_t>(total, std::numeric_limits<int>::max()));
}

}  // namespace

std::optional<int> geometryFigure(const Resource& resource, const ResourceTable& resources,
                                  int parameter) {
    const auto* geometry = resource.payloadAs<LoadedGeometry>();
    if (geometry == nullptr) {
        return std::nullopt;
    }
    switch (parameter) {
        case H3DGeometry::AnimationCountI:
            return static_cast<int>(geometry->animations.size());
        case H3DGeometry::MeshCountI:
            return static_cast<int>(geometry->meshes.size());
        case H3DGeometry::TriangleCountI:
            return elementCount(*geometry, &MeshRange::triangleCount);
        case H3DGeometry::LineCountI:
            return elementCount(*geometry, &MeshRange::lineCount);
        case H3DGeometry::PointCountI:
            return elementCount(*geometry, &MeshRange::pointCount);
        case H3DGeometry::MaterialCountI:
            return loadedFileMaterials(resource, *geometry, resources);
        case H3DGeometry::TextureCountI:
            return loadedCount(geometry->textures, resources);
        case H3DGeometry::LightCountI:
            return static_cast<int>(geometry->lights.size());
        default:
            return std::nullopt;
    }
}

}  // namespace engine
