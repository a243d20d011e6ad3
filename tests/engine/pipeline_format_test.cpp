#include <gtest/gtest.h>

#include "engine/formats/pipeline_format.h"

using namespace engine;

namespace {

const char* kTwoStagePipeline = R"(<?xml version="1.0"?>
<pipeline>
  <target name="hdr" scale="0.5" format="rgba16f" buffers="2" depth="true"/>
  <target name="sky" format="r11f_g11f_b10f"/>
  <stage name="sky" reuse="untilViewTurns">
    <switchTarget target="sky"/>
    <drawGeometry context="sky"/>
  </stage>
  <stage name="scene">
    <switchTarget target="hdr"/>
    <clear color="0.1 0.2 0.3" depth="1"/>
    <copyTarget source="sky"/>
    <drawGeometry context="lit" shadowContext="shadow" fillOnlyContext="litFill" blend="add"/>
  </stage>
  <stage name="post" enabled="false">
    <switchTarget target="screen"/>
    <drawQuad material="post.material.xml" context="blurred" blend="alpha" whenZero="blurDir"
              zeroContext="final">
      <input sampler="picture" target="hdr" buffer="1" filter="nearest"/>
    </drawQuad>
    <drawOverlays context="overlay"/>
  </stage>
</pipeline>)";

std::string errorOf(const std::string& xml) {
    Parsed<PipelineDesc> parsed = parsePipeline(xml);
    EXPECT_FALSE(parsed.ok()) << "parsed although it should not: " << xml;
    return parsed.ok() ? std::string() : parsed.error();
}

std::string stageWith(const std::string& commands, const std::string& targets = "") {
    return "<pipeline>" + targets + "<stage>" + commands + "</stage></pipeline>";
}

}  // namespace

TEST(PipelineFormat, ReadsTargetsAndStages) {
    Parsed<PipelineDesc> parsed = parsePipeline(kTwoStagePipeline);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const PipelineDesc& pipeline = parsed.value();

    ASSERT_EQ(pipeline.targets.size(), 2u);
    EXPECT_EQ(pipeline.targets[0].name, "hdr");
    EXPECT_FLOAT_EQ(pipeline.targets[0].scale, 0.5f);
    EXPECT_EQ(pipeline.targets[0].format, TargetFormat::Rgba16f);
    EXPECT_EQ(pipeline.targets[0].colorBuffers, 2);
    EXPECT_TRUE(pipeline.targets[0].hasDepth);
    EXPECT_EQ(pipeline.targets[1].format, TargetFormat::R11fG11fB10f);

    ASSERT_EQ(pipeline.stages.size(), 3u);
    EXPECT_TRUE(pipeline.stages[0].reusedUntilViewTurns);
    EXPECT_FALSE(pipeline.stages[1].reusedUntilViewTurns);
    EXPECT_TRUE(pipeline.stages[1].enabled);
    EXPECT_FALSE(pipeline.stages[2].enabled);
    const auto& scene = pipeline.stages[1].commands;
    ASSERT_EQ(scene.size(), 4u);
    EXPECT_EQ(scene[0].kind, CommandKind::SwitchTarget);
    EXPECT_EQ(scene[0].target, "hdr");
    EXPECT_EQ(scene[1].kind, CommandKind::Clear);
    EXPECT_TRUE(scene[1].clearsColor);
    EXPECT_FLOAT_EQ(scene[1].clearColor.b, 0.3f);
    EXPECT_FLOAT_EQ(scene[1].clearColor.a, 1.0f);
    EXPECT_TRUE(scene[1].clearsDepth);
    EXPECT_EQ(scene[2].kind, CommandKind::CopyTarget);
    EXPECT_EQ(scene[2].target, "sky");
    EXPECT_EQ(scene[3].kind, CommandKind::DrawGeometry);
    EXPECT_EQ(scene[3].context, "lit");
    EXPECT_EQ(scene[3].shadowContext, "shadow");
    EXPECT_EQ(scene[3].fillOnlyContext, "litFill");
    EXPECT_EQ(scene[3].blend, BlendMode::Add);
    EXPECT_EQ(pipeline.stages[0].commands[1].shadowContext, "");
    EXPECT_EQ(pipeline.stages[0].commands[1].fillOnlyContext, "");
    EXPECT_EQ(pipeline.stages[0].commands[1].blend, BlendMode::Replace);

    const auto& post = pipeline.stages[2].commands;
    ASSERT_EQ(post.size(), 3u);
    EXPECT_EQ(post[0].target, "screen");
    EXPECT_EQ(post[1].kind, CommandKind::DrawQuad);
    EXPECT_EQ(post[1].material, "post.material.xml");
    EXPECT_EQ(post[1].blend, BlendMode::Alpha);
    EXPECT_EQ(post[1].context, "blurred");
    EXPECT_EQ(post[1].zeroUniform, "blurDir");
    EXPECT_EQ(post[1].zeroContext, "final");
    ASSERT_EQ(post[1].inputs.size(), 1u);
    EXPECT_EQ(post[1].inputs[0].sampler, "picture");
    EXPECT_EQ(post[1].inputs[0].buffer, 1);
    EXPECT_TRUE(post[1].inputs[0].nearest);
    EXPECT_EQ(post[2].kind, CommandKind::DrawOverlays);
}

