// Textures as the renderer samples them: orientation, mipmaps, filtering and stand-ins.
#include <epoxy/gl.h>

#include <cstdlib>
#include <vector>

#include <glm/vec3.hpp>

#include "engine/core/engine_instance.h"
#include "engine/gpu/shader_program.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "engine/render/material_binding.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/loaded_texture.h"
#include "engine/resources/resource_type.h"
#include "gl_test_fixture.h"
#include "hdr_test_files.h"
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

// What textureCube returns in each direction, read from a floating-point target one pixel a
// direction, so that values above 1 survive.
std::vector<glm::vec3> sampleCube(GLuint cube, const std::vector<glm::vec3>& directions) {
    std::string error;
    std::optional<engine::GlProgram> program = engine::buildProgram(
        "#version 120\n"
        "void main() { gl_TexCoord[0] = gl_MultiTexCoord0; gl_Position = gl_Vertex; }\n",
        "#version 120\n"
        "uniform samplerCube map;\n"
        "void main() { gl_FragColor = textureCube(map, gl_TexCoord[0].xyz); }\n",
        error);
    EXPECT_TRUE(program.has_value()) << error;
    if (!program) {
        return {};
    }
    const auto count = static_cast<GLsizei>(directions.size());
    engine::GlTexture target = engine::createTexture();
    glBindTexture(GL_TEXTURE_2D, target.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, count, 1, 0, GL_RGBA, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    engine::GlFramebuffer framebuffer = engine::createFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.get());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.get(), 0);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER),
              static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, count, 1);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glUseProgram(program->get());
    glUniform1i(glGetUniformLocation(program->get(), "map"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glBegin(GL_POINTS);
    for (GLsizei index = 0; index < count; ++index) {
        const glm::vec3& direction = directions[static_cast<std::size_t>(index)];
        glTexCoord3f(direction.x, direction.y, direction.z);
        glVertex2f((2.0f * static_cast<float>(index) + 1.0f) / static_cast<float>(count) - 1.0f,
                   0.0f);
    }
    glEnd();
    std::vector<float> pixels(directions.size() * 4);
    glReadPixels(0, 0, count, 1, GL_RGBA, GL_FLOAT, pixels.data());
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    std::vector<glm::vec3> samples;
    for (std::size_t index = 0; index < directions.size(); ++index) {
        samples.emplace_back(pixels[index * 4], pixels[index * 4 + 1], pixels[index * 4 + 2]);
    }
    return samples;
}

void expectColours(const std::vector<glm::vec3>& actual, const std::vector<glm::vec3>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t index = 0; index < actual.size(); ++index) {
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(actual[index][channel], expected[index][channel], 0.01f)
                << "direction " << index << ", channel " << channel;
        }
    }
}

GLint internalFormatOf(const engine::LoadedTexture& texture, GLenum face) {
    GLint format = 0;
    glBindTexture(texture.target, texture.texture.get());
    glGetTexLevelParameteriv(face, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glBindTexture(texture.target, 0);
    return format;
}

bool hasFloatTextures() {
    return engine::runningEngine()->renderer.capabilities().halfFloatTargets;
}

const std::vector<glm::vec3> kAxes = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                      {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};

}  // namespace

