// Models of other formats, loaded as the engine loads any geometry resource: through the
// model-import helper beside the test program, then the engine's glTF reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>
#include <nlohmann/json.hpp>

#include "engine/resources/disk_loader.h"
#include "engine/resources/model_import.h"
#include "gltf_look_file.h"
#include "model_test_files.h"
#include "test_support.h"

using namespace engine;

namespace {

class ModelImport : public ::testing::Test {
  protected:
    ScratchDirectory directory;
    std::unique_ptr<ResourceTable> resources;
    MessageLog log;
    std::map<std::string, GeometryDesc> geometries;

    void write(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories(
            std::filesystem::path(directory.path() + "/" + name).parent_path());
        directory.write(name, bytes);
    }

    // Loads the geometry resource of that name alone; the messages about geometry it left (the
    // model shader its materials name is not in the scratch directory).
    std::vector<std::string> load(const std::string& name) {
        resources = std::make_unique<ResourceTable>();
        resources->add(ResourceType::Geometry, name, 0);
        UploadStep keep = [this](const Resource& resource, ParsedContent& content) {
            if (auto* geometry = std::get_if<GeometryDesc>(&content)) {
                geometries[resource.name] = *geometry;
            }
            return Parsed<std::unique_ptr<ResourcePayload>>::success(
                std::make_unique<ResourcePayload>());
        };
        loadResourcesFromDisk(*resources, directory.path(), keep, log);
        std::vector<std::string> messages;
        while (std::optional<Message> message = log.pop()) {
            if (contains(message->text, "geometry '")) {
                messages.push_back(message->text);
            }
        }
        return messages;
    }

    const GeometryDesc& loaded(const std::string& name) {
        const std::vector<std::string> messages = load(name);
        EXPECT_EQ(geometries.count(name), 1u) << joined(messages);
        return geometries[name];
    }

    const GeometryNode* node(const GeometryDesc& geometry, const std::string& name) {
        for (const GeometryNode& each : geometry.nodes) {
            if (each.name == name) {
                return &each;
            }
        }
        ADD_FAILURE() << "no node " << name;
        return nullptr;
    }
};

}  // namespace

TEST_F(ModelImport, ObjReadsItsMtlAndFindsATextureWrittenOnAnotherMachineByName) {
    const model_test::TexturedObj files = model_test::texturedObj();
    write("shop/square.obj", files.obj);
    write("shop/square.mtl", files.mtl);
    write("shop/tex/redblue.png", files.png);
    const std::vector<std::string> messages = load("shop/square.obj");
    const GeometryDesc& geometry = geometries["shop/square.obj"];
    EXPECT_EQ(geometry.triangleCount(), 2u);
    ASSERT_FALSE(geometry.materials.empty());
    const MaterialDesc& material = geometry.materials[0].desc;
    ASSERT_EQ(material.textures.size(), 1u);
    EXPECT_EQ(material.textures[0].file, "shop/tex/redblue.png");
    EXPECT_NE(resources->find(ResourceType::Texture, "shop/tex/redblue.png"), 0);
    ASSERT_EQ(messages.size(), 1u) << joined(messages);
    EXPECT_TRUE(contains(messages[0], "found by its file name")) << messages[0];
    // Texture rows run downwards, as in glTF: the square's bottom left corner reads v = 1.
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_NEAR(vertex.texCoord.y, vertex.position.y < 0 ? 1.0f : 0.0f, 1e-6f);
    }
}

TEST_F(ModelImport, AsciiStlIsOneMeshWithItsFacetNormals) {
    write("part.stl", model_test::asciiStl());
    const GeometryDesc& geometry = loaded("part.stl");
    EXPECT_EQ(geometry.meshes.size(), 1u);
    EXPECT_EQ(geometry.triangleCount(), 4u);
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_NEAR(glm::length(vertex.normal), 1.0f, 1e-3f);
    }
}

TEST_F(ModelImport, BinaryStlSharesTheCornersItsFacetsRepeat) {
    write("row.stl", model_test::binaryStl(100));
    const GeometryDesc& geometry = loaded("row.stl");
    EXPECT_EQ(geometry.triangleCount(), 100u);
    EXPECT_LT(geometry.vertices.size(), 300u);
}

TEST_F(ModelImport, PlyPointCloudKeepsItsPointsAndColours) {
    write("scan.ply", model_test::coloredPointCloudPly());
    const GeometryDesc& geometry = loaded("scan.ply");
    EXPECT_EQ(geometry.pointCount(), 4u);
    EXPECT_EQ(geometry.triangleCount(), 0u);
    ASSERT_EQ(geometry.vertices.size(), 4u);
    EXPECT_EQ(geometry.vertices[0].color, glm::vec4(1, 0, 0, 1));
    EXPECT_EQ(geometry.vertices[2].color, glm::vec4(0, 0, 1, 1));
}

