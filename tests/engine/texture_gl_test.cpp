// Textures as the renderer samples them: orientation, mipmaps, filtering and stand-ins.
#include <epoxy/gl.h>

#include <cstdlib>

#include "engine/core/engine_instance.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "engine/render/material_binding.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/loaded_texture.h"
#include "engine/resources/resource_type.h"
#include "gl_test_fixture.h"
#include "overlay_test_content.h"
#include "test_support.h"

using Textures = EngineGlTest;

namespace {

// One 16x16 cell holding 'A', as wide as it is tall.
const char* kOneCellMetrics =
    "cell_width 16\ncell_height 16\ncolumns 1\nfirst_char 65\nchar_count 1\nadvance 1\n";

// Red top left, green top right, blue bottom left, white bottom right.
Rgba quadrantColor(int x, int y) {
    bool right = x >= 8;
    bool bottom = y >= 8;
    if (!bottom) {
        return right ? Rgba{0, 255, 0, 255} : Rgba{255, 0, 0, 255};
    }
    return right ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 255, 255};
}

bool nearColor(const std::array<int, 4>& actual, const std::array<int, 4>& expected,
               int tolerance) {
    for (std::size_t channel = 0; channel < 3; ++channel) {
        if (std::abs(actual[channel] - expected[channel]) > tolerance) {
            return false;
        }
    }
    return true;
}

// Draws the atlas's one cell over the window's left 240x240 pixels and checks the quadrants.
void expectQuadrantsOnScreen(const std::string& atlasBytes, int tolerance, int width, int height) {
    ScratchDirectory directory;
    writeOverlayContent(directory, "atlas.img", "atlas.metrics");
    directory.write("atlas.img", atlasBytes);
    directory.write("atlas.metrics", kOneCellMetrics);
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "overlay.pipeline.xml", 0);
    H3DRes font = h3dAddResource(H3DResTypes::Material, "font.material.xml", 0);
    ASSERT_TRUE(h3dutLoadResourcesFromDisk(directory.path().c_str())) << joined(takeMessages());

    h3dutShowText("A", 0, 0, 1, 1, 1, 1, font);
    renderOverlayFrame(overlayCamera(pipeline, width, height));
    const struct {
        int x, y;
        std::array<int, 4> color;
    } samples[] = {{60, 60, storedColor(1, 0, 0)},
                   {180, 60, storedColor(0, 1, 0)},
                   {60, 180, storedColor(0, 0, 1)},
                   {180, 180, storedColor(1, 1, 1)}};
    for (const auto& sample : samples) {
        std::array<int, 4> drawn = pixelFromTop(sample.x, sample.y, height);
        EXPECT_TRUE(nearColor(drawn, sample.color, tolerance))
            << sample.x << ", " << sample.y << ": " << describe(drawn) << " instead of "
            << describe(sample.color);
    }
}

const engine::LoadedTexture* loadTexture(const ScratchDirectory& directory, const char* name,
                                         int flags) {
    H3DRes handle = h3dAddResource(H3DResTypes::Texture, name, flags);
    EXPECT_TRUE(h3dutLoadResourcesFromDisk(directory.path().c_str())) << joined(takeMessages());
    engine::Resource* resource = engine::runningEngine()->resources.get(handle);
    return resource != nullptr ? resource->payloadAs<engine::LoadedTexture>() : nullptr;
}

GLint parameterOf(const engine::LoadedTexture& texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(texture.target, texture.texture.get());
    glGetTexParameteriv(texture.target, parameter, &value);
    glBindTexture(texture.target, 0);
    return value;
}

GLint levelWidth(const engine::LoadedTexture& texture, GLenum face, int level) {
    GLint width = 0;
    glBindTexture(texture.target, texture.texture.get());
    glGetTexLevelParameteriv(face, level, GL_TEXTURE_WIDTH, &width);
    glBindTexture(texture.target, 0);
    return width;
}

}  // namespace

TEST_F(Textures, APngShowsTopRowsAtTheTop) {
    expectQuadrantsOnScreen(encodedPng(16, 16, quadrantColor), 1, kWidth, kHeight);
}

TEST_F(Textures, AJpegShowsLikeThePng) {
    expectQuadrantsOnScreen(encodedJpeg(16, 16, quadrantColor), 24, kWidth, kHeight);
}

