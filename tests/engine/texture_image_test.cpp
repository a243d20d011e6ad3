#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <stb_image_write.h>
#include <webp/encode.h>
#include <webp/types.h>

#include "engine/formats/cube_faces.h"
#include "engine/formats/texture_image.h"

using namespace engine;

namespace {

void appendTo(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

// Pixel (x, y) is (x, y, 7, 255).
std::vector<std::uint8_t> gradient(int width, int height) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.insert(pixels.end(),
                          {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7, 255});
        }
    }
    return pixels;
}

std::string encodedPng(int width, int height) {
    std::vector<std::uint8_t> pixels = gradient(width, height);
    std::string bytes;
    stbi_write_png_to_func(appendTo, &bytes, width, height, 4, pixels.data(), width * 4);
    return bytes;
}

// The top half red, the bottom half blue: colours a JPEG keeps within a few steps.
std::string encodedJpeg(int width, int height) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool top = y < height / 2;
            pixels.insert(pixels.end(), {static_cast<std::uint8_t>(top ? 230 : 10), 10,
                                         static_cast<std::uint8_t>(top ? 10 : 230)});
        }
    }
    std::string bytes;
    stbi_write_jpg_to_func(appendTo, &bytes, width, height, 3, pixels.data(), 95);
    return bytes;
}

// Lossless, so every pixel comes back exactly.
std::string encodedWebp(int width, int height) {
    std::vector<std::uint8_t> pixels = gradient(width, height);
    pixels[3] = 128;  // one half-transparent pixel, to see alpha kept
    std::uint8_t* output = nullptr;
    const std::size_t size =
        WebPEncodeLosslessRGBA(pixels.data(), width, height, width * 4, &output);
    std::string bytes(reinterpret_cast<const char*>(output), size);
    WebPFree(output);
    return bytes;
}

// Sets the IHDR chunk's width and height (big-endian, at bytes 16 and 20) without fixing its
// checksum: the size must be refused before anything else is read.
std::string withPngSize(std::string png, std::uint32_t width, std::uint32_t height) {
    for (int index = 0; index < 4; ++index) {
        png[16 + index] = static_cast<char>((width >> (24 - 8 * index)) & 0xff);
        png[20 + index] = static_cast<char>((height >> (24 - 8 * index)) & 0xff);
    }
    return png;
}

const std::uint8_t* pixel(const ImageData& image, int x, int y) {
    return &image.rgba[static_cast<std::size_t>((y * image.width + x) * 4)];
}

bool near(int actual, int expected) {
    return std::abs(actual - expected) <= 12;
}

}  // namespace

TEST(TextureImage, DecodesAPngToRgbaRowsTopFirst) {
    Parsed<ImageData> image = decodeImage(encodedPng(3, 2));
    ASSERT_TRUE(image.ok()) << image.error();
    EXPECT_EQ(image.value().width, 3);
    EXPECT_EQ(image.value().height, 2);
    ASSERT_EQ(image.value().rgba.size(), 3u * 2u * 4u);
    // Pixel (2, 1): the last of the second row.
    const std::uint8_t* last = pixel(image.value(), 2, 1);
    EXPECT_EQ(last[0], 2);
    EXPECT_EQ(last[1], 1);
    EXPECT_EQ(last[2], 7);
    EXPECT_EQ(last[3], 255);
}

TEST(TextureImage, DecodesAJpegToOpaqueRgbaRowsTopFirst) {
    Parsed<ImageData> image = decodeImage(encodedJpeg(16, 16));
    ASSERT_TRUE(image.ok()) << image.error();
    EXPECT_EQ(image.value().width, 16);
    EXPECT_EQ(image.value().height, 16);
    ASSERT_EQ(image.value().rgba.size(), 16u * 16u * 4u);
    const std::uint8_t* top = pixel(image.value(), 4, 2);
    const std::uint8_t* bottom = pixel(image.value(), 4, 13);
    EXPECT_TRUE(near(top[0], 230) && near(top[2], 10)) << int(top[0]) << " " << int(top[2]);
    EXPECT_TRUE(near(bottom[0], 10) && near(bottom[2], 230))
        << int(bottom[0]) << " " << int(bottom[2]);
    EXPECT_EQ(top[3], 255);
}

