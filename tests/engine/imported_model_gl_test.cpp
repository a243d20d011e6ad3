// Models of other formats drawn, read back pixel by pixel: an OBJ's texture and a point cloud's
// colours, on the simple pipeline and on the HDR look's per-pixel context.
#include <cmath>
#include <filesystem>

#include "engine/h3d.h"
#include "gl_test_fixture.h"
#include "model_test_files.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;

namespace {

const char* const kPipelines[] = {"simple.pipeline.xml", "lit.pipeline.xml"};

// Points half a unit off the centre: red top left, green top right, blue bottom left, white
// bottom right.
const char* const kFourPoints =
    "ply\nformat ascii 1.0\nelement vertex 4\n"
    "property float x\nproperty float y\nproperty float z\n"
    "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n"
    "-0.5 0.5 0 255 0 0\n0.5 0.5 0 0 255 0\n-0.5 -0.5 0 0 0 255\n0.5 -0.5 0 255 255 255\n";

bool near(const std::array<int, 4>& color, int r, int g, int b) {
    return std::abs(color[0] - r) < 40 && std::abs(color[1] - g) < 40 &&
           std::abs(color[2] - b) < 40;
}

}  // namespace

class ImportedModelRendering : public EngineGlTest {
  protected:
    static constexpr int kCentreX = kWidth / 2;
    static constexpr int kCentreY = kHeight / 2;
    // Pixels from the centre to a point half a unit off the axis at 3 units, with the camera's
    // 60 degrees.
    const int kHalfUnit = static_cast<int>(0.5f * (kHeight / 2) / (3.0f * std::tan(0.5236f)));

    ScratchDirectory directory;

    void SetUp() override {
        EngineGlTest::SetUp();
        copyShippedFiles(directory, {"model.shader", "simple.pipeline.xml"});
        directory.write("lit.pipeline.xml",
                        "<pipeline><stage><switchTarget target=\"screen\"/>"
                        "<clear color=\"0 0 0 1\" depth=\"1\"/><drawGeometry context=\"lit\"/>"
                        "</stage></pipeline>");
    }

    Picture render(const std::string& geometry, const std::string& pipeline) {
        directory.write("s.scene.xml", "<scene><model geometry=\"" + geometry +
                                           "\" translation=\"0 0 -3\"/>"
                                           "<light translation=\"0 0 0\" color=\"1 1 1\" "
                                           "radius=\"40\"/></scene>");
        H3DRes pipelineResource = h3dAddResource(H3DResTypes::Pipeline, pipeline.c_str(), 0);
        loadScene(directory, "s.scene.xml");
        renderFrame(addCamera(pipelineResource, kWidth, kHeight));
        return Picture(kWidth, kHeight);
    }

    // Whether a pixel near (x, y) has the colour: a point is a few pixels wide, and where its
    // centre falls is rounded.
    static bool nearbyPixelIs(const Picture& picture, int x, int y, int r, int g, int b) {
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                if (near(picture.at(x + dx, y + dy), r, g, b)) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(ImportedModelRendering, AnObjShowsItsTextureInBothPipelines) {
    const model_test::TexturedObj files = model_test::texturedObj();
    std::filesystem::create_directories(directory.path() + "/tex");
    directory.write("square.obj", files.obj);
    directory.write("square.mtl", files.mtl);
    directory.write("tex/redblue.png", files.png);
    for (const char* pipeline : kPipelines) {
        const Picture picture = render("square.obj", pipeline);
        const std::array<int, 4> left = picture.at(kCentreX - kHalfUnit, kCentreY);
        const std::array<int, 4> right = picture.at(kCentreX + kHalfUnit, kCentreY);
        EXPECT_GT(left[0], 60) << pipeline << ": " << describe(left);
        EXPECT_GT(left[0], 2 * left[2]) << pipeline << ": " << describe(left);
        EXPECT_GT(right[2], 60) << pipeline << ": " << describe(right);
        EXPECT_GT(right[2], 2 * right[0]) << pipeline << ": " << describe(right);
        h3dRelease();
        h3dInit();
    }
}

TEST_F(ImportedModelRendering, APointCloudShowsItsColoursUnlitInBothPipelines) {
    directory.write("points.ply", kFourPoints);
    for (const char* pipeline : kPipelines) {
        const Picture picture = render("points.ply", pipeline);
        const int left = kCentreX - kHalfUnit;
        const int right = kCentreX + kHalfUnit;
        const int top = kCentreY + kHalfUnit;
        const int bottom = kCentreY - kHalfUnit;
        EXPECT_TRUE(nearbyPixelIs(picture, left, top, 255, 0, 0)) << pipeline;
        EXPECT_TRUE(nearbyPixelIs(picture, right, top, 0, 255, 0)) << pipeline;
        EXPECT_TRUE(nearbyPixelIs(picture, left, bottom, 0, 0, 255)) << pipeline;
        EXPECT_TRUE(nearbyPixelIs(picture, right, bottom, 255, 255, 255)) << pipeline;
        h3dRelease();
        h3dInit();
    }
}
