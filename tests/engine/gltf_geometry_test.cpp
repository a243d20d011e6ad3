#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include "engine/formats/gltf_geometry.h"
#include "gltf_side_files.h"
#include "gltf_test_files.h"

using namespace engine;

namespace {

using gltf_test::kNoSideFiles;

gltf_test::Primitive triangle() {
    gltf_test::Primitive primitive;
    primitive.positions = {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}};
    primitive.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    primitive.texCoords = {{0, 0}, {1, 0}, {0, 1}};
    primitive.indices = {0, 1, 2};
    return primitive;
}

gltf_test::Document oneMesh(const gltf_test::Primitive& primitive) {
    return gltf_test::Document{{gltf_test::Mesh{"shape", {primitive}}}, {}, {}};
}

GeometryDesc parsed(const std::string& bytes, const SideFileReader& reader = kNoSideFiles) {
    Parsed<GeometryDesc> geometry = parseGltfGeometry(bytes, reader);
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? std::move(geometry.value()) : GeometryDesc();
}

std::string errorOf(const std::string& bytes) {
    Parsed<GeometryDesc> geometry = parseGltfGeometry(bytes, kNoSideFiles);
    EXPECT_FALSE(geometry.ok()) << "parsed although it should not";
    return geometry.ok() ? std::string() : geometry.error();
}

// The three corners of the primitive's first triangle, as stored.
std::vector<glm::vec3> firstTriangle(const GeometryDesc& geometry,
                                     const GeometryPrimitive& primitive) {
    std::vector<glm::vec3> corners;
    for (std::uint32_t corner = 0; corner < 3; ++corner) {
        const std::uint32_t index = primitive.wideIndices
                                        ? geometry.longIndices[primitive.firstIndex + corner]
                                        : geometry.shortIndices[primitive.firstIndex + corner];
        corners.push_back(geometry.vertices[primitive.firstVertex + index].position);
    }
    return corners;
}

}  // namespace

TEST(GltfGeometry, ReadsABinaryFile) {
    GeometryDesc geometry = parsed(gltf_test::glbFile(oneMesh(triangle())));
    ASSERT_EQ(geometry.meshes.size(), 1u);
    const GeometryMesh& mesh = geometry.meshes[0];
    EXPECT_EQ(mesh.name, "shape");
    ASSERT_EQ(mesh.primitives.size(), 1u);
    const GeometryPrimitive& primitive = mesh.primitives[0];
    EXPECT_EQ(primitive.vertexCount, 3u);
    EXPECT_EQ(primitive.indexCount, 3u);
    EXPECT_FALSE(primitive.wideIndices);
    ASSERT_EQ(geometry.vertices.size(), 3u);
    EXPECT_EQ(geometry.vertices[1].position, glm::vec3(2, 0, 0));
    EXPECT_EQ(geometry.vertices[2].texCoord, glm::vec2(0, 1));
    EXPECT_EQ(geometry.vertices[0].normal, glm::vec3(0, 0, 1));
    EXPECT_EQ(primitive.bounds.minimum, glm::vec3(0, 0, 0));
    EXPECT_EQ(primitive.bounds.maximum, glm::vec3(2, 3, 0));
    EXPECT_EQ(mesh.bounds.maximum, glm::vec3(2, 3, 0));
    EXPECT_EQ(geometry.triangleCount(), 1u);
}

TEST(GltfGeometry, ReadsTextWithTheBufferInADataUri) {
    GeometryDesc geometry = parsed(gltf_test::gltfWithDataUri(oneMesh(triangle())));
    ASSERT_EQ(geometry.vertices.size(), 3u);
    EXPECT_EQ(geometry.vertices[2].position, glm::vec3(0, 3, 0));
}

TEST(GltfGeometry, ReadsTextWithTheBufferInASideFile) {
    std::string binBytes;
    std::string text = gltf_test::gltfWithSideBuffer(oneMesh(triangle()), "shape.bin", binBytes);
    std::string asked;
    SideFileReader reader = [&](const std::string& uri, std::string&) {
        asked = uri;
        return std::optional<std::string>(binBytes);
    };
    GeometryDesc geometry = parsed(text, reader);
    EXPECT_EQ(asked, "shape.bin");
    ASSERT_EQ(geometry.vertices.size(), 3u);
    EXPECT_EQ(geometry.vertices[1].position, glm::vec3(2, 0, 0));
}

