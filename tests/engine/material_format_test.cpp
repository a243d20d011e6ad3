#include <gtest/gtest.h>

#include "engine/formats/material_format.h"

using namespace engine;

namespace {

std::string errorOf(const std::string& xml) {
    Parsed<MaterialDesc> parsed = parseMaterial(xml);
    EXPECT_FALSE(parsed.ok()) << "parsed although it should not: " << xml;
    return parsed.ok() ? std::string() : parsed.error();
}

}  // namespace

TEST(MaterialFormat, ReadsShaderTexturesAndUniforms) {
    Parsed<MaterialDesc> parsed = parseMaterial(R"(
<material shader="model.shader">
  <texture sampler="albedoMap" file="stone.png"/>
  <texture sampler="skyMap" file="sky.png" kind="cube" mipmaps="false"/>
  <uniform name="tint" value="0.5 0.25 1 0.75"/>
  <uniform name="shininess" value="32"/>
</material>)");
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const MaterialDesc& material = parsed.value();
    EXPECT_EQ(material.shader, "model.shader");
    ASSERT_EQ(material.textures.size(), 2u);
    EXPECT_EQ(material.textures[0].sampler, "albedoMap");
    EXPECT_EQ(material.textures[0].file, "stone.png");
    EXPECT_EQ(material.textures[0].kind, TextureKind::Flat);
    EXPECT_EQ(material.textures[1].kind, TextureKind::Cube);
    EXPECT_TRUE(material.textures[0].mipmaps);
    EXPECT_FALSE(material.textures[1].mipmaps);
    ASSERT_EQ(material.uniforms.size(), 2u);
    EXPECT_EQ(material.uniforms[0].value, glm::vec4(0.5f, 0.25f, 1.0f, 0.75f));
    // Fewer than four numbers are padded with zeros.
    EXPECT_EQ(material.uniforms[1].value, glm::vec4(32.0f, 0.0f, 0.0f, 0.0f));
}

TEST(MaterialFormat, NeedsAShader) {
    EXPECT_NE(errorOf("<material/>").find("needs a 'shader'"), std::string::npos);
    EXPECT_NE(errorOf("<material shader=\"\"/>").find("empty 'shader'"), std::string::npos);
    EXPECT_NE(errorOf("<material shader=\"my shader\"/>").find("not a file name"),
              std::string::npos);
}

TEST(MaterialFormat, RejectsBadTexturesAndUniforms) {
    auto inMaterial = [](const std::string& body) {
        return errorOf("<material shader=\"s.shader\">\n" + body + "\n</material>");
    };
    EXPECT_NE(inMaterial("<texture file=\"a.png\"/>").find("line 2: <texture> needs a 'sampler'"),
              std::string::npos);
    EXPECT_NE(inMaterial("<texture sampler=\"a\" file=\"a.png\" kind=\"3d\"/>")
                  .find("unknown texture kind '3d'"),
              std::string::npos);
    EXPECT_NE(inMaterial("<uniform name=\"u\"/>").find("needs a 'value'"), std::string::npos);
    EXPECT_NE(inMaterial("<uniform name=\"u\" value=\"1 2 3 4 5\"/>").find("1 to 4 numbers"),
              std::string::npos);
    EXPECT_NE(inMaterial("<uniform name=\"u-v\" value=\"1\"/>").find("not a GLSL name"),
              std::string::npos);
    EXPECT_NE(inMaterial("<uniform name=\"u\" value=\"1\"/><uniform name=\"u\" value=\"2\"/>")
                  .find("already a uniform"),
              std::string::npos);
    EXPECT_NE(inMaterial("<texture sampler=\"u\" file=\"a.png\"/><uniform name=\"u\" value=\"2\"/>")
                  .find("already a sampler"),
              std::string::npos);
    EXPECT_NE(inMaterial("<colour/>").find("unknown element <colour>"), std::string::npos);
}

TEST(MaterialFormat, AFontMaterialNamesItsMetrics) {
    Parsed<MaterialDesc> parsed = parseMaterial(
        "<material shader=\"overlay.shader\"><texture sampler=\"fontAtlas\" file=\"font.png\"/>"
        "<font metrics=\"font.metrics\"/></material>");
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().fontMetrics, "font.metrics");
    EXPECT_EQ(parseMaterial("<material shader=\"s.shader\"/>").value().fontMetrics, "");

    auto inMaterial = [](const std::string& body) {
        return errorOf("<material shader=\"s.shader\">\n" + body + "\n</material>");
    };
    EXPECT_NE(inMaterial("<font/>").find("line 2: <font> needs a 'metrics'"), std::string::npos);
    EXPECT_NE(inMaterial("<font metrics=\"a b\"/>").find("not a file name"), std::string::npos);
    EXPECT_NE(inMaterial("<font metrics=\"a\" size=\"2\"/>").find("'size'"), std::string::npos);
    EXPECT_NE(inMaterial("<font metrics=\"a\"/>\n<font metrics=\"b\"/>")
                  .find("line 3: a material has at most one <font>"),
              std::string::npos);
}

TEST(MaterialFormat, SaysWhichFacesAndViewsCullTheSurface) {
    Parsed<MaterialDesc> closed = parseMaterial("<material shader=\"s.shader\"/>");
    ASSERT_TRUE(closed.ok());
    EXPECT_TRUE(closed.value().cullsBackFaces);
    EXPECT_TRUE(closed.value().frustumCulled);
    Parsed<MaterialDesc> sky = parseMaterial(
        "<material shader=\"s.shader\" faceCulling=\"none\" frustumCulling=\"false\"/>");
    ASSERT_TRUE(sky.ok()) << sky.error();
    EXPECT_FALSE(sky.value().cullsBackFaces);
    EXPECT_FALSE(sky.value().frustumCulled);
    EXPECT_NE(errorOf("<material shader=\"s.shader\" faceCulling=\"front\"/>")
                  .find("unknown face culling 'front'"),
              std::string::npos);
    EXPECT_NE(
        errorOf("<material shader=\"s.shader\" frustumCulling=\"maybe\"/>").find("true or false"),
        std::string::npos);
}

TEST(MaterialFormat, MipmapsAreTrueOrFalse) {
    EXPECT_NE(errorOf("<material shader=\"s.shader\"><texture sampler=\"a\" file=\"a.png\" "
                      "mipmaps=\"some\"/></material>")
                  .find("'mipmaps' must be true or false, not 'some'"),
              std::string::npos);
}
