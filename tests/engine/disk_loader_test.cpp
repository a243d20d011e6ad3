#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/resources/disk_loader.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/loaded_scene.h"
#include "gltf_test_files.h"
#include "test_support.h"

using namespace engine;

namespace {

// Stands in for the OpenGL upload: scenes and materials get their real payloads, the rest an
// empty one, and every upload is recorded.
class RecordingUpload {
  public:
    UploadStep step() {
        return [this](const Resource& resource, ParsedContent& content) {
            uploaded.push_back(resource.name);
            if (resource.name == failingName) {
                return Parsed<std::unique_ptr<ResourcePayload>>::failure("upload refused");
            }
            return Parsed<std::unique_ptr<ResourcePayload>>::success(payloadFor(content));
        };
    }

    std::vector<std::string> uploaded;
    std::string failingName;

  private:
    static std::unique_ptr<ResourcePayload> payloadFor(ParsedContent& content) {
        if (auto* scene = std::get_if<SceneDesc>(&content)) {
            auto payload = std::make_unique<LoadedScene>();
            payload->desc = std::move(*scene);
            return payload;
        }
        if (auto* material = std::get_if<MaterialDesc>(&content)) {
            auto payload = std::make_unique<LoadedMaterial>();
            payload->desc = std::move(*material);
            return payload;
        }
        return std::make_unique<ResourcePayload>();
    }
};

const char* kShader = "@context final\n@vertex\nvoid main() {}\n@fragment\nvoid main() {}\n";

std::vector<std::string> texts(MessageLog& log) {
    std::vector<std::string> messages;
    while (std::optional<Message> message = log.pop()) {
        messages.push_back(message->text);
    }
    return messages;
}

class DiskLoader : public ::testing::Test {
  protected:
    ScratchDirectory directory;
    ResourceTable resources;
    RecordingUpload upload;
    MessageLog log;

    bool load() { return loadResourcesFromDisk(resources, directory.path(), upload.step(), log); }
};

}  // namespace

TEST_F(DiskLoader, LoadsEveryDeclaredResourceAndWhatItRefersTo) {
    directory.write("world.scene.xml",
                    "<scene><reference scene=\"room.scene.xml\"/>"
                    "<camera pipeline=\"p.pipeline.xml\"/></scene>");
    directory.write("room.scene.xml", "<scene><light/></scene>");
    directory.write("p.pipeline.xml",
                    "<pipeline><target name=\"t\"/><stage><drawQuad material=\"m.material.xml\" "
                    "context=\"final\"/></stage></pipeline>");
    directory.write("m.material.xml", "<material shader=\"s.shader\"/>");
    directory.write("s.shader", kShader);
    int world = resources.add(ResourceType::SceneGraph, "world.scene.xml", 0);

    EXPECT_TRUE(load()) << joined(texts(log));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(resources.get(world)->loaded());
    for (auto [type, name] : {std::pair{ResourceType::SceneGraph, "room.scene.xml"},
                              std::pair{ResourceType::Pipeline, "p.pipeline.xml"},
                              std::pair{ResourceType::Material, "m.material.xml"},
                              std::pair{ResourceType::Shader, "s.shader"}}) {
        const Resource* resource = resources.get(resources.find(type, name));
        ASSERT_NE(resource, nullptr) << name << " was not declared";
        EXPECT_TRUE(resource->loaded()) << name;
    }
    EXPECT_EQ(upload.uploaded.size(), 5u);
}

TEST_F(DiskLoader, AMissingFileIsReportedAndTheOthersStillLoad) {
    directory.write("good.material.xml", "<material shader=\"s.shader\"/>");
    directory.write("s.shader", kShader);
    int missing = resources.add(ResourceType::SceneGraph, "missing.scene.xml", 0);
    int good = resources.add(ResourceType::Material, "good.material.xml", 0);

    EXPECT_FALSE(load());
    EXPECT_FALSE(resources.get(missing)->loaded());
    EXPECT_TRUE(resources.get(good)->loaded());
    std::vector<std::string> messages = texts(log);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("scene 'missing.scene.xml'"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find(directory.path() + "/missing.scene.xml"), std::string::npos);
    EXPECT_NE(messages[0].find("file not found"), std::string::npos);
}

TEST_F(DiskLoader, AMalformedFileIsReportedWithItsFault) {
    directory.write("bad.pipeline.xml", "<pipeline>\n<stage>\n<explode/>\n</stage>\n</pipeline>");
    int bad = resources.add(ResourceType::Pipeline, "bad.pipeline.xml", 0);

    EXPECT_FALSE(load());
    EXPECT_FALSE(resources.get(bad)->loaded());
    std::vector<std::string> messages = texts(log);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("bad.pipeline.xml"), std::string::npos);
    EXPECT_NE(messages[0].find("line 3: unknown element <explode>"), std::string::npos)
        << messages[0];
}

TEST_F(DiskLoader, AFailedUploadLeavesTheResourceUnloaded) {
    directory.write("s.shader", kShader);
    int shader = resources.add(ResourceType::Shader, "s.shader", 0);
    upload.failingName = "s.shader";

    EXPECT_FALSE(load());
    EXPECT_FALSE(resources.get(shader)->loaded());
    EXPECT_TRUE(anyContains(texts(log), "upload refused"));
}