TEST(GltfGeometry, AMissingSideFileIsReported) {
    std::string binBytes;
    std::string text = gltf_test::gltfWithSideBuffer(oneMesh(triangle()), "gone.bin", binBytes);
    std::string error = errorOf(text);
    EXPECT_NE(error.find("no side file 'gone.bin'"), std::string::npos) << error;
}

TEST(GltfGeometry, ReadsEveryIndexWidthAndKeepsShortIndices) {
    for (int type :
         {gltf_test::kUnsignedByte, gltf_test::kUnsignedShort, gltf_test::kUnsignedInt}) {
        gltf_test::Primitive primitive = triangle();
        primitive.indices = {2, 0, 1};
        primitive.indexType = type;
        GeometryDesc geometry = parsed(gltf_test::glbFile(oneMesh(primitive)));
        ASSERT_EQ(geometry.shortIndices.size(), 3u) << type;
        EXPECT_TRUE(geometry.longIndices.empty()) << type;
        EXPECT_EQ(geometry.shortIndices[0], 2u) << type;
        EXPECT_EQ(geometry.shortIndices[2], 1u) << type;
    }
}

TEST(GltfGeometry, PrimitivesBeyondShortIndicesKeepLongOnes) {
    gltf_test::Primitive primitive;
    for (std::uint32_t index = 0; index < 70000; ++index) {
        primitive.positions.emplace_back(static_cast<float>(index % 300), index / 300, 0.0f);
    }
    primitive.indices = {0, 1, 69999};
    primitive.indexType = gltf_test::kUnsignedInt;
    GeometryDesc geometry = parsed(gltf_test::glbFile(oneMesh(primitive)));
    ASSERT_EQ(geometry.meshes[0].primitives.size(), 1u);
    EXPECT_TRUE(geometry.meshes[0].primitives[0].wideIndices);
    ASSERT_EQ(geometry.longIndices.size(), 3u);
    EXPECT_EQ(geometry.longIndices[2], 69999u);
}

TEST(GltfGeometry, KeepsSeveralMeshesAndPrimitivesApart) {
    gltf_test::Primitive far = triangle();
    for (glm::vec3& position : far.positions) {
        position += glm::vec3(10, 0, 0);
    }
    gltf_test::Document document;
    document.meshes = {gltf_test::Mesh{"first", {triangle(), far}},
                       gltf_test::Mesh{"second", {triangle()}}};
    GeometryDesc geometry = parsed(gltf_test::glbFile(document));
    ASSERT_EQ(geometry.meshes.size(), 2u);
    EXPECT_EQ(geometry.meshes[1].name, "second");
    const GeometryMesh& first = geometry.meshes[0];
    ASSERT_EQ(first.primitives.size(), 2u);
    EXPECT_EQ(first.primitives[1].firstVertex, 3u);
    EXPECT_EQ(first.primitives[1].firstIndex, 3u);
    EXPECT_EQ(first.primitives[1].bounds.minimum, glm::vec3(10, 0, 0));
    EXPECT_EQ(first.bounds.minimum, glm::vec3(0, 0, 0));
    EXPECT_EQ(first.bounds.maximum, glm::vec3(12, 3, 0));
    EXPECT_EQ(geometry.meshes[1].primitives[0].firstVertex, 6u);
    EXPECT_EQ(firstTriangle(geometry, first.primitives[1])[1], glm::vec3(12, 0, 0));
    EXPECT_EQ(geometry.triangleCount(), 3u);
}

TEST(GltfGeometry, MakesNormalsAndTextureCoordinatesThatAreMissing) {
    gltf_test::Primitive primitive = triangle();
    primitive.normals.clear();
    primitive.texCoords.clear();
    GeometryDesc geometry = parsed(gltf_test::glbFile(oneMesh(primitive)));
    ASSERT_EQ(geometry.vertices.size(), 3u);
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_NEAR(vertex.normal.z, 1.0f, 1e-6f);
        EXPECT_EQ(vertex.texCoord, glm::vec2(0, 0));
    }
}

