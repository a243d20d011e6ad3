// open-model's application: where the model and its lights go, the summary line, the check of
// the file before any window opens, and its engine calls against the recording engine.
#include <gtest/gtest.h>
#include <algorithm>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "app/model_file.h"
#include "app/model_placement.h"
#include "app/model_scene.h"
#include "app/model_summary.h"
#include "app/viewer_app.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/recording_engine.h"

namespace {

const float kAspect = 1366.0f / 768.0f;

// The share of the view's height and width the box's face towards the camera takes, seen from
// the origin along -z with a vertical field of view of 70 degrees.
struct ViewShare {
    float height;
    float width;
};

ViewShare shareOfView(const Box3& box) {
    const float distance = -box.maximum.z;
    const float viewHeight = 2.0f * distance * std::tan(35.0f * 0.017453292f);
    return {(box.maximum.y - box.minimum.y) / viewHeight,
            (box.maximum.x - box.minimum.x) / (viewHeight * kAspect)};
}

class PlacementTest : public ::testing::TestWithParam<Box3> {};

TEST_P(PlacementTest, TheBoxStandsAheadCentredAndFillsTwoThirdsOfTheView) {
    const Box3 placed = placedBox(GetParam(), placeModelInView(GetParam(), 70.0f, kAspect));
    EXPECT_NEAR(placed.maximum.z, -kModelDistance, 1e-3f);
    EXPECT_NEAR(placed.minimum.x + placed.maximum.x, 0.0f, 1e-3f);
    EXPECT_NEAR(placed.minimum.y + placed.maximum.y, 0.0f, 1e-3f);
    const ViewShare share = shareOfView(placed);
    EXPECT_LE(share.height, 2.0f / 3.0f + 1e-4f);
    EXPECT_LE(share.width, 2.0f / 3.0f + 1e-4f);
    EXPECT_NEAR(std::max(share.height, share.width), 2.0f / 3.0f, 1e-4f);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PlacementTest,
    ::testing::Values(Box3{{-1, -1, -1}, {1, 1, 1}},            // a unit cube at the origin
                      Box3{{10, 0, 10}, {11, 40, 12}},          // tall, far from the origin
                      Box3{{-500, 2, -3}, {500, 3, 3}},         // wide and flat
                      Box3{{0, 0, -0.2f}, {0.01f, 0.003f, 9}},  // tiny and deep
                      Box3{{-2, 5, -2}, {2, 5, 2}}));           // a floor: no height at all

TEST(ModelPlacement, APointKeepsItsSizeAndStandsAhead) {
    const Box3 point{{3, 4, 5}, {3, 4, 5}};
    const ModelPlacement placement = placeModelInView(point, 70.0f, kAspect);
    EXPECT_EQ(placement.scale, 1.0f);
    const Box3 placed = placedBox(point, placement);
    EXPECT_NEAR(placed.minimum.x, 0.0f, 1e-5f);
    EXPECT_NEAR(placed.minimum.z, -kModelDistance, 1e-5f);
}

TEST(LightRig, OnlyTheKeyLightCastsShadowsAndEveryLightReachesTheWholeBox) {
    const Box3 box{{-2, -3, -14}, {2, 3, -10}};
    const std::array<RigLight, 3> rig = lightRigAround(box);
    EXPECT_STREQ(rig[0].name, "keyLight");
    EXPECT_TRUE(rig[0].castsShadows);
    EXPECT_FALSE(rig[1].castsShadows);
    EXPECT_FALSE(rig[2].castsShadows);
    // The key light stands above the box and on the camera's side of it, the rim light behind.
    EXPECT_GT(rig[0].position.y, box.maximum.y);
    EXPECT_GT(rig[0].position.z, box.maximum.z);
    EXPECT_LT(rig[2].position.z, box.minimum.z);
    for (const RigLight& light : rig) {
        for (float x : {box.minimum.x, box.maximum.x}) {
            for (float y : {box.minimum.y, box.maximum.y}) {
                for (float z : {box.minimum.z, box.maximum.z}) {
                    const float distance = std::hypot(light.position.x - x, light.position.y - y,
                                                      light.position.z - z);
                    // At most half the light lost to the fall-off anywhere on the box.
                    const float falloff =
                        1.0f - distance * distance / (light.radius * light.radius);
                    EXPECT_GE(falloff * falloff, 0.45f) << light.name;
                }
            }
        }
    }
}

TEST(LightRig, FollowsTheBoxSize) {
    const std::array<RigLight, 3> small = lightRigAround(Box3{{-1, -1, -1}, {1, 1, 1}});
    const std::array<RigLight, 3> large = lightRigAround(Box3{{-10, -10, -10}, {10, 10, 10}});
    for (std::size_t index = 0; index < small.size(); ++index) {
        EXPECT_NEAR(large[index].radius, small[index].radius * 10.0f, 1e-3f);
        EXPECT_NEAR(large[index].position.y, small[index].position.y * 10.0f, 1e-3f);
    }
}

TEST(ModelSummary, CountsWithSingularAndPluralNouns) {
    EXPECT_EQ(modelSummary("robot.glb", {3, 12040, 2, 4, 1}),
              "robot.glb: 3 meshes, 12040 triangles, 2 materials, 4 textures, 1 light");
    EXPECT_EQ(modelSummary("a.gltf", {1, 1, 1, 1, 1}),
              "a.gltf: 1 mesh, 1 triangle, 1 material, 1 texture, 1 light");
    EXPECT_EQ(modelSummary("b.glb", {2, 0, 0, 0, 0}),
              "b.glb: 2 meshes, 0 triangles, 0 materials, 0 textures, 0 lights");
}

TEST(ModelSummary, NamesPointsAndLinesAfterTrianglesOnlyWhenThereAreAny) {
    EXPECT_EQ(modelSummary("scan.ply", {1, 0, 1, 0, 0, 1250000, 0}),
              "scan.ply: 1 mesh, 0 triangles, 1250000 points, 1 material, 0 textures, 0 lights");
    EXPECT_EQ(modelSummary("wire.glb", {2, 4, 1, 0, 0, 1, 3}),
              "wire.glb: 2 meshes, 4 triangles, 1 point, 3 lines, 1 material, 0 textures, "
              "0 lights");
}

class ModelFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("model_file_test_" +
                      std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (directory_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::filesystem::path directory_;
};

TEST_F(ModelFileTest, RefusesWhatCannotBeGltfNamingTheFile) {
    const std::string missing = (directory_ / "missing.glb").string();
    EXPECT_EQ(modelFileFault(missing).value_or(""), "cannot open '" + missing + "': no such file");
    EXPECT_EQ(modelFileFault(directory_.string()).value_or(""),
              "cannot open '" + directory_.string() + "': it is a directory");
    const std::string empty = write("empty.glb", "");
    EXPECT_EQ(modelFileFault(empty).value_or(""),
              "'" + empty + "' is not a glTF file: it is empty");
    const std::string text = write("notes.txt", "Shopping list:\n{milk}\n");
    EXPECT_EQ(modelFileFault(text).value_or(""),
              "'" + text +
                  "' is not a model file open-model reads: glTF (.glb, .gltf), .obj, "
                  ".stl, .ply, .fbx, .dae, .3ds, .off, .3mf");
    const std::string garbled = write("broken.glb", "Shopping list");
    EXPECT_NE(modelFileFault(garbled).value_or("").find("'" + garbled + "' is not a glTF file"),
              std::string::npos);
    // A JSON array is not a glTF document either.
    EXPECT_TRUE(modelFileFault(write("list.gltf", "[1, 2]")).has_value());
}

TEST_F(ModelFileTest, AcceptsOtherFormatsByTheirExtensionInAnyLetterCase) {
    for (const char* name : {"part.stl", "scan.PLY", "chair.Obj", "rig.fbx", "scene.dae", "old.3ds",
                             "shape.off", "print.3mf"}) {
        EXPECT_FALSE(modelFileFault(write(name, "solid x\n")).has_value()) << name;
    }
}

TEST_F(ModelFileTest, AcceptsBinaryAndTextGltfByTheirFirstBytes) {
    EXPECT_FALSE(modelFileFault(write("a.glb", std::string("glTF\x02\0\0\0", 8))).has_value());
    EXPECT_FALSE(modelFileFault(write("b.gltf", "{\"asset\": {}}")).has_value());
    EXPECT_FALSE(modelFileFault(write("c.gltf", "\xEF\xBB\xBF \r\n\t{}")).has_value());
    // The name does not matter: the engine tells the kinds apart by their bytes as well.
    EXPECT_FALSE(modelFileFault(write("model.bin", "glTF")).has_value());
}

TEST(ModelFileLocation, NamesTheFileWithItsFolderFromTheFolderAbove) {
    const ModelFile nested = locateModelFile("/home/me/models/../models/robot.glb");
    EXPECT_EQ(nested.displayName, "robot.glb");
    EXPECT_EQ(nested.contentDirectory, "/home/me");
    EXPECT_EQ(nested.resourceName, "models/robot.glb");

    const ModelFile atRoot = locateModelFile("/robot.glb");
    EXPECT_EQ(atRoot.contentDirectory, "/");
    EXPECT_EQ(atRoot.resourceName, "robot.glb");

    const std::filesystem::path here = std::filesystem::current_path();
    const ModelFile relative = locateModelFile("scene.gltf");
    EXPECT_EQ(relative.contentDirectory, here.parent_path().string());
    EXPECT_EQ(relative.resourceName, (here.filename() / "scene.gltf").string());
}

class ModelAppTest : public ::testing::Test {
  protected:
    void SetUp() override { resetRecordingEngine(); }

    ModelFile robot{"robot.glb", "/home/me", "models/robot.glb"};
    double now = 0.0;
    std::function<double()> clock = [this] { return now; };
};

TEST_F(ModelAppTest, LoadsTheShippedContentThenTheFileFromItsFolder) {
    ModelScene scene(robot, clock);
    ViewerApp app("/opt/viewer/", &scene);
    ASSERT_TRUE(app.initialize());

    std::vector<std::string> declared;
    for (const RecordedCall& call : callsNamed("h3dAddResource")) {
        declared.push_back(call.text);
    }
    EXPECT_EQ(declared,
              (std::vector<std::string>{"simple.pipeline.xml", "master.pipeline.xml",
                                        "skybox.scene.xml", "model.shader", "font.material.xml",
                                        "postprocess.material.xml", "models/robot.glb"}));
    const std::vector<RecordedCall> loads = callsNamed("h3dutLoadResourcesFromDisk");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[0].text, "/opt/viewer//data");
    EXPECT_EQ(loads[1].text, "/home/me");
    // The geometry is declared only after the shipped content loaded.
    const std::vector<std::string> order = loggedNames([](const RecordedCall& call) {
        return call.name == "h3dutLoadResourcesFromDisk" || call.text == "models/robot.glb";
    });
    EXPECT_EQ(order, (std::vector<std::string>{"h3dutLoadResourcesFromDisk", "h3dAddResource",
                                               "h3dutLoadResourcesFromDisk"}));
    EXPECT_TRUE(scene.loadFault().empty());
}

TEST_F(ModelAppTest, SummarisesTheFileAsTheEngineLoadedIt) {
    recordingEngine().resourceParams = {{H3DGeometry::MeshCountI, 3},
                                        {H3DGeometry::TriangleCountI, 12040},
                                        {H3DGeometry::MaterialCountI, 2},
                                        {H3DGeometry::TextureCountI, 4},
                                        {H3DGeometry::LightCountI, 1}};
    ModelScene scene(robot, clock);
    ViewerApp app("", &scene);
    app.initialize();
    EXPECT_EQ(scene.summaryLine(),
              "robot.glb: 3 meshes, 12040 triangles, 2 materials, 4 textures, 1 light");
    const H3DRes geometry = 16;  // the seventh resource declared
    for (const RecordedCall& call : callsNamed("h3dGetResParamI")) {
        EXPECT_EQ(call.values[0], geometry);
    }
}

TEST_F(ModelAppTest, PlacesTheModelAheadAndLightsItAfterTheSky) {
    recordingEngine().nodeBox = {-1, 0, -1, 1, 2, 1};
    ModelScene scene(robot, clock);
    ViewerApp app("", &scene);
    app.initialize();

    const std::vector<std::string> added = loggedNames([](const RecordedCall& call) {
        return call.name == "h3dAddNodes" || call.name == "h3dAddModelNode" ||
               call.name == "h3dAddLightNode" || call.name == "h3dAddCameraNode";
    });
    EXPECT_EQ(added,
              (std::vector<std::string>{"h3dAddCameraNode", "h3dAddNodes", "h3dAddModelNode",
                                        "h3dAddLightNode", "h3dAddLightNode", "h3dAddLightNode"}));
    const RecordedCall model = callsNamed("h3dAddModelNode").at(0);
    EXPECT_EQ(model.text, "robot.glb");
    EXPECT_EQ(model.values, (std::vector<double>{H3DRootNode, 16}));
    EXPECT_EQ(callsNamed("h3dGetNodeAABB").at(0).values[0], scene.modelNode);

    // A box 2 high fills two thirds of the view's height 10 units ahead, and its top face
    // stands there, centred on the line of sight.
    const float scale = 2.0f / 3.0f * 10.0f * std::tan(35.0f * 0.017453292f);
    const RecordedCall placement = callsNamed("h3dSetNodeTransform").at(0);
    ASSERT_EQ(placement.values[0], scene.modelNode);
    EXPECT_NEAR(placement.values[1], 0.0, 1e-4);
    EXPECT_NEAR(placement.values[2], -scale, 1e-4);
    EXPECT_NEAR(placement.values[3], -10.0 - scale, 1e-4);
    EXPECT_NEAR(placement.values[7], scale, 1e-4);
    EXPECT_EQ(placement.values[7], placement.values[8]);
    EXPECT_EQ(placement.values[8], placement.values[9]);

    const std::vector<RecordedCall> lights = callsNamed("h3dAddLightNode");
    EXPECT_EQ(lights[0].text, "keyLight");
    EXPECT_EQ(lights[0].values.back(), 1.0) << "the key light casts shadows";
    // Each light is moved to its place right after it is made.
    EXPECT_EQ(callsNamed("h3dSetNodeTransform").size(), 4u);
}

TEST_F(ModelAppTest, AFileThatFailsKeepsTheEngineErrorNamingIt) {
    recordingEngine().resourcesLoad = false;
    recordingEngine().messages = {
        {2, "a warning about something else"},
        {1, "cannot load texture 'font.png' from '/opt/data/font.png': file not found"},
        {1,
         "cannot load geometry 'models/robot.glb' from '/home/me/models/robot.glb': the "
         "binary chunk is cut short"},
        {1, "cannot load geometry 'models/robot.glb' again"}};
    ModelScene scene(robot, clock);
    ViewerApp app("", &scene);
    ASSERT_TRUE(app.initialize());

    EXPECT_EQ(scene.loadFault(),
              "cannot load geometry 'models/robot.glb' from "
              "'/home/me/models/robot.glb': the binary chunk is cut short");
    EXPECT_TRUE(recordingEngine().messages.empty()) << "the queue is emptied";
    EXPECT_TRUE(scene.summaryLine().empty());
    EXPECT_TRUE(callsNamed("h3dAddModelNode").empty());
    EXPECT_TRUE(callsNamed("h3dAddLightNode").empty());
}

// The sky lights the file by default; a panorama given instead is read from its own folder before
// the file, lights it in place of the default lights, and surrounds it.
TEST_F(ModelAppTest, TheSkyOrAPanoramaLightsTheFile) {
    {
        ModelScene scene(robot, clock);
        ViewerApp app("", &scene);
        ASSERT_TRUE(app.initialize());
        EXPECT_EQ(callsNamed("h3dFindResource").at(0).text, "sky_cube.png");
        EXPECT_EQ(callsNamed("h3dSetEnvironment").size(), 1u);
        EXPECT_EQ(callsNamed("h3dAddLightNode").size(), 3u);
    }
    resetRecordingEngine();
    ModelScene scene(robot, clock);
    scene.setEnvironmentImage("/data/panoramas/studio.hdr");
    ViewerApp app("", &scene);
    ASSERT_TRUE(app.initialize());
    std::vector<std::string> declared;
    for (const RecordedCall& call : callsNamed("h3dAddResource")) {
        declared.push_back(call.text);
        if (call.text == "studio.hdr") {
            EXPECT_EQ(call.values,
                      (std::vector<double>{H3DResTypes::Texture, H3DResFlags::TexCubemap}));
        }
    }
    EXPECT_NE(std::find(declared.begin(), declared.end(), "environment-sky.scene.xml"),
              declared.end());
    EXPECT_EQ(std::find(declared.begin(), declared.end(), "skybox.scene.xml"), declared.end());
    const std::vector<RecordedCall> loads = callsNamed("h3dutLoadResourcesFromDisk");
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[1].text, "/data/panoramas");
    EXPECT_EQ(loads[2].text, "/home/me");
    const H3DRes panorama = 16;  // declared after the six shipped resources
    EXPECT_EQ(callsNamed("h3dSetEnvironment").at(0).values, (std::vector<double>{panorama}));
    EXPECT_TRUE(callsNamed("h3dAddLightNode").empty());
    EXPECT_EQ(callsNamed("h3dAddModelNode").size(), 1u);
}

