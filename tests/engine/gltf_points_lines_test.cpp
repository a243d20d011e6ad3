#include <gtest/gtest.h>

#include "engine/formats/gltf_geometry.h"
#include "engine/formats/gltf_materials.h"
#include "gltf_side_files.h"
#include "gltf_test_files.h"

using namespace engine;

namespace {

gltf_test::Primitive square(int mode) {
    gltf_test::Primitive primitive;
    primitive.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    primitive.mode = mode;
    return primitive;
}

GeometryDesc parsed(const std::vector<gltf_test::Primitive>& primitives) {
    gltf_test::Document document{{gltf_test::Mesh{"m", primitives}}, {}, {}};
    Parsed<GeometryDesc> geometry =
        parseGltfGeometry(gltf_test::glbFile(document), gltf_test::kNoSideFiles, "wire.glb");
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? std::move(geometry.value()) : GeometryDesc();
}

std::vector<std::uint16_t> indicesOf(const GeometryDesc& geometry,
                                     const GeometryPrimitive& primitive) {
    const auto first = geometry.shortIndices.begin() + primitive.firstIndex;
    return std::vector<std::uint16_t>(first, first + primitive.indexCount);
}

}  // namespace

TEST(GltfPointsAndLines, EveryLineModeBecomesAListOfSegments) {
    GeometryDesc geometry = parsed(
        {square(gltf_test::kLines), square(gltf_test::kLineStrip), square(gltf_test::kLineLoop)});
    const std::vector<GeometryPrimitive>& primitives = geometry.meshes.at(0).primitives;
    ASSERT_EQ(primitives.size(), 3u);
    for (const GeometryPrimitive& primitive : primitives) {
        EXPECT_EQ(primitive.shape, PrimitiveShape::Lines);
    }
    EXPECT_EQ(indicesOf(geometry, primitives[0]), (std::vector<std::uint16_t>{0, 1, 2, 3}));
    EXPECT_EQ(indicesOf(geometry, primitives[1]), (std::vector<std::uint16_t>{0, 1, 1, 2, 2, 3}));
    EXPECT_EQ(indicesOf(geometry, primitives[2]),
              (std::vector<std::uint16_t>{0, 1, 1, 2, 2, 3, 3, 0}));
    EXPECT_EQ(geometry.lineCount(), 2u + 3u + 4u);
    EXPECT_EQ(geometry.triangleCount(), 0u);
    EXPECT_TRUE(geometry.warnings.empty());
}

TEST(GltfPointsAndLines, PointsKeepEveryVertexAndCountApartFromTriangles) {
    gltf_test::Primitive triangles = square(gltf_test::kTriangles);
    triangles.indices = {0, 1, 2, 0, 2, 3};
    GeometryDesc geometry = parsed({square(gltf_test::kPoints), triangles});
    const std::vector<GeometryPrimitive>& primitives = geometry.meshes.at(0).primitives;
    ASSERT_EQ(primitives.size(), 2u);
    EXPECT_EQ(primitives[0].shape, PrimitiveShape::Points);
    EXPECT_EQ(indicesOf(geometry, primitives[0]), (std::vector<std::uint16_t>{0, 1, 2, 3}));
    EXPECT_EQ(geometry.pointCount(), 4u);
    EXPECT_EQ(geometry.triangleCount(), 2u);
    EXPECT_EQ(geometry.lineCount(), 0u);
}

TEST(GltfPointsAndLines, AreDrawnWithAnUnlitCopyOfTheirMaterial) {
    gltf_test::Primitive triangles = square(gltf_test::kTriangles);
    triangles.indices = {0, 1, 2};
    GeometryDesc geometry =
        parsed({triangles, square(gltf_test::kPoints), square(gltf_test::kLineStrip)});
    const std::vector<GeometryPrimitive>& primitives = geometry.meshes.at(0).primitives;
    ASSERT_EQ(primitives.size(), 3u);
    const NamedMaterial& lit =
        geometry.materials.at(static_cast<std::size_t>(primitives[0].material));
    const NamedMaterial& unlit =
        geometry.materials.at(static_cast<std::size_t>(primitives[1].material));
    EXPECT_EQ(primitives[1].material, primitives[2].material) << "one copy per material";
    EXPECT_EQ(unlit.name, lit.name + kUnlitMaterialSuffix);
    const auto hasUnlit = [](const NamedMaterial& material) {
        const auto& defines = material.desc.defines;
        return std::find(defines.begin(), defines.end(), "UNLIT") != defines.end();
    };
    EXPECT_FALSE(hasUnlit(lit));
    EXPECT_TRUE(hasUnlit(unlit));
}

TEST(GltfPointsAndLines, UnknownModesAreLeftOutWithOneWarning) {
    GeometryDesc geometry = parsed({square(7), square(9), square(gltf_test::kPoints)});
    EXPECT_EQ(geometry.meshes.at(0).primitives.size(), 1u);
    ASSERT_EQ(geometry.warnings.size(), 1u);
    EXPECT_NE(geometry.warnings[0].find("unknown mode 7"), std::string::npos);
}
