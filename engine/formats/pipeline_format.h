// Pipeline files: render targets sized relative to the viewport, and stages of commands that
// the renderer runs in order for a camera.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <glm/vec4.hpp>

#include "engine/formats/parsed.h"

namespace engine {

// R11fG11fB10f: floating-point colour without alpha, half the bytes of Rgba16f.
enum class TargetFormat { Rgba8, Rgba16f, R11fG11fB10f };

struct RenderTargetDesc {
    std::string name;
    // Fraction of the viewport's width and height.
    float scale = 1.0f;
    TargetFormat format = TargetFormat::Rgba8;
    int colorBuffers = 1;
    bool hasDepth = false;
};

enum class CommandKind { SwitchTarget, Clear, CopyTarget, DrawGeometry, DrawQuad, DrawOverlays };
enum class BlendMode { Replace, Add, Alpha };

// A render target's colour buffer that a full-screen quad samples.
struct QuadInput {
    std::string sampler;
    std::string target;
    int buffer = 0;
    // Nearest-texel sampling: a pass that reads one texel per pixel need not pay for bilinear
    // filtering, which a software rasterizer does four fetches for.
    bool nearest = false;
};

// One command; only the fields of its kind are meaningful.
struct PipelineCommand {
    CommandKind kind = CommandKind::Clear;
    int line = 0;
    // SwitchTarget: a target's name or kScreenTarget. CopyTarget: the target copied from.
    std::string target;
    // Clear.
    bool clearsColor = false;
    glm::vec4 clearColor{0.0f, 0.0f, 0.0f, 1.0f};
    bool clearsDepth = false;
    float clearDepth = 1.0f;
    // DrawGeometry, DrawQuad, DrawOverlays: the shader context to draw with.
    std::string context;
    // DrawGeometry: the context that renders the shadow map first; empty for none.
    std::string shadowContext;
    // DrawGeometry: a cheaper context for the meshes out of the key light's reach (the first
    // light, the shadow caster when it lights the view); empty to draw all with context.
    std::string fillOnlyContext;
    BlendMode blend = BlendMode::Replace;
    // DrawQuad.
    std::string material;
    std::vector<QuadInput> inputs;
    // DrawQuad: while the material's uniform zeroUniform has 0 as its first number, the quad is
    // drawn with zeroContext instead of context (a pass with nothing to do costs nothing).
    std::string zeroUniform;
    std::string zeroContext;
};

struct PipelineStage {
    std::string name;
    bool enabled = true;
    // The stage draws what depends only on where the camera looks (the sky at infinity), so it
    // runs again only when the view's direction, projection or size changed.
    bool reusedUntilViewTurns = false;
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
