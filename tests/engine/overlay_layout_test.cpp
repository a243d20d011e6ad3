#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/overlay_layout.h"

using namespace engine;

namespace {

// The digits in a 4-column grid of 10x20 cells; the atlas is 64x128 pixels, larger than the grid.
FontMetrics testMetrics() {
    FontMetrics metrics;
    metrics.cellWidth = 10;
    metrics.cellHeight = 20;
    metrics.columns = 4;
    metrics.firstChar = '0';
    metrics.charCount = 10;
    metrics.advance = 0.4f;
    return metrics;
}

constexpr PixelSize kAtlas{64, 128};
constexpr PixelSize kViewport{200, 100};

std::vector<OverlayVertex> layout(const std::string& text, const FontMetrics& metrics,
                                  const TextPlacement& placement) {
    std::vector<OverlayVertex> vertices;
    layoutText(text, placement, metrics, kAtlas, kViewport, vertices);
    return vertices;
}

std::string displayed(const std::string& text) {
    std::string shown;
    for (std::size_t position = 0; position < text.size();) {
        shown.push_back(displayedCharacter(text, position));
    }
    return shown;
}

}  // namespace

TEST(OverlayLayout, PlacesTheFirstGlyphAtTheTopLeftCorner) {
    // Character height 0.1 of 100 pixels: 10 pixels, 4 wide; the corner at pixel (20, 20).
    TextPlacement placement{0.1f, 0.2f, 0.1f, glm::vec3(0.25f, 0.5f, 0.75f)};
    std::vector<OverlayVertex> vertices = layout("1", testMetrics(), placement);
    ASSERT_EQ(vertices.size(), 6u);
    const OverlayVertex& topLeft = vertices[0];
    const OverlayVertex& bottomRight = vertices[2];
    EXPECT_FLOAT_EQ(topLeft.x, -0.8f);
    EXPECT_FLOAT_EQ(topLeft.y, 0.6f);
    EXPECT_FLOAT_EQ(bottomRight.x, -0.76f);
    EXPECT_FLOAT_EQ(bottomRight.y, 0.4f);
    EXPECT_FLOAT_EQ(topLeft.r, 0.25f);
    EXPECT_FLOAT_EQ(topLeft.g, 0.5f);
    EXPECT_FLOAT_EQ(topLeft.b, 0.75f);
    EXPECT_FLOAT_EQ(topLeft.a, 1.0f);
}

TEST(OverlayLayout, TakesTheAdvanceWideMiddleOfTheCharactersCell) {
    // '5' is cell 5: column 1, row 1, pixels 10..20 by 20..40; the glyph is 8 pixels wide.
    std::vector<OverlayVertex> vertices = layout("5", testMetrics(), {0, 0, 0.1f});
    ASSERT_EQ(vertices.size(), 6u);
    EXPECT_FLOAT_EQ(vertices[0].u, 11.0f / 64.0f);
    EXPECT_FLOAT_EQ(vertices[0].v, 20.0f / 128.0f);
    EXPECT_FLOAT_EQ(vertices[2].u, 19.0f / 64.0f);
    EXPECT_FLOAT_EQ(vertices[2].v, 40.0f / 128.0f);
}

TEST(OverlayLayout, AdvancesOneGlyphWidthPerCharacterAndSkipsSpaces) {
    std::vector<OverlayVertex> vertices = layout("1 2", testMetrics(), {0, 0, 0.1f});
    ASSERT_EQ(vertices.size(), 12u);
    // Each glyph is 0.04 clip units wide; the space leaves a gap of one glyph.
    EXPECT_FLOAT_EQ(vertices[6].x, -1.0f + 2 * 0.04f);
    EXPECT_FLOAT_EQ(vertices[8].x, -1.0f + 3 * 0.04f);
    EXPECT_FLOAT_EQ(vertices[6].y, vertices[0].y);
}

TEST(OverlayLayout, TwoTrianglesCoverTheGlyphRectangle) {
    std::vector<OverlayVertex> vertices = layout("0", testMetrics(), {0.5f, 0.5f, 0.2f});
    ASSERT_EQ(vertices.size(), 6u);
    float left = vertices[0].x, top = vertices[0].y;
    float right = vertices[2].x, bottom = vertices[2].y;
    const float expected[6][2] = {{left, top}, {left, bottom},  {right, bottom},
                                  {left, top}, {right, bottom}, {right, top}};
    for (int corner = 0; corner < 6; ++corner) {
        EXPECT_FLOAT_EQ(vertices[corner].x, expected[corner][0]) << corner;
        EXPECT_FLOAT_EQ(vertices[corner].y, expected[corner][1]) << corner;
    }
}

TEST(OverlayLayout, CharactersOutsidePrintableAsciiShowAsQuestionMarks) {
    EXPECT_EQ(displayed("Az ~"), "Az ~");
    EXPECT_EQ(displayed("a\tb\n"), "a?b?");
    // "é" and "€" are one character each in UTF-8; a stray continuation byte is one too.
    EXPECT_EQ(displayed("caf\xc3\xa9 \xe2\x82\xac!"), "caf? ?!");
    EXPECT_EQ(displayed("\x80x\x7f"), "?x?");
}

TEST(OverlayLayout, MissingCharactersDrawTheAtlasQuestionMark) {
    FontMetrics metrics;  // the full printable ASCII grid, 16 columns of 32x64
    std::vector<OverlayVertex> unknown = layout("\x01", metrics, {0, 0, 0.1f});
    std::vector<OverlayVertex> question = layout("?", metrics, {0, 0, 0.1f});
    ASSERT_EQ(unknown.size(), 6u);
    ASSERT_EQ(question.size(), 6u);
    EXPECT_FLOAT_EQ(unknown[0].u, question[0].u);
    EXPECT_FLOAT_EQ(unknown[0].v, question[0].v);

    // The digits-only test atlas has no '?': such characters take room but draw nothing.
    std::vector<OverlayVertex> digits = layout("1x2", testMetrics(), {0, 0, 0.1f});
    ASSERT_EQ(digits.size(), 12u);
    EXPECT_FLOAT_EQ(digits[6].x, -1.0f + 2 * 0.04f);
}
