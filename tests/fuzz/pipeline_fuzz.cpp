// Pipeline files: a parsed pipeline has a stage, and its commands name only targets it declares,
// with colour buffers those targets have.
#include "engine/formats/pipeline_format.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void checkCommand(const engine::PipelineDesc& pipeline, const engine::PipelineCommand& command) {
    using engine::CommandKind;
    if (command.kind == CommandKind::SwitchTarget) {
        fuzz::require(command.target == engine::kScreenTarget ||
                          engine::findTarget(pipeline, command.target) != nullptr,
                      "a switch names the screen or a declared target");
    }
    if (command.kind == CommandKind::CopyTarget) {
        fuzz::require(engine::findTarget(pipeline, command.target) != nullptr,
                      "a copy names a declared target");
    }
    for (const engine::QuadInput& input : command.inputs) {
        const engine::RenderTargetDesc* target = engine::findTarget(pipeline, input.target);
        fuzz::require(target != nullptr && input.buffer >= 0 && input.buffer < target->colorBuffers,
                      "a quad input names a colour buffer of a declared target");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::Parsed<engine::PipelineDesc> parsed =
        engine::parsePipeline(fuzz::inputText(data, size));
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    const engine::PipelineDesc& pipeline = parsed.value();
    fuzz::require(!pipeline.stages.empty(), "a pipeline has a stage");
    for (const engine::PipelineStage& stage : pipeline.stages) {
        for (const engine::PipelineCommand& command : stage.commands) {
            checkCommand(pipeline, command);
        }
    }
    return 0;
}
