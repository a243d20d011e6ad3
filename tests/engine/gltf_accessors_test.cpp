#include <gtest/gtest.h>

#include "engine/formats/gltf_geometry.h"
#include "gltf_raw_file.h"
#include "gltf_side_files.h"
#include "gltf_test_files.h"

using namespace engine;
using gltf_test::RawFile;

namespace {

using gltf_test::kNoSideFiles;

// One mesh of one triangle primitive with the given attributes ("\"POSITION\":0,...").
void setTriangle(RawFile& file, const std::string& attributes) {
    file.meshes = "[{\"name\":\"m\",\"primitives\":[{\"attributes\":{" + attributes + "}}]}]";
}

int addPositions(RawFile& file) {
    const std::vector<float> positions{0, 0, 0, 2, 0, 0, 0, 3, 0};
    return file.addAccessor(file.addView(gltf_test::bytesOf(positions)), gltf_test::kFloat, 3,
                            "VEC3");
}

Parsed<GeometryDesc> parse(const RawFile& file) {
    return parseGltfGeometry(file.glb(), kNoSideFiles);
}

GeometryDesc parsed(const RawFile& file) {
    Parsed<GeometryDesc> geometry = parse(file);
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? std::move(geometry.value()) : GeometryDesc();
}

std::string errorOf(const RawFile& file) {
    Parsed<GeometryDesc> geometry = parse(file);
    EXPECT_FALSE(geometry.ok()) << "parsed although it should not";
    return geometry.ok() ? std::string() : geometry.error();
}

template <typename Integer>
std::string integers(std::initializer_list<int> values) {
    std::vector<Integer> converted;
    for (int value : values) {
        converted.push_back(static_cast<Integer>(value));
    }
    return gltf_test::bytesOf(converted);
}

struct ComponentCase {
    int componentType;
    std::string bytes;
    bool normalized;
    float expected[3];
};

}  // namespace

TEST(GltfAccessors, ReadsEveryComponentTypeNormalizedOrNot) {
    const ComponentCase cases[] = {
        {gltf_test::kByte, integers<std::int8_t>({-128, 127, 5}), true, {-1, 1, 5 / 127.0f}},
        {gltf_test::kByte, integers<std::int8_t>({-128, 127, 5}), false, {-128, 127, 5}},
        {gltf_test::kUnsignedByte, integers<std::uint8_t>({0, 255, 51}), true, {0, 1, 0.2f}},
        {gltf_test::kUnsignedByte, integers<std::uint8_t>({0, 255, 51}), false, {0, 255, 51}},
        {gltf_test::kShort,
         integers<std::int16_t>({-32768, 32767, 7}),
         true,
         {-1, 1, 7 / 32767.0f}},
        {gltf_test::kShort, integers<std::int16_t>({-32768, 32767, 7}), false, {-32768, 32767, 7}},
        {gltf_test::kUnsignedShort,
         integers<std::uint16_t>({0, 65535, 3}),
         true,
         {0, 1, 3 / 65535.0f}},
        {gltf_test::kUnsignedShort, integers<std::uint16_t>({0, 65535, 3}), false, {0, 65535, 3}},
        {gltf_test::kUnsignedInt, integers<std::uint32_t>({0, 9, 70000}), false, {0, 9, 70000}},
        {gltf_test::kFloat,
         gltf_test::bytesOf(std::vector<float>{-0.5f, 8, 1e6f}),
         false,
         {-0.5f, 8, 1e6f}},
    };
    for (const ComponentCase& test : cases) {
        RawFile file;
        // The same element three times: a flat but valid triangle list.
        const std::string element = test.bytes;
        const int colors =
            file.addAccessor(file.addView(element + element + element), test.componentType, 3,
                             "VEC3", test.normalized ? ",\"normalized\":true" : "");
        const int positions =
            file.addAccessor(file.addView(element + element + element), test.componentType, 3,
                             "VEC3", test.normalized ? ",\"normalized\":true" : "");
        setTriangle(file, "\"POSITION\":" + std::to_string(positions) +
                              ",\"COLOR_0\":" + std::to_string(colors));
        GeometryDesc geometry = parsed(file);
        ASSERT_EQ(geometry.vertices.size(), 3u) << test.componentType;
        const GeometryVertex& vertex = geometry.vertices[2];
        for (int component = 0; component < 3; ++component) {
            EXPECT_FLOAT_EQ(vertex.position[component], test.expected[component])
                << test.componentType << " normalized " << test.normalized;
            EXPECT_FLOAT_EQ(vertex.color[component], test.expected[component]);
        }
        EXPECT_FLOAT_EQ(vertex.color.a, 1.0f) << "a colour of three components is opaque";
    }
}

