#include "engine/core/geometry_figures.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

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

int triangleCount(const LoadedGeometry& geometry) {
    std::uint64_t triangles = 0;
    for (const MeshRange& mesh : geometry.meshes) {
        triangles += mesh.triangleCount;
    }
    return static_cast<int>(std::min<std::uint64_t>(triangles, std::numeric_limits<int>::max()));
}

}  // namespace

std::optional<int> geometryFigure(const LoadedGeometry& geometry, const ResourceTable& resources,
                                  int parameter) {
    switch (parameter) {
        case H3DGeometry::MeshCountI:
            return static_cast<int>(geometry.meshes.size());
        case H3DGeometry::TriangleCountI:
            return triangleCount(geometry);
        case H3DGeometry::MaterialCountI:
            return loadedCount(geometry.materials, resources);
        case H3DGeometry::TextureCountI:
            return loadedCount(geometry.textures, resources);
        case H3DGeometry::LightCountI:
            return static_cast<int>(geometry.lights.size());
        default:
            return std::nullopt;
    }
}

}  // namespace engine