TEST(PipelineFormat, TargetsMayFollowTheStagesThatUseThem) {
    Parsed<PipelineDesc> parsed = parsePipeline(
        "<pipeline><stage><switchTarget target=\"late\"/></stage><target "
        "name=\"late\"/></pipeline>");
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().targets[0].format, TargetFormat::Rgba8);
    EXPECT_FALSE(parsed.value().targets[0].hasDepth);
}

TEST(PipelineFormat, MalformedXmlNamesTheLine) {
    std::string error = errorOf("<pipeline>\n<stage>\n<clear color=\"1 1 1\">\n</pipeline>");
    EXPECT_NE(error.find("line 4"), std::string::npos) << error;
    EXPECT_NE(error.find("malformed XML"), std::string::npos) << error;
}

TEST(PipelineFormat, FaultsNameTheirLineAndCause) {
    std::string error = errorOf(
        "<pipeline>\n<stage>\n\n<switchTarget target=\"nowhere\"/>\n"
        "</stage>\n</pipeline>");
    EXPECT_NE(error.find("line 4"), std::string::npos) << error;
    EXPECT_NE(error.find("no target named 'nowhere'"), std::string::npos) << error;
}

TEST(PipelineFormat, RejectsAWrongRootElement) {
    EXPECT_NE(errorOf("<material shader=\"x\"/>").find("<pipeline>"), std::string::npos);
    EXPECT_NE(errorOf("").find("malformed XML"), std::string::npos);
}

TEST(PipelineFormat, NeedsAStage) {
    EXPECT_NE(errorOf("<pipeline><target name=\"a\"/></pipeline>").find("at least one <stage>"),
              std::string::npos);
}

TEST(PipelineFormat, RejectsBadTargets) {
    auto targetError = [](const std::string& target) {
        return errorOf(stageWith("<clear depth=\"1\"/>", target));
    };
    EXPECT_NE(targetError("<target/>").find("needs a 'name'"), std::string::npos);
    EXPECT_NE(targetError("<target name=\"screen\"/>").find("cannot name a target"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\"/><target name=\"a\"/>").find("second target"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\" format=\"rgb565\"/>").find("unknown target format"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\" scale=\"0\"/>").find("'scale' must lie between"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\" scale=\"big\"/>").find("must be a number"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\" buffers=\"5\"/>").find("'buffers'"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\" buffers=\"1.5\"/>").find("whole number"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\" depth=\"maybe\"/>").find("true or false"),
              std::string::npos);
    EXPECT_NE(targetError("<target name=\"a\" size=\"2\"/>").find("no attribute 'size'"),
              std::string::npos);
}

