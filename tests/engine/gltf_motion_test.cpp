// glTF animations, skins and morph targets: what the parser reads, how samplers interpolate,
// joint matrices and morph blending, and the faults that leave one animation or skin out.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include "engine/formats/gltf_geometry.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/scene/animation_sampler.h"
#include "engine/scene/mesh_bending.h"
#include "engine/scene/skin_poses.h"
#include "gltf_bending_tube.h"
#include "gltf_raw_file.h"
#include "gltf_test_files.h"

using namespace engine;
using gltf_test::bytesOf;
using gltf_test::kFloat;
using gltf_test::RawFile;

namespace {

GeometryDesc parsed(const std::string& glb) {
    Parsed<GeometryDesc> result = parseGltfGeometry(glb, nullptr);
    EXPECT_TRUE(result.ok()) << result.error();
    return result.ok() ? std::move(result.value()) : GeometryDesc{};
}

std::string warningsOf(const GeometryDesc& geometry) {
    std::string text;
    for (const std::string& warning : geometry.warnings) {
        text += warning + "\n";
    }
    return text;
}

AnimationSampler sampler(Interpolation interpolation, std::vector<float> times,
                         std::vector<float> values, std::uint32_t components) {
    return AnimationSampler{interpolation, std::move(times), std::move(values), components};
}

float sampled(const AnimationSampler& from, float seconds) {
    float value = 0.0f;
    sampleAnimation(from, seconds, false, &value);
    return value;
}

// One triangle in a mesh of one node (node 0), whose other attributes, skins and animations
// each test adds as accessors and JSON.
struct MotionFile {
    RawFile raw;
    int positions;
    std::string attributes;
    std::string targets;
    std::string meshExtra;
    std::string nodes = "{\"mesh\":0}";
    std::string skins;
    std::string animations;

    MotionFile() {
        const std::vector<float> corners{0, 0, 0, 1, 0, 0, 0, 1, 0};
        positions = raw.addAccessor(raw.addView(bytesOf(corners)), kFloat, 3, "VEC3");
    }
    template <typename Value>
    int add(const std::vector<Value>& values, int componentType, std::size_t count,
            const std::string& type, const std::string& extra = "") {
        return raw.addAccessor(raw.addView(bytesOf(values)), componentType, count, type, extra);
    }
    std::string glb() {
        raw.meshes =
            "[{\"primitives\":[{\"attributes\":{\"POSITION\":" + std::to_string(positions) +
            attributes + "}" + targets + "}]" + meshExtra + "}]";
        raw.nodes = "[" + nodes + "]";
        raw.members = (skins.empty() ? "" : ",\"skins\":[" + skins + "]") +
                      (animations.empty() ? "" : ",\"animations\":[" + animations + "]");
        return raw.glb();
    }
    // An animation of one channel on node 0.
    void animate(const std::string& name, int input, int output, const std::string& path,
                 const std::string& interpolation = "LINEAR") {
        animations += std::string(animations.empty() ? "" : ",") + "{\"name\":\"" + name +
                      "\",\"samplers\":[{\"input\":" + std::to_string(input) +
                      ",\"output\":" + std::to_string(output) + ",\"interpolation\":\"" +
                      interpolation +
                      "\"}],\"channels\":[{\"sampler\":0,\"target\":{\"node\":0,"
                      "\"path\":\"" +
                      path + "\"}}]}";
    }
};

}  // namespace