TEST_F(Textures, FlatTexturesHaveMipmapsAndTrilinearFiltering) {
    ScratchDirectory directory;
    directory.write("t.png", encodedPng(16, 8, quadrantColor));
    const engine::LoadedTexture* texture = loadTexture(directory, "t.png", 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(parameterOf(*texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(parameterOf(*texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(levelWidth(*texture, GL_TEXTURE_2D, 1), 8);
    EXPECT_EQ(levelWidth(*texture, GL_TEXTURE_2D, 4), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Textures, WithoutTrilinearFilteringMipmapsAreNotBlended) {
    ASSERT_TRUE(h3dSetOption(H3DOptions::TrilinearFiltering, 0));
    ScratchDirectory directory;
    directory.write("t.png", encodedPng(16, 8, quadrantColor));
    const engine::LoadedTexture* texture = loadTexture(directory, "t.png", 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(parameterOf(*texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_NEAREST);
}

// On this display's driver: the option as the driver allows it, or none at all on a software
// rasterizer.
TEST_F(Textures, AnisotropyFollowsTheOptionWhereTheDriverHasIt) {
    const engine::GlCapabilities& capabilities = engine::runningEngine()->renderer.capabilities();
    if (!capabilities.anisotropicFiltering) {
        GTEST_SKIP() << "the driver has no anisotropic filtering";
    }
    const float expected =
        capabilities.softwareRasterizer ? 1.0f : std::min(4.0f, capabilities.maxAnisotropy);
    ASSERT_TRUE(h3dSetOption(H3DOptions::MaxAnisotropy, 4));
    ScratchDirectory directory;
    directory.write("t.png", encodedPng(16, 8, quadrantColor));
    const engine::LoadedTexture* texture = loadTexture(directory, "t.png", 0);
    ASSERT_NE(texture, nullptr);
    GLfloat anisotropy = 0.0f;
    glBindTexture(GL_TEXTURE_2D, texture->texture.get());
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_FLOAT_EQ(anisotropy, expected);
}

TEST_F(Textures, CubeTexturesHaveMipmapsOnEveryFace) {
    ScratchDirectory directory;
    directory.write("sky.png", encodedPng(8, 48, quadrantColor));
    const engine::LoadedTexture* texture = loadTexture(directory, "sky.png", 8);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->target, static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(parameterOf(*texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    for (GLenum face = 0; face < 6; ++face) {
        EXPECT_EQ(levelWidth(*texture, GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 1), 4) << face;
    }
}

TEST_F(Textures, TexturesThatDidNotLoadAreReplacedByTheStandInOfTheirKind) {
    ScratchDirectory directory;
    directory.write("s.shader", placeholderContent("overlay.shader"));
    directory.write("flat.png", encodedPng(16, 8, quadrantColor));
    directory.write("m.material.xml",
                    "<material shader=\"s.shader\">"
                    "<texture sampler=\"a\" file=\"flat.png\"/>"
                    "<texture sampler=\"b\" file=\"gone.png\"/>"
                    "<texture sampler=\"c\" file=\"gone.png\" kind=\"cube\"/>"
                    "<texture sampler=\"d\" file=\"broken.jpg\" kind=\"cube\"/>"
                    "</material>");
    directory.write("broken.jpg", "\xff\xd8\xff\xe0 not really");
    H3DRes handle = h3dAddResource(H3DResTypes::Material, "m.material.xml", 0);
    EXPECT_FALSE(h3dutLoadResourcesFromDisk(directory.path().c_str()));
    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages,
                            "'gone.png' from '" + directory.path() + "/gone.png': file not found"))
        << joined(messages);
    EXPECT_TRUE(anyContains(messages, "'broken.jpg' from '" + directory.path() +
                                          "/broken.jpg': cannot decode the JPEG"))
        << joined(messages);

    engine::Engine& running = *engine::runningEngine();
    auto* material = running.resources.get(handle)->payloadAs<engine::LoadedMaterial>();
    ASSERT_NE(material, nullptr);
    const engine::StandInTextures& standIns = running.renderer.standIns();
    auto textureOf = [&](std::size_t entry) {
        return engine::materialTexture(*material, entry, running.resources, standIns);
    };
    EXPECT_NE(textureOf(0), standIns.forTarget(GL_TEXTURE_2D));
    EXPECT_EQ(textureOf(1), standIns.forTarget(GL_TEXTURE_2D));
    EXPECT_EQ(textureOf(2), standIns.forTarget(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(textureOf(3), standIns.forTarget(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(glIsTexture(standIns.forTarget(GL_TEXTURE_CUBE_MAP)), GL_TRUE);
}

TEST_F(Textures, WithoutMipmapsOnlyTheFullSizeIsSampledBilinearly) {
    ScratchDirectory directory;
    directory.write("sky.png", encodedPng(8, 48, quadrantColor));
    const engine::LoadedTexture* texture =
        loadTexture(directory, "sky.png", engine::kCubeTextureFlag | engine::kNoMipmapsTextureFlag);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(parameterOf(*texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(levelWidth(*texture, GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0), 8);
    EXPECT_EQ(levelWidth(*texture, GL_TEXTURE_CUBE_MAP_POSITIVE_X, 1), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
