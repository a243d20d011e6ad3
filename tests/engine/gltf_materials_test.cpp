// A glTF file's materials, images and lights as the parser hands them to the engine: each
// property where the shader reads it, and bad values reported without losing the model.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/formats/gltf_geometry.h"
#include "gltf_look_file.h"
#include "gltf_side_files.h"
#include "material_lookup.h"
#include "test_support.h"

using namespace engine;
using gltf_test::kNoSideFiles;
using gltf_test::LookFile;

namespace {

GeometryDesc parsedLook(const LookFile& file, const std::string& name = "models/robot.glb") {
    Parsed<GeometryDesc> geometry = parseGltfGeometry(file.glb(), kNoSideFiles, name);
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? geometry.value() : GeometryDesc();
}

}  // namespace

TEST(GltfMaterials, EveryPropertyReachesTheShader) {
    LookFile file;
    const int image = file.addImage("png bytes");
    file.samplers = "[{\"wrapS\":33071,\"wrapT\":33648,\"magFilter\":9728,\"minFilter\":9984}]";
    file.textures = "[{\"source\":" + std::to_string(image) + ",\"sampler\":0}]";
    file.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[0.5,0.25,1,0.75],"
        "\"baseColorTexture\":{\"index\":0},\"metallicFactor\":0.2,\"roughnessFactor\":0.6,"
        "\"metallicRoughnessTexture\":{\"index\":0}},"
        "\"normalTexture\":{\"index\":0,\"scale\":0.5},"
        "\"occlusionTexture\":{\"index\":0,\"strength\":0.3,\"texCoord\":1},"
        "\"emissiveTexture\":{\"index\":0,\"extensions\":{\"KHR_texture_transform\":"
        "{\"offset\":[0.5,0.25],\"scale\":[2,3],\"rotation\":1.5707963}}},"
        "\"emissiveFactor\":[1,0.5,0],"
        "\"extensions\":{\"KHR_materials_emissive_strength\":{\"emissiveStrength\":4}},"
        "\"alphaMode\":\"MASK\",\"alphaCutoff\":0.4,\"doubleSided\":true}]";
    GeometryDesc geometry = parsedLook(file);
    EXPECT_EQ(geometry.warnings, std::vector<std::string>());
    ASSERT_EQ(geometry.materials.size(), 1u);
    EXPECT_EQ(geometry.materials[0].name, "models/robot.glb#material0");
    EXPECT_EQ(geometry.meshes[0].primitives[0].material, 0);
    const MaterialDesc& material = geometry.materials[0].desc;
    EXPECT_EQ(material.shader, "model.shader");
    for (const char* define :
         {"GLTF_MATERIAL", "ENVIRONMENT_LIGHT", "BASE_COLOR_MAP", "METALLIC_ROUGHNESS_MAP",
          "NORMAL_MAP", "OCCLUSION_MAP", "EMISSIVE_MAP", "ALPHA_MASK", "DOUBLE_SIDED"}) {
        EXPECT_TRUE(defines(material, define)) << define;
    }
    EXPECT_FALSE(defines(material, "ALPHA_BLEND"));
    EXPECT_FALSE(material.cullsBackFaces);
    EXPECT_EQ(material.blend, MaterialBlend::Opaque);
    expectNear(uniformOf(material, "baseColorFactor"), {0.5f, 0.25f, 1.0f, 0.75f});
    expectNear(uniformOf(material, "materialFactors"), {0.2f, 0.6f, 0.5f, 0.3f});
    expectNear(uniformOf(material, "emissiveFactor"), {4.0f, 2.0f, 0.0f, 0.4f});
    // Occlusion reads the second coordinate set; the emissive map's transform is offset,
    // rotation and scale in that order.
    EXPECT_EQ(uniformOf(material, "occlusionMapTransformU").w, 1.0f);
    EXPECT_EQ(uniformOf(material, "baseColorMapTransformU").w, 0.0f);
    expectNear(uniformOf(material, "emissiveMapTransformU"), {0.0f, 3.0f, 0.5f, 0.0f});
    expectNear(uniformOf(material, "emissiveMapTransformV"), {-2.0f, 0.0f, 0.25f, 0.0f});

    // One image sampled by five maps is one texture, named after the file.
    ASSERT_EQ(geometry.images.size(), 1u);
    EXPECT_EQ(geometry.images[0].name, "models/robot.glb#image0");
    ASSERT_NE(geometry.images[0].embeddedBytes, nullptr);
    EXPECT_EQ(*geometry.images[0].embeddedBytes, "png bytes");
    const MaterialTexture* base = textureOf(material, "baseColorMap");
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(base->file, "models/robot.glb#image0");
    EXPECT_EQ(base->wrapS, TextureWrap::ClampToEdge);
    EXPECT_EQ(base->wrapT, TextureWrap::MirroredRepeat);
    EXPECT_EQ(base->magnify, TextureFilter::Nearest);
    EXPECT_EQ(base->minify, TextureFilter::Nearest);

    // The normal map needs tangents, made along the texture's u: +x on this square.
    const GeometryVertex& vertex = geometry.vertices[0];
    EXPECT_NEAR(vertex.tangent.x, 1.0f, 1e-5f);
    EXPECT_NEAR(std::abs(vertex.tangent.w), 1.0f, 1e-5f);
}

