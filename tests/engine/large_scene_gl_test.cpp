// Large scenes: small meshes that share a material are merged into few draws that must paint
// what separate draws paint, and loading grows no faster than the scene.
#include <chrono>
#include <cstdlib>
#include <string>

#include <epoxy/gl.h>

#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "gl_test_fixture.h"
#include "gltf_raw_file.h"
#include "render_test_content.h"
#include "test_support.h"

using namespace render_test;
using LargeScenes = EngineGlTest;

namespace {

const std::vector<std::string> kShippedLitRendering{"model.shader", "simple.pipeline.xml"};

// A grid of small boxes, turned, scaled and some mirrored, each with the material its index
// picks.
std::string boxGrid(int count, const std::string& (*materialOf)(int)) {
    std::string nodes =
        "<light name=\"lamp\" translation=\"-2 3 0\" color=\"3 3 3\" radius=\"30\"/>";
    for (int index = 0; index < count; ++index) {
        const float x = -3.0f + 0.75f * static_cast<float>(index % 9);
        const float y = -2.0f + 0.75f * static_cast<float>(index / 9);
        const std::string scale = index % 3 == 0 ? "-1 1 1" : "1 1.5 1";
        nodes += "<model name=\"b\" geometry=\"box.gltf\" material=\"" + materialOf(index) +
                 "\" translation=\"" + std::to_string(x) + " " + std::to_string(y) +
                 " -8\" rotation=\"" + std::to_string(index * 17) + " " +
                 std::to_string(index * 29) + " 0\" scale=\"" + scale + "\"/>";
    }
    return "<scene>" + nodes + "</scene>";
}

const std::string& sharedMaterial(int) {
    static const std::string name = "shared.material.xml";
    return name;
}

const std::string& ownMaterial(int index) {
    static std::vector<std::string> names;
    while (static_cast<int>(names.size()) <= index) {
        names.push_back("own" + std::to_string(names.size()) + ".material.xml");
    }
    return names[static_cast<std::size_t>(index)];
}

double secondsToLoadAndDraw(const ScratchDirectory& directory, const std::string& sceneFile,
                            H3DRes pipeline) {
    const auto start = std::chrono::steady_clock::now();
    loadScene(directory, sceneFile);
    renderFrame(addCamera(pipeline, 64, 64));
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string cubeScene(int count) {
    std::string nodes;
    for (int index = 0; index < count; ++index) {
        nodes +=
            "<model name=\"c\" geometry=\"box.gltf\" material=\"shared.material.xml\" "
            "translation=\"" +
            std::to_string(index % 100) + " " + std::to_string(index / 100 % 100) + " " +
            std::to_string(-10 - index / 10000) + "\"/>";
    }
    return "<scene>" + nodes + "</scene>";
}

// Two rows of eight squares, 0.5 wide, at z = -6: the upper row of a mesh whose vertices are
// green (COLOR_0), the lower of one without colours, each with an unlit white material of its
// own, so that each row merges into a batch of its own vertex layout.
std::string colouredAndPlainSquares() {
    using namespace gltf_test;
    RawFile file;
    const std::vector<float> positions{-0.25f, -0.25f, 0, 0.25f,  -0.25f, 0,
                                       0.25f,  0.25f,  0, -0.25f, 0.25f,  0};
    const std::vector<float> greens{0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1};
    const std::vector<std::uint16_t> indices{0, 1, 2, 0, 2, 3};
    const std::string position =
        std::to_string(file.addAccessor(file.addView(bytesOf(positions)), kFloat, 4, "VEC3",
                                        ",\"min\":[-0.25,-0.25,0],\"max\":[0.25,0.25,0]"));
    const std::string green =
        std::to_string(file.addAccessor(file.addView(bytesOf(greens)), kFloat, 4, "VEC4"));
    const std::string index =
        std::to_string(file.addAccessor(file.addView(bytesOf(indices)), 5123, 6, "SCALAR"));
    file.meshes = "[{\"primitives\":[{\"attributes\":{\"POSITION\":" + position +
                  ",\"COLOR_0\":" + green + "},\"indices\":" + index +
                  ",\"material\":0}]},{\"primitives\":[{\"attributes\":{\"POSITION\":" + position +
                  "},\"indices\":" + index + ",\"material\":1}]}]";
    std::string nodes;
    for (int square = 0; square < 16; ++square) {
        nodes += std::string(nodes.empty() ? "" : ",") + "{\"mesh\":" + std::to_string(square / 8) +
                 ",\"translation\":[" +
                 std::to_string(-2.1f + 0.6f * static_cast<float>(square % 8)) + "," +
                 (square < 8 ? "0.5" : "-0.5") + ",-6]}";
    }
    file.nodes = "[" + nodes + "]";
    const std::string unlitWhite = "{\"extensions\":{\"KHR_materials_unlit\":{}}}";
    file.members = ",\"materials\":[" + unlitWhite + "," + unlitWhite +
                   "],\"extensionsUsed\":[\"KHR_materials_unlit\"]";
    return file.glb();
}

}  // namespace

TEST_F(LargeScenes, MergedSmallMeshesPaintWhatSeparateDrawsPaint) {
    const int count = 45;
    ScratchDirectory directory;
    copyShippedFiles(directory, kShippedLitRendering);
    writeGltf(directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(0.25f, 0.2f, 0.15f)));
    writeLitMaterial(directory, sharedMaterial(0), glm::vec3(0.7f, 0.6f, 0.5f), glm::vec3(0.05f));
    for (int index = 0; index < count; ++index) {
        writeLitMaterial(directory, ownMaterial(index), glm::vec3(0.7f, 0.6f, 0.5f),
                         glm::vec3(0.05f));
    }
    directory.write("shared.scene.xml", boxGrid(count, sharedMaterial));
    directory.write("own.scene.xml", boxGrid(count, ownMaterial));
    const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);

    // With a material each, nothing can be merged: every box is a draw of its own.
    const H3DNode separate = loadScene(directory, "own.scene.xml");
    const H3DNode camera = addCamera(pipeline, kWidth, kHeight);
    renderFrame(camera);
    const Picture separatePicture(kWidth, kHeight);
    const float separateDraws = h3dGetStat(H3DStats::DrawCallCount);
    EXPECT_EQ(separateDraws, static_cast<float>(count));
    h3dRemoveNode(separate);

    loadScene(directory, "shared.scene.xml");
    renderFrame(camera);
    const Picture mergedPicture(kWidth, kHeight);
    EXPECT_LT(h3dGetStat(H3DStats::DrawCallCount), separateDraws / 4);
    EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 12.0f * count);

    // Transforming on the processor rounds differently from the shader, which may move an edge
    // by a pixel; anything more (a wrong normal, a turned-round face, a box missing) differs
    // over whole faces.
    int lit = 0;
    int differing = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            lit += separatePicture.brightness(x, y) > 30 ? 1 : 0;
            differing +=
                std::abs(separatePicture.brightness(x, y) - mergedPicture.brightness(x, y)) > 6;
        }
    }
    EXPECT_GT(lit, kWidth * kHeight / 10) << "the boxes must cover much of the picture";
    EXPECT_LT(differing, kWidth * kHeight / 500);
    EXPECT_EQ(joined(takeMessages()), "");
}

