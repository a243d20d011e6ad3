// Files a glTF validator accepts that need more than the plain reading: buffers without a uri
// and accessors without a view stand for zeros; infinities and NaN are repaired.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "engine/formats/gltf_geometry.h"
#include "gltf_raw_file.h"
#include "gltf_side_files.h"
#include "gltf_test_files.h"

using namespace engine;
using gltf_test::RawFile;

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

GeometryDesc parsed(const std::string& bytes) {
    Parsed<GeometryDesc> geometry = parseGltfGeometry(bytes, gltf_test::kNoSideFiles);
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? std::move(geometry.value()) : GeometryDesc();
}

// One triangle from a view of positions and an indices accessor without a view.
RawFile triangleWithViewlessIndices() {
    RawFile file;
    const std::vector<float> positions{0, 0, 0, 2, 0, 0, 0, 3, 0};
    const int position =
        file.addAccessor(file.addView(gltf_test::bytesOf(positions)), gltf_test::kFloat, 3, "VEC3");
    const int indices = file.addAccessor(-1, gltf_test::kUnsignedShort, 3, "SCALAR");
    file.meshes = "[{\"primitives\":[{\"attributes\":{\"POSITION\":" + std::to_string(position) +
                  "},\"indices\":" + std::to_string(indices) + "}]}]";
    return file;
}

}  // namespace

TEST(GltfRepairs, IndexAccessorsWithoutAViewAreZeros) {
    GeometryDesc geometry = parsed(triangleWithViewlessIndices().glb());
    ASSERT_EQ(geometry.meshes.at(0).primitives.size(), 1u);
    EXPECT_EQ(geometry.shortIndices, (std::vector<std::uint16_t>{0, 0, 0}));
}

TEST(GltfRepairs, ABufferWithoutAUriInATextFileIsZeros) {
    // The text form names its buffer without a uri: every position reads as the origin.
    GeometryDesc geometry = parsed(triangleWithViewlessIndices().json());
    ASSERT_EQ(geometry.vertices.size(), 3u);
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_EQ(vertex.position, glm::vec3(0.0f));
    }
}

TEST(GltfRepairs, ABufferOfZerosIsBounded) {
    RawFile file = triangleWithViewlessIndices();
    file.moreBuffers.push_back("{\"byteLength\":999999999999}");
    Parsed<GeometryDesc> geometry = parseGltfGeometry(file.json(), gltf_test::kNoSideFiles);
    ASSERT_FALSE(geometry.ok());
    EXPECT_NE(geometry.error().find("without a uri"), std::string::npos) << geometry.error();
}

TEST(GltfRepairs, TrianglesWithInfinitePositionsAreLeftOutWithOneWarning) {
    gltf_test::Primitive primitive;
    primitive.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {kInfinity, 0, 0}, {NAN, 1, 1}};
    primitive.indices = {0, 1, 2, 0, 3, 2, 4, 1, 2};
    gltf_test::Document document{{gltf_test::Mesh{"m", {primitive}}}, {}, {}};
    GeometryDesc geometry = parsed(gltf_test::glbFile(document));
    EXPECT_EQ(geometry.triangleCount(), 1u);
    EXPECT_EQ(std::vector<std::uint16_t>(geometry.shortIndices.begin(),
                                         geometry.shortIndices.begin() + 3),
              (std::vector<std::uint16_t>{0, 1, 2}));
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_TRUE(std::isfinite(vertex.position.x) && std::isfinite(vertex.normal.x));
    }
    ASSERT_EQ(geometry.warnings.size(), 1u);
    EXPECT_NE(geometry.warnings[0].find("infinite or NaN"), std::string::npos);
}

TEST(GltfRepairs, InfiniteNormalsAreMadeAgainFromTheTriangles) {
    gltf_test::Primitive primitive;
    primitive.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    primitive.normals = {{0, 0, kInfinity}, {0, 0, kInfinity}, {0, 0, kInfinity}};
    primitive.indices = {0, 1, 2};
    gltf_test::Document document{{gltf_test::Mesh{"m", {primitive}}}, {}, {}};
    GeometryDesc geometry = parsed(gltf_test::glbFile(document));
    ASSERT_EQ(geometry.vertices.size(), 3u);
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_NEAR(vertex.normal.z, 1.0f, 1e-6f);
    }
    EXPECT_EQ(geometry.warnings.size(), 1u);
}

TEST(GltfRepairs, ANodeWithAnInfiniteMatrixStaysUnmoved) {
    RawFile file = triangleWithViewlessIndices();
    // JSON holds no infinity, but a scale beyond a float's range becomes one.
    file.nodes = "[{\"mesh\":0,\"scale\":[1e300,1,1]}]";
    GeometryDesc geometry = parsed(file.glb());
    ASSERT_EQ(geometry.nodes.size(), 1u);
    EXPECT_EQ(geometry.nodes[0].local, glm::mat4(1.0f));
    EXPECT_EQ(geometry.warnings.size(), 1u);
}
