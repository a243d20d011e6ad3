#include <cstdint>
#include <vector>

#include <epoxy/gl.h>
#include <stb_image_write.h>

#include "engine/core/engine_instance.h"
#include "engine/formats/gltf_geometry.h"
#include "engine/h3d.h"
#include "engine/h3dut.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/loaded_shader.h"
#include "engine/resources/loaded_texture.h"
#include "gl_test_fixture.h"
#include "gltf_test_files.h"
#include "test_support.h"

using ContentLoading = EngineGlTest;

namespace {

template <typename Payload>
Payload* payloadOf(H3DRes handle) {
    engine::Resource* resource = engine::runningEngine()->resources.get(handle);
    return resource != nullptr ? resource->payloadAs<Payload>() : nullptr;
}

std::string solidPng(int width, int height) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4, 200);
    std::string bytes;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       static_cast<std::size_t>(size));
        },
        &bytes, width, height, 4, pixels.data(), width * 4);
    return bytes;
}

const char* kWorkingShader =
    "@context final\n"
    "@vertex\n"
    "attribute vec3 vertexPosition;\n"
    "void main() { gl_Position = vec4(vertexPosition, 1.0); }\n"
    "@fragment\n"
    "uniform sampler2D albedo;\n"
    "void main() { gl_FragColor = texture2D(albedo, vec2(0.5)); }\n";

}  // namespace

TEST_F(ContentLoading, TheViewersContentLoadsWithoutAMessage) {
    loadViewerContent();
    EXPECT_EQ(joined(takeMessages()), "");
    for (H3DRes handle = 1; handle <= 8; ++handle) {
        EXPECT_TRUE(h3dIsResLoaded(handle)) << handle;
    }
    for (const char* name : {"postprocess.shader", "overlay.shader"}) {
        H3DRes shader = h3dFindResource(H3DResTypes::Shader, name);
        ASSERT_NE(shader, 0) << name;
        EXPECT_TRUE(h3dIsResLoaded(shader)) << name;
    }
    auto* shader =
        payloadOf<engine::LoadedShader>(h3dFindResource(H3DResTypes::Shader, "postprocess.shader"));
    ASSERT_NE(shader, nullptr);
    EXPECT_EQ(glIsProgram(shader->program("final")), GL_TRUE);
    EXPECT_EQ(shader->program("lighting"), 0u);
}

TEST_F(ContentLoading, MissingFilesAreReportedAndStartUpGoesOn) {
    H3DRes pipeline = h3dAddResource(H3DResTypes::Pipeline, "master.pipeline.xml", 0);
    H3DRes scene = h3dAddResource(H3DResTypes::SceneGraph, "neuro2.scene.xml", 0);
    EXPECT_FALSE(h3dutLoadResourcesFromDisk("/data"));
    std::vector<std::string> messages = takeMessages();
    EXPECT_TRUE(anyContains(messages, "'/data/master.pipeline.xml': file not found"))
        << joined(messages);
    EXPECT_TRUE(anyContains(messages, "'/data/neuro2.scene.xml': file not found"));
    EXPECT_FALSE(h3dIsResLoaded(pipeline));

    EXPECT_NE(h3dAddCameraNode(H3DRootNode, "Camera", pipeline), 0);
    EXPECT_EQ(h3dAddNodes(H3DRootNode, scene), 0);
    EXPECT_TRUE(anyContains(takeMessages(), "not a loaded scene"));
}

TEST_F(ContentLoading, AShaderThatDoesNotCompileNamesFileContextAndFault) {
    ScratchDirectory directory;
    directory.write("m.material.xml", "<material shader=\"broken.shader\"/>");
    directory.write("broken.shader",
                    "@context final\n@vertex\nvoid main() { gl_Position = vec4(0.0); }\n"
                    "@fragment\nvoid main() { gl_FragColor = undefinedThing; }\n");
    H3DRes material = h3dAddResource(H3DResTypes::Material, "m.material.xml", 0);
    EXPECT_FALSE(h3dutLoadResourcesFromDisk(directory.path().c_str()));

    EXPECT_TRUE(h3dIsResLoaded(material));
    H3DRes shader = h3dFindResource(H3DResTypes::Shader, "broken.shader");
    EXPECT_FALSE(h3dIsResLoaded(shader));
    std::vector<std::string> messages = takeMessages();
    ASSERT_EQ(messages.size(), 1u) << joined(messages);
    EXPECT_NE(messages[0].find("shader 'broken.shader'"), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("context 'final' (line 1), fragment program"), std::string::npos)
        << messages[0];
    EXPECT_NE(messages[0].find("undefinedThing"), std::string::npos) << messages[0];
}