TEST(AnimationSampling, LinearStepAndOneKeySamplersAtKeysBetweenAndBeyond) {
    const AnimationSampler linear =
        sampler(Interpolation::Linear, {1.0f, 2.0f, 4.0f}, {10.0f, 20.0f, 0.0f}, 1);
    EXPECT_FLOAT_EQ(sampled(linear, 0.0f), 10.0f) << "before the first key";
    EXPECT_FLOAT_EQ(sampled(linear, 1.0f), 10.0f);
    EXPECT_FLOAT_EQ(sampled(linear, 1.5f), 15.0f);
    EXPECT_FLOAT_EQ(sampled(linear, 2.0f), 20.0f) << "at a key exactly";
    EXPECT_FLOAT_EQ(sampled(linear, 3.0f), 10.0f);
    EXPECT_FLOAT_EQ(sampled(linear, 9.0f), 0.0f) << "after the last key";

    const AnimationSampler step = sampler(Interpolation::Step, {0.0f, 1.0f}, {3.0f, 7.0f}, 1);
    EXPECT_FLOAT_EQ(sampled(step, 0.999f), 3.0f);
    EXPECT_FLOAT_EQ(sampled(step, 1.0f), 7.0f);

    const AnimationSampler single = sampler(Interpolation::Linear, {0.5f}, {42.0f}, 1);
    for (float seconds : {0.0f, 0.5f, 3.0f}) {
        EXPECT_FLOAT_EQ(sampled(single, seconds), 42.0f);
    }
}

