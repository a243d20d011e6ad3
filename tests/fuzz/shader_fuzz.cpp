// Shader files: every context of a parsed shader is found by its name and composes into both
// programs.
#include "engine/formats/shader_format.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::Parsed<engine::ShaderDesc> parsed = engine::parseShader(fuzz::inputText(data, size));
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    const engine::ShaderDesc& shader = parsed.value();
    fuzz::require(!shader.contexts.empty(), "a shader has a context");
    for (const engine::ShaderContextDesc& context : shader.contexts) {
        fuzz::require(engine::findContext(shader, context.name) == &context,
                      "a context's name is its own");
        for (engine::ShaderStage stage :
             {engine::ShaderStage::Vertex, engine::ShaderStage::Fragment}) {
            fuzz::require(!engine::composeProgramSource(shader, context, stage).empty(),
                          "a program has source");
        }
    }
    return 0;
}