TEST(GltfAccessors, ReadsStridedViewsAndTheOtherAttributes) {
    RawFile file;
    // Interleaved: position (3 floats), then a texture coordinate of two unsigned shorts.
    std::string interleaved;
    const float corners[3][3] = {{0, 0, 0}, {2, 0, 0}, {0, 3, 0}};
    for (int vertex = 0; vertex < 3; ++vertex) {
        interleaved.append(reinterpret_cast<const char*>(corners[vertex]), sizeof corners[vertex]);
        interleaved += integers<std::uint16_t>({65535 * vertex / 2, 65535});
    }
    const int view = file.addView(interleaved, ",\"byteStride\":16");
    const int positions = file.addAccessor(view, gltf_test::kFloat, 3, "VEC3");
    const int texCoords = file.addAccessor(view, gltf_test::kUnsignedShort, 3, "VEC2",
                                           ",\"byteOffset\":12,\"normalized\":true");
    const int tangents = file.addAccessor(
        file.addView(integers<std::int8_t>({0, 127, 0, -127, 0, 127, 0, -127, 0, 127, 0, -127})),
        gltf_test::kByte, 3, "VEC4", ",\"normalized\":true");
    const int colors =
        file.addAccessor(file.addView(gltf_test::bytesOf(std::vector<float>(12, 0.25f))),
                         gltf_test::kFloat, 3, "VEC4");
    setTriangle(file, "\"POSITION\":" + std::to_string(positions) + ",\"TEXCOORD_1\":" +
                          std::to_string(texCoords) + ",\"TANGENT\":" + std::to_string(tangents) +
                          ",\"COLOR_0\":" + std::to_string(colors));
    GeometryDesc geometry = parsed(file);
    ASSERT_EQ(geometry.vertices.size(), 3u);
    const GeometryVertex& last = geometry.vertices[2];
    EXPECT_EQ(last.position, glm::vec3(0, 3, 0));
    EXPECT_FLOAT_EQ(last.texCoord1.x, 1.0f);
    EXPECT_FLOAT_EQ(geometry.vertices[1].texCoord1.y, 1.0f);
    EXPECT_EQ(last.texCoord, glm::vec2(0, 0));
    EXPECT_EQ(last.tangent, glm::vec4(0, 1, 0, -1));
    EXPECT_EQ(last.color, glm::vec4(0.25f));
}