TEST_F(Textures, AnHdrCubeShowsThePanoramasTopUpAndItsBottomDown) {
    if (!hasFloatTextures()) {
        GTEST_SKIP() << "the context has no floating-point textures";
    }
    ScratchDirectory directory;
    // The top half 4.0 red, the bottom half blue.
    directory.write("sky.hdr", radianceFile(64, 32, [](int, int y) {
                        return y < 16 ? HdrColour{4.0f, 0.0f, 0.0f} : HdrColour{0.0f, 0.0f, 1.0f};
                    }));
    const engine::LoadedTexture* texture =
        loadTexture(directory, "sky.hdr", engine::kCubeTextureFlag);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->target, static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
    EXPECT_TRUE(texture->linearValues);
    EXPECT_EQ(texture->width, 16);
    EXPECT_EQ(internalFormatOf(*texture, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z), GL_RGB16F);
    EXPECT_EQ(parameterOf(*texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(levelWidth(*texture, GL_TEXTURE_CUBE_MAP_POSITIVE_Y, 4), 1);
    expectColours(sampleCube(texture->texture.get(), {{0, 1, 0}, {0, -1, 0}, {0.3f, 1, -0.2f}}),
                  {{4, 0, 0}, {0, 0, 1}, {4, 0, 0}});
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Each axis's region of the panorama in a colour of its own: the image's centre is straight
// ahead (-Z), a quarter of the width to its right is +X.
TEST_F(Textures, AnHdrCubeShowsEachAxisOfThePanoramaInItsDirection) {
    if (!hasFloatTextures()) {
        GTEST_SKIP() << "the context has no floating-point textures";
    }
    const std::vector<glm::vec3> colours = {{8, 0, 0}, {0, 1, 0}, {0, 0, 1},
                                            {1, 1, 0}, {0, 1, 1}, {2, 0.5f, 0.25f}};
    ScratchDirectory directory;
    directory.write("axes.hdr", radianceFile(
                                    128, 64,
                                    [&colours](int x, int y) {
                                        const float u = (x + 0.5f) / 128.0f;
                                        const float v = (y + 0.5f) / 64.0f;
                                        std::size_t axis = v < 0.25f                   ? 2
                                                           : v > 0.75f                 ? 3
                                                           : u < 0.125f || u >= 0.875f ? 4
                                                           : u < 0.375f                ? 1
                                                           : u < 0.625f                ? 5
                                                                                       : 0;
                                        const glm::vec3& colour = colours[axis];
                                        return HdrColour{colour.r, colour.g, colour.b};
                                    },
                                    RgbeScanlines::RunLength));
    const engine::LoadedTexture* texture = loadTexture(
        directory, "axes.hdr", engine::kCubeTextureFlag | engine::kNoMipmapsTextureFlag);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(parameterOf(*texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    expectColours(sampleCube(texture->texture.get(), kAxes), colours);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// As a 2D texture an HDR image keeps its values too: an OpenEXR file, read back as it is stored.
TEST_F(Textures, AnHdrImageIsAFloatTextureWithItsValues) {
    if (!hasFloatTextures()) {
        GTEST_SKIP() << "the context has no floating-point textures";
    }
    ScratchDirectory directory;
    directory.write(
        "glow.exr", exrFile(4, 2, [](int x, int y) {
            return HdrColour{static_cast<float>(x) * 100.0f, y == 0 ? 0.25f : 4.0f, -3.0f};
        }));
    const engine::LoadedTexture* texture = loadTexture(directory, "glow.exr", 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->target, static_cast<GLenum>(GL_TEXTURE_2D));
    EXPECT_TRUE(texture->linearValues);
    EXPECT_EQ(internalFormatOf(*texture, GL_TEXTURE_2D), GL_RGB16F);
    EXPECT_EQ(levelWidth(*texture, GL_TEXTURE_2D, 2), 1);
    std::vector<float> texels(4 * 2 * 3);
    glBindTexture(GL_TEXTURE_2D, texture->texture.get());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    // Row 1, column 3: (300, 4, 0), the negative blue clamped to 0.
    EXPECT_FLOAT_EQ(texels[(4 + 3) * 3], 300.0f);
    EXPECT_FLOAT_EQ(texels[(4 + 3) * 3 + 1], 4.0f);
    EXPECT_FLOAT_EQ(texels[(4 + 3) * 3 + 2], 0.0f);
    EXPECT_FLOAT_EQ(texels[1], 0.25f);
}

TEST_F(Textures, EightBitTexturesHoldDisplayColours) {
    ScratchDirectory directory;
    directory.write("t.png", encodedPng(16, 8, quadrantColor));
    const engine::LoadedTexture* texture = loadTexture(directory, "t.png", 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_FALSE(texture->linearValues);
    EXPECT_EQ(internalFormatOf(*texture, GL_TEXTURE_2D), GL_RGBA8);
}

TEST_F(Textures, ABrokenHdrFileIsNamedWithItsFault) {
    ScratchDirectory directory;
    directory.write("sky.hdr", radianceHeader("-Y 2 +X 2", "FORMAT=32-bit_rle_xyze"));
    H3DRes handle = h3dAddResource(H3DResTypes::Texture, "sky.hdr", engine::kCubeTextureFlag);
    EXPECT_FALSE(h3dutLoadResourcesFromDisk(directory.path().c_str()));
    const std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages, "'sky.hdr' from '" + directory.path() +
                                          "/sky.hdr': cannot decode the Radiance HDR image: its "
                                          "pixels are CIE XYZ"))
        << joined(messages);
    engine::Resource* resource = engine::runningEngine()->resources.get(handle);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->payloadAs<engine::LoadedTexture>(), nullptr);
}

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
