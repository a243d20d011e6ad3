// glTF geometry (.glb and .gltf): no side files can be read, and every primitive of parsed
// geometry, and every simplified level made from it as loading does, lies within the vertex and
// index arrays.
#include <optional>
#include <string>

#include "engine/formats/detail_levels.h"
#include "engine/formats/gltf_geometry.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

std::optional<std::string> noSideFile(const std::string&, std::string& error) {
    error = "no side files while fuzzing";
    return std::nullopt;
}

void checkPrimitive(const engine::GeometryDesc& geometry,
                    const engine::GeometryPrimitive& primitive) {
    const std::size_t lastVertex =
        static_cast<std::size_t>(primitive.firstVertex) + primitive.vertexCount;
    fuzz::require(lastVertex <= geometry.vertices.size(), "a primitive's vertices exist");
    fuzz::require(primitive.indexCount % engine::GeometryDesc::cornersOf(primitive.shape) == 0,
                  "a primitive holds whole triangles, segments or points");
    const std::size_t lastIndex =
        static_cast<std::size_t>(primitive.firstIndex) + primitive.indexCount;
    for (std::size_t index = primitive.firstIndex; index < lastIndex; ++index) {
        const std::uint32_t vertex =
            primitive.wideIndices
                ? (index < geometry.longIndices.size() ? geometry.longIndices[index] : ~0u)
                : (index < geometry.shortIndices.size() ? geometry.shortIndices[index] : ~0u);
        fuzz::require(vertex < primitive.vertexCount, "an index names a vertex of its primitive");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::Parsed<engine::GeometryDesc> parsed =
        engine::parseGltfGeometry(fuzz::inputText(data, size), noSideFile);
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    engine::GeometryDesc& geometry = parsed.value();
    engine::addDetailLevels(geometry);
    for (const engine::GeometryMesh& mesh : geometry.meshes) {
        for (const engine::GeometryPrimitive& primitive : mesh.primitives) {
            checkPrimitive(geometry, primitive);
            for (const engine::GeometryLevel& level : primitive.levels) {
                engine::GeometryPrimitive simplified = primitive;
                simplified.firstIndex = level.firstIndex;
                simplified.indexCount = level.indexCount;
                checkPrimitive(geometry, simplified);
            }
        }
    }
    return 0;
}
