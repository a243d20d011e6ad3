#include "engine/formats/texture_image.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "engine/formats/image_codecs.h"

namespace engine {
namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr unsigned char kJpegSignature[3] = {0xff, 0xd8, 0xff};
constexpr int kChannels = kImageChannels;

struct ImageCodec {
    const char* kind;
    Parsed<ImageSize> (*readSize)(std::string_view);
    Parsed<ImageData> (*decode)(std::string_view);
};

const ImageCodec* codecOf(std::string_view bytes);

}  // namespace

bool isImage(std::string_view bytes) {
    return codecOf(bytes) != nullptr;
}

Parsed<ImageData> decodeImage(std::string_view bytes) {
    const ImageCodec* codec = codecOf(bytes);
    if (codec == nullptr) {
        return Parsed<ImageData>::failure("not a PNG, JPEG or WebP file");
    }
    Parsed<ImageSize> size = checkedImageSize(codec->kind, codec->readSize(bytes));
    if (!size.ok()) {
        return Parsed<ImageData>::failure(size.error());
    }
    try {
        Parsed<ImageData> image = codec->decode(bytes);
        if (!image.ok()) {
            return Parsed<ImageData>::failure(std::string("cannot decode the ") + codec->kind +
                                              ": " + image.error());
        }
        return image;
    } catch (const std::bad_alloc&) {
        return Parsed<ImageData>::failure("out of memory");
    }
}

Parsed<ImageSize> readImageSize(std::string_view bytes) {
    const ImageCodec* codec = codecOf(bytes);
    if (codec == nullptr) {
        return Parsed<ImageSize>::failure("not a PNG, JPEG or WebP file");
    }
    return checkedImageSize(codec->kind, codec->readSize(bytes));
}

ImageData halfSizeImage(const ImageData& image) {
    ImageData half;
    half.width = std::max(1, image.width / 2);
    half.height = std::max(1, image.height / 2);
    half.rgba.resize(static_cast<std::size_t>(half.width) * half.height * kChannels);
    auto texel = [&image](int x, int y, int channel) {
        const std::size_t at =
            (static_cast<std::size_t>(std::min(y, image.height - 1)) * image.width +
             static_cast<std::size_t>(std::min(x, image.width - 1))) *
                kChannels +
            channel;
        return static_cast<unsigned>(image.rgba[at]);
    };
    std::uint8_t* out = half.rgba.data();
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            for (int channel = 0; channel < kChannels; ++channel) {
                const unsigned sum =
                    texel(2 * x, 2 * y, channel) + texel(2 * x + 1, 2 * y, channel) +
                    texel(2 * x, 2 * y + 1, channel) + texel(2 * x + 1, 2 * y + 1, channel);
                *out++ = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
    return half;
}

void addMipmaps(ImageData& image) {
    image.smallerLevels.clear();
    const ImageData* larger = &image;
    while (larger->width > 1 || larger->height > 1) {
        image.smallerLevels.push_back(halfSizeImage(*larger));
        larger = &image.smallerLevels.back();
    }
}

namespace {

bool startsWith(std::string_view bytes, const unsigned char* signature, std::size_t size) {
    return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

// A WebP file is a RIFF container whose form type is "WEBP".
bool isWebp(std::string_view bytes) {
    return bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WEBP";
}

const ImageCodec* codecOf(std::string_view bytes) {
    static constexpr ImageCodec kPng{"PNG", readPngSize, decodePng};
    static constexpr ImageCodec kJpeg{"JPEG", readJpegSize, decodeJpeg};
    static constexpr ImageCodec kWebp{"WebP", readWebpSize, decodeWebp};
    if (startsWith(bytes, kPngSignature, sizeof(kPngSignature))) {
        return &kPng;
    }
    if (startsWith(bytes, kJpegSignature, sizeof(kJpegSignature))) {
        return &kJpeg;
    }
    if (isWebp(bytes)) {
        return &kWebp;
    }
    return nullptr;
}

}  // namespace

Parsed<ImageSize> checkedImageSize(const char* kind, Parsed<ImageSize> size) {
    if (!size.ok()) {
        return Parsed<ImageSize>::failure(std::string("cannot decode the ") + kind + ": " +
                                          size.error());
    }
    const int width = size.value().width;
    const int height = size.value().height;
    const std::string dimensions = std::to_string(width) + "x" + std::to_string(height);
    // A header cut short can read as a size of nothing rather than as a fault.
    if (width < 1 || height < 1) {
        return Parsed<ImageSize>::failure(std::string("cannot decode the ") + kind +
                                          ": its header declares " + dimensions + " pixels");
    }
    if (width > kMaximumImageSide || height > kMaximumImageSide) {
        return Parsed<ImageSize>::failure(dimensions + " is larger than " +
                                          std::to_string(kMaximumImageSide) + " pixels a side");
    }
    if (static_cast<std::int64_t>(width) * height > kMostImagePixels) {
        return Parsed<ImageSize>::failure(dimensions + " is more than the " +
                                          std::to_string(kMostImagePixels) +
                                          " pixels (8192x8192) an image may hold");
    }
    return size;
}

}  // namespace engine
