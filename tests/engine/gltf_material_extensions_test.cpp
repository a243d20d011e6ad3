// glTF's material extensions beyond the metallic-roughness core (clearcoat, transmission,
// volume, sheen, specular, ior) as the shader reads them: defines, uniforms and textures, the
// defaults of members left out, and bad values warned about with the defaults used instead.
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/formats/gltf_geometry.h"
#include "engine/formats/gltf_materials.h"
#include "gltf_look_file.h"
#include "gltf_side_files.h"
#include "material_lookup.h"
#include "test_support.h"

using namespace engine;
using gltf_test::kNoSideFiles;
using gltf_test::LookFile;

namespace {

// The square drawn with one material named "glass", written as JSON; texture 0 is an image
// inside the file, sampled clamped to its edges along s.
GeometryDesc withMaterial(const std::string& material, const std::string& members = "") {
    LookFile file;
    file.samplers = R"([{"wrapS":33071}])";
    file.textures =
        "[{\"source\":" + std::to_string(file.addImage("png bytes")) + ",\"sampler\":0}]";
    file.materials = "[" + material + "]";
    file.members = members;
    Parsed<GeometryDesc> geometry = parseGltfGeometry(file.glb(), kNoSideFiles, "glass.glb");
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? geometry.value() : GeometryDesc();
}

// A material "glass" with the extensions (the members of its "extensions" object).
std::string withExtensions(const std::string& extensions, const std::string& core = "") {
    return R"({"name":"glass",)" + core + R"("extensions":{)" + extensions + "}}";
}

const char* const kEveryExtension =
    R"("KHR_materials_clearcoat":{"clearcoatFactor":0.8,"clearcoatRoughnessFactor":0.3,)"
    R"("clearcoatTexture":{"index":0},"clearcoatRoughnessTexture":{"index":0},)"
    R"("clearcoatNormalTexture":{"index":0,"scale":0.5}},)"
    R"("KHR_materials_transmission":{"transmissionFactor":0.9,"transmissionTexture":{"index":0}},)"
    R"("KHR_materials_volume":{"thicknessFactor":0.25,"attenuationDistance":2,)"
    R"("attenuationColor":[0.9,0.5,0.2],"thicknessTexture":{"index":0}},)"
    R"("KHR_materials_sheen":{"sheenColorFactor":[0.4,0.3,0.2],"sheenRoughnessFactor":0.6,)"
    R"("sheenColorTexture":{"index":0},"sheenRoughnessTexture":{"index":0}},)"
    R"("KHR_materials_specular":{"specularFactor":0.7,"specularColorFactor":[2,1,0.5],)"
    R"("specularTexture":{"index":0},"specularColorTexture":{"index":0}},)"
    R"("KHR_materials_ior":{"ior":1.33})";

// Four of the core maps.
const char* const kThreeCoreMaps =
    R"("pbrMetallicRoughness":{"baseColorTexture":{"index":0},)"
    R"("metallicRoughnessTexture":{"index":0}},"normalTexture":{"index":0},)";

std::vector<std::string> samplersOf(const MaterialDesc& material) {
    std::vector<std::string> samplers;
    for (const MaterialTexture& texture : material.textures) {
        samplers.push_back(texture.sampler);
    }
    return samplers;
}

}  // namespace

