// File text in messages: a hostile file's megabyte "line" or terminal escape sequences must come
// out as a short, printable excerpt.
#include <gtest/gtest.h>

#include <string>

#include "engine/formats/font_metrics.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/scene_format.h"
#include "engine/formats/shader_format.h"
#include "test_support.h"

using namespace engine;

TEST(QuotedText, ExcerptsAreCutAndControlCharactersEscaped) {
    EXPECT_EQ(quotedExcerpt("plain"), "'plain'");
    EXPECT_EQ(quotedExcerpt("a\nb\tc\rd\\e"), "'a\\nb\\tc\\rd\\\\e'");
    EXPECT_EQ(quotedExcerpt(std::string("\x1b[2J\0\x7f\x9b", 7)), "'\\x1b[2J\\x00\\x7f\\x9b'");
    const std::string cut = quotedExcerpt(std::string(1000, 'z'));
    EXPECT_EQ(cut, "'" + std::string(kLongestQuote, 'z') + "...'");
    EXPECT_EQ(printableExcerpt("abcdef", 3), "abc...");
}

TEST(QuotedText, ParsersQuoteOnlyAShortPrintableExcerpt) {
    // A "line" of a million zeros and an escape sequence, where a key and value belong.
    Parsed<FontMetrics> metrics = parseFontMetrics("\x1b[31m" + std::string(1000000, '0'));
    ASSERT_FALSE(metrics.ok());
    EXPECT_LT(metrics.error().size(), 120u) << metrics.error();
    EXPECT_TRUE(contains(metrics.error(), "'\\x1b[31m000")) << metrics.error();

    Parsed<FontMetrics> number = parseFontMetrics("advance 1\x07" + std::string(5000, '9'));
    ASSERT_FALSE(number.ok());
    EXPECT_TRUE(contains(number.error(), "not '1\\x07999")) << number.error();
    EXPECT_LT(number.error().size(), 150u) << number.error();

    const std::string value = std::string(5000, 'x') + "\n";
    const std::string scene = sceneError("<scene><group scale=\"" + value + "\"/></scene>");
    EXPECT_LT(scene.size(), 150u) << scene;
    const std::string element = sceneError("<scene><" + std::string(5000, 'q') + "/></scene>");
    EXPECT_LT(element.size(), 150u) << element;

    Parsed<ShaderDesc> shader = parseShader("@" + std::string(5000, 'w') + "\x1b");
    ASSERT_FALSE(shader.ok());
    EXPECT_LT(shader.error().size(), 150u) << shader.error();
    EXPECT_FALSE(contains(shader.error(), "\x1b")) << shader.error();
}