TEST(TextureImage, RefusesFilesThatAreNeitherPngNorJpeg) {
    Parsed<ImageData> text = decodeImage("<material/>");
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.error(), "not a PNG, JPEG or WebP file");
    EXPECT_FALSE(decodeImage("").ok());
}

TEST(TextureImage, ReportsBrokenPngsAndJpegs) {
    Parsed<ImageData> png = decodeImage(encodedPng(8, 8).substr(0, 40));
    ASSERT_FALSE(png.ok());
    EXPECT_NE(png.error().find("cannot decode the PNG"), std::string::npos) << png.error();

    std::string jpeg = encodedJpeg(16, 16);
    Parsed<ImageData> broken = decodeImage(jpeg.substr(0, 3) + std::string(200, '\x17'));
    ASSERT_FALSE(broken.ok());
    EXPECT_NE(broken.error().find("cannot decode the JPEG"), std::string::npos) << broken.error();
}

TEST(TextureImage, FilesCutShortFailAtEveryLength) {
    for (const std::string& whole : {encodedPng(8, 8), encodedJpeg(16, 16)}) {
        // JPEG decoders may make do without the end marker, so the last bytes are spared.
        for (std::size_t length = 0; length + 4 < whole.size(); ++length) {
            EXPECT_FALSE(decodeImage(whole.substr(0, length)).ok()) << length;
        }
    }
}

TEST(TextureImage, RefusesHugeSidesBeforeDecoding) {
    std::string png = encodedPng(1, 1);
    // The width is the first field of the IHDR chunk, big-endian, at byte 16.
    const std::uint32_t width = 20000;
    png[16] = static_cast<char>(width >> 24);
    png[17] = static_cast<char>((width >> 16) & 0xff);
    png[18] = static_cast<char>((width >> 8) & 0xff);
    png[19] = static_cast<char>(width & 0xff);
    Parsed<ImageData> image = decodeImage(png);
    ASSERT_FALSE(image.ok());
    EXPECT_NE(image.error().find("20000x1 is larger than 16384"), std::string::npos)
        << image.error();
}

TEST(TextureImage, DecodesALosslessWebpWithItsAlpha) {
    Parsed<ImageData> image = decodeImage(encodedWebp(5, 3));
    ASSERT_TRUE(image.ok()) << image.error();
    ASSERT_EQ(image.value().width, 5);
    ASSERT_EQ(image.value().height, 3);
    const std::uint8_t* first = pixel(image.value(), 0, 0);
    const std::uint8_t* last = pixel(image.value(), 4, 2);
    EXPECT_EQ(first[3], 128);
    EXPECT_EQ(last[0], 4);
    EXPECT_EQ(last[1], 2);
    EXPECT_EQ(last[2], 7);
    EXPECT_EQ(last[3], 255);
    // Cut short, a WebP fails like the others.
    const std::string whole = encodedWebp(16, 16);
    EXPECT_FALSE(decodeImage(whole.substr(0, whole.size() / 2)).ok());
}

TEST(TextureImage, GreyAndGreyAlphaPngsExpandToRgba) {
    const std::uint8_t grey[] = {10, 200, 30, 40};
    std::string bytes;
    stbi_write_png_to_func(appendTo, &bytes, 2, 1, 2, grey, 4);
    Parsed<ImageData> image = decodeImage(bytes);
    ASSERT_TRUE(image.ok()) << image.error();
    const std::vector<std::uint8_t> expected = {10, 10, 10, 200, 30, 30, 30, 40};
    EXPECT_EQ(image.value().rgba, expected);
}