TEST_F(ModelAppTest, APanoramaThatFailsIsTheFault) {
    const std::string fault =
        "cannot load texture 'studio.hdr' from '/data/studio.hdr': not a PNG, JPEG, WebP, "
        "Radiance HDR or OpenEXR file";
    recordingEngine().resourcesLoad = false;
    recordingEngine().messages = {{1, fault}};
    ModelScene scene(robot, clock);
    scene.setEnvironmentImage("/data/studio.hdr");
    ViewerApp app("", &scene);
    ASSERT_TRUE(app.initialize());
    EXPECT_EQ(scene.loadFault(), fault);
    EXPECT_TRUE(callsNamed("h3dAddModelNode").empty());
    for (const RecordedCall& call : callsNamed("h3dAddResource")) {
        EXPECT_NE(call.text, "models/robot.glb") << "the file is not read";
    }
}

TEST_F(ModelAppTest, AFailureWithoutAMessageStillNamesTheFile) {
    recordingEngine().resourcesLoad = false;
    ModelScene scene(robot, clock);
    ViewerApp app("", &scene);
    app.initialize();
    EXPECT_EQ(scene.loadFault(), "cannot load '/home/me/models/robot.glb'");
}

}  // namespace

namespace {

TEST(AnimationPlayer, LoopsAtRealTimePausesAndMovesToTheNextFromItsStart) {
    AnimationPlayer player({{"walk", 2.0f}, {"run", 0.5f}});
    EXPECT_EQ(player.current(), 0);
    player.advance(0.75);
    EXPECT_FLOAT_EQ(player.time(), 0.75f);
    player.advance(1.5);
    EXPECT_FLOAT_EQ(player.time(), 0.25f) << "looped past the end";
    player.togglePause();
    player.advance(1.0);
    EXPECT_FLOAT_EQ(player.time(), 0.25f);
    EXPECT_EQ(player.describe(), "walk 0.25/2.00 s (paused)");
    player.togglePause();
    player.playNext();
    EXPECT_EQ(player.current(), 1);
    EXPECT_FLOAT_EQ(player.time(), 0.0f);
    player.playNext();
    EXPECT_EQ(player.current(), 0) << "wraps round";

    AnimationPlayer none;
    none.advance(1.0);
    EXPECT_EQ(none.current(), -1);
    EXPECT_EQ(none.describe(), "");
}

}  // namespace

