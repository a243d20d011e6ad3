#include "engine/formats/pipeline_format.h"

#include <algorithm>
#include <new>

#include "engine/formats/format_error.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/xml_source.h"

namespace engine {
namespace {

PipelineDesc readPipeline(const XmlSource& source);
RenderTargetDesc readTarget(const XmlSource& source, pugi::xml_node node,
                            const PipelineDesc& pipeline);
PipelineStage readStage(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline);
PipelineCommand readCommand(const XmlSource& source, pugi::xml_node node,
                            const PipelineDesc& pipeline);

}  // namespace

Parsed<PipelineDesc> parsePipeline(std::string_view bytes) {
    try {
        XmlSource source(bytes, "pipeline");
        return Parsed<PipelineDesc>::success(readPipeline(source));
    } catch (const FormatError& error) {
        return Parsed<PipelineDesc>::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Parsed<PipelineDesc>::failure("out of memory");
    }
}

const RenderTargetDesc* findTarget(const PipelineDesc& pipeline, std::string_view name) {
    auto found =
        std::find_if(pipeline.targets.begin(), pipeline.targets.end(),
                     [name](const RenderTargetDesc& target) { return target.name == name; });
    return found == pipeline.targets.end() ? nullptr : &*found;
}

namespace {

void readSwitchTarget(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline,
                      PipelineCommand& command);
void readCopyTarget(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline,
                    PipelineCommand& command);
void readSceneDraw(const XmlSource& source, pugi::xml_node node, PipelineCommand& command);
void readBlend(const XmlSource& source, pugi::xml_node node, PipelineCommand& command,
               BlendMode fallback);
void readClear(const XmlSource& source, pugi::xml_node node, PipelineCommand& command);
void readQuad(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline,
              PipelineCommand& command);
QuadInput readQuadInput(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline);

PipelineDesc readPipeline(const XmlSource& source) {
    source.allowAttributes(source.root(), {});
    std::vector<pugi::xml_node> elements = source.childElements(source.root(), {"target", "stage"});
    PipelineDesc pipeline;
    // Targets first, so that stages may name targets declared below them.
    for (pugi::xml_node element : elements) {
        if (std::string_view(element.name()) == "target") {
            pipeline.targets.push_back(readTarget(source, element, pipeline));
        }
    }
    for (pugi::xml_node element : elements) {
        if (std::string_view(element.name()) == "stage") {
            pipeline.stages.push_back(readStage(source, element, pipeline));
        }
    }
    if (pipeline.stages.empty()) {
        source.fail(source.root(), "a pipeline needs at least one <stage>");
    }
    return pipeline;
}

RenderTargetDesc readTarget(const XmlSource& source, pugi::xml_node node,
                            const PipelineDesc& pipeline) {
    source.allowAttributes(node, {"name", "scale", "format", "buffers", "depth"});
    source.childElements(node, {});
    RenderTargetDesc target;
    target.name = source.requiredText(node, "name");
    if (target.name == kScreenTarget) {
        source.fail(node, "'screen' is the camera's viewport and cannot name a target");
    }
    if (findTarget(pipeline, target.name) != nullptr) {
        source.fail(node, "a second target named " + quotedExcerpt(target.name));
    }
    target.scale = source.number(node, "scale", 1.0f, 0.01f, 4.0f);
    std::string format = source.optionalText(node, "format", "rgba8");
    if (format == "rgba8") {
        target.format = TargetFormat::Rgba8;
    } else if (format == "rgba16f") {
        target.format = TargetFormat::Rgba16f;
    } else if (format == "r11f_g11f_b10f") {
        target.format = TargetFormat::R11fG11fB10f;
    } else {
        source.fail(node, "unknown target format " + quotedExcerpt(format) +
                              " (rgba8, rgba16f or r11f_g11f_b10f)");
    }
    target.colorBuffers = source.integer(node, "buffers", 1, 1, 4);
    target.hasDepth = source.flag(node, "depth", false);
    return target;
}

PipelineStage readStage(const XmlSource& source, pugi::xml_node node,
                        const PipelineDesc& pipeline) {
    source.allowAttributes(node, {"name", "enabled", "reuse"});
    PipelineStage stage;
    stage.name = source.optionalText(node, "name", "");
    stage.enabled = source.flag(node, "enabled", true);
    std::string reuse = source.optionalText(node, "reuse", "never");
    if (reuse == "untilViewTurns") {
        stage.reusedUntilViewTurns = true;
    } else if (reuse != "never") {
        source.fail(node, "unknown reuse " + quotedExcerpt(reuse) + " (never or untilViewTurns)");
    }
    for (pugi::xml_node element : source.childElements(
             node,
             {"switchTarget", "clear", "copyTarget", "drawGeometry", "drawQuad", "drawOverlays"})) {
        stage.commands.push_back(readCommand(source, element, pipeline));
    }
    return stage;
}

PipelineCommand readCommand(const XmlSource& source, pugi::xml_node node,
                            const PipelineDesc& pipeline) {
    PipelineCommand command;
    command.line = source.lineOf(node);
    std::string_view name = node.name();
    if (name == "switchTarget") {
        readSwitchTarget(source, node, pipeline, command);
    } else if (name == "copyTarget") {
        readCopyTarget(source, node, pipeline, command);
    } else if (name == "clear") {
        readClear(source, node, command);
    } else if (name == "drawQuad") {
        readQuad(source, node, pipeline, command);
    } else {
        readSceneDraw(source, node, command);
    }
    return command;
}

void readSwitchTarget(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline,
                      PipelineCommand& command) {
    source.allowAttributes(node, {"target"});
    source.childElements(node, {});
    command.kind = CommandKind::SwitchTarget;
    command.target = source.requiredText(node, "target");
    if (command.target != kScreenTarget && findTarget(pipeline, command.target) == nullptr) {
        source.fail(node, "no target named " + quotedExcerpt(command.target));
    }
}

void readCopyTarget(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline,
                    PipelineCommand& command) {
    source.allowAttributes(node, {"source"});
    source.childElements(node, {});
    command.kind = CommandKind::CopyTarget;
    command.target = source.requiredText(node, "source");
    if (findTarget(pipeline, command.target) == nullptr) {
        source.fail(node, "no target named " + quotedExcerpt(command.target));
    }
}

// drawGeometry and drawOverlays: a context, and for geometry the contexts of shadow maps and
// of meshes the key light does not reach.
void readSceneDraw(const XmlSource& source, pugi::xml_node node, PipelineCommand& command) {
    const bool drawsGeometry = std::string_view(node.name()) == "drawGeometry";
    if (drawsGeometry) {
        source.allowAttributes(node, {"context", "shadowContext", "fillOnlyContext", "blend"});
        command.shadowContext = source.optionalText(node, "shadowContext", "");
        if (!command.shadowContext.empty() && !isGlslIdentifier(command.shadowContext)) {
            source.fail(node, "shadow context " + quotedExcerpt(command.shadowContext) +
                                  " is not a GLSL name");
        }
        command.fillOnlyContext = source.optionalText(node, "fillOnlyContext", "");
        if (!command.fillOnlyContext.empty() && !isGlslIdentifier(command.fillOnlyContext)) {
            source.fail(node, "fill-only context " + quotedExcerpt(command.fillOnlyContext) +
                                  " is not a GLSL name");
        }
    } else {
        source.allowAttributes(node, {"context", "blend"});
    }
    source.childElements(node, {});
    command.context = source.requiredText(node, "context");
    if (drawsGeometry) {
        command.kind = CommandKind::DrawGeometry;
        readBlend(source, node, command, BlendMode::Replace);
    } else {
        command.kind = CommandKind::DrawOverlays;
        readBlend(source, node, command, BlendMode::Alpha);
    }
}

void readBlend(const XmlSource& source, pugi::xml_node node, PipelineCommand& command,
               BlendMode fallback) {
    std::string blend = source.optionalText(node, "blend", "");
    if (blend.empty()) {
        command.blend = fallback;
    } else if (blend == "replace") {
        command.blend = BlendMode::Replace;
    } else if (blend == "add") {
        command.blend = BlendMode::Add;
    } else if (blend == "alpha") {
        command.blend = BlendMode::Alpha;
    } else {
        source.fail(node, "unknown blend " + quotedExcerpt(blend) + " (replace, add or alpha)");
    }
}

void readClear(const XmlSource& source, pugi::xml_node node, PipelineCommand& command) {
    source.allowAttributes(node, {"color", "depth"});
    source.childElements(node, {});
    command.kind = CommandKind::Clear;
    if (node.attribute("color")) {
        std::vector<float> color = source.numbers(node, "color", 3, 4);
        command.clearsColor = true;
        command.clearColor =
            glm::vec4(color[0], color[1], color[2], color.size() == 4 ? color[3] : 1.0f);
    }
    if (node.attribute("depth")) {
        command.clearsDepth = true;
        command.clearDepth = source.number(node, "depth", 1.0f, 0.0f, 1.0f);
    }
    if (!command.clearsColor && !command.clearsDepth) {
        source.fail(node, "<clear> needs 'color', 'depth' or both");
    }
}

void readQuad(const XmlSource& source, pugi::xml_node node, const PipelineDesc& pipeline,
              PipelineCommand& command) {
    source.allowAttributes(node, {"material", "context", "blend", "whenZero", "zeroContext"});
    command.kind = CommandKind::DrawQuad;
    command.material = source.requiredText(node, "material");
    if (!isPlainName(command.material)) {
        source.fail(node, quotedExcerpt(command.material) + " is not a file name");
    }
    command.context = source.requiredText(node, "context");
    command.zeroUniform = source.optionalText(node, "whenZero", "");
    command.zeroContext = source.optionalText(node, "zeroContext", "");
    if (command.zeroUniform.empty() != command.zeroContext.empty()) {
        source.fail(node, "'whenZero' and 'zeroContext' come together");
    }
    if (!command.zeroUniform.empty() &&
        (!isGlslIdentifier(command.zeroUniform) || !isGlslIdentifier(command.zeroContext))) {
        source.fail(node, "'whenZero' names a uniform and 'zeroContext' a context, as GLSL names");
    }
    readBlend(source, node, command, BlendMode::Replace);
    for (pugi::xml_node element : source.childElements(node, {"input"})) {
        QuadInput input = readQuadInput(source, element, pipeline);
        for (const QuadInput& earlier : command.inputs) {
            if (earlier.sampler == input.sampler) {
                source.fail(element, "sampler " + quotedExcerpt(input.sampler) + " is bound twice");
            }
        }
        command.inputs.push_back(input);
    }
}

QuadInput readQuadInput(const XmlSource& source, pugi::xml_node node,
                        const PipelineDesc& pipeline) {
    source.allowAttributes(node, {"sampler", "target", "buffer", "filter"});
    source.childElements(node, {});
    QuadInput input;
    input.sampler = source.requiredText(node, "sampler");
    if (!isGlslIdentifier(input.sampler)) {
        source.fail(node, "sampler " + quotedExcerpt(input.sampler) + " is not a GLSL name");
    }
    input.target = source.requiredText(node, "target");
    const RenderTargetDesc* target = findTarget(pipeline, input.target);
    if (target == nullptr) {
        source.fail(node, "no target named " + quotedExcerpt(input.target));
    }
    input.buffer = source.integer(node, "buffer", 0, 0, 3);
    if (input.buffer >= target->colorBuffers) {
        source.fail(node, "target " + quotedExcerpt(input.target) + " has only " +
                              std::to_string(target->colorBuffers) + " colour buffer(s)");
    }
    const std::string filter = source.optionalText(node, "filter", "linear");
    if (filter != "linear" && filter != "nearest") {
        source.fail(node, "unknown filter " + quotedExcerpt(filter) + " (linear or nearest)");
    }
    input.nearest = filter == "nearest";
    return input;
}

}  // namespace
}  // namespace engine
