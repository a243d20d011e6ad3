#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <stb_image_write.h>

#include "engine/formats/png_image.h"

using namespace engine;

namespace {

// A PNG of the given size whose pixel (x, y) is (x, y, 7, 255).
std::string encodedPng(int width, int height) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.insert(pixels.end(),
                          {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7, 255});
        }
    }
    std::string bytes;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                       static_cast<std::size_t>(size));
        },
        &bytes, width, height, 4, pixels.data(), width * 4);
    return bytes;
}

}  // namespace

TEST(PngImage, DecodesToRgbaRowsTopFirst) {
    Parsed<ImageData> image = decodePng(encodedPng(3, 2));
    ASSERT_TRUE(image.ok()) << image.error();
    EXPECT_EQ(image.value().width, 3);
    EXPECT_EQ(image.value().height, 2);
    ASSERT_EQ(image.value().rgba.size(), 3u * 2u * 4u);
    // Pixel (2, 1): the last of the second row.
    const std::uint8_t* last = &image.value().rgba[(1 * 3 + 2) * 4];
    EXPECT_EQ(last[0], 2);
    EXPECT_EQ(last[1], 1);
    EXPECT_EQ(last[2], 7);
    EXPECT_EQ(last[3], 255);
}

TEST(PngImage, RejectsOtherFilesAndBrokenPngs) {
    Parsed<ImageData> text = decodePng("<material/>");
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.error(), "not a PNG file");

    std::string truncated = encodedPng(8, 8).substr(0, 40);
    Parsed<ImageData> broken = decodePng(truncated);
    ASSERT_FALSE(broken.ok());
    EXPECT_NE(broken.error().find("cannot decode the PNG"), std::string::npos);
}

TEST(PngImage, SplitsACubeStripIntoSixFaces) {
    Parsed<ImageData> strip = decodePng(encodedPng(2, 12));
    ASSERT_TRUE(strip.ok());
    Parsed<CubeFaces> faces = splitCubeFaces(strip.value());
    ASSERT_TRUE(faces.ok()) << faces.error();
    for (std::size_t face = 0; face < 6; ++face) {
        EXPECT_EQ(faces.value()[face].width, 2);
        EXPECT_EQ(faces.value()[face].height, 2);
        // Each face starts at row 2 * face of the strip.
        EXPECT_EQ(static_cast<std::size_t>(faces.value()[face].rgba[1]), 2 * face);
    }
}

TEST(PngImage, ACubeStripMustBeSixSquaresTall) {
    Parsed<ImageData> square = decodePng(encodedPng(4, 4));
    ASSERT_TRUE(square.ok());
    Parsed<CubeFaces> faces = splitCubeFaces(square.value());
    ASSERT_FALSE(faces.ok());
    EXPECT_NE(faces.error().find("not 4x4"), std::string::npos);
}
