// High-dynamic-range images: Radiance and OpenEXR files decoded to linear floats, and the cube
// map faces an equirectangular panorama becomes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "engine/formats/equirect_cube.h"
#include "engine/formats/hdr_image.h"
#include "engine/resources/resource_parser.h"
#include "engine/resources/resource_type.h"
#include "hdr_test_files.h"

using namespace engine;

namespace {

// Pixel (x, y) is (x mod 16, y / 4, 4): exactly what RGBE's 8-bit mantissas and half floats
// store, for images up to 64 rows.
HdrColour gradient(int x, int y) {
    return {static_cast<float>(x % 16), static_cast<float>(y) / 4.0f, 4.0f};
}

HdrColour pixelOf(const HdrImage& image, int x, int y) {
    const float* rgb = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
    return {rgb[0], rgb[1], rgb[2]};
}

HdrImage decoded(const std::string& bytes) {
    Parsed<HdrImage> image = decodeHdrImage(bytes);
    EXPECT_TRUE(image.ok()) << image.error();
    return image.ok() ? std::move(image.value()) : HdrImage();
}

std::string failureOf(const std::string& bytes) {
    Parsed<HdrImage> image = decodeHdrImage(bytes);
    EXPECT_FALSE(image.ok());
    return image.ok() ? std::string() : image.error();
}

std::string rgbeBytes(const HdrColour& colour) {
    const std::array<unsigned char, 4> rgbe = rgbeOf(colour);
    return std::string(reinterpret_cast<const char*>(rgbe.data()), 4);
}

void expectGradient(const HdrImage& image, int width, int height) {
    ASSERT_EQ(image.width, width);
    ASSERT_EQ(image.height, height);
    ASSERT_EQ(image.rgb.size(), static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(pixelOf(image, x, y), gradient(x, y)) << x << ", " << y;
        }
    }
}

}  // namespace

// Flat and run-length scanlines, at sizes below and within the run-length form's range.
class RadianceScanlines : public ::testing::TestWithParam<RgbeScanlines> {};

TEST_P(RadianceScanlines, DecodeToLinearFloatsRowsTopFirst) {
    for (const auto& [width, height] : {std::pair{3, 2}, std::pair{16, 5}, std::pair{300, 2}}) {
        const std::string bytes = radianceFile(width, height, gradient, GetParam());
        EXPECT_TRUE(isHdrImage(bytes));
        Parsed<ImageSize> size = readHdrImageSize(bytes);
        ASSERT_TRUE(size.ok()) << size.error();
        EXPECT_EQ(size.value().width, width);
        EXPECT_EQ(size.value().height, height);
        expectGradient(decoded(bytes), width, height);
    }
}

TEST_P(RadianceScanlines, FilesCutShortFailAtEveryLength) {
    const std::string whole = radianceFile(9, 3, gradient, GetParam());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        EXPECT_FALSE(decodeHdrImage(whole.substr(0, length)).ok()) << length;
    }
}

INSTANTIATE_TEST_SUITE_P(HdrImage, RadianceScanlines,
                         ::testing::Values(RgbeScanlines::Flat, RgbeScanlines::RunLength));

TEST(HdrImage, ExponentsGiveValuesAboveOne) {
    const std::string bytes =
        radianceHeader("-Y 1 +X 3") + std::string("\x80\x80\x80\x83", 4) +        // 4.0
        std::string("\x80\x00\x00\x88", 4) + std::string("\x00\x00\x00\x00", 4);  // 128.0, black
    const HdrImage image = decoded(bytes);
    ASSERT_EQ(image.rgb.size(), 9u);
    EXPECT_EQ(pixelOf(image, 0, 0), (HdrColour{4.0f, 4.0f, 4.0f}));
    EXPECT_EQ(pixelOf(image, 1, 0), (HdrColour{128.0f, 0.0f, 0.0f}));
    EXPECT_EQ(pixelOf(image, 2, 0), (HdrColour{0.0f, 0.0f, 0.0f}));
}

TEST(HdrImage, AHeaderWithoutAFormatLineIsRgb) {
    const HdrImage image = decoded(radianceHeader("-Y 1 +X 1", "") +
                                   std::string("\x80\x40\x00\x81", 4));  // 1.0, 0.5, 0
    EXPECT_EQ(pixelOf(image, 0, 0), (HdrColour{1.0f, 0.5f, 0.0f}));
}