TEST(GltfMaterialExtensions, EveryExtensionReachesTheShader) {
    GeometryDesc geometry = withMaterial(withExtensions(kEveryExtension, kThreeCoreMaps));
    EXPECT_EQ(geometry.warnings, std::vector<std::string>());
    const MaterialDesc& material = geometry.materials.at(0).desc;
    for (const char* define :
         {"ENVIRONMENT_LIGHT", "CLEARCOAT", "CLEARCOAT_MAP", "CLEARCOAT_ROUGHNESS_MAP",
          "CLEARCOAT_NORMAL_MAP", "TRANSMISSION", "TRANSMISSION_MAP", "VOLUME", "THICKNESS_MAP",
          "SHEEN", "SHEEN_COLOR_MAP", "SHEEN_ROUGHNESS_MAP", "SPECULAR", "SPECULAR_MAP",
          "SPECULAR_COLOR_MAP"}) {
        EXPECT_TRUE(defines(material, define)) << define;
    }
    expectNear(uniformOf(material, "clearcoatFactors"), {0.8f, 0.3f, 0.5f, 0.0f});
    expectNear(uniformOf(material, "opticalFactors"), {1.33f, 0.9f, 0.25f, 2.0f});
    expectNear(uniformOf(material, "attenuationColor"), {0.9f, 0.5f, 0.2f, 0.0f});
    expectNear(uniformOf(material, "sheenFactors"), {0.4f, 0.3f, 0.2f, 0.6f});
    expectNear(uniformOf(material, "specularFactors"), {2.0f, 1.0f, 0.5f, 0.7f});

    // The core maps come first; every texture is the file's image with its sampler's settings
    // and a transform of its own.
    const std::vector<std::string> order = {
        "baseColorMap",          "metallicRoughnessMap", "normalMap",       "clearcoatMap",
        "clearcoatRoughnessMap", "clearcoatNormalMap",   "transmissionMap", "thicknessMap",
        "sheenColorMap",         "sheenRoughnessMap",    "specularMap",     "specularColorMap"};
    EXPECT_EQ(samplersOf(material), order);
    for (const MaterialTexture& texture : material.textures) {
        EXPECT_EQ(texture.file, "glass.glb#image0") << texture.sampler;
        EXPECT_EQ(texture.wrapS, TextureWrap::ClampToEdge) << texture.sampler;
        expectNear(uniformOf(material, texture.sampler + "TransformU"), {1, 0, 0, 0});
        expectNear(uniformOf(material, texture.sampler + "TransformV"), {0, 1, 0, 0});
    }

    // A thirteenth texture finds no unit: the last is left out, its define and transform too.
    GeometryDesc crowded = withMaterial(withExtensions(
        kEveryExtension, std::string(kThreeCoreMaps) + R"("emissiveTexture":{"index":0},)"));
    const MaterialDesc& full = crowded.materials.at(0).desc;
    ASSERT_EQ(full.textures.size(), kMaxGltfMaterialTextures);
    EXPECT_EQ(full.textures[3].sampler, "emissiveMap");
    EXPECT_EQ(full.textures.back().sampler, "specularMap");
    EXPECT_FALSE(defines(full, "SPECULAR_COLOR_MAP"));
    EXPECT_EQ(findUniform(full, "specularColorMapTransformU"), nullptr);
    EXPECT_TRUE(defines(full, "SPECULAR"));
    EXPECT_EQ(crowded.warnings,
              std::vector<std::string>{"material 'glass' has more textures than the 12 a material "
                                       "binds; drawn without specularColorMap"});
}

TEST(GltfMaterialExtensions, WithoutExtensionsOnlyTheOpticalDefaults) {
    GeometryDesc geometry = withMaterial("{}");
    const MaterialDesc& plain = geometry.materials.at(0).desc;
    EXPECT_EQ(plain.defines, (std::vector<std::string>{"GLTF_MATERIAL", "ENVIRONMENT_LIGHT"}));
    expectNear(uniformOf(plain, "opticalFactors"), {1.5f, 0.0f, 0.0f, 0.0f});
    EXPECT_EQ(plain.uniforms.size(), 4u);

    const MaterialDesc fallback = defaultGltfMaterial("glass.glb").desc;
    EXPECT_EQ(fallback.defines, plain.defines);
    expectNear(uniformOf(fallback, "opticalFactors"), {1.5f, 0.0f, 0.0f, 0.0f});
}

TEST(GltfMaterialExtensions, FilesRequiringTheExtensionsLoad) {
    GeometryDesc geometry = withMaterial(
        withExtensions(kEveryExtension),
        R"(,"extensionsUsed":["KHR_materials_clearcoat"],"extensionsRequired":[)"
        R"("KHR_materials_clearcoat","KHR_materials_transmission","KHR_materials_volume",)"
        R"("KHR_materials_sheen","KHR_materials_specular","KHR_materials_ior"])");
    EXPECT_TRUE(defines(geometry.materials.at(0).desc, "CLEARCOAT"));
}

// An extension given, and whether it changes the look: its define with its uniform then, and
// neither when it changes nothing. opticalFactors is always there, holding what was read.
struct DrawnCase {
    const char* extensions;
    const char* define;
    bool drawn;
    const char* uniform;
    glm::vec4 value;
};

