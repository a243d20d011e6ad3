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

// simple draws straight onto the screen; master draws off the screen and finishes with a
// full-screen pass onto it.
TEST(PlaceholderContent, SimpleDrawsOnTheScreenAndMasterPostProcessesOntoIt) {
    Parsed<PipelineDesc> simple = parsePipeline(placeholderContent("simple.pipeline.xml"));
    Parsed<PipelineDesc> master = parsePipeline(placeholderContent("master.pipeline.xml"));
    ASSERT_TRUE(simple.ok() && master.ok());
    EXPECT_TRUE(simple.value().targets.empty());
    EXPECT_GE(clearColorOf("simple.pipeline.xml", "screen").r, 0.0f);
    const RenderTargetDesc* hdr = findTarget(master.value(), "hdr");
    ASSERT_NE(hdr, nullptr);
    EXPECT_NE(hdr->format, TargetFormat::Rgba8);
    EXPECT_TRUE(hdr->hasDepth);
    const PipelineStage& last = master.value().stages.at(master.value().stages.size() - 2);
    ASSERT_EQ(last.commands.size(), 2u);
    EXPECT_EQ(last.commands[0].target, "screen");
    EXPECT_EQ(last.commands[1].kind, CommandKind::DrawQuad);
    EXPECT_EQ(last.commands[1].zeroUniform, "blurDir");
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