// (1, 1, 1, n) repeats the pixel before n times; a second one in a row counts n << 8.
TEST(HdrImage, OldStyleRepeatsCopyThePixelBefore) {
    const std::string one = rgbeBytes({1.0f, 0.5f, 0.25f});
    const std::string two = rgbeBytes({0.0f, 2.0f, 0.0f});
    const std::string bytes = radianceHeader("-Y 1 +X 260") + one +
                              std::string("\x01\x01\x01\x02", 4) +
                              std::string("\x01\x01\x01\x01", 4) + two;
    const HdrImage image = decoded(bytes);
    ASSERT_EQ(image.width, 260);
    EXPECT_EQ(pixelOf(image, 0, 0), (HdrColour{1.0f, 0.5f, 0.25f}));
    EXPECT_EQ(pixelOf(image, 258, 0), (HdrColour{1.0f, 0.5f, 0.25f}));
    EXPECT_EQ(pixelOf(image, 259, 0), (HdrColour{0.0f, 2.0f, 0.0f}));
}

// The resolution line's eight orientations: pixel (x, y) of the image always holds gradient's
// colour there, whichever order the scanlines store the pixels in.
struct Orientation {
    const char* line;
    bool rowsAreScanlines;
    bool bottomFirst;
    bool rightFirst;
};

class RadianceOrientations : public ::testing::TestWithParam<Orientation> {};

TEST_P(RadianceOrientations, PutEachPixelInItsPlace) {
    const Orientation& orientation = GetParam();
    constexpr int kWidth = 3;
    constexpr int kHeight = 2;
    std::string pixels;
    const int scanlines = orientation.rowsAreScanlines ? kHeight : kWidth;
    const int length = orientation.rowsAreScanlines ? kWidth : kHeight;
    for (int scanline = 0; scanline < scanlines; ++scanline) {
        for (int at = 0; at < length; ++at) {
            int x = orientation.rowsAreScanlines ? at : scanline;
            int y = orientation.rowsAreScanlines ? scanline : at;
            x = orientation.rightFirst ? kWidth - 1 - x : x;
            y = orientation.bottomFirst ? kHeight - 1 - y : y;
            pixels += rgbeBytes(gradient(x, y));
        }
    }
    expectGradient(decoded(radianceHeader(orientation.line) + pixels), kWidth, kHeight);
}

INSTANTIATE_TEST_SUITE_P(HdrImage, RadianceOrientations,
                         ::testing::Values(Orientation{"-Y 2 +X 3", true, false, false},
                                           Orientation{"+Y 2 +X 3", true, true, false},
                                           Orientation{"-Y 2 -X 3", true, false, true},
                                           Orientation{"+Y 2 -X 3", true, true, true},
                                           Orientation{"+X 3 -Y 2", false, false, false},
                                           Orientation{"+X 3 +Y 2", false, true, false},
                                           Orientation{"-X 3 -Y 2", false, false, true},
                                           Orientation{"-X 3 +Y 2", false, true, true}));

struct Fault {
    const char* name;
    std::string bytes;
    const char* reason;
};

class RadianceFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(RadianceFaults, FailWithTheirReason) {
    const std::string error = failureOf(GetParam().bytes);
    EXPECT_NE(error.find(GetParam().reason), std::string::npos) << error;
}

const std::string kPixel = rgbeBytes({1.0f, 1.0f, 1.0f});