TEST(GltfMaterials, BlendUnlitAndDefaultMaterials) {
    LookFile file;
    file.materials = "[{\"alphaMode\":\"BLEND\",\"extensions\":{\"KHR_materials_unlit\":{}}}]";
    GeometryDesc geometry = parsedLook(file);
    const MaterialDesc& material = geometry.materials.at(0).desc;
    EXPECT_EQ(material.blend, MaterialBlend::Alpha);
    EXPECT_TRUE(defines(material, "ALPHA_BLEND"));
    EXPECT_TRUE(defines(material, "UNLIT"));
    EXPECT_TRUE(material.cullsBackFaces);
    EXPECT_EQ(geometry.warnings, std::vector<std::string>());

    // A primitive that names no material takes glTF's default one, added after the file's.
    LookFile plain;
    plain.materials = "[]";
    GeometryDesc withoutMaterials = parsedLook(plain, "plain.glb");
    ASSERT_EQ(withoutMaterials.materials.size(), 1u);
    EXPECT_EQ(withoutMaterials.materials[0].name, "plain.glb#default-material");
    expectNear(uniformOf(withoutMaterials.materials[0].desc, "materialFactors"), glm::vec4(1.0f));
}

TEST(GltfMaterials, ImagesBesideTheFileAreTexturesByTheirDecodedPath) {
    LookFile file;
    file.members = ",\"extensionsUsed\":[\"EXT_texture_webp\"]";
    // Image 0 is the fallback, image 1 the WebP one the engine prefers.
    file.moreImages = "{\"uri\":\"old.png\"},{\"uri\":\"wood%20grain%231.webp\"}";
    file.textures = "[{\"source\":0,\"extensions\":{\"EXT_texture_webp\":{\"source\":1}}}]";
    file.materials = "[{\"pbrMetallicRoughness\":{\"baseColorTexture\":{\"index\":0}}}]";
    GeometryDesc geometry = parsedLook(file);
    ASSERT_EQ(geometry.images.size(), 1u);
    EXPECT_EQ(geometry.images[0].name, "models/wood grain#1.webp");
    EXPECT_EQ(geometry.images[0].embeddedBytes, nullptr);

    // A data URI of a type the JSON reader does not decode itself is still an image inside.
    file.moreImages = "{\"uri\":\"old.png\"},{\"uri\":\"data:image/webp;base64,UklGRg==\"}";
    GeometryDesc inside = parsedLook(file);
    ASSERT_EQ(inside.images.size(), 1u);
    EXPECT_EQ(inside.images[0].name, "models/robot.glb#image1");
    ASSERT_NE(inside.images[0].embeddedBytes, nullptr);
    EXPECT_EQ(*inside.images[0].embeddedBytes, "RIFF");
}

