#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "generated_content.h"

namespace content_tests {
namespace {

constexpr int kCellWidth = 32;
constexpr int kCellHeight = 64;
constexpr int kColumns = 16;

long coverageOfCell(const DecodedImage& atlas, char character) {
    const int cell = character - 32;
    const int left = (cell % kColumns) * kCellWidth;
    const int top = (cell / kColumns) * kCellHeight;
    long coverage = 0;
    for (int y = top; y < top + kCellHeight; ++y) {
        for (int x = left; x < left + kCellWidth; ++x) {
            coverage += atlas.at(x, y)[3];
        }
    }
    return coverage;
}

std::string generatedText(const std::string& name) {
    const auto bytes = generatedFile(name);
    return {bytes.begin(), bytes.end()};
}

TEST(ContentFont, AtlasIsAWhiteRgbaPowerOfTwoImage) {
    const DecodedImage atlas = generatedImage("font.png");
    EXPECT_EQ(atlas.width, 512);
    EXPECT_EQ(atlas.height, 512);
    ASSERT_EQ(atlas.channels, 4);
    for (int y = 0; y < atlas.height; ++y) {
        for (int x = 0; x < atlas.width; ++x) {
            const std::uint8_t* pixel = atlas.at(x, y);
            ASSERT_EQ(pixel[0] & pixel[1] & pixel[2], 255) << x << "," << y;
        }
    }
}

TEST(ContentFont, GlyphsFillTheirOwnCellsAndTheSpaceStaysEmpty) {
    const DecodedImage atlas = generatedImage("font.png");
    EXPECT_EQ(coverageOfCell(atlas, ' '), 0);
    EXPECT_GT(coverageOfCell(atlas, 'A'), 255L * 60);
    for (char character = 33; character < 127; ++character) {
        EXPECT_GT(coverageOfCell(atlas, character), 0) << character;
    }
    // A wide letter covers more than a narrow one, so cells are not shuffled.
    EXPECT_GT(coverageOfCell(atlas, 'W'), coverageOfCell(atlas, '.'));
}

TEST(ContentFont, MetricsDescribeTheGrid) {
    std::istringstream metrics(generatedText("font.metrics"));
    std::string name;
    float value = 0.0f;
    std::map<std::string, float> values;
    while (metrics >> name >> value) {
        values[name] = value;
    }
    EXPECT_EQ(values["cell_width"], 32.0f);
    EXPECT_EQ(values["cell_height"], 64.0f);
    EXPECT_EQ(values["columns"], 16.0f);
    EXPECT_EQ(values["first_char"], 32.0f);
    EXPECT_EQ(values["char_count"], 95.0f);
    EXPECT_GT(values["advance"], 0.3f);
    EXPECT_LE(values["advance"], 0.5f);
    EXPECT_GT(values["baseline"], 32.0f);
    EXPECT_LT(values["baseline"], 64.0f);
    EXPECT_EQ(values.size(), 7U);
}

TEST(ContentFont, LettersSitOnTheBaseline) {
    const DecodedImage atlas = generatedImage("font.png");
    std::istringstream metrics(generatedText("font.metrics"));
    std::string name;
    float value = 0.0f;
    int baseline = 0;
    while (metrics >> name >> value) {
        if (name == "baseline") {
            baseline = static_cast<int>(value);
        }
    }
    // 'H' has ink on the row just above the baseline and none below it.
    const int cell = 'H' - 32;
    const int left = (cell % kColumns) * kCellWidth;
    const int top = (cell / kColumns) * kCellHeight;
    int above = 0, below = 0;
    for (int x = left; x < left + kCellWidth; ++x) {
        above += atlas.at(x, top + baseline - 1)[3];
        below += atlas.at(x, top + baseline + 1)[3];
    }
    EXPECT_GT(above, 255);
    EXPECT_EQ(below, 0);
}

}  // namespace
}  // namespace content_tests