TEST(GltfAccessors, MissingAttributesGetTheirDefaults) {
    RawFile file;
    setTriangle(file, "\"POSITION\":" + std::to_string(addPositions(file)));
    const GeometryVertex vertex = parsed(file).vertices.at(0);
    EXPECT_EQ(vertex.color, glm::vec4(1.0f));
    EXPECT_EQ(vertex.tangent, glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(vertex.texCoord1, glm::vec2(0.0f));
}

TEST(GltfAccessors, AccessorsWithoutAViewAreZerosUnderTheirSparseSubstitutes) {
    RawFile file;
    const int indices = file.addView(integers<std::uint16_t>({2, 1}));
    const int values = file.addView(gltf_test::bytesOf(std::vector<float>{0, 3, 0, 2, 0, 0}));
    const int positions = file.addAccessor(
        -1, gltf_test::kFloat, 3, "VEC3",
        ",\"sparse\":{\"count\":2,\"indices\":{\"bufferView\":" + std::to_string(indices) +
            ",\"componentType\":5123},\"values\":{\"bufferView\":" + std::to_string(values) + "}}");
    // Sparse on top of a view: the second texture coordinate is replaced.
    const int texCoordValues = file.addView(gltf_test::bytesOf(std::vector<float>{0.5f, 0.75f}));
    const int texCoordIndex = file.addView(integers<std::uint8_t>({1}));
    const int texCoords = file.addAccessor(
        file.addView(gltf_test::bytesOf(std::vector<float>(6, 0.125f))), gltf_test::kFloat, 3,
        "VEC2",
        ",\"sparse\":{\"count\":1,\"indices\":{\"bufferView\":" + std::to_string(texCoordIndex) +
            ",\"componentType\":5121},\"values\":{\"bufferView\":" +
            std::to_string(texCoordValues) + "}}");
    setTriangle(file, "\"POSITION\":" + std::to_string(positions) +
                          ",\"TEXCOORD_0\":" + std::to_string(texCoords));
    GeometryDesc geometry = parsed(file);
    ASSERT_EQ(geometry.vertices.size(), 3u);
    EXPECT_EQ(geometry.vertices[0].position, glm::vec3(0, 0, 0));
    EXPECT_EQ(geometry.vertices[1].position, glm::vec3(2, 0, 0));
    EXPECT_EQ(geometry.vertices[2].position, glm::vec3(0, 3, 0));
    EXPECT_EQ(geometry.vertices[0].texCoord, glm::vec2(0.125f));
    EXPECT_EQ(geometry.vertices[1].texCoord, glm::vec2(0.5f, 0.75f));
}

TEST(GltfAccessors, PrimitivesWithoutPositionsAreLeftOutWithAWarning) {
    RawFile file;
    const int positions = addPositions(file);
    file.meshes = "[{\"name\":\"m\",\"primitives\":[{\"attributes\":{\"NORMAL\":" +
                  std::to_string(positions) +
                  "}},{\"attributes\":{\"POSITION\":" + std::to_string(positions) +
                  "},\"mode\":1},{\"attributes\":{\"POSITION\":" + std::to_string(positions) +
                  "},\"mode\":0},{\"attributes\":{\"POSITION\":" + std::to_string(positions) +
                  "}}]}]";
    GeometryDesc geometry = parsed(file);
    ASSERT_EQ(geometry.meshes.at(0).primitives.size(), 3u) << "points and lines are kept";
    ASSERT_EQ(geometry.warnings.size(), 1u);
    EXPECT_EQ(geometry.warnings[0],
              "mesh 'm' primitive 0 has no POSITION attribute and is left out");
}

TEST(GltfAccessors, BrokenAccessorsAreReported) {
    struct Broken {
        std::string extra;
        int view;
        std::size_t count;
        const char* expected;
    };
    const std::string sparseIndexSeven =
        ",\"sparse\":{\"count\":1,\"indices\":{\"bufferView\":1,\"componentType\":5121},"
        "\"values\":{\"bufferView\":0}}";
    const std::string sparsePastItsView =
        ",\"sparse\":{\"count\":2,\"indices\":{\"bufferView\":1,\"componentType\":5121},"
        "\"values\":{\"bufferView\":0,\"byteOffset\":30}}";
    const Broken cases[] = {
        {sparseIndexSeven, 0, 3, "sparse index 7, out of range"},
        {sparsePastItsView, 0, 3, "sparse data that reaches past the end"},
        {"", -1, std::size_t{1} << 30, "has more than"},
        {"", 0, 4, "reaches past the end of its buffer view"},
        {",\"byteOffset\":4", 0, 3, "reaches past the end of its buffer view"},
        {"", 2, 3, "byte stride smaller than its elements"},
    };
    for (const Broken& test : cases) {
        RawFile file;
        file.addView(gltf_test::bytesOf(std::vector<float>{0, 0, 0, 2, 0, 0, 0, 3, 0}));
        file.addView(integers<std::uint8_t>({7, 0}));
        file.addView(std::string(36, '\0'), ",\"byteStride\":4");
        file.addAccessor(test.view, gltf_test::kFloat, test.count, "VEC3", test.extra);
        setTriangle(file, "\"POSITION\":0");
        const std::string error = errorOf(file);
        EXPECT_NE(error.find(test.expected), std::string::npos) << error;
    }
}

TEST(GltfAccessors, QuantizedFilesLoadWithTheirDequantizingNode) {
    RawFile file;
    // Positions as shorts, normals as normalized bytes (padded to 4), a node scales them back.
    const int positions = file.addAccessor(
        file.addView(integers<std::int16_t>({0, 0, 0, 0, 200, 0, 0, 0, 0, 300, 0, 0}),
                     ",\"byteStride\":8"),
        gltf_test::kShort, 3, "VEC3");
    const int normals = file.addAccessor(
        file.addView(integers<std::int8_t>({0, 0, 127, 0, 0, 0, 127, 0, 0, 0, 127, 0}),
                     ",\"byteStride\":4"),
        gltf_test::kByte, 3, "VEC3", ",\"normalized\":true");
    setTriangle(file, "\"POSITION\":" + std::to_string(positions) +
                          ",\"NORMAL\":" + std::to_string(normals));
    file.nodes = "[{\"mesh\":0,\"scale\":[0.01,0.01,0.01]}]";
    file.members = ",\"extensionsRequired\":[\"KHR_mesh_quantization\"]";
    GeometryDesc geometry = parsed(file);
    ASSERT_EQ(geometry.vertices.size(), 3u);
    EXPECT_EQ(geometry.vertices[1].position, glm::vec3(200, 0, 0));
    EXPECT_EQ(geometry.vertices[2].normal, glm::vec3(0, 0, 1));
    ASSERT_EQ(geometry.nodes.size(), 1u);
    EXPECT_FLOAT_EQ(geometry.nodes[0].local[0].x, 0.01f);
}