INSTANTIATE_TEST_SUITE_P(
    HdrImage, RadianceFaults,
    ::testing::Values(
        Fault{"BadMagic", "#?RADIANC\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n" + kPixel,
              "not a Radiance HDR or OpenEXR file"},
        Fault{"Xyze", radianceHeader("-Y 1 +X 1", "FORMAT=32-bit_rle_xyze") + kPixel,
              "its pixels are CIE XYZ (FORMAT=32-bit_rle_xyze)"},
        Fault{"OtherFormat", radianceHeader("-Y 1 +X 1", "FORMAT=16-bit") + kPixel,
              "unknown pixel format 'FORMAT=16-bit'"},
        Fault{"ResolutionWithoutSizes", radianceHeader("-Y +X") + kPixel,
              "the resolution line '-Y +X' is not like '-Y HEIGHT +X WIDTH'"},
        Fault{"ResolutionWithOneAxisTwice", radianceHeader("-Y 1 +Y 1") + kPixel,
              "is not like '-Y HEIGHT +X WIDTH'"},
        Fault{"ResolutionWithMore", radianceHeader("-Y 1 +X 1 +Z 1") + kPixel,
              "is not like '-Y HEIGHT +X WIDTH'"},
        Fault{"ResolutionTooLong", radianceHeader("-Y 1 +X 1234567890") + kPixel,
              "is not like '-Y HEIGHT +X WIDTH'"},
        Fault{"NoPixels", radianceHeader("-Y 0 +X 4"), "its header declares 4x0 pixels"},
        Fault{"HeaderWithoutEnd", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n",
              "the file ends inside its header"},
        Fault{"HeaderWithoutBound", "#?RGBE\n" + std::string(70000, '#'),
              "its header does not end within 64 KiB"},
        Fault{"NoResolutionLine", "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n",
              "the file ends before its resolution line"},
        Fault{"RepeatFirst", radianceHeader("-Y 1 +X 2") + "\x01\x01\x01\x01" + kPixel,
              "a repeat before any pixel of its scanline"},
        Fault{"RepeatTooLong", radianceHeader("-Y 1 +X 2") + kPixel + "\x01\x01\x01\x05",
              "a repeat goes past the end of its scanline"},
        Fault{"ScanlineOfOtherLength",
              radianceHeader("-Y 1 +X 8") + std::string("\x02\x02\x00\x09", 4),
              "a run-length scanline declares 9 pixels, not 8 (scanline 1 of 1)"},
        Fault{"RunPastTheEnd",
              radianceHeader("-Y 1 +X 8") + std::string("\x02\x02\x00\x08\x89\x01", 6),
              "a run goes past the end of its scanline"},
        Fault{"RunOfNothing", radianceHeader("-Y 1 +X 8") + std::string("\x02\x02\x00\x08\x00", 5),
              "a run of no pixels"},
        Fault{"EndInPixels", radianceHeader("-Y 2 +X 1") + kPixel,
              "the file ends inside its pixels (scanline 2 of 2)"}),
    [](const ::testing::TestParamInfo<Fault>& test) { return std::string(test.param.name); });

// No pixel data follows: a size beyond the limits must be refused from the header alone.
TEST(HdrImage, OversizedHeadersAreRefusedBeforeDecoding) {
    const std::string wide = radianceHeader("-Y 2 +X 20000");
    EXPECT_NE(failureOf(wide).find("20000x2 is larger than 16384 pixels a side"), std::string::npos)
        << failureOf(wide);
    EXPECT_EQ(readHdrImageSize(wide).error(), failureOf(wide));
    const std::string square = radianceHeader("-Y 16384 +X 16384");
    EXPECT_NE(failureOf(square).find("16384x16384 is more than the 67108864 pixels"),
              std::string::npos)
        << failureOf(square);
}