// Batches of meshes without colours, tangents or second coordinates hold smaller vertices; the
// draws of either kind must keep reading their own.
TEST_F(LargeScenes, BatchesOfColouredAndOfPlainVerticesDrawTheirOwnColours) {
    ScratchDirectory directory;
    copyShippedFiles(directory, kShippedLitRendering);
    directory.write("squares.glb", colouredAndPlainSquares());
    directory.write("squares.scene.xml",
                    "<scene><model name=\"m\" geometry=\"squares.glb\"/></scene>");
    const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    loadScene(directory, "squares.scene.xml");
    const H3DNode camera = addCamera(pipeline, kWidth, kHeight);
    for (int frame = 0; frame < 2; ++frame) {
        renderFrame(camera);
        EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 2.0f) << "a batch per row";
        // 60 degrees high: half the picture's height spans tan(30 degrees) * 6 units.
        const float pixelsPerUnit = kHeight / 2 / (0.57735f * 6.0f);
        for (int column = 0; column < 8; ++column) {
            const int x = kWidth / 2 + static_cast<int>((-2.1f + 0.6f * column) * pixelsPerUnit);
            const int rowOffset = static_cast<int>(0.5f * pixelsPerUnit);
            const std::array<int, 4> coloured = pixelAt(x, kHeight / 2 + rowOffset);
            const std::array<int, 4> plain = pixelAt(x, kHeight / 2 - rowOffset);
            EXPECT_TRUE(coloured[0] < 40 && coloured[1] > 200) << describe(coloured);
            EXPECT_TRUE(plain[0] > 200 && plain[1] > 200) << describe(plain);
        }
    }
    EXPECT_EQ(joined(takeMessages()), "");
}