TEST_F(ModelAppTest, PlaysTheFirstAnimationFramedAtItsStartAndTakesSpaceAndN) {
    recordingEngine().resourceParams = {{H3DGeometry::AnimationCountI, 2}};
    recordingEngine().animations = {{"wave", 4.0f}, {"bow", 1.0f}};
    ModelScene scene(robot, clock);
    ViewerApp app("", &scene);
    app.initialize();
    // The pose at time 0 comes before the box is measured for the framing.
    const std::vector<std::string> order = loggedNames([](const RecordedCall& call) {
        return call.name == "h3dSetModelAnimation" || call.name == "h3dGetNodeAABB";
    });
    ASSERT_EQ(order, (std::vector<std::string>{"h3dSetModelAnimation", "h3dGetNodeAABB"}));
    EXPECT_EQ(callsNamed("h3dSetModelAnimation")[0].values,
              (std::vector<double>{static_cast<double>(scene.modelNode), 0, 0}));

    now = 1.5;
    app.renderFrame(60.0f);
    EXPECT_EQ(callsNamed("h3dSetModelAnimation").back().values,
              (std::vector<double>{static_cast<double>(scene.modelNode), 0, 1.5}));
    EXPECT_NE(app.statusLine.find("ANIM(Space, N): wave 1.50/4.00 s"), std::string::npos)
        << app.statusLine;

    app.keyDown[' '] = true;
    app.applyKeyStates();
    now = 2.5;
    app.renderFrame(60.0f);
    EXPECT_EQ(callsNamed("h3dSetModelAnimation").back().values[2], 1.5) << "paused";

    app.keyDownBefore[' '] = true;
    app.keyDown['N'] = true;
    app.applyKeyStates();
    now = 2.75;
    app.renderFrame(60.0f);
    EXPECT_EQ(callsNamed("h3dSetModelAnimation").back().values[1], 1);
    EXPECT_EQ(callsNamed("h3dSetModelAnimation").back().values[2], 0.0) << "still paused";
}

TEST_F(ModelAppTest, SummaryCountsAnimationsOnlyWhenTheFileHasAny) {
    ModelFigures figures;
    figures.meshes = 1;
    figures.triangles = 2;
    EXPECT_EQ(modelSummary("a.glb", figures),
              "a.glb: 1 mesh, 2 triangles, 0 materials, 0 textures, 0 lights");
    figures.lights = 1;
    figures.animations = 2;
    EXPECT_EQ(modelSummary("a.glb", figures),
              "a.glb: 1 mesh, 2 triangles, 0 materials, 0 textures, 1 light, 2 animations");
}
