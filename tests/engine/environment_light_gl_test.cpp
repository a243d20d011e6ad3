// glTF spheres lit by an environment alone, read back: a white furnace (a uniform environment
// that every white sphere, rough or smooth, metal or not, must show at its own brightness) and a
// mirror that reflects an environment red above and blue below.
#include <cmath>
#include <functional>

#include "engine/h3d.h"
#include "gl_test_fixture.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;

namespace {

using Texel = std::array<unsigned char, 4>;

// Six faces of 8 texels stacked +x, -x, +y, -y, +z, -z, each texel the colour of its direction's
// height: whether it looks up (rows above the middle of the side faces, and all of +y).
std::string environmentStrip(const Texel& above, const Texel& below) {
    std::vector<Texel> pixels;
    for (int face = 0; face < 6; ++face) {
        for (int row = 0; row < 8; ++row) {
            const bool up = face == 2 || (face != 3 && row < 4);
            pixels.insert(pixels.end(), 8, up ? above : below);
        }
    }
    return pngOf(8, 48, pixels);
}

std::string metalRoughness(float metallic, float roughness) {
    return "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[1,1,1,1],\"metallicFactor\":" +
           std::to_string(metallic) + ",\"roughnessFactor\":" + std::to_string(roughness) + "}}]";
}

}  // namespace

class EnvironmentLighting : public EngineGlTest {
  protected:
    // The sphere, of radius 1 at 3 units, covers this many pixels from the centre and more.
    const int kDiscRadius = static_cast<int>((kHeight / 2) / (std::sqrt(8.0f) * std::tan(0.5236f)));
    static constexpr int kCentreX = kWidth / 2;
    static constexpr int kCentreY = kHeight / 2;

    ScratchDirectory directory;

    // A white sphere with the material under the environment, through the pipeline: "lit"
    // writes linear colour straight to the screen, "simple" its display colour, per vertex.
    Picture render(const std::string& environmentPng, const std::string& materials,
                   const std::string& pipeline, const std::string& moreNodes = "") {
        copyShippedFiles(directory, {"model.shader", "simple.pipeline.xml"});
        writeLitPipeline();
        directory.write("environment.png", environmentPng);
        directory.write("environment.material.xml",
                        "<material shader=\"model.shader\"><texture sampler=\"albedoMap\" "
                        "file=\"environment.png\" kind=\"cube\"/></material>");
        gltf_test::Mesh sphere = gltf_test::sphereMesh("ball", 1.0f, 48, 64);
        sphere.primitives[0].material = 0;
        gltf_test::Document document{{sphere}, {}, materials};
        directory.write("ball.glb", gltf_test::glbFile(document));
        directory.write("s.scene.xml",
                        "<scene><model geometry=\"ball.glb\" translation=\"0 0 -3\"/>" + moreNodes +
                            "</scene>");
        const H3DRes pipelineResource = h3dAddResource(H3DResTypes::Pipeline, pipeline.c_str(), 0);
        h3dAddResource(H3DResTypes::Material, "environment.material.xml", 0);
        loadScene(directory, "s.scene.xml");
        EXPECT_TRUE(h3dSetEnvironment(h3dFindResource(H3DResTypes::Texture, "environment.png")))
            << joined(takeMessages());
        renderFrame(addCamera(pipelineResource, kWidth, kHeight));
        return Picture(kWidth, kHeight);
    }

    void writeLitPipeline() {
        directory.write("lit.pipeline.xml",
                        "<pipeline><stage><switchTarget target=\"screen\"/>"
                        "<clear color=\"0 0 0 1\" depth=\"1\"/><drawGeometry context=\"lit\"/>"
                        "</stage></pipeline>");
    }

    // The centre and points at 0.8 of the disc's radius, up, down, left and right.
    std::vector<std::array<int, 4>> discSamples(const Picture& picture) const {
        const int reach = kDiscRadius * 4 / 5;
        return {picture.at(kCentreX, kCentreY), picture.at(kCentreX, kCentreY + reach),
                picture.at(kCentreX, kCentreY - reach), picture.at(kCentreX - reach, kCentreY),
                picture.at(kCentreX + reach, kCentreY)};
    }
};

