// Pipeline files: render targets sized relative to the viewport, and stages of commands that
// the renderer runs in order for a camera.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <glm/vec4.hpp>

#include "engine/formats/parsed.h"

namespace engine {

enum class TargetFormat { Rgba8, Rgba16f };

struct RenderTargetDesc {
    std::string name;
    // Fraction of the viewport's width and height.
    float scale = 1.0f;
    TargetFormat format = TargetFormat::Rgba8;
    int colorBuffers = 1;
    bool hasDepth = false;
};

enum class CommandKind { SwitchTarget, Clear, DrawGeometry, DrawLights, DrawQuad, DrawOverlays };
enum class BlendMode { Replace, Add, Alpha };

// A render target's colour buffer that a full-screen quad samples.
struct QuadInput {
    std::string sampler;
    std::string target;
    int buffer = 0;
};

// One command; only the fields of its kind are meaningful.
struct PipelineCommand {
    CommandKind kind = CommandKind::Clear;
    int line = 0;
    // SwitchTarget: a target's name or kScreenTarget.
    std::string target;
    // Clear.
    bool clearsColor = false;
    glm::vec4 clearColor{0.0f, 0.0f, 0.0f, 1.0f};
    bool clearsDepth = false;
    float clearDepth = 1.0f;
    // DrawGeometry, DrawLights, DrawQuad, DrawOverlays: the shader context to draw with.
    std::string context;
    // DrawLights: the context that renders shadow maps.
    std::string shadowContext;
    BlendMode blend = BlendMode::Replace;
    // DrawQuad.
    std::string material;
    std::vector<QuadInput> inputs;
};

struct PipelineStage {
    std::string name;
    bool enabled = true;
    std::vector<PipelineCommand> commands;
};

struct PipelineDesc {
    std::vector<RenderTargetDesc> targets;
    std::vector<PipelineStage> stages;
};

// The target name that switches to the camera's viewport on the screen.
inline constexpr std::string_view kScreenTarget = "screen";

Parsed<PipelineDesc> parsePipeline(std::string_view bytes);

const RenderTargetDesc* findTarget(const PipelineDesc& pipeline, std::string_view name);

}  // namespace engine