TEST_F(DiskLoader, BrokenGeometryNamesItsFile) {
    directory.write("statue.gltf", "{\"asset\": [");
    directory.write("s.scene.xml", "<scene><model geometry=\"statue.gltf\"/></scene>");
    resources.add(ResourceType::SceneGraph, "s.scene.xml", 0);

    EXPECT_FALSE(load());
    int geometry = resources.find(ResourceType::Geometry, "statue.gltf");
    ASSERT_NE(geometry, 0);
    EXPECT_FALSE(resources.get(geometry)->loaded());
    std::vector<std::string> messages = texts(log);
    EXPECT_TRUE(anyContains(messages, "cannot load geometry 'statue.gltf'")) << joined(messages);
}

TEST_F(DiskLoader, GeometryReadsItsSideFilesBesideItself) {
    gltf_test::Document document{{gltf_test::quadMesh("tile", 1.0f)}, {}, {}};
    std::string binBytes;
    std::filesystem::create_directory(directory.path() + "/models");
    directory.write("models/tile.gltf",
                    gltf_test::gltfWithSideBuffer(document, "tile.bin", binBytes));
    directory.write("models/tile.bin", binBytes);
    // The file names no material, so its primitives take the default one, drawn with model.shader.
    directory.write("model.shader", kShader);
    int geometry = resources.add(ResourceType::Geometry, "models/tile.gltf", 0);

    EXPECT_TRUE(load()) << joined(texts(log));
    EXPECT_TRUE(resources.get(geometry)->loaded());
}

TEST_F(DiskLoader, LoadedResourcesAreNotLoadedAgainButFailedOnesAreRetried) {
    directory.write("s.shader", kShader);
    resources.add(ResourceType::Shader, "s.shader", 0);
    int late = resources.add(ResourceType::Shader, "late.shader", 0);
    EXPECT_FALSE(load());
    texts(log);

    directory.write("late.shader", kShader);
    EXPECT_TRUE(load());
    EXPECT_TRUE(resources.get(late)->loaded());
    EXPECT_EQ(upload.uploaded, (std::vector<std::string>{"s.shader", "late.shader"}));
}

TEST_F(DiskLoader, TexturesAreDeclaredWithTheirKindAndMipmapFlags) {
    directory.write("m.material.xml",
                    "<material shader=\"s.shader\"><texture sampler=\"sky\" file=\"sky.png\" "
                    "kind=\"cube\" mipmaps=\"false\"/><texture sampler=\"wall\" "
                    "file=\"wall.png\"/></material>");
    directory.write("s.shader", kShader);
    resources.add(ResourceType::Material, "m.material.xml", 0);
    load();
    const Resource* texture = resources.get(resources.find(ResourceType::Texture, "sky.png"));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->flags, kCubeTextureFlag | kNoMipmapsTextureFlag);
    const Resource* wall = resources.get(resources.find(ResourceType::Texture, "wall.png"));
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->flags, 0);
    EXPECT_TRUE(anyContains(texts(log), "sky.png"));
}

TEST_F(DiskLoader, AnEmptyDirectoryNameReadsRelativeNames) {
    std::string name = directory.path() + "/s.shader";
    directory.write("s.shader", kShader);
    int shader = resources.add(ResourceType::Shader, name, 0);
    EXPECT_TRUE(loadResourcesFromDisk(resources, "", upload.step(), log));
    EXPECT_TRUE(resources.get(shader)->loaded());
}

// Files are parsed on loading threads, many at once, but uploads and messages keep the order
// in which the resources were declared.
TEST_F(DiskLoader, ManyResourcesUploadAndReportInTheirDeclaredOrder) {
    std::vector<std::string> expectedUploads;
    std::vector<std::string> expectedMessages;
    for (int index = 0; index < 80; ++index) {
        const std::string name = "m" + std::to_string(index) + ".material.xml";
        resources.add(ResourceType::Material, name, 0);
        if (index % 3 == 0) {
            expectedMessages.push_back("cannot load material '" + name + "' from '" +
                                       directory.path() + "/" + name + "': file not found");
            continue;
        }
        directory.write(name, "<material shader=\"s" + std::to_string(index % 2) + ".shader\"/>");
        expectedUploads.push_back(name);
    }
    directory.write("s0.shader", kShader);
    directory.write("s1.shader", kShader);
    expectedUploads.push_back("s1.shader");
    expectedUploads.push_back("s0.shader");

    EXPECT_FALSE(load());
    EXPECT_EQ(upload.uploaded, expectedUploads);
    EXPECT_EQ(texts(log), expectedMessages);
}

TEST_F(DiskLoader, AnImageHeaderAskingForTooManyPixelsIsRefusedWithItsFileNamed) {
    // A PNG signature and an IHDR chunk declaring 16384x16384, with nothing after it.
    directory.write("huge.png",
                    std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x40\0\0\0\x40\0", 24));
    int huge = resources.add(ResourceType::Texture, "huge.png", 0);

    EXPECT_FALSE(load());
    EXPECT_FALSE(resources.get(huge)->loaded());
    std::vector<std::string> messages = texts(log);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("texture 'huge.png' from '" + directory.path() +
                               "/huge.png': 16384x16384 is more than"),
              std::string::npos)
        << messages[0];
}