void PrintTo(const DrawnCase& drawnCase, std::ostream* out) {
    *out << drawnCase.extensions;
}

class GltfExtensionDrawn : public testing::TestWithParam<DrawnCase> {};

TEST_P(GltfExtensionDrawn, DefinesAndUniformsOnlyWhenTheLookChanges) {
    const DrawnCase& drawnCase = GetParam();
    GeometryDesc geometry = withMaterial(withExtensions(drawnCase.extensions));
    EXPECT_EQ(geometry.warnings, std::vector<std::string>());
    const MaterialDesc& material = geometry.materials.at(0).desc;
    if (drawnCase.define != nullptr) {
        EXPECT_EQ(defines(material, drawnCase.define), drawnCase.drawn);
    }
    if (drawnCase.drawn || std::string(drawnCase.uniform) == "opticalFactors") {
        expectNear(uniformOf(material, drawnCase.uniform), drawnCase.value);
    } else {
        EXPECT_EQ(findUniform(material, drawnCase.uniform), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachExtension, GltfExtensionDrawn,
    testing::Values(
        DrawnCase{R"("KHR_materials_clearcoat":{})", "CLEARCOAT", false, "clearcoatFactors", {}},
        DrawnCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1})",
                  "CLEARCOAT",
                  true,
                  "clearcoatFactors",
                  {1, 0, 1, 0}},
        DrawnCase{R"("KHR_materials_clearcoat":{"clearcoatTexture":{"index":0}})",
                  "CLEARCOAT",
                  true,
                  "clearcoatFactors",
                  {0, 0, 1, 0}},
        DrawnCase{R"("KHR_materials_transmission":{})",
                  "TRANSMISSION",
                  false,
                  "opticalFactors",
                  {1.5f, 0, 0, 0}},
        DrawnCase{R"("KHR_materials_transmission":{"transmissionFactor":0.5})",
                  "TRANSMISSION",
                  true,
                  "opticalFactors",
                  {1.5f, 0.5f, 0, 0}},
        DrawnCase{R"("KHR_materials_transmission":{"transmissionTexture":{"index":0}})",
                  "TRANSMISSION",
                  true,
                  "opticalFactors",
                  {1.5f, 0, 0, 0}},
        DrawnCase{"", "TRANSMISSION", false, "attenuationColor", {}},
        DrawnCase{R"("KHR_materials_transmission":{"transmissionFactor":1},)"
                  R"("KHR_materials_volume":{})",
                  "VOLUME",
                  false,
                  "attenuationColor",
                  {}},
        DrawnCase{R"("KHR_materials_transmission":{"transmissionFactor":1},)"
                  R"("KHR_materials_volume":{"thicknessFactor":2})",
                  "VOLUME",
                  true,
                  "attenuationColor",
                  {1, 1, 1, 0}},
        DrawnCase{R"("KHR_materials_transmission":{"transmissionFactor":1},)"
                  R"("KHR_materials_volume":{"thicknessFactor":2,"attenuationDistance":3})",
                  "VOLUME",
                  true,
                  "opticalFactors",
                  {1.5f, 1, 2, 3}},
        // Volume acts only through transmission.
        DrawnCase{R"("KHR_materials_volume":{"thicknessFactor":2,"thicknessTexture":{"index":0}})",
                  "VOLUME",
                  false,
                  "attenuationColor",
                  {}},
        DrawnCase{R"("KHR_materials_sheen":{"sheenRoughnessFactor":1})",
                  "SHEEN",
                  false,
                  "sheenFactors",
                  {}},
        DrawnCase{R"("KHR_materials_sheen":{"sheenColorFactor":[0,0,0.1]})",
                  "SHEEN",
                  true,
                  "sheenFactors",
                  {0, 0, 0.1f, 0}},
        DrawnCase{R"("KHR_materials_sheen":{"sheenColorTexture":{"index":0}})",
                  "SHEEN",
                  true,
                  "sheenFactors",
                  {0, 0, 0, 0}},
        DrawnCase{
            R"("KHR_materials_specular":{})", "SPECULAR", true, "specularFactors", {1, 1, 1, 1}},
        DrawnCase{R"("KHR_materials_ior":{})", nullptr, true, "opticalFactors", {1.5f, 0, 0, 0}},
        DrawnCase{
            R"("KHR_materials_ior":{"ior":0})", nullptr, true, "opticalFactors", {0, 0, 0, 0}},
        DrawnCase{R"("KHR_materials_ior":{"ior":2.4})",
                  nullptr,
                  true,
                  "opticalFactors",
                  {2.4f, 0, 0, 0}}));

