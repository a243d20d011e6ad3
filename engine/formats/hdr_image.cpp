#include "engine/formats/hdr_image.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "engine/formats/image_codecs.h"

namespace engine {
namespace {

struct HdrCodec {
    const char* kind;
    Parsed<ImageSize> (*readSize)(std::string_view);
    Parsed<HdrImage> (*decode)(std::string_view);
};

constexpr unsigned char kExrMagic[4] = {0x76, 0x2f, 0x31, 0x01};

const HdrCodec* codecOf(std::string_view bytes) {
    static constexpr HdrCodec kRadiance{"Radiance HDR image", readRadianceSize, decodeRadiance};
    static constexpr HdrCodec kExr{"OpenEXR image", readExrSize, decodeExr};
    if (bytes.rfind("#?RADIANCE", 0) == 0 || bytes.rfind("#?RGBE", 0) == 0) {
        return &kRadiance;
    }
    if (bytes.size() >= sizeof(kExrMagic) &&
        std::equal(kExrMagic, kExrMagic + sizeof(kExrMagic), bytes.begin(),
                   [](unsigned char magic, char byte) {
                       return magic == static_cast<unsigned char>(byte);
                   })) {
        return &kExr;
    }
    return nullptr;
}

float halfFloatRange(float value) {
    // Not-a-number fails both comparisons and becomes 0.
    return value > 0.0f ? std::min(value, kLargestHalfFloat) : 0.0f;
}

}  // namespace

bool isHdrImage(std::string_view bytes) {
    return codecOf(bytes) != nullptr;
}

Parsed<ImageSize> readHdrImageSize(std::string_view bytes) {
    const HdrCodec* codec = codecOf(bytes);
    if (codec == nullptr) {
        return Parsed<ImageSize>::failure("not a Radiance HDR or OpenEXR file");
    }
    return checkedImageSize(codec->kind, codec->readSize(bytes));
}

Parsed<HdrImage> decodeHdrImage(std::string_view bytes) {
    const HdrCodec* codec = codecOf(bytes);
    if (codec == nullptr) {
        return Parsed<HdrImage>::failure("not a Radiance HDR or OpenEXR file");
    }
    Parsed<ImageSize> size = checkedImageSize(codec->kind, codec->readSize(bytes));
    if (!size.ok()) {
        return Parsed<HdrImage>::failure(size.error());
    }
    try {
        Parsed<HdrImage> image = codec->decode(bytes);
        if (!image.ok()) {
            return Parsed<HdrImage>::failure(std::string("cannot decode the ") + codec->kind +
                                             ": " + image.error());
        }
        return image;
    } catch (const std::bad_alloc&) {
        return Parsed<HdrImage>::failure("out of memory");
    }
}

void clampToHalfFloats(HdrImage& image) {
    for (float& value : image.rgb) {
        value = halfFloatRange(value);
    }
    for (HdrImage& level : image.smallerLevels) {
        clampToHalfFloats(level);
    }
}

HdrImage halfSizeHdrImage(const HdrImage& image) {
    HdrImage half;
    half.width = std::max(1, image.width / 2);
    half.height = std::max(1, image.height / 2);
    half.rgb.resize(static_cast<std::size_t>(half.width) * half.height * kHdrChannels);
    auto texel = [&image](int x, int y, int channel) {
        const std::size_t at =
            (static_cast<std::size_t>(std::min(y, image.height - 1)) * image.width +
             static_cast<std::size_t>(std::min(x, image.width - 1))) *
                kHdrChannels +
            channel;
        return image.rgb[at];
    };
    float* out = half.rgb.data();
    for (int y = 0; y < half.height; ++y) {
        for (int x = 0; x < half.width; ++x) {
            for (int channel = 0; channel < kHdrChannels; ++channel) {
                *out++ = 0.25f *
                         (texel(2 * x, 2 * y, channel) + texel(2 * x + 1, 2 * y, channel) +
                          texel(2 * x, 2 * y + 1, channel) + texel(2 * x + 1, 2 * y + 1, channel));
            }
        }
    }
    return half;
}

void addHdrMipmaps(HdrImage& image) {
    image.smallerLevels.clear();
    const HdrImage* larger = &image;
    while (larger->width > 1 || larger->height > 1) {
        image.smallerLevels.push_back(halfSizeHdrImage(*larger));
        larger = &image.smallerLevels.back();
    }
}

}  // namespace engine