// Grey 181 is linear 0.504 (gamma 2): 128 on the lit context's screen, 218 after the simple
// pipeline's tone curve. A few per cent is 5 steps of 255.
TEST_F(EnvironmentLighting, WhiteSpheresShowAUniformEnvironmentsBrightnessInAFurnace) {
    struct Case {
        float metallic;
        float roughness;
        const char* pipeline;
        int expected;
    };
    for (const Case& sphere :
         {Case{1.0f, 1.0f, "lit.pipeline.xml", 128}, Case{0.0f, 1.0f, "lit.pipeline.xml", 128},
          Case{1.0f, 0.0f, "lit.pipeline.xml", 128}, Case{0.0f, 0.0f, "lit.pipeline.xml", 128},
          Case{0.5f, 0.6f, "lit.pipeline.xml", 128}, Case{1.0f, 1.0f, "simple.pipeline.xml", 218},
          Case{0.0f, 1.0f, "simple.pipeline.xml", 218}}) {
        SCOPED_TRACE(std::string(sphere.pipeline) + " metallic " + std::to_string(sphere.metallic) +
                     " roughness " + std::to_string(sphere.roughness));
        reopenWindowAndEngine(kWidth, kHeight);
        const Picture picture =
            render(environmentStrip({181, 181, 181, 255}, {181, 181, 181, 255}),
                   metalRoughness(sphere.metallic, sphere.roughness), sphere.pipeline);
        for (const std::array<int, 4>& color : discSamples(picture)) {
            for (int channel = 0; channel < 3; ++channel) {
                EXPECT_NEAR(color[channel], sphere.expected, 6) << describe(color);
            }
        }
    }
}

TEST_F(EnvironmentLighting, AMirrorReflectsRedAboveAndBlueBelowAndRoughnessMixesThem) {
    auto contrast = [&](float roughness, std::array<int, 4>& top, std::array<int, 4>& bottom) {
        reopenWindowAndEngine(kWidth, kHeight);
        const Picture picture = render(environmentStrip({255, 0, 0, 255}, {0, 0, 255, 255}),
                                       metalRoughness(1.0f, roughness), "lit.pipeline.xml");
        top = picture.at(kCentreX, kCentreY + kDiscRadius * 3 / 5);
        bottom = picture.at(kCentreX, kCentreY - kDiscRadius * 3 / 5);
    };
    std::array<int, 4> top{};
    std::array<int, 4> bottom{};
    contrast(0.0f, top, bottom);
    EXPECT_GT(top[0], 200) << describe(top);
    EXPECT_LT(top[2], 20) << describe(top);
    EXPECT_GT(bottom[2], 200) << describe(bottom);
    EXPECT_LT(bottom[0], 20) << describe(bottom);

    contrast(1.0f, top, bottom);
    // Both halves of the sky reach every point of a fully rough sphere; the upper still more.
    EXPECT_GT(top[2], 25) << describe(top);
    EXPECT_GT(bottom[0], 25) << describe(bottom);
    EXPECT_GT(top[0], top[2]) << describe(top);
    EXPECT_GT(bottom[2], bottom[0]) << describe(bottom);
}

// The layers glTF's material extensions add, each against the same surface without it.
class MaterialLayers : public EnvironmentLighting {
  protected:
    // Quads facing the camera: the surface with the materials' first at 3 units, and behind it
    // at 5 units a wall, unlit in the colour given.
    Picture renderQuadOverWall(const std::string& surfaceMaterial, const std::string& wallColor) {
        copyShippedFiles(directory, {"model.shader"});
        writeLitPipeline();
        gltf_test::Mesh surface = gltf_test::quadMesh("surface", 1.0f);
        surface.primitives[0].material = 0;
        gltf_test::Mesh wall = gltf_test::quadMesh("wall", 3.0f);
        wall.primitives[0].material = 1;
        gltf_test::Document document{
            {surface, wall},
            {gltf_test::Node{0, {0, 0, -3}, {1, 1, 1}}, gltf_test::Node{1, {0, 0, -5}, {1, 1, 1}}},
            "[" + surfaceMaterial + ",{\"pbrMetallicRoughness\":{\"baseColorFactor\":" + wallColor +
                "},\"extensions\":{\"KHR_materials_unlit\":{}}}]"};
        directory.write("quads.glb", gltf_test::glbFile(document));
        directory.write("s.scene.xml", "<scene><model geometry=\"quads.glb\"/></scene>");
        const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "lit.pipeline.xml", 0);
        loadScene(directory, "s.scene.xml");
        renderFrame(addCamera(pipeline, kWidth, kHeight));
        EXPECT_EQ(joined(takeMessages()), "");
        return Picture(kWidth, kHeight);
    }
};