TEST(GltfGeometry, MadeNormalsAreSmoothWhereTrianglesShareVertices) {
    // A ridge: two triangles folded along the shared edge from (0,0,0) to (0,1,0).
    gltf_test::Primitive primitive;
    primitive.positions = {{0, 0, 0}, {0, 1, 0}, {-1, 0, -1}, {1, 0, -1}};
    primitive.indices = {0, 1, 2, 0, 3, 1};
    GeometryDesc geometry = parsed(gltf_test::glbFile(oneMesh(primitive)));
    const glm::vec3 shared = geometry.vertices[0].normal;
    EXPECT_NEAR(shared.x, 0.0f, 1e-6f);
    EXPECT_NEAR(shared.z, 1.0f, 1e-6f);
    EXPECT_LT(geometry.vertices[2].normal.x, -0.5f);
    EXPECT_GT(geometry.vertices[3].normal.x, 0.5f);
}

TEST(GltfGeometry, UnindexedStripsAndFansBecomeTriangleLists) {
    gltf_test::Primitive strip;
    strip.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    strip.mode = gltf_test::kTriangleStrip;
    gltf_test::Primitive fan;
    fan.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    fan.mode = gltf_test::kTriangleFan;
    gltf_test::Document document{{gltf_test::Mesh{"m", {strip, fan}}}, {}, {}};
    GeometryDesc geometry = parsed(gltf_test::glbFile(document));
    const GeometryMesh& mesh = geometry.meshes[0];
    ASSERT_EQ(mesh.primitives.size(), 2u);
    EXPECT_EQ(mesh.primitives[0].indexCount, 6u);
    EXPECT_EQ(mesh.primitives[1].indexCount, 6u);
    // The strip's second triangle keeps the first one's winding.
    EXPECT_EQ(std::vector<std::uint16_t>(geometry.shortIndices.begin() + 3,
                                         geometry.shortIndices.begin() + 6),
              (std::vector<std::uint16_t>{1, 3, 2}));
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_NEAR(vertex.normal.z, 1.0f, 1e-6f);
    }
}

TEST(GltfGeometry, BrokenJsonIsReported) {
    EXPECT_FALSE(errorOf("{\"asset\": {\"version\": \"2.0\"}, \"meshes\": [").empty());
    EXPECT_FALSE(errorOf("").empty());
    EXPECT_FALSE(errorOf("glTF but not really").empty());
}

TEST(GltfGeometry, AFileWithoutMeshesIsReported) {
    EXPECT_NE(errorOf("{\"asset\":{\"version\":\"2.0\"}}").find("no mesh"), std::string::npos);
}

TEST(GltfGeometry, IndicesOutOfRangeAreReported) {
    gltf_test::Primitive primitive = triangle();
    primitive.indices = {0, 1, 7};
    std::string error = errorOf(gltf_test::glbFile(oneMesh(primitive)));
    EXPECT_NE(error.find("mesh 'shape' primitive 0 index 7 is out of range"), std::string::npos)
        << error;
}

TEST(GltfGeometry, AccessorsThatReachPastTheirBufferAreReported) {
    std::string text = gltf_test::gltfWithDataUri(oneMesh(triangle()));
    // The attribute accessors claim more elements than their views hold.
    const std::string honest = "\"componentType\":5126,\"count\":3";
    ASSERT_NE(text.find(honest), std::string::npos);
    const std::string lying = "\"componentType\":5126,\"count\":3000";
    for (std::size_t at = text.find(honest); at != std::string::npos;
         at = text.find(honest, at + lying.size())) {
        text.replace(at, honest.size(), lying);
    }
    std::string error = errorOf(text);
    EXPECT_NE(error.find("POSITION"), std::string::npos) << error;
}

TEST(GltfGeometry, AccessorsThatDoNotExistAreReported) {
    std::string text = gltf_test::gltfWithDataUri(oneMesh(triangle()));
    const std::string indices = "\"indices\":3";
    ASSERT_NE(text.find(indices), std::string::npos);
    text.replace(text.find(indices), indices.size(), "\"indices\":42");
    EXPECT_FALSE(errorOf(text).empty());
}