TEST_F(ModelImport, PlyMeshFacesBecomeTriangles) {
    write("square.ply", model_test::plyMesh());
    EXPECT_EQ(loaded("square.ply").triangleCount(), 2u);
}

TEST_F(ModelImport, ColladaKeepsItsNodeTreeAndSharesTheMeshBetweenNodes) {
    write("arm.dae", model_test::colladaHierarchy());
    const GeometryDesc& geometry = loaded("arm.dae");
    const GeometryNode* arm = node(geometry, "arm");
    const GeometryNode* hand = node(geometry, "hand");
    const GeometryNode* other = node(geometry, "other");
    ASSERT_TRUE(arm != nullptr && hand != nullptr && other != nullptr);
    EXPECT_EQ(&geometry.nodes[static_cast<std::size_t>(hand->parent)], arm);
    EXPECT_EQ(glm::vec3(arm->local[3]), glm::vec3(0, 2, 0));
    EXPECT_EQ(glm::vec3(hand->local[3]), glm::vec3(3, 0, 0));
    EXPECT_GE(hand->mesh, 0);
    EXPECT_EQ(hand->mesh, other->mesh);
    EXPECT_EQ(geometry.meshes.size(), 1u);
}

TEST_F(ModelImport, MadeNormalsAreSmoothWithinTheCreaseAngleAndSharpBeyondIt) {
    // Two triangles sharing the edge along x: folded by 20 degrees, then by 90.
    const std::string corners = "v 0 0 0\nv 1 0 0\nv 0 0 1\nf 1 2 3\nf 2 1 4\n";
    write("gentle.obj", corners + "v 0 0.364 -1\n");
    write("sharp.obj", corners + "v 0 -1 0\n");
    const auto normalsAtOrigin = [this](const std::string& name) {
        std::vector<glm::vec3> normals;
        for (const GeometryVertex& vertex : loaded(name).vertices) {
            if (vertex.position == glm::vec3(0.0f)) {
                normals.push_back(vertex.normal);
            }
        }
        return normals;
    };
    const std::vector<glm::vec3> gentle = normalsAtOrigin("gentle.obj");
    ASSERT_EQ(gentle.size(), 1u) << "both faces share one smooth corner";
    EXPECT_NEAR(gentle[0].y, -std::cos(glm::radians(10.0f)), 1e-3f);
    const std::vector<glm::vec3> sharp = normalsAtOrigin("sharp.obj");
    ASSERT_EQ(sharp.size(), 2u) << "each face keeps its own corner";
    EXPECT_NEAR(glm::dot(sharp[0], sharp[1]), 0.0f, 1e-3f);
}

TEST_F(ModelImport, SkinsAndNodeAnimationsAreHandedOnAsGltf) {
    write("wave.dae", model_test::colladaSkinnedAndAnimated());
    Parsed<ImportedModel> imported = importModelFile(directory.path() + "/wave.dae");
    ASSERT_TRUE(imported.ok()) << imported.error();
    const std::string& glb = imported.value().glb;
    ASSERT_GT(glb.size(), 20u);
    std::uint32_t jsonLength = 0;
    std::memcpy(&jsonLength, glb.data() + 12, sizeof jsonLength);
    const nlohmann::json document = nlohmann::json::parse(glb.substr(20, jsonLength));
    const auto node = [&document](const nlohmann::json& index) {
        return document["nodes"][index.get<std::size_t>()];
    };

    ASSERT_EQ(document["animations"].size(), 1u) << document.dump();
    const nlohmann::json& channel = document["animations"][0]["channels"][0];
    const nlohmann::json moved = node(channel["target"]["node"]);
    EXPECT_EQ(moved["name"], "arm");
    EXPECT_EQ(channel["target"]["path"], "translation");
    // glTF animates only nodes written as translation, rotation and scale.
    EXPECT_TRUE(moved.contains("translation") && !moved.contains("matrix")) << moved.dump();

    ASSERT_EQ(document["skins"].size(), 1u) << document.dump();
    EXPECT_EQ(node(document["skins"][0]["joints"][0])["name"], "bone");
    nlohmann::json body;
    for (const nlohmann::json& each : document["nodes"]) {
        body = each.value("name", "") == "body" ? each : body;
    }
    EXPECT_EQ(body.value("skin", -1), 0) << body.dump();
    const nlohmann::json& attributes =
        document["meshes"][body["mesh"].get<std::size_t>()]["primitives"][0]["attributes"];
    EXPECT_TRUE(attributes.contains("JOINTS_0") && attributes.contains("WEIGHTS_0"));
    // And the file loads as geometry.
    EXPECT_EQ(loaded("wave.dae").triangleCount(), 1u);
}

TEST_F(ModelImport, AnUnsupportedFormatIsRefusedWithTheSupportedList) {
    write("notes.txt", "Shopping list");
    const std::vector<std::string> messages = load("notes.txt");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(contains(messages[0],
                         "'.txt' is none of the model formats read (.glb, .gltf, "
                         ".obj, .stl, .ply, .fbx, .dae, .3ds, .off, .3mf)"))
        << messages[0];
}