TEST_F(MaterialLayers, AClearCoatAddsASharpHighlightOverARoughBase) {
    const std::string light = "<light translation=\"0 0 0\" color=\"3 3 3\" radius=\"50\"/>";
    auto peak = [&](const std::string& extensions) {
        reopenWindowAndEngine(kWidth, kHeight);
        const Picture picture = render(
            environmentStrip({20, 20, 20, 255}, {20, 20, 20, 255}),
            "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[0.2,0.2,0.2,1],\"metallicFactor\":0,"
            "\"roughnessFactor\":1}" +
                extensions + "}]",
            "lit.pipeline.xml", light);
        return picture.brightness(kCentreX, kCentreY);
    };
    const int bare = peak("");
    const int coated = peak(
        ",\"extensions\":{\"KHR_materials_clearcoat\":{\"clearcoatFactor\":1,"
        "\"clearcoatRoughnessFactor\":0.05}}");
    EXPECT_GT(coated, bare + 150) << coated << " against " << bare;
}

TEST_F(MaterialLayers, SheenBrightensTheSilhouette) {
    auto edgeAndCentre = [&](const std::string& extensions) {
        reopenWindowAndEngine(kWidth, kHeight);
        const Picture picture =
            render(environmentStrip({181, 181, 181, 255}, {181, 181, 181, 255}),
                   "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[0.05,0.05,0.05,1],"
                   "\"metallicFactor\":0,\"roughnessFactor\":1}" +
                       extensions + "}]",
                   "lit.pipeline.xml");
        return std::pair{picture.brightness(kCentreX + kDiscRadius * 19 / 20, kCentreY),
                         picture.brightness(kCentreX, kCentreY)};
    };
    const auto [bareEdge, bareCentre] = edgeAndCentre("");
    const auto [sheenEdge, sheenCentre] = edgeAndCentre(
        ",\"extensions\":{\"KHR_materials_sheen\":{\"sheenColorFactor\":[1,1,1],"
        "\"sheenRoughnessFactor\":0.5}}");
    EXPECT_GT(sheenEdge - bareEdge, 2 * (sheenCentre - bareCentre) + 30)
        << "edge " << bareEdge << " to " << sheenEdge << ", centre " << bareCentre << " to "
        << sheenCentre;
}

TEST_F(MaterialLayers, TransmissionShowsTheWallBehindAndVolumeTintsItByThickness) {
    const std::string glass =
        "{\"pbrMetallicRoughness\":{\"metallicFactor\":0,\"roughnessFactor\":0},"
        "\"extensions\":{\"KHR_materials_transmission\":{\"transmissionFactor\":1}";
    const std::array<int, 4> throughGlass =
        renderQuadOverWall(glass + "}}", "[1,0.2,0.2,1]").at(kCentreX, kCentreY);
    EXPECT_GT(throughGlass[0], 180) << describe(throughGlass);
    EXPECT_LT(throughGlass[1], 90) << describe(throughGlass);

    // Glass that is also alpha-blended is drawn with the blended meshes, and still sees the wall.
    reopenWindowAndEngine(kWidth, kHeight);
    const std::array<int, 4> blended =
        renderQuadOverWall(glass + "},\"alphaMode\":\"BLEND\"}", "[1,0.2,0.2,1]")
            .at(kCentreX, kCentreY);
    EXPECT_GT(blended[0], 180) << describe(blended);

    reopenWindowAndEngine(kWidth, kHeight);
    const std::array<int, 4> opaque =
        renderQuadOverWall("{\"pbrMetallicRoughness\":{\"metallicFactor\":0}}", "[1,0.2,0.2,1]")
            .at(kCentreX, kCentreY);
    EXPECT_LT(opaque[0], 60) << describe(opaque);

    // Blue-green glass half a unit thick, which keeps a fifth of red over 0.2 units.
    reopenWindowAndEngine(kWidth, kHeight);
    const std::array<int, 4> tinted =
        renderQuadOverWall(glass +
                               ",\"KHR_materials_volume\":{\"thicknessFactor\":0.5,"
                               "\"attenuationColor\":[0.2,1,1],\"attenuationDistance\":0.2}}}",
                           "[1,1,1,1]")
            .at(kCentreX, kCentreY);
    EXPECT_LT(tinted[0], tinted[2] / 4) << describe(tinted);
    EXPECT_GT(tinted[2], 180) << describe(tinted);
}
