#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "generated_content.h"

namespace content_tests {
namespace {

const char* const kTextures[] = {"membrane.png", "terminal_glow.png", "marble.png",
                                 "pedestal_marble.png", "glia.png"};

int difference(const DecodedImage& image, int x0, int y0, int x1, int y1) {
    const std::uint8_t* a = image.at(x0, y0);
    const std::uint8_t* b = image.at(x1, y1);
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

bool isPowerOfTwo(int value) {
    return value > 0 && (value & (value - 1)) == 0;
}

TEST(ContentTextures, AreRgbPowerOfTwoSquares) {
    for (const char* name : kTextures) {
        const DecodedImage image = generatedImage(name);
        EXPECT_TRUE(isPowerOfTwo(image.width)) << name;
        EXPECT_EQ(image.width, image.height) << name;
        EXPECT_GE(image.width, 256) << name;
        EXPECT_LE(image.width, 512) << name;
        EXPECT_EQ(image.channels, 3) << name;
    }
}

// Opposite edges differ no more than neighbouring columns and rows inside do.
TEST(ContentTextures, TileWithoutVisibleSeams) {
    for (const char* name : kTextures) {
        const DecodedImage image = generatedImage(name);
        const int last = image.width - 1;
        long wrap = 0, inside = 0;
        for (int i = 0; i < image.width; ++i) {
            wrap += difference(image, last, i, 0, i) + difference(image, i, last, i, 0);
            inside += difference(image, 0, i, 1, i) + difference(image, i, 0, i, 1);
        }
        EXPECT_LE(wrap, 2 * inside + image.width) << name;
    }
}

TEST(ContentTextures, MarbleIsLightWithDarkerVeins) {
    const DecodedImage marble = generatedImage("marble.png");
    long light = 0, veined = 0;
    for (int y = 0; y < marble.height; ++y) {
        for (int x = 0; x < marble.width; ++x) {
            const std::uint8_t* pixel = marble.at(x, y);
            light += pixel[0] > 200 ? 1 : 0;
            veined += pixel[0] < 170 ? 1 : 0;
        }
    }
    const long pixels = static_cast<long>(marble.width) * marble.height;
    EXPECT_GT(light, pixels / 2);
    EXPECT_GT(veined, pixels / 200);
}

}  // namespace
}  // namespace content_tests