TEST(PipelineFormat, RejectsBadCommands) {
    EXPECT_NE(errorOf(stageWith("<render/>")).find("unknown element <render>"), std::string::npos);
    EXPECT_NE(errorOf(stageWith("<clear/>")).find("needs 'color', 'depth' or both"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<clear color=\"1 1\"/>")).find("3 to 4 numbers"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<clear depth=\"2\"/>")).find("between 0 and 1"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<drawGeometry/>")).find("needs a 'context'"), std::string::npos);
    EXPECT_NE(
        errorOf(stageWith("<drawGeometry context=\"a\" blend=\"mix\"/>")).find("unknown blend"),
        std::string::npos);
    EXPECT_NE(errorOf(stageWith("<drawQuad context=\"final\"/>")).find("needs a 'material'"),
              std::string::npos);
    EXPECT_NE(errorOf("<pipeline><stage>words</stage></pipeline>").find("unexpected text"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<drawLights context=\"lighting\"/>"))
                  .find("unknown element <drawLights>"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<drawOverlays context=\"o\" shadowContext=\"s\"/>"))
                  .find("no attribute 'shadowContext'"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<drawGeometry context=\"a\" shadowContext=\"1s\"/>"))
                  .find("not a GLSL name"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<copyTarget source=\"nowhere\"/>")).find("no target named"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<copyTarget/>")).find("needs a 'source'"), std::string::npos);
    EXPECT_NE(errorOf("<pipeline><stage reuse=\"always\"/></pipeline>").find("unknown reuse"),
              std::string::npos);
}

TEST(PipelineFormat, AZeroContextComesWithItsUniform) {
    auto quadError = [](const std::string& attributes) {
        return errorOf(
            stageWith("<drawQuad material=\"m.xml\" context=\"a\" " + attributes + "/>"));
    };
    EXPECT_NE(quadError("whenZero=\"blurDir\"").find("come together"), std::string::npos);
    EXPECT_NE(quadError("zeroContext=\"b\"").find("come together"), std::string::npos);
    EXPECT_NE(quadError("whenZero=\"blur dir\" zeroContext=\"b\"").find("GLSL names"),
              std::string::npos);
}

TEST(PipelineFormat, RejectsQuadInputsThatDoNotFit) {
    std::string target = "<target name=\"t\"/>";
    auto quadError = [&target](const std::string& input) {
        return errorOf(stageWith(
            "<drawQuad material=\"m.xml\" context=\"final\">" + input + "</drawQuad>", target));
    };
    EXPECT_NE(quadError("<input sampler=\"s\" target=\"x\"/>").find("no target named 'x'"),
              std::string::npos);
    EXPECT_NE(quadError("<input sampler=\"s\" target=\"t\" buffer=\"1\"/>").find("only 1 colour"),
              std::string::npos);
    EXPECT_NE(quadError("<input sampler=\"2s\" target=\"t\"/>").find("not a GLSL name"),
              std::string::npos);
    EXPECT_NE(quadError("<input sampler=\"s\" target=\"t\" filter=\"cubic\"/>")
                  .find("unknown filter 'cubic' (linear or nearest)"),
              std::string::npos);
    EXPECT_NE(quadError("<input sampler=\"s\" target=\"t\"/><input sampler=\"s\" target=\"t\"/>")
                  .find("bound twice"),
              std::string::npos);
}

TEST(PipelineFormat, FindsTargetsByName) {
    Parsed<PipelineDesc> parsed = parsePipeline(kTwoStagePipeline);
    ASSERT_TRUE(parsed.ok());
    EXPECT_NE(findTarget(parsed.value(), "hdr"), nullptr);
    EXPECT_EQ(findTarget(parsed.value(), "screen"), nullptr);
}

TEST(PipelineFormat, QuadInputsAreBilinearUnlessTheySayOtherwise) {
    Parsed<PipelineDesc> parsed = parsePipeline(
        stageWith("<drawQuad material=\"m.xml\" context=\"final\"><input sampler=\"s\" "
                  "target=\"t\"/><input sampler=\"u\" target=\"t\" filter=\"linear\"/></drawQuad>",
                  "<target name=\"t\"/>"));
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const PipelineCommand& quad = parsed.value().stages[0].commands[0];
    ASSERT_EQ(quad.inputs.size(), 2u);
    EXPECT_FALSE(quad.inputs[0].nearest);
    EXPECT_FALSE(quad.inputs[1].nearest);
}

TEST(PipelineFormat, TheFillOnlyContextMustBeAGlslName) {
    EXPECT_NE(errorOf(stageWith("<drawGeometry context=\"lit\" fillOnlyContext=\"lit fill\"/>"))
                  .find("fill-only context 'lit fill' is not a GLSL name"),
              std::string::npos);
    EXPECT_NE(errorOf(stageWith("<drawOverlays context=\"overlay\" fillOnlyContext=\"x\"/>"))
                  .find("fillOnlyContext"),
              std::string::npos);
}