// A complexity check rather than a speed target: ten times the nodes may take at most twenty
// times as long to load, add and draw once (about ten when loading is linear).
TEST_F(LargeScenes, LoadingTenTimesTheNodesTakesAtMostTwentyTimesAsLong) {
    ScratchDirectory directory;
    copyShippedFiles(directory, kShippedLitRendering);
    writeGltf(directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(0.2f)));
    writeLitMaterial(directory, "shared.material.xml", glm::vec3(0.5f));
    directory.write("small.scene.xml", cubeScene(10000));
    directory.write("large.scene.xml", cubeScene(100000));

    // The best of a few runs, so that a busy moment on the machine does not decide it.
    double small = 1e9;
    double large = 1e9;
    for (int run = 0; run < 3; ++run) {
        reopenWindowAndEngine(kWidth, kHeight);
        const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
        small = std::min(small, secondsToLoadAndDraw(directory, "small.scene.xml", pipeline));
        if (run < 2) {
            reopenWindowAndEngine(kWidth, kHeight);
            const H3DRes again = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
            large = std::min(large, secondsToLoadAndDraw(directory, "large.scene.xml", again));
        }
    }
    EXPECT_LE(large, 20.0 * small) << "10,000 nodes: " << small << " s; 100,000: " << large << " s";
    EXPECT_EQ(joined(takeMessages()), "");
}

TEST_F(LargeScenes, AMovedNodeLeavesItsBatchAndIsDrawnWhereItNowIs) {
    ScratchDirectory directory;
    writeFlatShader(directory);
    writeFlatPipeline(directory);
    writeGltf(directory, "box.gltf", gltf_test::boxMesh("box", glm::vec3(0.3f)));
    writeFlatMaterial(directory, "red.material.xml", glm::vec4(1, 0, 0, 1));
    std::string nodes;
    for (int index = 0; index < 10; ++index) {
        nodes += "<model name=\"" + std::string(index == 0 ? "moved" : "still") +
                 "\" geometry=\"box.gltf\" material=\"red.material.xml\" translation=\"" +
                 std::to_string(-2.7f + 0.6f * static_cast<float>(index)) + " 0 -6\"/>";
    }
    directory.write("row.scene.xml", "<scene>" + nodes + "</scene>");
    const H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "flat.pipeline.xml", 0);
    const H3DNode row = loadScene(directory, "row.scene.xml");
    const H3DNode camera = addCamera(pipeline, kWidth, kHeight);
    renderFrame(camera);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 1.0f) << "the row is one merged draw";

    const H3DNode moved = h3dGetNodeChild(row, 0);
    h3dSetNodeTransform(moved, 0, 2, -6, 0, 0, 0, 1, 1, 1);
    renderFrame(camera);
    const Picture picture(kWidth, kHeight);
    EXPECT_EQ(h3dGetStat(H3DStats::DrawCallCount), 10.0f);
    EXPECT_EQ(h3dGetStat(H3DStats::TriangleCount), 120.0f);
    // About 35 pixels a unit at the row's distance: the box is drawn above the row's middle,
    // and no longer at the row's left end.
    EXPECT_GT(picture.at(kWidth / 2, kHeight / 2 + 69)[0], 200);
    EXPECT_LT(picture.at(kWidth / 2 - 93, kHeight / 2)[0], 40);
    EXPECT_GT(picture.at(kWidth / 2 - 72, kHeight / 2)[0], 200) << "its neighbour stays";
    EXPECT_EQ(joined(takeMessages()), "");
}
