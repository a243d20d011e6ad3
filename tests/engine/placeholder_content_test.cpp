// The content files the viewer declares must parse and load without a single message.
#include <gtest/gtest.h>

#include <glm/geometric.hpp>

#include "engine/formats/material_format.h"
#include "engine/formats/pipeline_format.h"
#include "engine/formats/scene_format.h"
#include "engine/formats/shader_format.h"
#include "engine/resources/disk_loader.h"
#include "engine/resources/loaded_material.h"
#include "test_support.h"

using namespace engine;

TEST(PlaceholderContent, EveryFileParses) {
    for (const char* name : {"simple.pipeline.xml", "master.pipeline.xml"}) {
        Parsed<PipelineDesc> parsed = parsePipeline(placeholderContent(name));
        EXPECT_TRUE(parsed.ok()) << name << ": " << parsed.error();
    }
    for (const char* name :
         {"hebe.scene.xml", "glue.scene.xml", "skybox.scene.xml", "neuro2.scene.xml"}) {
        Parsed<SceneDesc> parsed = parseScene(placeholderContent(name));
        EXPECT_TRUE(parsed.ok()) << name << ": " << parsed.error();
    }
    for (const char* name : {"font.material.xml", "postprocess.material.xml"}) {
        Parsed<MaterialDesc> parsed = parseMaterial(placeholderContent(name));
        EXPECT_TRUE(parsed.ok()) << name << ": " << parsed.error();
    }
}

TEST(PlaceholderContent, ThePipelinesClearTheScreenInDifferentColours) {
    glm::vec4 masterColor = clearColorOf("master.pipeline.xml", "screen");
    glm::vec4 simpleColor = clearColorOf("simple.pipeline.xml", "screen");
    EXPECT_GE(masterColor.b, 0.0f) << "master does not clear the screen";
    EXPECT_GE(simpleColor.r, 0.0f) << "simple does not clear the screen";
    EXPECT_GT(masterColor.b, masterColor.r) << "master should be blue-ish";
    EXPECT_GT(glm::length(masterColor - simpleColor), 0.3f);
}

TEST(PlaceholderContent, TheViewersFilesLoadWithEverythingTheyNameAndNoMessage) {
    ResourceTable resources;
    for (auto [type, name] : {std::pair{ResourceType::Pipeline, "simple.pipeline.xml"},
                              std::pair{ResourceType::Pipeline, "master.pipeline.xml"},
                              std::pair{ResourceType::SceneGraph, "hebe.scene.xml"},
                              std::pair{ResourceType::SceneGraph, "glue.scene.xml"},
                              std::pair{ResourceType::SceneGraph, "skybox.scene.xml"},
                              std::pair{ResourceType::SceneGraph, "neuro2.scene.xml"},
                              std::pair{ResourceType::Material, "font.material.xml"},
                              std::pair{ResourceType::Material, "postprocess.material.xml"}}) {
        resources.add(type, name, 0);
    }
    UploadStep upload = [](const Resource& resource, ParsedContent& content) {
        if (auto* material = std::get_if<MaterialDesc>(&content)) {
            auto payload = std::make_unique<LoadedMaterial>();
            payload->desc = *material;
            return Parsed<std::unique_ptr<ResourcePayload>>::success(std::move(payload));
        }
        (void)resource;
        return Parsed<std::unique_ptr<ResourcePayload>>::success(
            std::make_unique<ResourcePayload>());
    };
    MessageLog log;
    EXPECT_TRUE(loadResourcesFromDisk(resources, placeholderContentDirectory(), upload, log));
    std::string messages;
    while (std::optional<Message> message = log.pop()) {
        messages += message->text + "\n";
    }
    EXPECT_EQ(messages, "");

    const Resource* post =
        resources.get(resources.find(ResourceType::Material, "postprocess.material.xml"));
    ASSERT_NE(post, nullptr);
    ASSERT_NE(post->payloadAs<LoadedMaterial>(), nullptr);
    EXPECT_NE(post->payloadAs<LoadedMaterial>()->findUniform("blurDir"), nullptr);
    EXPECT_NE(resources.find(ResourceType::Shader, "postprocess.shader"), 0);
}