TEST(GltfMaterialExtensions, ExtensionTexturesAreTransformedLikeTheCoreMaps) {
    GeometryDesc geometry = withMaterial(withExtensions(
        R"("KHR_materials_sheen":{"sheenColorFactor":[1,1,1],"sheenColorTexture":{"index":0,)"
        R"("texCoord":1,"extensions":{"KHR_texture_transform":{"offset":[0.5,0.25],)"
        R"("scale":[2,3],"rotation":1.5707963}}},"sheenRoughnessTexture":{"index":0,)"
        R"("extensions":{"KHR_texture_transform":{"texCoord":1}}}})"));
    EXPECT_EQ(geometry.warnings, std::vector<std::string>());
    const MaterialDesc& material = geometry.materials.at(0).desc;
    expectNear(uniformOf(material, "sheenColorMapTransformU"), {0.0f, 3.0f, 0.5f, 1.0f});
    expectNear(uniformOf(material, "sheenColorMapTransformV"), {-2.0f, 0.0f, 0.25f, 0.0f});
    expectNear(uniformOf(material, "sheenRoughnessMapTransformU"), {1.0f, 0.0f, 0.0f, 1.0f});

    // A clearcoat normal map needs tangents as a normal map does; the square's texture v runs
    // down, so they are made with w = -1, where the vertex's default is +1.
    GeometryDesc coated = withMaterial(withExtensions(
        R"("KHR_materials_clearcoat":{"clearcoatFactor":1,"clearcoatNormalTexture":{"index":0}})"));
    EXPECT_NEAR(coated.vertices.at(0).tangent.x, 1.0f, 1e-5f);
    EXPECT_NEAR(coated.vertices.at(0).tangent.w, -1.0f, 1e-5f);
    GeometryDesc smooth =
        withMaterial(withExtensions(R"("KHR_materials_clearcoat":{"clearcoatFactor":1})"));
    EXPECT_EQ(smooth.vertices.at(0).tangent.w, 1.0f);
}

// A bad member: the warning (after the material's label) and the uniform holding the default,
// or the nearest value in range, in its place.
struct BadCase {
    const char* extensions;
    const char* warning;
    const char* uniform;
    glm::vec4 value;
};

void PrintTo(const BadCase& badCase, std::ostream* out) {
    *out << badCase.extensions;
}

class GltfExtensionBadValue : public testing::TestWithParam<BadCase> {};

