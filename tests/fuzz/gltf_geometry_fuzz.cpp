// glTF geometry (.glb and .gltf): no side files can be read, and every primitive of parsed
// geometry, and every simplified level made from it as loading does, lies within the vertex and
// index arrays; every skin, morph target and animation names only what exists, and holds the
// values its sampling and skinning read.
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

void checkMotionOfPrimitive(const engine::GeometryDesc& geometry,
                            const engine::GeometryPrimitive& primitive, std::size_t targets) {
    fuzz::require(primitive.targets.size() == targets, "every primitive has the mesh's targets");
    for (const engine::MorphTarget& target : primitive.targets) {
        fuzz::require(target.positions.size() == target.vertices.size() &&
                          target.normals.size() == target.vertices.size() &&
                          target.tangents.size() == target.vertices.size(),
                      "a target has an offset of each kind per vertex");
        for (std::uint32_t vertex : target.vertices) {
            fuzz::require(vertex < primitive.vertexCount,
                          "a target moves its primitive's vertices");
        }
    }
    if (primitive.firstSkinVertex >= 0) {
        fuzz::require(static_cast<std::size_t>(primitive.firstSkinVertex) + primitive.vertexCount <=
                          geometry.skinVertices.size(),
                      "a primitive's joints and weights exist");
    }
}

void checkMotion(const engine::GeometryDesc& geometry) {
    for (const engine::GeometrySkin& skin : geometry.skins) {
        fuzz::require(skin.inverseBindMatrices.size() == skin.joints.size() &&
                          skin.jointBoxes.size() == skin.joints.size(),
                      "a skin has a bind matrix and a box per joint");
        for (int joint : skin.joints) {
            fuzz::require(joint >= 0 && static_cast<std::size_t>(joint) < geometry.nodes.size(),
                          "a joint is a node");
        }
    }
    for (const engine::GeometryNode& node : geometry.nodes) {
        if (node.skin < 0) {
            continue;
        }
        fuzz::require(node.mesh >= 0 && static_cast<std::size_t>(node.skin) < geometry.skins.size(),
                      "a skinned node has a mesh and its skin exists");
        const engine::GeometrySkin& skin = geometry.skins[static_cast<std::size_t>(node.skin)];
        for (const engine::GeometryPrimitive& primitive :
             geometry.meshes[static_cast<std::size_t>(node.mesh)].primitives) {
            fuzz::require(
                primitive.firstSkinVertex >= 0 && primitive.highestJoint < skin.joints.size(),
                "a skinned mesh names only its skin's joints");
        }
    }
    for (const engine::GeometryAnimation& animation : geometry.animations) {
        for (const engine::AnimationChannel& channel : animation.channels) {
            fuzz::require(channel.node >= 0 &&
                              static_cast<std::size_t>(channel.node) < geometry.nodes.size() &&
                              channel.sampler >= 0 &&
                              static_cast<std::size_t>(channel.sampler) < animation.samplers.size(),
                          "a channel's node and sampler exist");
        }
        for (const engine::AnimationSampler& sampler : animation.samplers) {
            const std::size_t perKey =
                sampler.interpolation == engine::Interpolation::CubicSpline ? 3 : 1;
            fuzz::require(
                !sampler.times.empty() &&
                    sampler.values.size() == sampler.times.size() * perKey * sampler.components,
                "a sampler holds its values for every key");
        }
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
    checkMotion(geometry);
    for (const engine::GeometryMesh& mesh : geometry.meshes) {
        for (const engine::GeometryPrimitive& primitive : mesh.primitives) {
            checkPrimitive(geometry, primitive);
            checkMotionOfPrimitive(geometry, primitive, mesh.weights.size());
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
