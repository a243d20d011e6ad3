#include <cstdint>
#include <memory>

#include <spng.h>

#include "engine/formats/image_codecs.h"

namespace engine {
namespace {

// Ancillary chunks (text, colour profiles) are skipped, but libspng keeps some while reading;
// this bounds what a file full of them can make it hold.
constexpr std::size_t kMostAncillaryChunkBytes = 16 * 1024 * 1024;

struct PngContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using PngContext = std::unique_ptr<spng_ctx, PngContextFree>;

// After the 8-byte signature: the chunk's length, its name, then width and height.
constexpr std::size_t kIhdrNameAt = 12;
constexpr std::size_t kIhdrEnd = kIhdrNameAt + 12;
constexpr std::uint32_t kLargestPngSide = 0x7fffffff;

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at);
PngContext openPng(std::string_view bytes, spng_ihdr& header, int& fault);

}  // namespace

// Read by hand rather than by libspng, which checks the chunk's checksum first: a size is
// refused as too large whatever else is wrong with the file.
Parsed<ImageSize> readPngSize(std::string_view bytes) {
    if (bytes.size() < kIhdrEnd || bytes.substr(kIhdrNameAt, 4) != "IHDR") {
        return Parsed<ImageSize>::failure("the file does not start with its IHDR header");
    }
    const std::uint32_t width = bigEndian32(bytes, kIhdrNameAt + 4);
    const std::uint32_t height = bigEndian32(bytes, kIhdrNameAt + 8);
    if (width > kLargestPngSide || height > kLargestPngSide) {
        return Parsed<ImageSize>::failure("the header's size is beyond what PNG allows");
    }
    return Parsed<ImageSize>::success({static_cast<int>(width), static_cast<int>(height)});
}

Parsed<ImageData> decodePng(std::string_view bytes) {
    spng_ihdr header{};
    int fault = 0;
    PngContext context = openPng(bytes, header, fault);
    std::size_t byteCount = 0;
    if (context) {
        fault = spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &byteCount);
    }
    if (fault != 0) {
        return Parsed<ImageData>::failure(spng_strerror(fault));
    }
    ImageData image;
    image.width = static_cast<int>(header.width);
    image.height = static_cast<int>(header.height);
    image.rgba.resize(byteCount);
    // Transparency chunks become alpha, as for every other PNG with alpha; gamma stays as stored.
    fault = spng_decode_image(context.get(), image.rgba.data(), byteCount, SPNG_FMT_RGBA8,
                              SPNG_DECODE_TRNS);
    // Reading on to the end marker catches a file cut after its pixels and checks the last
    // checksums, which libspng would otherwise leave unread.
    if (fault == 0) {
        fault = spng_decode_chunks(context.get());
    }
    if (fault != 0) {
        return Parsed<ImageData>::failure(spng_strerror(fault));
    }
    return Parsed<ImageData>::success(std::move(image));
}

namespace {

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + index]);
    }
    return value;
}

// Sides fit an int: libspng refuses sides beyond 2^31 - 1, as PNG itself does.
PngContext openPng(std::string_view bytes, spng_ihdr& header, int& fault) {
    PngContext context(spng_ctx_new(0));
    if (!context) {
        fault = SPNG_EMEM;
        return nullptr;
    }
    spng_set_chunk_limits(context.get(), bytes.size(), kMostAncillaryChunkBytes);
    fault = spng_set_png_buffer(context.get(), bytes.data(), bytes.size());
    if (fault == 0) {
        fault = spng_get_ihdr(context.get(), &header);
    }
    return fault == 0 ? std::move(context) : nullptr;
}

}  // namespace
}  // namespace engine