TEST_F(ContentLoading, TexturesBecomeOpenGlTextures) {
    ScratchDirectory directory;
    directory.write("s.shader", kWorkingShader);
    directory.write("flat.png", solidPng(8, 4));
    directory.write("sky.png", solidPng(4, 24));
    directory.write("m.material.xml",
                    "<material shader=\"s.shader\">"
                    "<texture sampler=\"albedo\" file=\"flat.png\"/>"
                    "<texture sampler=\"sky\" file=\"sky.png\" kind=\"cube\"/></material>");
    h3dAddResource(H3DResTypes::Material, "m.material.xml", 0);
    EXPECT_TRUE(h3dutLoadResourcesFromDisk(directory.path().c_str())) << joined(takeMessages());

    auto* flat =
        payloadOf<engine::LoadedTexture>(h3dFindResource(H3DResTypes::Texture, "flat.png"));
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(glIsTexture(flat->texture.get()), GL_TRUE);
    EXPECT_EQ(flat->target, static_cast<GLenum>(GL_TEXTURE_2D));
    EXPECT_EQ(flat->width, 8);
    EXPECT_EQ(flat->height, 4);
    auto* sky = payloadOf<engine::LoadedTexture>(h3dFindResource(H3DResTypes::Texture, "sky.png"));
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->target, static_cast<GLenum>(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(sky->width, 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ContentLoading, WithTextureLoadingOffTexturesAreOneWhiteTexel) {
    ScratchDirectory directory;
    directory.write("flat.png", solidPng(8, 4));
    ASSERT_TRUE(h3dSetOption(H3DOptions::LoadTextures, 0.0f));
    H3DRes texture = h3dAddResource(H3DResTypes::Texture, "flat.png", 0);
    EXPECT_TRUE(h3dutLoadResourcesFromDisk(directory.path().c_str()));
    auto* loaded = payloadOf<engine::LoadedTexture>(texture);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->width, 1);
}

TEST_F(ContentLoading, MaterialUniformsChangeAtRunTime) {
    loadViewerContent();
    EXPECT_TRUE(h3dSetMaterialUniform(postMaterial, "blurDir", 0.125f, 0, 0, 0));
    auto* material = payloadOf<engine::LoadedMaterial>(postMaterial);
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->findUniform("blurDir")->value, glm::vec4(0.125f, 0, 0, 0));
    EXPECT_TRUE(takeMessages().empty());

    EXPECT_FALSE(h3dSetMaterialUniform(postMaterial, "noSuchUniform", 1, 1, 1, 1));
    EXPECT_TRUE(anyContains(takeMessages(), "has no uniform 'noSuchUniform'"));
}

TEST_F(ContentLoading, GeometryUploadsOnceAndModelsGetMeshNodes) {
    ScratchDirectory directory;
    gltf_test::Document document{
        {gltf_test::boxMesh("base", glm::vec3(1.0f)), gltf_test::quadMesh("top", 1.0f)}, {}, {}};
    directory.write("statue.glb", gltf_test::glbFile(document));
    directory.write("s.scene.xml",
                    "<scene><model name=\"statue\" geometry=\"statue.glb\"/></scene>");
    H3DRes scene = h3dAddResource(H3DResTypes::SceneGraph, "s.scene.xml", 0);
    // The model names no material: that is no fault of the geometry.
    h3dutLoadResourcesFromDisk(directory.path().c_str());
    takeMessages();

    H3DRes geometry = h3dFindResource(H3DResTypes::Geometry, "statue.glb");
    auto* loaded = payloadOf<engine::LoadedGeometry>(geometry);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(glIsBuffer(loaded->vertexBuffer.get()), GL_TRUE);
    EXPECT_EQ(glIsBuffer(loaded->indexBuffer.get()), GL_TRUE);
    ASSERT_EQ(loaded->meshes.size(), 2u);
    EXPECT_EQ(loaded->meshes[0].triangleCount, 12u);
    EXPECT_EQ(loaded->meshes[1].primitives.at(0).indexType, static_cast<GLenum>(GL_UNSIGNED_SHORT));
    // Without colours, tangents or second coordinates its vertices are held plain.
    EXPECT_EQ(loaded->vertexLayout, engine::VertexLayout::Plain);
    EXPECT_EQ(loaded->meshes[1].primitives.at(0).vertexOffset,
              static_cast<GLintptr>(24 * sizeof(engine::PlainVertex)));

    H3DNode root = h3dAddNodes(H3DRootNode, scene);
    H3DNode model = h3dGetNodeChild(root, 0);
    EXPECT_EQ(h3dGetNodeType(model), H3DNodeTypes::Model);
    // A group per glTF node, holding a mesh node named after its mesh.
    H3DNode firstUse = h3dGetNodeChild(model, 0);
    EXPECT_EQ(h3dGetNodeType(firstUse), H3DNodeTypes::Group);
    EXPECT_EQ(h3dGetNodeType(h3dGetNodeChild(firstUse, 0)), H3DNodeTypes::Mesh);
    EXPECT_STREQ(h3dGetNodeName(h3dGetNodeChild(h3dGetNodeChild(model, 1), 0)), "top");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
