// XML files of many or deeply nested elements: refused before any reader walks them, and the
// line numbers of long files found without counting from the start each time.
#include <gtest/gtest.h>

#include <string>

#include "engine/formats/material_format.h"
#include "engine/formats/scene_format.h"
#include "engine/formats/xml_source.h"
#include "test_support.h"

using namespace engine;

namespace {

std::string repeated(const std::string& piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t index = 0; index < count; ++index) {
        text += piece;
    }
    return text;
}

}  // namespace

TEST(XmlLimits, LineNumbersStayRightAcrossLongFiles) {
    // A line for <scene>, one per group, then the bad node on line 3002.
    const std::string xml =
        "<scene>\n" + repeated("<group/>\n", 3000) + "<light colour=\"1 1 1\"/></scene>";
    EXPECT_TRUE(contains(sceneError(xml), "line 3002: ")) << sceneError(xml);
    EXPECT_TRUE(contains(sceneError("\n\n<scene>\n<bad/></scene>"), "line 4: "));
    // The whole file on one line, and a fault in pugixml's own parsing.
    EXPECT_TRUE(contains(sceneError("<scene><group/><bad/></scene>"), "line 1: "));
    EXPECT_TRUE(contains(sceneError("<scene>\n\n<group></scene>"), "line 3: malformed XML"));
}

TEST(XmlLimits, AHundredThousandElementsParseAndKeepTheirLines) {
    const std::string xml = "<scene>\n" + repeated("<group/>\n", 100000) + "</scene>";
    Parsed<SceneDesc> scene = parseScene(xml);
    ASSERT_TRUE(scene.ok()) << scene.error();
    ASSERT_EQ(scene.value().root.children.size(), 100000u);
    EXPECT_EQ(scene.value().root.children.back().line, 100001);
}

TEST(XmlLimits, TooManyOrTooDeeplyNestedElementsAreRefusedBeforeReading) {
    const std::string many = "<scene>" + repeated("<g/>", kMostXmlElements) + "</scene>";
    EXPECT_TRUE(contains(sceneError(many), "more than 1000000 elements")) << sceneError(many);

    const std::size_t levels = 100000;
    const std::string deep =
        "<scene>" + repeated("<group>", levels) + repeated("</group>", levels) + "</scene>";
    EXPECT_TRUE(contains(sceneError(deep), "nest deeper than 256 levels")) << sceneError(deep);
    // Materials have no recursive reader of their own; the tree check guards them too.
    Parsed<MaterialDesc> material = parseMaterial("<material shader=\"s\">" + repeated("<a>", 300) +
                                                  repeated("</a>", 300) + "</material>");
    ASSERT_FALSE(material.ok());
    EXPECT_TRUE(contains(material.error(), "nest deeper than 256 levels")) << material.error();
}