TEST(GltfMaterials, BadValuesAreReportedAndTheModelStillLoads) {
    LookFile file;
    file.textures = "[]";
    file.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[2,0.5,-1,1],\"metallicFactor\":3,"
        "\"baseColorTexture\":{\"index\":7}},\"emissiveTexture\":{\"index\":0,\"texCoord\":4},"
        "\"alphaMode\":\"GLASS\",\"extensions\":{\"KHR_materials_iridescence\":{},"
        "\"KHR_materials_clearcoat\":{},\"KHR_materials_anisotropy\":{}}}]";
    GeometryDesc geometry = parsedLook(file);
    const MaterialDesc& material = geometry.materials.at(0).desc;
    expectNear(uniformOf(material, "baseColorFactor"), {1.0f, 0.5f, 0.0f, 1.0f});
    EXPECT_EQ(uniformOf(material, "materialFactors").x, 1.0f);
    EXPECT_TRUE(material.textures.empty());
    EXPECT_EQ(material.blend, MaterialBlend::Opaque);
    const std::string warnings = joined(geometry.warnings);
    EXPECT_NE(warnings.find("baseColorFactor lies outside 0 to 1"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("metallicFactor lies outside"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("names texture 7, which does not exist"), std::string::npos)
        << warnings;
    EXPECT_NE(warnings.find("unknown alphaMode 'GLASS'"), std::string::npos) << warnings;
    // One note for every extension the file's materials use that is not drawn.
    // Clearcoat is drawn, so not among them.
    const std::string ignored =
        "material extensions not drawn (ignored): KHR_materials_anisotropy, "
        "KHR_materials_iridescence";
    EXPECT_EQ(std::count(geometry.warnings.begin(), geometry.warnings.end(), ignored), 1)
        << warnings;

    LookFile wrongIndex;
    wrongIndex.materials = "[]";
    std::string glb = wrongIndex.glb();
    glb.replace(glb.find("\"material\":0"), 12, "\"material\":5");
    Parsed<GeometryDesc> defaulted = parseGltfGeometry(glb, kNoSideFiles, "m.glb");
    ASSERT_TRUE(defaulted.ok()) << defaulted.error();
    EXPECT_EQ(defaulted.value().materials.at(0).name, "m.glb#default-material");
    EXPECT_NE(joined(defaulted.value().warnings).find("names material 5, which does not exist"),
              std::string::npos);
}

TEST(GltfMaterials, AnImageReachingPastItsBufferFailsTheFile) {
    LookFile file;
    file.addImage("png bytes");
    file.materials = "[]";
    std::string glb = file.glb();
    // The image's view is the last; move it past the buffer's end, keeping the file's length.
    const std::size_t offset = glb.rfind("\"byteOffset\":") + 13;
    const std::size_t digits = glb.find(',', offset) - offset;
    glb.replace(offset, digits, std::string(digits, '9'));
    Parsed<GeometryDesc> geometry = parseGltfGeometry(glb, kNoSideFiles, "m.glb");
    ASSERT_FALSE(geometry.ok());
    EXPECT_NE(geometry.error().find("image 0 reaches past its buffer"), std::string::npos)
        << geometry.error();
}

TEST(GltfLights, LightsAreConvertedAndPlacedAtTheirNodes) {
    LookFile file;
    file.materials = "[{}]";
    file.lights =
        "[{\"type\":\"point\",\"color\":[1,0.5,0.25],\"intensity\":3.14159265},"
        "{\"type\":\"spot\",\"intensity\":1,\"range\":12,\"spot\":{\"innerConeAngle\":0.2,"
        "\"outerConeAngle\":0.5}},{\"type\":\"directional\",\"intensity\":-2}]";
    file.nodes =
        "[{\"mesh\":0,\"children\":[1,2,3]},{\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}"
        "},"
        "{\"extensions\":{\"KHR_lights_punctual\":{\"light\":1}}},"
        "{\"extensions\":{\"KHR_lights_punctual\":{\"light\":9}}}]";
    GeometryDesc geometry = parsedLook(file);
    ASSERT_EQ(geometry.lights.size(), 3u);
    // Intensity pi gives the engine's colour 1.
    EXPECT_NEAR(geometry.lights[0].color.r, 1.0f, 1e-5f);
    EXPECT_NEAR(geometry.lights[0].color.g, 0.5f, 1e-5f);
    EXPECT_EQ(geometry.lights[0].shape, LightShape::Point);
    EXPECT_EQ(geometry.lights[1].shape, LightShape::Spot);
    EXPECT_EQ(geometry.lights[1].range, 12.0f);
    EXPECT_NEAR(geometry.lights[1].outerConeAngle, 0.5f, 1e-6f);
    EXPECT_EQ(geometry.lights[2].shape, LightShape::Directional);
    EXPECT_EQ(geometry.lights[2].color, glm::vec3(0.0f));
    ASSERT_EQ(geometry.nodes.size(), 4u);
    EXPECT_EQ(geometry.nodes[1].light, 0);
    EXPECT_EQ(geometry.nodes[2].light, 1);
    EXPECT_EQ(geometry.nodes[3].light, -1);
    const std::string warnings = joined(geometry.warnings);
    EXPECT_NE(warnings.find("negative colour or intensity"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("names light 9, which does not exist"), std::string::npos) << warnings;
}
