// glTF animations, skins and morph targets: what the parser reads, how samplers interpolate,
// joint matrices and morph blending, and the faults that leave one animation or skin out.
#include <gtest/gtest.h>

#include "engine/formats/gltf_geometry.h"
#include "gltf_bending_tube.h"

using namespace engine;

namespace {

GeometryDesc parsed(const std::string& glb) {
    Parsed<GeometryDesc> result = parseGltfGeometry(glb, nullptr);
    EXPECT_TRUE(result.ok()) << result.error();
    return result.ok() ? std::move(result.value()) : GeometryDesc{};
}

}  // namespace

TEST(GltfMotion, ReadsTheTubesSkinAndAnimation) {
    const GeometryDesc tube = parsed(gltf_test::BendingTube{}.glb());
    ASSERT_EQ(tube.skins.size(), 1u);
    EXPECT_EQ(tube.skins[0].joints.size(), 2u);
    ASSERT_EQ(tube.animations.size(), 1u);
    EXPECT_EQ(tube.animations[0].name, "bend");
    EXPECT_FLOAT_EQ(tube.animations[0].duration, 1.0f);
    EXPECT_TRUE(tube.warnings.empty());
}