TEST_P(GltfExtensionBadValue, IsWarnedAboutAndReplaced) {
    const BadCase& badCase = GetParam();
    GeometryDesc geometry = withMaterial(withExtensions(badCase.extensions));
    EXPECT_TRUE(anyContains(geometry.warnings, std::string("material 'glass' ") + badCase.warning))
        << joined(geometry.warnings);
    expectNear(uniformOf(geometry.materials.at(0).desc, badCase.uniform), badCase.value);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, GltfExtensionBadValue,
    testing::Values(
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":2})",
                "clearcoatFactor lies outside 0 to 1 and was clamped",
                "clearcoatFactors",
                {1, 0, 1, 0}},
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1,)"
                R"("clearcoatRoughnessFactor":"rough"})",
                "clearcoatRoughnessFactor must be a number; 0 used",
                "clearcoatFactors",
                {1, 0, 1, 0}},
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1,)"
                R"("clearcoatNormalTexture":{"index":0,"scale":1e300}})",
                "clearcoatNormalTexture scale is not a finite number; 1 used",
                "clearcoatFactors",
                {1, 0, 1, 0}},
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1,)"
                R"("clearcoatTexture":{"texCoord":0}})",
                "clearcoatTexture names no texture index; drawn without it",
                "clearcoatFactors",
                {1, 0, 1, 0}},
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1,"clearcoatTexture":[0]})",
                "clearcoatTexture names no texture index",
                "clearcoatFactors",
                {1, 0, 1, 0}},
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1,)"
                R"("clearcoatTexture":{"index":"0"}})",
                "clearcoatTexture index must be a whole number of at least 0",
                "clearcoatFactors",
                {1, 0, 1, 0}},
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1,)"
                R"("clearcoatTexture":{"index":9}})",
                "clearcoatMap names texture 9, which does not exist",
                "clearcoatFactors",
                {1, 0, 1, 0}},
        BadCase{R"("KHR_materials_clearcoat":{"clearcoatFactor":1,)"
                R"("clearcoatTexture":{"index":0,"texCoord":3}})",
                "clearcoatMap reads texture coordinate set 3",
                "clearcoatMapTransformU",
                {1, 0, 0, 0}},
        BadCase{R"("KHR_materials_sheen":{"sheenColorFactor":[1,1,1],)"
                R"("sheenColorTexture":{"index":0,"texCoord":"one"}})",
                "sheenColorTexture texCoord must be a whole number; 0 used",
                "sheenColorMapTransformU",
                {1, 0, 0, 0}},
        BadCase{R"("KHR_materials_transmission":{"transmissionFactor":-1})",
                "transmissionFactor lies outside 0 to 1",
                "opticalFactors",
                {1.5f, 0, 0, 0}},
        BadCase{R"("KHR_materials_volume":{"thicknessFactor":-2})",
                "thicknessFactor must be at least 0; 0 used",
                "opticalFactors",
                {1.5f, 0, 0, 0}},
        BadCase{R"("KHR_materials_volume":{"thicknessFactor":[1]})",
                "thicknessFactor must be a number; 0 used",
                "opticalFactors",
                {1.5f, 0, 0, 0}},
        BadCase{R"("KHR_materials_volume":{"attenuationDistance":{"far":1}})",
                "attenuationDistance must be a number; infinite used",
                "opticalFactors",
                {1.5f, 0, 0, 0}},
        BadCase{R"("KHR_materials_volume":{"attenuationDistance":-1})",
                "attenuationDistance must be above 0; infinite used",
                "opticalFactors",
                {1.5f, 0, 0, 0}},
        BadCase{R"("KHR_materials_transmission":{"transmissionFactor":1},)"
                R"("KHR_materials_volume":{"thicknessFactor":1,"attenuationColor":[2,0.5,-1]})",
                "attenuationColor lies outside 0 to 1 and was clamped",
                "attenuationColor",
                {1, 0.5f, 0, 0}},
        BadCase{R"("KHR_materials_sheen":{"sheenColorFactor":[1,1,1],"sheenRoughnessFactor":5})",
                "sheenRoughnessFactor lies outside 0 to 1",
                "sheenFactors",
                {1, 1, 1, 1}},
        BadCase{R"("KHR_materials_sheen":{"sheenColorFactor":[1,1],)"
                R"("sheenColorTexture":{"index":0}})",
                "sheenColorFactor must be an array of 3 numbers; 0, 0, 0 used",
                "sheenFactors",
                {0, 0, 0, 0}},
        BadCase{R"("KHR_materials_specular":{"specularColorFactor":[1e300,1,1]})",
                "specularColorFactor is not a finite colour; 1, 1, 1 used",
                "specularFactors",
                {1, 1, 1, 1}},
        BadCase{R"("KHR_materials_specular":{"specularColorFactor":[3,-1,0.5]})",
                "specularColorFactor is negative and was clamped to 0",
                "specularFactors",
                {3, 0, 0.5f, 1}},
        BadCase{R"("KHR_materials_specular":{"specularColorFactor":"white"})",
                "specularColorFactor must be an array of 3 numbers; 1, 1, 1 used",
                "specularFactors",
                {1, 1, 1, 1}},
        BadCase{R"("KHR_materials_specular":{"specularFactor":[0.5]})",
                "specularFactor must be a number; 1 used",
                "specularFactors",
                {1, 1, 1, 1}},
        BadCase{R"("KHR_materials_ior":{"ior":0.5})",
                "ior must be 0 or at least 1; 1.5 used",
                "opticalFactors",
                {1.5f, 0, 0, 0}},
        BadCase{R"("KHR_materials_ior":{"ior":"glass"})",
                "ior must be a number; 1.5 used",
                "opticalFactors",
                {1.5f, 0, 0, 0}},
        BadCase{R"("KHR_materials_ior":{"ior":1e300})",
                "ior is not a finite number; 1.5 used",
                "opticalFactors",
                {1.5f, 0, 0, 0}}));
