// glTF files drawn with their own look: materials, textures and lights from the file, read
// back pixel by pixel. Each square is side 2 at 3 units (4 for the sided ones) in front of the
// camera.
#include <cmath>

#include "engine/h3d.h"
#include "gl_test_fixture.h"
#include "gltf_look_file.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;
using gltf_test::LookFile;

namespace {

const char* const kUnlitRed =
    "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[1,0,0,1]},"
    "\"extensions\":{\"KHR_materials_unlit\":{}}}]";

std::string model(const std::string& geometry, const std::string& placement = "0 0 -3",
                  const std::string& attributes = "") {
    return "<model geometry=\"" + geometry + "\" translation=\"" + placement + "\" " + attributes +
           "/>";
}

bool near(const std::array<int, 4>& color, int r, int g, int b) {
    return std::abs(color[0] - r) < 30 && std::abs(color[1] - g) < 30 &&
           std::abs(color[2] - b) < 30;
}

}  // namespace

// A directory with the shipped model.shader, the simple pipeline (every light per vertex,
// straight to the screen) and lit.pipeline.xml (the HDR look's per-pixel context, straight to
// the screen, over black).
class GltfLookRendering : public EngineGlTest {
  protected:
    static constexpr int kCentreX = kWidth / 2;
    static constexpr int kCentreY = kHeight / 2;
    // Pixels from the centre to a point half a unit off the axis at 3 units, with the camera's
    // 60 degrees.
    const int kHalfUnit = static_cast<int>(0.5f * (kHeight / 2) / (3.0f * std::tan(0.5236f)));

    struct LookScene {
        ScratchDirectory directory;
        LookScene() {
            copyShippedFiles(directory, {"model.shader", "simple.pipeline.xml"});
            directory.write("lit.pipeline.xml",
                            "<pipeline><stage><switchTarget target=\"screen\"/>"
                            "<clear color=\"0 0 0 1\" depth=\"1\"/><drawGeometry context=\"lit\"/>"
                            "</stage></pipeline>");
        }

        Picture render(const std::string& nodes,
                       const std::string& pipeline = "simple.pipeline.xml") {
            directory.write("s.scene.xml", "<scene>" + nodes + "</scene>");
            H3DRes pipelineResource = h3dAddResource(H3DResTypes::Pipeline, pipeline.c_str(), 0);
            loadScene(directory, "s.scene.xml");
            renderFrame(addCamera(pipelineResource, kWidth, kHeight));
            return Picture(kWidth, kHeight);
        }
    };
};

TEST_F(GltfLookRendering, ABaseColourTextureShowsItsColoursWhereItIsMapped) {
    LookScene scene;
    // A texture beside the file, its name escaped in the file: red, green over blue, white.
    scene.directory.write(
        "my texture.png",
        pngOf(2, 2, {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}}));
    LookFile file;
    file.moreImages = "{\"uri\":\"my%20texture.png\"}";
    file.samplers = "[{\"magFilter\":9728}]";
    file.textures = "[{\"source\":0,\"sampler\":0}]";
    file.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorTexture\":{\"index\":0}},"
        "\"extensions\":{\"KHR_materials_unlit\":{}}}]";
    scene.directory.write("square.glb", file.glb());
    Picture picture = scene.render(model("square.glb"));

    EXPECT_TRUE(near(picture.at(kCentreX - kHalfUnit, kCentreY + kHalfUnit), 255, 0, 0))
        << describe(picture.at(kCentreX - kHalfUnit, kCentreY + kHalfUnit));
    EXPECT_TRUE(near(picture.at(kCentreX + kHalfUnit, kCentreY + kHalfUnit), 0, 255, 0));
    EXPECT_TRUE(near(picture.at(kCentreX - kHalfUnit, kCentreY - kHalfUnit), 0, 0, 255));
    EXPECT_TRUE(near(picture.at(kCentreX + kHalfUnit, kCentreY - kHalfUnit), 255, 255, 255));
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(GltfLookRendering, ANormalMapTurnsTheShadingOfAFlatSquare) {
    LookScene scene;
    // The left half leans towards the light on the left, the right half away from it.
    LookFile file;
    file.addNearestTexture(pngOf(2, 1, {{26, 128, 204, 255}, {230, 128, 204, 255}}));
    file.materials =
        "[{\"pbrMetallicRoughness\":{\"metallicFactor\":0},"
        "\"normalTexture\":{\"index\":0}}]";
    scene.directory.write("square.glb", file.glb());
    Picture picture = scene.render(
        model("square.glb") + "<light translation=\"-6 0 -1\" color=\"2 2 2\" radius=\"40\"/>",
        "lit.pipeline.xml");

    const int towards = picture.brightness(kCentreX - kHalfUnit, kCentreY);
    const int away = picture.brightness(kCentreX + kHalfUnit, kCentreY);
    EXPECT_GT(towards, 3 * away + 60) << towards << " against " << away;
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(GltfLookRendering, AnEmissiveSurfaceGlowsWithoutLights) {
    LookScene scene;
    LookFile file;
    file.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[0,0,0,1]},"
        "\"emissiveFactor\":[1,0.5,0]}]";
    scene.directory.write("square.glb", file.glb());
    Picture picture = scene.render(model("square.glb"), "lit.pipeline.xml");
    EXPECT_TRUE(near(picture.at(kCentreX, kCentreY), 255, 128, 0))
        << describe(picture.at(kCentreX, kCentreY));
}