TEST(HdrImage, ValuesAreClampedToWhatHalfFloatsHold) {
    HdrImage image{2,
                   2,
                   {std::numeric_limits<float>::quiet_NaN(), -1.0f, 0.5f,
                    std::numeric_limits<float>::infinity(), 1e6f, 65504.0f,
                    -std::numeric_limits<float>::infinity(), 3.0f, 0.0f, 1.0f, 2.0f, 3.0f},
                   {}};
    addHdrMipmaps(image);
    image.smallerLevels[0].rgb[0] = -2.0f;
    clampToHalfFloats(image);
    EXPECT_EQ(image.rgb, (std::vector<float>{0.0f, 0.0f, 0.5f, 65504.0f, 65504.0f, 65504.0f, 0.0f,
                                             3.0f, 0.0f, 1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(image.smallerLevels[0].rgb[0], 0.0f);
}

TEST(HdrImage, MipmapsAverageTheTwoByTwoTheyCover) {
    HdrImage image{2, 1, {1.0f, 2.0f, 100.0f, 3.0f, 4.0f, 300.0f}, {}};
    addHdrMipmaps(image);
    ASSERT_EQ(image.smallerLevels.size(), 1u);
    EXPECT_EQ(image.smallerLevels[0].width, 1);
    EXPECT_EQ(image.smallerLevels[0].rgb, (std::vector<float>{2.0f, 3.0f, 200.0f}));
}

// OpenEXR: half and float channels, a grey image, a data window away from the origin.
struct ExrCase {
    const char* name;
    ExrChannels channels;
    int left;
    int top;
};

class ExrFiles : public ::testing::TestWithParam<ExrCase> {};

TEST_P(ExrFiles, DecodeToLinearFloatsRowsTopFirst) {
    const ExrCase& exr = GetParam();
    const std::string bytes = exrFile(5, 3, gradient, exr.channels, exr.left, exr.top);
    EXPECT_TRUE(isHdrImage(bytes));
    const HdrImage image = decoded(bytes);
    if (exr.channels != ExrChannels::LuminanceHalf) {
        expectGradient(image, 5, 3);
        return;
    }
    ASSERT_EQ(image.width, 5);
    EXPECT_EQ(pixelOf(image, 4, 2), (HdrColour{4.0f, 4.0f, 4.0f}));
}

TEST_P(ExrFiles, FilesCutShortFailWithoutCrashing) {
    const ExrCase& exr = GetParam();
    const std::string whole = exrFile(5, 3, gradient, exr.channels, exr.left, exr.top);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        Parsed<HdrImage> image = decodeHdrImage(whole.substr(0, length));
        EXPECT_FALSE(image.ok()) << length;
        EXPECT_EQ(image.error().find('\n'), std::string::npos) << image.error();
    }
}

INSTANTIATE_TEST_SUITE_P(HdrImage, ExrFiles,
                         ::testing::Values(ExrCase{"Half", ExrChannels::Half, 0, 0},
                                           ExrCase{"Float", ExrChannels::Float, 0, 0},
                                           ExrCase{"Grey", ExrChannels::LuminanceHalf, 0, 0},
                                           ExrCase{"Offset", ExrChannels::Half, -7, 1000}),
                         [](const ::testing::TestParamInfo<ExrCase>& test) {
                             return std::string(test.param.name);
                         });

TEST(HdrImage, ExrDataWindowsAreCheckedBeforeReading) {
    std::string bytes = exrFile(2, 2, gradient);
    // The data window: four little-endian ints after the attribute's name, type and size.
    const std::size_t window = bytes.find(std::string("dataWindow\0box2i\0", 17));
    ASSERT_NE(window, std::string::npos);
    const std::size_t xMax = window + 17 + 4 + 8;
    const std::int32_t wide = 19999;
    std::memcpy(&bytes[xMax], &wide, 4);
    Parsed<ImageSize> size = readHdrImageSize(bytes);
    ASSERT_FALSE(size.ok());
    EXPECT_NE(size.error().find("20000x2 is larger than 16384 pixels a side"), std::string::npos)
        << size.error();
    EXPECT_EQ(failureOf(bytes), size.error());
    const std::int32_t inverted = -5;
    std::memcpy(&bytes[xMax], &inverted, 4);
    EXPECT_NE(failureOf(bytes).find("cannot decode the OpenEXR image: its header declares"),
              std::string::npos)
        << failureOf(bytes);
}

TEST(HdrImage, ExrFaultsNameTheKindOfFile) {
    std::string bytes = exrFile(4, 4, gradient);
    bytes.resize(bytes.size() - 8);
    EXPECT_NE(failureOf(bytes).find("cannot decode the OpenEXR image: "), std::string::npos)
        << failureOf(bytes);
    EXPECT_EQ(failureOf(std::string("\x76\x2f\x31\x01\x01\x00\x00\x00", 8)),
              "cannot decode the OpenEXR image: version 1 of the format is not read (only 2)");
}

// The panorama's mapping: centre straight ahead (-Z), top row straight up, +X a quarter of
// the way right of the centre.
TEST(EquirectangularCube, PanoramaDirectionsFollowTheImage) {
    auto expectNear = [](const glm::vec3& actual, const glm::vec3& expected) {
        EXPECT_NEAR(actual.x, expected.x, 1e-5f);
        EXPECT_NEAR(actual.y, expected.y, 1e-5f);
        EXPECT_NEAR(actual.z, expected.z, 1e-5f);
    };
    expectNear(panoramaDirection(0.5f, 0.5f), {0.0f, 0.0f, -1.0f});
    expectNear(panoramaDirection(0.75f, 0.5f), {1.0f, 0.0f, 0.0f});
    expectNear(panoramaDirection(0.25f, 0.5f), {-1.0f, 0.0f, 0.0f});
    expectNear(panoramaDirection(0.0f, 0.5f), {0.0f, 0.0f, 1.0f});
    expectNear(panoramaDirection(0.3f, 0.0f), {0.0f, 1.0f, 0.0f});
    expectNear(panoramaDirection(0.3f, 1.0f), {0.0f, -1.0f, 0.0f});
}

namespace {

// OpenGL's cube map face selection (its table of major axis directions): the
// face a direction samples and its (s, t) there.
struct FaceTexel {
    int face;
    float s;
    float t;
};

FaceTexel openGlFaceOf(const glm::vec3& direction) {
    const glm::vec3 size = glm::abs(direction);
    float sc = 0.0f;
    float tc = 0.0f;
    float major = 0.0f;
    int face = 0;
    if (size.x >= size.y && size.x >= size.z) {
        face = direction.x > 0.0f ? 0 : 1;
        sc = direction.x > 0.0f ? -direction.z : direction.z;
        tc = -direction.y;
        major = size.x;
    } else if (size.y >= size.z) {
        face = direction.y > 0.0f ? 2 : 3;
        sc = direction.x;
        tc = direction.y > 0.0f ? direction.z : -direction.z;
        major = size.y;
    } else {
        face = direction.z > 0.0f ? 4 : 5;
        sc = direction.z > 0.0f ? direction.x : -direction.x;
        tc = -direction.y;
        major = size.z;
    }
    return {face, 0.5f * (sc / major + 1.0f), 0.5f * (tc / major + 1.0f)};
}

}  // namespace

class CubeFaceTexels : public ::testing::TestWithParam<int> {};

// Every face's texels point where OpenGL reads them from.
TEST_P(CubeFaceTexels, PointWhereOpenGlSamplesThem) {
    const int face = GetParam();
    for (float s : {0.1f, 0.3f, 0.5f, 0.8f}) {
        for (float t : {0.15f, 0.5f, 0.9f}) {
            const FaceTexel read = openGlFaceOf(cubeFaceDirection(face, s, t));
            EXPECT_EQ(read.face, face);
            EXPECT_NEAR(read.s, s, 1e-5f) << face << " " << s << " " << t;
            EXPECT_NEAR(read.t, t, 1e-5f) << face << " " << s << " " << t;
        }
    }
}

// A panorama whose colour is the index of the axis nearest each pixel's direction, plus one:
// the texel at the centre of each face reads its own axis.
TEST_P(CubeFaceTexels, TheFaceCentreReadsThePanoramaAlongItsAxis) {
    const int face = GetParam();
    constexpr int kPanoramaWidth = 64;
    constexpr int kPanoramaHeight = 32;
    HdrImage panorama{kPanoramaWidth, kPanoramaHeight, {}, {}};
    for (int y = 0; y < kPanoramaHeight; ++y) {
        for (int x = 0; x < kPanoramaWidth; ++x) {
            const glm::vec3 direction =
                panoramaDirection((x + 0.5f) / kPanoramaWidth, (y + 0.5f) / kPanoramaHeight);
            const float axis = static_cast<float>(openGlFaceOf(direction).face + 1);
            panorama.rgb.insert(panorama.rgb.end(), {axis, axis * 2.0f, 0.5f});
        }
    }
    const int size = cubeFaceSizeFor(kPanoramaWidth);
    ASSERT_EQ(size, 16);
    const HdrCubeFaces faces = equirectangularToCube(panorama, size);
    const HdrImage& image = faces[static_cast<std::size_t>(face)];
    ASSERT_EQ(image.width, size);
    ASSERT_EQ(image.height, size);
    ASSERT_EQ(image.rgb.size(), static_cast<std::size_t>(size * size * 3));
    const float expected = static_cast<float>(face + 1);
    EXPECT_EQ(pixelOf(image, size / 2, size / 2), (HdrColour{expected, expected * 2.0f, 0.5f}));
    // The texel equals the panorama sampled in its direction.
    const glm::vec3 direction =
        cubeFaceDirection(face, (size / 2 + 0.5f) / size, (size / 2 + 0.5f) / size);
    EXPECT_FLOAT_EQ(samplePanorama(panorama, direction).r, expected);
}

INSTANTIATE_TEST_SUITE_P(EquirectangularCube, CubeFaceTexels, ::testing::Range(0, 6));

TEST(EquirectangularCube, FacesArePowersOfTwoNearAQuarterOfTheWidth) {
    EXPECT_EQ(cubeFaceSizeFor(1), 16);
    EXPECT_EQ(cubeFaceSizeFor(64), 16);
    EXPECT_EQ(cubeFaceSizeFor(128), 32);
    EXPECT_EQ(cubeFaceSizeFor(2048), 512);
    EXPECT_EQ(cubeFaceSizeFor(2800), 512);
    EXPECT_EQ(cubeFaceSizeFor(3000), 1024);
    EXPECT_EQ(cubeFaceSizeFor(4096), 1024);
    EXPECT_EQ(cubeFaceSizeFor(16384), 1024);
}

// Columns alternating 0 and 2 average to about 1 in faces far smaller than the panorama, where
// one sample a texel would land on either.
TEST(EquirectangularCube, ShrinkingAveragesInsteadOfAliasing) {
    constexpr int kPanoramaWidth = 256;
    constexpr int kPanoramaHeight = 128;
    HdrImage panorama{kPanoramaWidth, kPanoramaHeight, {}, {}};
    for (int y = 0; y < kPanoramaHeight; ++y) {
        for (int x = 0; x < kPanoramaWidth; ++x) {
            const float value = x % 2 == 0 ? 0.0f : 2.0f;
            panorama.rgb.insert(panorama.rgb.end(), {value, value, value});
        }
    }
    const HdrCubeFaces faces = equirectangularToCube(panorama, 16);
    // The side faces, away from the poles, where columns are narrowest.
    for (int face : {0, 1, 4, 5}) {
        const HdrImage& image = faces[static_cast<std::size_t>(face)];
        for (int y = 4; y < 12; ++y) {
            for (int x = 0; x < 16; ++x) {
                EXPECT_NEAR(pixelOf(image, x, y)[0], 1.0f, 0.3f) << face << ": " << x << ", " << y;
            }
        }
    }
}

// What loading threads hold for an HDR texture: the panorama, then its mipmaps or its faces.
TEST(HdrImage, TexturesCountTheirFloatsInTheDecodedImageBudget) {
    const std::string bytes = radianceFile(64, 32, gradient);
    const std::size_t panorama = 64u * 32 * 12;
    EXPECT_EQ(decodedBytesOf(ResourceType::Texture, kNoMipmapsTextureFlag, bytes), panorama);
    EXPECT_EQ(decodedBytesOf(ResourceType::Texture, 0, bytes), panorama + panorama / 3);
    const std::size_t faces = 6u * 16 * 16 * 12;
    EXPECT_EQ(decodedBytesOf(ResourceType::Texture, kCubeTextureFlag, bytes),
              panorama + faces + faces / 3);
}

TEST(HdrImage, CubeTexturesParseIntoSixFloatFacesWithMipmaps) {
    const std::string bytes = radianceFile(64, 32, gradient);
    Parsed<ParsedContent> cube =
        parseResourceContent(ResourceType::Texture, kCubeTextureFlag, "sky.hdr", bytes, {});
    ASSERT_TRUE(cube.ok()) << cube.error();
    const auto* faces = std::get_if<HdrCubeFaces>(&cube.value());
    ASSERT_NE(faces, nullptr);
    EXPECT_EQ((*faces)[5].width, 16);
    EXPECT_EQ((*faces)[5].smallerLevels.size(), 4u);
    Parsed<ParsedContent> flat = parseResourceContent(ResourceType::Texture, kNoMipmapsTextureFlag,
                                                      "sky.exr", exrFile(3, 2, gradient), {});
    ASSERT_TRUE(flat.ok()) << flat.error();
    const auto* image = std::get_if<HdrImage>(&flat.value());
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->smallerLevels.empty());
    Parsed<ParsedContent> text =
        parseResourceContent(ResourceType::Texture, 0, "t.png", "<material/>", {});
    ASSERT_FALSE(text.ok());
    EXPECT_EQ(text.error(), "not a PNG, JPEG, WebP, Radiance HDR or OpenEXR file");
}
