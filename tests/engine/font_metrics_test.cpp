#include <gtest/gtest.h>

#include <string>

#include "engine/formats/font_metrics.h"

using namespace engine;

namespace {

// What the content generator writes beside font.png.
const char* kGeneratedMetrics =
    "cell_width 32\ncell_height 64\ncolumns 16\nfirst_char 32\nchar_count 95\n"
    "advance 0.465478\nbaseline 49\n";

std::string errorOf(const std::string& text) {
    Parsed<FontMetrics> parsed = parseFontMetrics(text);
    EXPECT_FALSE(parsed.ok()) << "parsed although it should not: " << text;
    return parsed.ok() ? std::string() : parsed.error();
}

}  // namespace

TEST(FontMetrics, ReadsTheGeneratedMetrics) {
    Parsed<FontMetrics> parsed = parseFontMetrics(kGeneratedMetrics);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const FontMetrics& metrics = parsed.value();
    EXPECT_EQ(metrics.cellWidth, 32);
    EXPECT_EQ(metrics.cellHeight, 64);
    EXPECT_EQ(metrics.columns, 16);
    EXPECT_EQ(metrics.firstChar, 32);
    EXPECT_EQ(metrics.charCount, 95);
    EXPECT_FLOAT_EQ(metrics.advance, 0.465478f);
    EXPECT_EQ(metrics.baseline, 49);
    EXPECT_EQ(metrics.rows(), 6);
    EXPECT_TRUE(metrics.hasCharacter('~'));
    EXPECT_FALSE(metrics.hasCharacter(127));
}

TEST(FontMetrics, TakesCommentsBlankLinesAnyOrderAndNoBaseline) {
    Parsed<FontMetrics> parsed = parseFontMetrics(
        "# a test font\r\n\nadvance 0.5\r\n  columns\t4  \nchar_count 10\nfirst_char 48\n"
        "cell_height 16\ncell_width 8");
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().columns, 4);
    EXPECT_EQ(parsed.value().rows(), 3);
    EXPECT_EQ(parsed.value().cellWidth, 8);
}

TEST(FontMetrics, NamesAMissingKey) {
    EXPECT_EQ(errorOf("cell_width 32\ncell_height 64\ncolumns 16\nfirst_char 32\nchar_count 95\n"),
              "'advance' is missing");
    EXPECT_EQ(errorOf(""), "'cell_width' is missing");
}

TEST(FontMetrics, NamesTheLineOfABadNumber) {
    EXPECT_EQ(errorOf("cell_width 32\ncell_height sixty\n"),
              "line 2: 'cell_height' needs a number, not 'sixty'");
    EXPECT_EQ(errorOf("cell_width 32.5\n"), "line 1: 'cell_width' needs a whole number");
    EXPECT_NE(errorOf("columns 0\n").find("line 1: 'columns' must lie between 1"),
              std::string::npos);
    EXPECT_NE(errorOf("advance -1\n").find("'advance' must lie between"), std::string::npos);
    EXPECT_EQ(errorOf("advance nan\n"), "line 1: 'advance' needs a number, not 'nan'");
    EXPECT_EQ(errorOf("advance\n"), "line 1: 'advance' needs a value");
}

TEST(FontMetrics, RefusesUnknownAndRepeatedKeys) {
    EXPECT_EQ(errorOf("cell_widht 32\n"), "line 1: unknown key 'cell_widht'");
    EXPECT_EQ(errorOf(std::string(kGeneratedMetrics) + "columns 8\n"),
              "line 8: 'columns' appears twice");
}

TEST(FontMetrics, RefusesCharactersBeyond255) {
    EXPECT_EQ(errorOf("cell_width 8\ncell_height 8\ncolumns 16\nfirst_char 200\nchar_count 95\n"
                      "advance 1\n"),
              "first_char + char_count goes beyond 256 characters");
}
