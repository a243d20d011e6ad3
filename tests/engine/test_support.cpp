#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/formats/pipeline_format.h"
#include "engine/formats/scene_format.h"
#include "engine/h3d.h"

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "engine-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch directory");
    }
    path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ScratchDirectory::write(const std::string& name, const std::string& bytes) const {
    std::ofstream file(path_ + "/" + name, std::ios::binary);
    file << bytes;
}

std::string placeholderContentDirectory() {
    return ENGINE_TEST_CONTENT_DIR;
}

std::string placeholderContent(const std::string& name) {
    std::ifstream file(placeholderContentDirectory() + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

glm::vec4 clearColorOf(const std::string& pipelineFile, const std::string& target) {
    engine::Parsed<engine::PipelineDesc> pipeline =
        engine::parsePipeline(placeholderContent(pipelineFile));
    glm::vec4 color(-1.0f);
    if (!pipeline.ok()) {
        return color;
    }
    // Each render starts on the screen.
    std::string current(engine::kScreenTarget);
    for (const engine::PipelineStage& stage : pipeline.value().stages) {
        for (const engine::PipelineCommand& command : stage.commands) {
            if (command.kind == engine::CommandKind::SwitchTarget) {
                current = command.target;
            } else if (command.kind == engine::CommandKind::Clear && command.clearsColor &&
                       current == target) {
                color = command.clearColor;
            }
        }
    }
    return color;
}

std::vector<std::string> takeMessages() {
    std::vector<std::string> messages;
    int level = 0;
    for (std::string text = h3dGetMessage(&level); level != 0; text = h3dGetMessage(&level)) {
        messages.push_back(text);
    }
    return messages;
}

std::string joined(const std::vector<std::string>& messages) {
    std::string text;
    for (const std::string& message : messages) {
        text += message + "\n";
    }
    return text;
}

bool anyContains(const std::vector<std::string>& messages, const std::string& part) {
    for (const std::string& message : messages) {
        if (message.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string sceneError(const std::string& xml) {
    engine::Parsed<engine::SceneDesc> scene = engine::parseScene(xml);
    EXPECT_FALSE(scene.ok()) << "parsed although it should not";
    return scene.ok() ? std::string() : scene.error();
}