TEST_F(GltfLookRendering, MaskCutsAwayWhatIsBelowTheCutoffAndBlendShowsWhatIsBehind) {
    LookScene scene;
    LookFile masked;
    masked.addNearestTexture(pngOf(2, 1, {{255, 0, 0, 51}, {255, 0, 0, 255}}));
    masked.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorTexture\":{\"index\":0}},"
        "\"alphaMode\":\"MASK\",\"extensions\":{\"KHR_materials_unlit\":{}}}]";
    scene.directory.write("masked.glb", masked.glb());
    LookFile glass;
    glass.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[1,0,0,0.5]},"
        "\"alphaMode\":\"BLEND\",\"extensions\":{\"KHR_materials_unlit\":{}}}]";
    scene.directory.write("glass.glb", glass.glb());
    LookFile wall;
    wall.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[0,0,1,1]},"
        "\"extensions\":{\"KHR_materials_unlit\":{}}}]";
    scene.directory.write("wall.glb", wall.glb());
    // The masked square on the left, the glass on the right, the blue wall behind both; the
    // glass comes first in the scene but is drawn after the wall.
    Picture picture = scene.render(model("glass.glb", "1.2 0 -3", "scale=\"0.5 0.5 0.5\"") +
                                   model("masked.glb", "-1.2 0 -3", "scale=\"0.5 0.5 0.5\"") +
                                   model("wall.glb", "0 0 -6", "scale=\"4 4 1\""));

    const int quarter = kHalfUnit / 2;
    const int maskedX = kCentreX - static_cast<int>(2.4f * kHalfUnit);
    EXPECT_TRUE(near(picture.at(maskedX - quarter, kCentreY), 0, 0, 255))
        << "cut away: " << describe(picture.at(maskedX - quarter, kCentreY));
    EXPECT_TRUE(near(picture.at(maskedX + quarter, kCentreY), 255, 0, 0))
        << "kept: " << describe(picture.at(maskedX + quarter, kCentreY));
    const std::array<int, 4> blended =
        picture.at(kCentreX + static_cast<int>(2.4f * kHalfUnit), kCentreY);
    EXPECT_GT(blended[0], 100) << describe(blended);
    EXPECT_GT(blended[2], 100) << describe(blended);
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(GltfLookRendering, OnlyADoubleSidedSquareShowsItsBack) {
    LookScene scene;
    LookFile oneSided;
    oneSided.materials = kUnlitRed;
    scene.directory.write("one.glb", oneSided.glb());
    LookFile twoSided;
    twoSided.materials =
        "[{\"pbrMetallicRoughness\":{\"baseColorFactor\":[1,0,0,1]},"
        "\"doubleSided\":true,\"extensions\":{\"KHR_materials_unlit\":{}}}]";
    scene.directory.write("two.glb", twoSided.glb());
    Picture picture = scene.render(model("one.glb", "-1.2 0 -3", "rotation=\"0 180 0\"") +
                                   model("two.glb", "1.2 0 -3", "rotation=\"0 180 0\""));

    const int offset = static_cast<int>(2.4f * kHalfUnit);
    EXPECT_FALSE(near(picture.at(kCentreX - offset, kCentreY), 255, 0, 0))
        << describe(picture.at(kCentreX - offset, kCentreY));
    EXPECT_TRUE(near(picture.at(kCentreX + offset, kCentreY), 255, 0, 0))
        << describe(picture.at(kCentreX + offset, kCentreY));
}

TEST_F(GltfLookRendering, TheFilesPointLightLightsTheSurfaceNearItAtAnyScale) {
    LookScene scene;
    LookFile file;
    file.materials = "[{\"pbrMetallicRoughness\":{\"metallicFactor\":0}}]";
    file.lights = "[{\"type\":\"point\",\"intensity\":3}]";
    file.nodes =
        "[{\"mesh\":0,\"children\":[1]},{\"translation\":[0,0,1],"
        "\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}}]";
    scene.directory.write("lamp.glb", file.glb());
    // Once as it is, once three times as large and three times as far: the same picture.
    Picture picture =
        scene.render(model("lamp.glb", "-1.2 0 -3", "scale=\"0.5 0.5 0.5\"") +
                         "<group translation=\"3.6 0 -9\" scale=\"3 3 3\">" +
                         model("lamp.glb", "0 0 0", "scale=\"0.5 0.5 0.5\"") + "</group>",
                     "lit.pipeline.xml");

    // Straight below the light a square gets far more light than at its corners.
    const int offset = static_cast<int>(2.4f * kHalfUnit);
    const int below = picture.brightness(kCentreX - offset, kCentreY);
    const int corner =
        picture.brightness(kCentreX - offset + kHalfUnit - 2, kCentreY + kHalfUnit - 2);
    EXPECT_GT(below, 300) << below;
    EXPECT_LT(corner * 2, below) << corner << " against " << below;
    const int scaled = picture.brightness(kCentreX + offset, kCentreY);
    EXPECT_NEAR(scaled, below, below / 8) << scaled << " against " << below;
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(GltfLookRendering, AMaterialFileOfTheSceneWinsOverTheFilesOwn) {
    LookScene scene;
    LookFile file;
    file.materials = kUnlitRed;
    scene.directory.write("square.glb", file.glb());
    writeLitMaterial(scene.directory, "green.material.xml", glm::vec3(0.0f),
                     glm::vec3(0.0f, 4.0f, 0.0f));
    Picture picture =
        scene.render(model("square.glb", "0 0 -3", "material=\"green.material.xml\""));
    const std::array<int, 4> centre = picture.at(kCentreX, kCentreY);
    EXPECT_GT(centre[1], 200) << describe(centre);
    EXPECT_LT(centre[0], 60) << describe(centre);
}
