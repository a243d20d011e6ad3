// The PNG encoder behind screenshots: what it writes decodes to the same pixels, top row first.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/formats/image_codecs.h"
#include "engine/formats/png_writer.h"

using namespace engine;

TEST(PngWriterTest, WhatItWritesDecodesToTheSamePixels) {
    const int width = 5;
    const int height = 3;
    std::vector<unsigned char> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgb.insert(rgb.end(), {static_cast<unsigned char>(x * 40),
                                   static_cast<unsigned char>(y * 90), 17});
        }
    }
    const Parsed<std::string> png = encodePngRgb(width, height, rgb);
    ASSERT_TRUE(png.ok()) << png.error();
    const Parsed<ImageData> decoded = decodePng(png.value());
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    ASSERT_EQ(decoded.value().width, width);
    ASSERT_EQ(decoded.value().height, height);
    for (std::size_t pixel = 0; pixel < static_cast<std::size_t>(width * height); ++pixel) {
        EXPECT_EQ(decoded.value().rgba[pixel * 4], rgb[pixel * 3]) << pixel;
        EXPECT_EQ(decoded.value().rgba[pixel * 4 + 1], rgb[pixel * 3 + 1]) << pixel;
        EXPECT_EQ(decoded.value().rgba[pixel * 4 + 2], rgb[pixel * 3 + 2]) << pixel;
        EXPECT_EQ(decoded.value().rgba[pixel * 4 + 3], 255) << pixel;
    }
}

TEST(PngWriterTest, PixelsThatDoNotFillThePictureAreRefused) {
    EXPECT_FALSE(encodePngRgb(4, 4, std::vector<unsigned char>(4 * 4 * 3 - 1)).ok());
    EXPECT_FALSE(encodePngRgb(0, 4, {}).ok());
}