TEST_F(ModelImport, TruncatedAndGarbledFilesEndInOneMessageNamingThem) {
    const std::map<std::string, std::string> samples = {
        {"a.stl", model_test::binaryStl(50)},          {"b.stl", model_test::asciiStl()},
        {"c.ply", model_test::coloredPointCloudPly()}, {"d.ply", model_test::plyMesh()},
        {"e.dae", model_test::colladaHierarchy()},     {"f.obj", model_test::texturedObj().obj}};
    for (const auto& [name, bytes] : samples) {
        write("cut-" + name, bytes.substr(0, bytes.size() / 2 + 3));
        std::string garbled = bytes;
        for (std::size_t at = 7; at < garbled.size(); at += 11) {
            garbled[at] = static_cast<char>(garbled[at] ^ 0x5A);
        }
        write("garbled-" + name, garbled);
        write("short-" + name, bytes.substr(0, bytes.size() - 5));
        for (const std::string& variant : {"cut-" + name, "garbled-" + name, "short-" + name}) {
            const std::vector<std::string> messages = load(variant);
            if (geometries.count(variant) == 0) {
                ASSERT_EQ(messages.size(), 1u) << variant << ": " << joined(messages);
                EXPECT_TRUE(contains(messages[0], "'" + variant + "'")) << messages[0];
            }
        }
    }
}

TEST_F(ModelImport, AFileTheImportLibraryCannotReadGivesItsComplaint) {
    write("broken.fbx", std::string("Kaydara FBX Binary  \0\x1a\0", 23) + "garbage");
    const std::vector<std::string> messages = load("broken.fbx");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(contains(messages[0], "cannot load geometry 'broken.fbx'")) << messages[0];
    EXPECT_EQ(geometries.count("broken.fbx"), 0u);
}

TEST_F(ModelImport, AHelperThatCrashesOrHangsEndsInAMessage) {
    write("crash.sh", "#!/bin/sh\nkill -SEGV $$\n");
    write("hang.sh", "#!/bin/sh\nexec sleep 30\n");
    for (const char* script : {"crash.sh", "hang.sh"}) {
        std::filesystem::permissions(directory.path() + "/" + script,
                                     std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
    }
    Parsed<ImportedModel> crashed =
        importModelFile("model.stl", ImportHelper{directory.path() + "/crash.sh", 10});
    ASSERT_FALSE(crashed.ok());
    EXPECT_TRUE(contains(crashed.error(), "crashed on it (signal SIGSEGV)")) << crashed.error();
    Parsed<ImportedModel> hung =
        importModelFile("model.stl", ImportHelper{directory.path() + "/hang.sh", 1});
    ASSERT_FALSE(hung.ok());
    EXPECT_TRUE(contains(hung.error(), "took longer than 1 seconds")) << hung.error();
}

TEST_F(ModelImport, GltfImagesWrittenElsewhereAreFoundByNameInTheFolderTree) {
    gltf_test::LookFile file;
    file.moreImages = R"({"uri":"C:\\Textures\\Wood.PNG"},{"uri":"../../etc/secret.png"})";
    file.textures = R"([{"source":0},{"source":1}])";
    file.materials = R"([{"pbrMetallicRoughness":{"baseColorTexture":{"index":0}},
                          "emissiveTexture":{"index":1}}])";
    write("models/scene.glb", file.glb());
    write("models/tex/wood.png", model_test::texturedObj().png);
    const std::vector<std::string> messages = load("models/scene.glb");
    const GeometryDesc& geometry = geometries["models/scene.glb"];
    ASSERT_FALSE(geometry.materials.empty()) << joined(messages);
    std::vector<std::string> files;
    for (const MaterialTexture& texture : geometry.materials[0].desc.textures) {
        files.push_back(texture.file);
    }
    EXPECT_EQ(files, std::vector<std::string>{"models/tex/wood.png"}) << joined(messages);
    EXPECT_EQ(resources->find(ResourceType::Texture, "../etc/secret.png"), 0);
    const std::string all = joined(messages);
    EXPECT_TRUE(contains(all, "found by its file name in the model's folder")) << all;
    EXPECT_TRUE(contains(all, "leads outside the model's folder and is not read")) << all;
}

TEST_F(ModelImport, SideFilesOutsideTheModelsFolderAreNotRead) {
    write("secret.bin", std::string(36, '\0'));
    write("models/leak.gltf",
          R"({"asset":{"version":"2.0"},"buffers":[{"uri":"../secret.bin","byteLength":36}],
                       "bufferViews":[{"buffer":0,"byteLength":36}],
                       "accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3"}],
                       "meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}]})");
    const std::vector<std::string> messages = load("models/leak.gltf");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(contains(messages[0], "leads outside the model's folder")) << messages[0];
}
