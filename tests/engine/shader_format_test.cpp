#include <gtest/gtest.h>

#include "engine/formats/shader_format.h"

using namespace engine;

namespace {

const char* kTwoContexts =
    "// Header comment.\n"
    "@shared\n"
    "uniform mat4 worldMatrix;\n"
    "@context ambient\n"
    "@vertex\n"
    "void main() { gl_Position = worldMatrix * gl_Vertex; }\n"
    "@fragment\n"
    "void main() { gl_FragColor = vec4(1.0); }\n"
    "\n"
    "@context shadow\r\n"
    "@fragment\r\n"
    "void main() { gl_FragColor = vec4(0.0); }\r\n"
    "@vertex\r\n"
    "void main() { gl_Position = gl_Vertex; }\r\n";

std::string errorOf(const std::string& text) {
    Parsed<ShaderDesc> parsed = parseShader(text);
    EXPECT_FALSE(parsed.ok()) << "parsed although it should not: " << text;
    return parsed.ok() ? std::string() : parsed.error();
}

}  // namespace

TEST(ShaderFormat, ReadsContextsAndSharedCode) {
    Parsed<ShaderDesc> parsed = parseShader(kTwoContexts);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const ShaderDesc& shader = parsed.value();
    EXPECT_EQ(shader.sharedSource, "uniform mat4 worldMatrix;\n");
    ASSERT_EQ(shader.contexts.size(), 2u);
    EXPECT_EQ(shader.contexts[0].name, "ambient");
    EXPECT_EQ(shader.contexts[0].line, 4);
    EXPECT_EQ(shader.contexts[0].vertexSource,
              "void main() { gl_Position = worldMatrix * gl_Vertex; }\n");
    EXPECT_EQ(shader.contexts[1].name, "shadow");
    EXPECT_EQ(shader.contexts[1].fragmentSource, "void main() { gl_FragColor = vec4(0.0); }\n");
    EXPECT_EQ(findContext(shader, "shadow"), &shader.contexts[1]);
    EXPECT_EQ(findContext(shader, "lighting"), nullptr);
}

TEST(ShaderFormat, ComposesVersionSharedCodeAndStage) {
    Parsed<ShaderDesc> parsed = parseShader(kTwoContexts);
    ASSERT_TRUE(parsed.ok());
    std::string source =
        composeProgramSource(parsed.value(), parsed.value().contexts[0], ShaderStage::Fragment);
    // Code is kept verbatim, down to the blank line before the next @context.
    EXPECT_EQ(source,
              "#version 120\n#define FRAGMENT_PROGRAM 1\n#line 2\nuniform mat4 worldMatrix;\nvoid "
              "main() { gl_FragColor = vec4(1.0); }\n\n");
    const std::string withDefines =
        "#version 120\n#define VERTEX_PROGRAM 1\n#define NORMAL_MAP 1\n#define UNLIT 1\n#line "
        "2\nuniform";
    EXPECT_EQ(composeProgramSource(parsed.value(), parsed.value().contexts[0], ShaderStage::Vertex,
                                   {"NORMAL_MAP", "UNLIT"})
                  .substr(0, withDefines.size()),
              withDefines);
}

TEST(ShaderFormat, RejectsMisplacedOrMissingParts) {
    EXPECT_NE(errorOf("").find("at least one @context"), std::string::npos);
    EXPECT_NE(errorOf("void main() {}\n@context a\n").find("line 1: code before the first"),
              std::string::npos);
    EXPECT_NE(errorOf("@context a\n@vertex\nvoid main() {}\n").find("has no fragment program"),
              std::string::npos);
    EXPECT_NE(errorOf("@context a\n@fragment\nvoid main() {}\n")
                  .find("line 1: context 'a' has no vertex"),
              std::string::npos);
    EXPECT_NE(errorOf("@context a\nint x;\n").find("line 2: code before @vertex"),
              std::string::npos);
    EXPECT_NE(errorOf("@vertex\n").find("belong inside a @context"), std::string::npos);
    EXPECT_NE(errorOf("@context\n").find("needs a name"), std::string::npos);
    EXPECT_NE(errorOf("@context a b\n").find("needs a name"), std::string::npos);
    EXPECT_NE(errorOf("@context a\n@vertex\nx\n@vertex\n").find("already has a vertex"),
              std::string::npos);
    EXPECT_NE(errorOf("@context a\n@vertex\nx\n@fragment\ny\n@context a\n").find("second context"),
              std::string::npos);
    EXPECT_NE(errorOf("@context a\n@geometry\n").find("unknown directive @geometry"),
              std::string::npos);
    EXPECT_NE(errorOf("@context a\n@vertex now\n").find("takes no argument"), std::string::npos);
    EXPECT_NE(errorOf("@context a\n@vertex\n#version 330\n").find("remove the #version"),
              std::string::npos);
    EXPECT_NE(
        errorOf("@context a\n@vertex\nx\n@fragment\ny\n@shared\n").find("@shared must come once"),
        std::string::npos);
}
