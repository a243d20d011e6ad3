#include "gltf_bending_tube.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "gltf_raw_file.h"
#include "gltf_test_files.h"

namespace gltf_test {
namespace {

struct TubeMesh {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<std::uint8_t> joints;
    std::vector<float> weights;
    std::vector<std::uint16_t> indices;
};

// Rings from y = 0 to the chain's top; a ring between two joints' places is bound to both,
// weighted by nearness.
TubeMesh tubeMesh(const BendingTube& tube) {
    TubeMesh mesh;
    const int rings = tube.joints * tube.ringsPerBone + 1;
    for (int ring = 0; ring < rings; ++ring) {
        const float y = static_cast<float>(ring) / static_cast<float>(tube.ringsPerBone);
        const int lower = std::min(static_cast<int>(std::floor(y)), tube.joints - 1);
        const float share = std::min(y - static_cast<float>(lower), 1.0f);
        const bool blended = lower + 1 < tube.joints && share > 0.5f;
        for (int step = 0; step < tube.around; ++step) {
            const float angle =
                6.2831853f * static_cast<float>(step) / static_cast<float>(tube.around);
            mesh.positions.insert(mesh.positions.end(), {tube.radius * std::cos(angle), y,
                                                         -tube.radius * std::sin(angle)});
            mesh.normals.insert(mesh.normals.end(), {std::cos(angle), 0.0f, -std::sin(angle)});
            const float upper = blended ? share - 0.5f : 0.0f;
            mesh.joints.insert(mesh.joints.end(),
                               {static_cast<std::uint8_t>(lower),
                                static_cast<std::uint8_t>(blended ? lower + 1 : 0), 0, 0});
            mesh.weights.insert(mesh.weights.end(), {1.0f - upper, upper, 0.0f, 0.0f});
        }
    }
    for (int ring = 0; ring + 1 < rings; ++ring) {
        for (int step = 0; step < tube.around; ++step) {
            const auto a = static_cast<std::uint16_t>(ring * tube.around + step);
            const auto b =
                static_cast<std::uint16_t>(ring * tube.around + (step + 1) % tube.around);
            const auto c = static_cast<std::uint16_t>(a + tube.around);
            const auto d = static_cast<std::uint16_t>(b + tube.around);
            mesh.indices.insert(mesh.indices.end(), {a, b, d, a, d, c});
        }
    }
    return mesh;
}

std::string numbers(const std::vector<float>& values) {
    std::string text;
    for (float value : values) {
        text += (text.empty() ? "" : ",") + std::to_string(value);
    }
    return "[" + text + "]";
}

}  // namespace

std::string BendingTube::glb() const {
    RawFile file;
    const TubeMesh mesh = tubeMesh(*this);
    const std::size_t vertices = mesh.positions.size() / 3;
    std::vector<float> low(3, 1e9f);
    std::vector<float> high(3, -1e9f);
    for (std::size_t index = 0; index < mesh.positions.size(); ++index) {
        low[index % 3] = std::min(low[index % 3], mesh.positions[index]);
        high[index % 3] = std::max(high[index % 3], mesh.positions[index]);
    }
    const int positions =
        file.addAccessor(file.addView(bytesOf(mesh.positions)), kFloat, vertices, "VEC3",
                         ",\"min\":" + numbers(low) + ",\"max\":" + numbers(high));
    const int normals =
        file.addAccessor(file.addView(bytesOf(mesh.normals)), kFloat, vertices, "VEC3");
    const int jointIndices =
        file.addAccessor(file.addView(bytesOf(mesh.joints)), kUnsignedByte, vertices, "VEC4");
    const int weights =
        file.addAccessor(file.addView(bytesOf(mesh.weights)), kFloat, vertices, "VEC4");
    const int indices = file.addAccessor(file.addView(bytesOf(mesh.indices)), kUnsignedShort,
                                         mesh.indices.size(), "SCALAR");
    // Each joint's bind matrix puts it where it stands at rest: y = its index.
    std::vector<float> inverseBinds;
    for (int joint = 0; joint < joints; ++joint) {
        inverseBinds.insert(inverseBinds.end(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0,
                                                 -static_cast<float>(joint), 0, 1});
    }
    const int binds = file.addAccessor(file.addView(bytesOf(inverseBinds)), kFloat,
                                       static_cast<std::size_t>(joints), "MAT4");
    const std::vector<float> times =
        bendAndReturn ? std::vector<float>{0.0f, 1.0f, 2.0f} : std::vector<float>{0.0f, 1.0f};
    const int input =
        file.addAccessor(file.addView(bytesOf(times)), kFloat, times.size(), "SCALAR",
                         ",\"min\":[0],\"max\":[" + std::to_string(times.back()) + "]");
    const float half = 0.5f * bendDegrees * 0.017453292f;
    std::vector<float> rotations = {0, 0, 0, 1, 0, 0, std::sin(half), std::cos(half)};
    if (bendAndReturn) {
        rotations.insert(rotations.end(), {0, 0, 0, 1});
    }
    const int output =
        file.addAccessor(file.addView(bytesOf(rotations)), kFloat, times.size(), "VEC4");

    std::string targets;
    std::string weightsOfNode;
    if (morphShift != 0.0f) {
        std::vector<float> shift(mesh.positions.size(), 0.0f);
        for (std::size_t index = 0; index < shift.size(); index += 3) {
            shift[index] = morphShift;
        }
        targets = ",\"targets\":[{\"POSITION\":" +
                  std::to_string(
                      file.addAccessor(file.addView(bytesOf(shift)), kFloat, vertices, "VEC3")) +
                  "}]";
        weightsOfNode = ",\"weights\":[1]";
    }
    file.meshes = "[{\"primitives\":[{\"attributes\":{\"POSITION\":" + std::to_string(positions) +
                  ",\"NORMAL\":" + std::to_string(normals) +
                  ",\"JOINTS_0\":" + std::to_string(jointIndices) +
                  ",\"WEIGHTS_0\":" + std::to_string(weights) +
                  "},\"indices\":" + std::to_string(indices) + ",\"material\":0" + targets + "}]}]";
    // Node 0 draws the tube; nodes 1 onwards are the joints, each the child of the one before.
    std::string nodes = "[{\"name\":\"tube\",\"mesh\":0,\"skin\":0" + weightsOfNode + "}";
    std::string jointList;
    std::string channels;
    for (int joint = 0; joint < joints; ++joint) {
        const int node = joint + 1;
        nodes += ",{\"name\":\"joint" + std::to_string(joint) + "\"" +
                 (joint > 0 ? ",\"translation\":[0,1,0]" : "") +
                 (joint + 1 < joints ? ",\"children\":[" + std::to_string(node + 1) + "]" : "") +
                 "}";
        jointList += (joint > 0 ? "," : "") + std::to_string(node);
        if (joint > 0) {
            channels += std::string(channels.empty() ? "" : ",") +
                        "{\"sampler\":0,\"target\":{\"node\":" + std::to_string(node) +
                        ",\"path\":\"rotation\"}}";
        }
    }
    file.nodes = nodes + "]";
    file.scenes = "[{\"nodes\":[0,1]}]";
    file.members =
        ",\"scene\":0,\"skins\":[{\"joints\":[" + jointList +
        "],\"inverseBindMatrices\":" + std::to_string(binds) +
        "}],\"animations\":[{\"name\":\"bend\",\"samplers\":[{\"input\":" + std::to_string(input) +
        ",\"output\":" + std::to_string(output) + ",\"interpolation\":\"LINEAR\"}],\"channels\":[" +
        channels + "]}]" + ",\"materials\":[{\"pbrMetallicRoughness\":{\"baseColorFactor\":" +
        numbers({red, green, blue, 1.0f}) + "},\"extensions\":{\"KHR_materials_unlit\":{}}}]" +
        ",\"extensionsUsed\":[\"KHR_materials_unlit\"]";
    return file.glb();
}

}  // namespace gltf_test