TEST(AnimationSampling, CubicSplinesScaleTheirTangentsByTheKeyInterval) {
    // Keys 2 s apart: value 0 leaving with slope 1, value 1 arriving flat. Each key holds
    // in-tangent, value, out-tangent.
    const AnimationSampler cubic =
        sampler(Interpolation::CubicSpline, {0.0f, 2.0f}, {9.0f, 0.0f, 1.0f, 0.0f, 1.0f, 9.0f}, 1);
    EXPECT_FLOAT_EQ(sampled(cubic, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(sampled(cubic, 2.0f), 1.0f);
    // Hermite at a half: 0.5 * 0 + 0.125 * 2 * 1 + 0.5 * 1 - 0.125 * 2 * 0.
    EXPECT_NEAR(sampled(cubic, 1.0f), 0.75f, 1e-6f);
    EXPECT_FLOAT_EQ(sampled(cubic, 5.0f), 1.0f) << "the last value, not its tangent";
}

TEST(AnimationSampling, RotationsBlendTheShortWayAndComeOutOfUnitLength) {
    // A quarter turn about z, written as its negative: the same turn, the long way round.
    const float half = 0.25f * 3.14159265f;
    const AnimationSampler turn = sampler(Interpolation::Linear, {0.0f, 1.0f},
                                          {0, 0, 0, 1, 0, 0, -std::sin(half), -std::cos(half)}, 4);
    float value[4];
    sampleAnimation(turn, 0.5f, true, value);
    const glm::quat middle(value[3], value[0], value[1], value[2]);
    EXPECT_NEAR(glm::length(middle), 1.0f, 1e-6f);
    EXPECT_NEAR(glm::degrees(glm::angle(middle)), 45.0f, 1e-3f);

    const AnimationSampler unnormalised =
        sampler(Interpolation::Step, {0.0f}, {0.0f, 0.0f, 0.0f, 2.0f}, 4);
    sampleAnimation(unnormalised, 0.0f, true, value);
    EXPECT_FLOAT_EQ(value[3], 1.0f);
}

TEST(GltfMotion, ReadsTheTubesSkinJointsAndAnimation) {
    const GeometryDesc tube = parsed(gltf_test::BendingTube{}.glb());
    ASSERT_EQ(tube.skins.size(), 1u);
    EXPECT_EQ(tube.skins[0].joints, (std::vector<int>{1, 2}));
    EXPECT_EQ(tube.skins[0].inverseBindMatrices[1],
              glm::translate(glm::mat4(1.0f), glm::vec3(0, -1, 0)));
    EXPECT_EQ(tube.nodes[0].skin, 0);
    ASSERT_EQ(tube.animations.size(), 1u);
    EXPECT_EQ(tube.animations[0].name, "bend");
    EXPECT_FLOAT_EQ(tube.animations[0].duration, 1.0f);
    EXPECT_TRUE(tube.nodes[2].animated);
    EXPECT_FALSE(tube.nodes[0].animated);
    EXPECT_TRUE(tube.warnings.empty()) << warningsOf(tube);
    // Every vertex's weights sum to one.
    for (const SkinVertex& vertex : tube.skinVertices) {
        int sum = 0;
        for (std::uint16_t weight : vertex.weights) {
            sum += weight;
        }
        EXPECT_EQ(sum, 65535);
    }
}

TEST(GltfMotion, NormalisedRotationsAndWeightsAreReadAndWeightsRenormalised) {
    MotionFile file;
    const std::vector<float> times{0.0f, 1.0f};
    const int input = file.add(times, kFloat, 2, "SCALAR");
    // Shorts as optimizers write them: a quarter turn about z at the second key.
    const std::vector<std::int16_t> rotations{0, 0, 0, 32767, 0, 0, 23170, 23170};
    const int output = file.add(rotations, gltf_test::kShort, 2, "VEC4", ",\"normalized\":true");
    file.animate("turn", input, output, "rotation");
    const std::vector<std::uint16_t> joints(12, 0);
    const std::vector<std::uint8_t> weights{128, 128, 0, 0, 255, 0, 0, 0, 10, 10, 10, 10};
    file.attributes =
        ",\"JOINTS_0\":" + std::to_string(file.add(joints, gltf_test::kUnsignedShort, 3, "VEC4")) +
        ",\"WEIGHTS_0\":" +
        std::to_string(
            file.add(weights, gltf_test::kUnsignedByte, 3, "VEC4", ",\"normalized\":true"));
    const GeometryDesc geometry = parsed(file.glb());
    ASSERT_EQ(geometry.animations.size(), 1u) << warningsOf(geometry);
    const std::vector<float>& values = geometry.animations[0].samplers[0].values;
    EXPECT_NEAR(values[6], std::sqrt(0.5f), 1e-4f);
    EXPECT_NEAR(values[7], std::sqrt(0.5f), 1e-4f);
    ASSERT_EQ(geometry.skinVertices.size(), 3u);
    EXPECT_EQ(geometry.skinVertices[0].weights[0] + geometry.skinVertices[0].weights[1], 65535);
    EXPECT_NEAR(geometry.skinVertices[0].weights[0], 32768, 1);
    EXPECT_EQ(geometry.skinVertices[1].weights[0], 65535);
    EXPECT_EQ(geometry.skinVertices[2].weights[3], 16384) << "four equal weights, a quarter each";
}

// Each fault leaves out the one animation or skin, with a warning naming it, and the file loads.
struct MotionFault {
    const char* name;
    void (*write)(MotionFile&);
    const char* warning;
};

class GltfMotionFaults : public ::testing::TestWithParam<MotionFault> {};

TEST_P(GltfMotionFaults, LeaveOutTheirAnimationOrSkinWithOneWarning) {
    MotionFile file;
    GetParam().write(file);
    const GeometryDesc geometry = parsed(file.glb());
    EXPECT_EQ(geometry.meshes.size(), 1u);
    EXPECT_TRUE(geometry.animations.empty());
    EXPECT_EQ(geometry.nodes[0].skin, -1);
    ASSERT_EQ(geometry.warnings.size(), 1u) << warningsOf(geometry);
    EXPECT_NE(geometry.warnings[0].find(GetParam().warning), std::string::npos)
        << geometry.warnings[0];
}

void timesGoingBack(MotionFile& file) {
    const int input = file.add(std::vector<float>{0.0f, 2.0f, 1.0f}, kFloat, 3, "SCALAR");
    const int output = file.add(std::vector<float>(9, 0.0f), kFloat, 3, "VEC3");
    file.animate("walk", input, output, "translation");
}

void tooFewOutputs(MotionFile& file) {
    const int input = file.add(std::vector<float>{0.0f, 1.0f}, kFloat, 2, "SCALAR");
    const int output = file.add(std::vector<float>(3, 0.0f), kFloat, 1, "VEC3");
    file.animate("walk", input, output, "translation", "CUBICSPLINE");
}

void rotationOfVec3(MotionFile& file) {
    const int input = file.add(std::vector<float>{0.0f, 1.0f}, kFloat, 2, "SCALAR");
    const int output = file.add(std::vector<float>(6, 0.0f), kFloat, 2, "VEC3");
    file.animate("walk", input, output, "rotation");
}

void missingNode(MotionFile& file) {
    const int input = file.add(std::vector<float>{0.0f}, kFloat, 1, "SCALAR");
    const int output = file.add(std::vector<float>(3, 0.0f), kFloat, 1, "VEC3");
    file.animations = "{\"name\":\"walk\",\"samplers\":[{\"input\":" + std::to_string(input) +
                      ",\"output\":" + std::to_string(output) +
                      "}],\"channels\":[{\"sampler\":0,\"target\":{\"node\":7,\"path\":"
                      "\"translation\"}}]}";
}

void skinnedWithJoints(MotionFile& file, std::uint8_t joint) {
    const std::vector<std::uint8_t> joints{joint, 0, 0, 0, joint, 0, 0, 0, joint, 0, 0, 0};
    const std::vector<float> weights{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    file.attributes =
        ",\"JOINTS_0\":" + std::to_string(file.add(joints, gltf_test::kUnsignedByte, 3, "VEC4")) +
        ",\"WEIGHTS_0\":" + std::to_string(file.add(weights, kFloat, 3, "VEC4"));
    file.nodes = "{\"mesh\":0,\"skin\":0},{\"name\":\"bone\"}";
    file.skins = "{\"name\":\"rig\",\"joints\":[1]}";
}

void jointPastTheSkin(MotionFile& file) {
    skinnedWithJoints(file, 3);
}

void skinWithoutJoints(MotionFile& file) {
    file.nodes = "{\"mesh\":0,\"skin\":0},{\"name\":\"bone\"}";
    file.skins = "{\"name\":\"rig\",\"joints\":[1]}";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, GltfMotionFaults,
    ::testing::Values(MotionFault{"TimesGoingBack", timesGoingBack, "animation 'walk' is left out"},
                      MotionFault{"TooFewOutputs", tooFewOutputs, "6 expected"},
                      MotionFault{"RotationOfVec3", rotationOfVec3, "wrong element type"},
                      MotionFault{"MissingNode", missingNode, "node 7, which does not exist"},
                      MotionFault{"JointPastTheSkin", jointPastTheSkin, "joint 3, past the 1"},
                      MotionFault{"SkinWithoutJoints", skinWithoutJoints,
                                  "its mesh has no joints"}),
    [](const ::testing::TestParamInfo<MotionFault>& fault) { return fault.param.name; });

TEST(GltfMotion, MorphTargetsKeepTheVerticesTheyMoveAndNodeWeightsWin) {
    MotionFile file;
    const std::vector<float> lift{0, 0, 0, 0, 0, 0, 0, 0, 2};
    const std::vector<float> push{1, 0, 0, 0, 0, 0, 0, 0, 0};
    file.targets =
        ",\"targets\":[{\"POSITION\":" + std::to_string(file.add(lift, kFloat, 3, "VEC3")) +
        "},{\"POSITION\":" + std::to_string(file.add(push, kFloat, 3, "VEC3")) + "}]";
    file.meshExtra = ",\"weights\":[0.25,0.5]";
    file.nodes = "{\"mesh\":0,\"weights\":[1,0]},{\"mesh\":0}";
    file.raw.scenes = "[{\"nodes\":[0,1]}]";
    const GeometryDesc geometry = parsed(file.glb());
    const GeometryPrimitive& primitive = geometry.meshes[0].primitives[0];
    ASSERT_EQ(primitive.targets.size(), 2u);
    EXPECT_EQ(primitive.targets[0].vertices, (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(primitive.targets[1].vertices, (std::vector<std::uint32_t>{0}));
    EXPECT_EQ(geometry.meshes[0].weights, (std::vector<float>{0.25f, 0.5f}));
    EXPECT_EQ(geometry.nodes[0].weights, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_TRUE(geometry.nodes[1].weights.empty());
    // The mesh's box holds every pose weights from 0 to 1 give.
    EXPECT_FLOAT_EQ(geometry.meshes[0].bounds.maximum.z, 2.0f);
    EXPECT_FLOAT_EQ(geometry.meshes[0].bounds.maximum.x, 1.0f);
}

TEST(MeshBending, SeveralMorphTargetsBlendAtTheirWeights) {
    BendableMesh mesh;
    mesh.vertices.resize(2);
    mesh.vertices[1].position = glm::vec3(1, 0, 0);
    MorphTarget up{{0, 1},
                   {glm::vec3(0, 1, 0), glm::vec3(0, 2, 0)},
                   {glm::vec3(0), glm::vec3(0)},
                   {glm::vec3(0), glm::vec3(0)}};
    MorphTarget out{{1}, {glm::vec3(4, 0, 0)}, {glm::vec3(0)}, {glm::vec3(0)}};
    MorphTarget away{{0}, {glm::vec3(0, 0, 9)}, {glm::vec3(0)}, {glm::vec3(0)}};
    mesh.primitives.push_back({0, {up, out, away}});
    std::vector<GeometryVertex> blended;
    blendMorphTargets(mesh, {0.5f, 0.25f, 0.0f}, blended);
    EXPECT_EQ(blended[0].position, glm::vec3(0, 0.5f, 0));
    EXPECT_EQ(blended[1].position, glm::vec3(2, 1, 0));
    EXPECT_FALSE(anyMorphWeight({0.0f, 0.0f}));
}

// Joint 1 of the tube stands a unit up and is turned a quarter about z: a vertex two units up in
// bind space lies one unit to the left of the elbow.
TEST(SkinPoses, JointMatricesAndTheBoxFollowTheJoints) {
    ResourceTable resources;
    auto geometry = std::make_unique<LoadedGeometry>();
    GeometrySkin skin;
    skin.joints = {0, 1};
    skin.inverseBindMatrices = {glm::mat4(1.0f),
                                glm::translate(glm::mat4(1.0f), glm::vec3(0, -1, 0))};
    skin.jointBoxes = {BoundingBox{glm::vec3(-0.1f, 0, -0.1f), glm::vec3(0.1f, 1, 0.1f)},
                       BoundingBox{glm::vec3(-0.1f, 0, -0.1f), glm::vec3(0.1f, 1, 0.1f)}};
    geometry->skins.push_back(skin);
    const H3DRes handle = resources.add(ResourceType::Geometry, "tube.glb", 0);
    resources.get(handle)->payload = std::move(geometry);

    SceneGraph scene;
    const H3DNode root = scene.addNode(H3DRootNode, "root", GroupSettings{});
    NodeTransform elbow;
    elbow.translation = glm::vec3(0, 1, 0);
    elbow.rotation = glm::vec3(0, 0, 90);
    const H3DNode upper = scene.addNode(root, "upper", GroupSettings{}, elbow);
    MeshSettings mesh;
    mesh.geometry = handle;
    mesh.skin = 0;
    mesh.joints = {root, upper};
    const H3DNode tube = scene.addNode(H3DRootNode, "tube", mesh);
    scene.refreshWorldMatrices();
    refreshSkinPoses(scene, resources);

    const SkinPose& pose = scene.settingsOf<MeshSettings>(tube)->pose;
    ASSERT_EQ(pose.jointRows.size(), 6u);
    const glm::vec4 vertex(0, 2, 0, 1);
    const glm::vec3 moved(glm::dot(pose.jointRows[3], vertex), glm::dot(pose.jointRows[4], vertex),
                          glm::dot(pose.jointRows[5], vertex));
    EXPECT_NEAR(moved.x, -1.0f, 1e-5f);
    EXPECT_NEAR(moved.y, 1.0f, 1e-5f);
    EXPECT_NEAR(moved.z, 0.0f, 1e-5f);
    EXPECT_NEAR(pose.worldBox.minimum.x, -1.0f, 1e-5f) << "the bent bone reaches left";
    EXPECT_NEAR(pose.worldBox.maximum.y, 1.1f, 1e-5f);
    EXPECT_EQ(scene.skinnedMeshes(), (std::vector<H3DNode>{tube}));
}