TEST(TextureImage, HeadersAskingForTooManyPixelsAreRefusedBeforeDecoding) {
    const std::string square = withPngSize(encodedPng(1, 1), 16384, 16384);
    Parsed<ImageSize> size = readImageSize(square);
    ASSERT_FALSE(size.ok());
    EXPECT_NE(size.error().find("16384x16384 is more than the 67108864 pixels"), std::string::npos)
        << size.error();
    EXPECT_EQ(decodeImage(square).error(), size.error());
    // Long and thin stays within the pixel count, so only the side limit applies.
    Parsed<ImageSize> thin = readImageSize(withPngSize(encodedPng(1, 1), 16384, 2));
    ASSERT_TRUE(thin.ok()) << thin.error();
    EXPECT_EQ(thin.value().width, 16384);
    EXPECT_EQ(thin.value().height, 2);
    EXPECT_FALSE(readImageSize(withPngSize(encodedPng(1, 1), 0, 5)).ok());
}

TEST(TextureImage, JpegHeadersAreCheckedToo) {
    std::string jpeg = encodedJpeg(16, 16);
    Parsed<ImageSize> size = readImageSize(jpeg);
    ASSERT_TRUE(size.ok()) << size.error();
    EXPECT_EQ(size.value().width, 16);
    // The frame header (FFC0) holds the height, then the width, big-endian.
    const std::size_t frame = jpeg.find("\xff\xc0");
    ASSERT_NE(frame, std::string::npos);
    jpeg[frame + 5] = static_cast<char>(0xfa);
    jpeg[frame + 7] = static_cast<char>(0xfa);
    Parsed<ImageData> huge = decodeImage(jpeg);
    ASSERT_FALSE(huge.ok());
    EXPECT_NE(huge.error().find("is larger than 16384 pixels a side"), std::string::npos)
        << huge.error();
}

TEST(CubeFaces, SplitsAStripIntoSixFaces) {
    Parsed<ImageData> strip = decodeImage(encodedPng(2, 12));
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

TEST(CubeFaces, AStripMustBeSixSquaresTall) {
    Parsed<ImageData> square = decodeImage(encodedPng(4, 4));
    ASSERT_TRUE(square.ok());
    Parsed<CubeFaces> faces = splitCubeFaces(square.value());
    ASSERT_FALSE(faces.ok());
    EXPECT_NE(faces.error().find("not 4x4"), std::string::npos);
}

TEST(MipmapLevels, EachTexelAveragesTheTwoByTwoItCovers) {
    ImageData image;
    image.width = 4;
    image.height = 2;
    // Left half: texels 0 and 255 alternating along rows; right half: 100 everywhere.
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const std::uint8_t value = x < 2 ? static_cast<std::uint8_t>((x + y) % 2 * 255) : 100;
            image.rgba.insert(image.rgba.end(), {value, value, value, 255});
        }
    }
    const ImageData half = halfSizeImage(image);
    ASSERT_EQ(half.width, 2);
    ASSERT_EQ(half.height, 1);
    ASSERT_EQ(half.rgba.size(), 8u);
    EXPECT_EQ(half.rgba[0], 128);  // (0 + 255 + 255 + 0) / 4, rounded
    EXPECT_EQ(half.rgba[3], 255);
    EXPECT_EQ(half.rgba[4], 100);
}

TEST(MipmapLevels, OddAndThinImagesHalveDownToOneTexel) {
    ImageData image;
    image.width = 3;
    image.height = 1;
    image.rgba = {30, 0, 0, 0, 60, 0, 0, 0, 90, 0, 0, 0};
    const ImageData half = halfSizeImage(image);
    ASSERT_EQ(half.width, 1);
    ASSERT_EQ(half.height, 1);
    // The single row repeats itself: (30 + 60 + 30 + 60) / 4.
    EXPECT_EQ(half.rgba[0], 45);

    ImageData level;
    level.width = 16;
    level.height = 8;
    level.rgba.assign(16 * 8 * 4, 7);
    int levels = 1;
    while (level.width > 1 || level.height > 1) {
        level = halfSizeImage(level);
        ++levels;
        EXPECT_EQ(level.rgba.size(), static_cast<std::size_t>(level.width * level.height * 4));
    }
    EXPECT_EQ(levels, 5);  // 16x8, 8x4, 4x2, 2x1, 1x1
    EXPECT_EQ(level.rgba[0], 7);
}
