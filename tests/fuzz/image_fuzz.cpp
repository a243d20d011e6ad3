// Texture images (PNG, JPEG, WebP; Radiance HDR and OpenEXR): a decoded image holds exactly its
// pixels, within the size limit; small ones also get their mipmaps, as a loading thread makes
// them, and small high-dynamic-range ones become cube faces too.
#include <cmath>

#include "engine/formats/equirect_cube.h"
#include "engine/formats/hdr_image.h"
#include "engine/formats/texture_image.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Larger images would spend the fuzzer's time averaging pixels, not decoding headers.
constexpr long kMipmappedPixels = 256 * 256;

bool holdsItsPixels(const engine::ImageData& image) {
    return image.width > 0 && image.height > 0 &&
           image.rgba.size() == static_cast<std::size_t>(image.width) * image.height * 4;
}

bool holdsItsPixels(const engine::HdrImage& image) {
    return image.width > 0 && image.height > 0 &&
           image.rgb.size() == static_cast<std::size_t>(image.width) * image.height * 3;
}

bool withinSideLimit(int width, int height) {
    return width <= engine::kMaximumImageSide && height <= engine::kMaximumImageSide;
}

bool withinHalfFloats(const engine::HdrImage& image) {
    for (float value : image.rgb) {
        if (!(value >= 0.0f && value <= engine::kLargestHalfFloat)) {
            return false;
        }
    }
    return true;
}

void checkHdrImage(std::string_view bytes) {
    engine::Parsed<engine::HdrImage> parsed = engine::decodeHdrImage(bytes);
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return;
    }
    engine::HdrImage& image = parsed.value();
    fuzz::require(holdsItsPixels(image), "an HDR image holds width x height RGB floats");
    fuzz::require(withinSideLimit(image.width, image.height),
                  "an image's sides are within the limit");
    if (static_cast<long>(image.width) * image.height > kMipmappedPixels) {
        return;
    }
    engine::clampToHalfFloats(image);
    fuzz::require(withinHalfFloats(image), "clamped values are what half floats hold");
    engine::HdrCubeFaces faces =
        engine::equirectangularToCube(image, engine::cubeFaceSizeFor(image.width));
    for (engine::HdrImage& face : faces) {
        fuzz::require(holdsItsPixels(face) && face.width == face.height, "a cube face is square");
        fuzz::require(withinHalfFloats(face), "a cube face holds the panorama's range");
        engine::addHdrMipmaps(face);
        for (const engine::HdrImage& level : face.smallerLevels) {
            fuzz::require(holdsItsPixels(level), "a mipmap level holds its pixels");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::inputText(data, size);
    if (engine::isHdrImage(bytes)) {
        checkHdrImage(bytes);
        return 0;
    }
    engine::Parsed<engine::ImageData> parsed = engine::decodeImage(bytes);
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    engine::ImageData& image = parsed.value();
    fuzz::require(holdsItsPixels(image), "an image holds width x height RGBA pixels");
    fuzz::require(withinSideLimit(image.width, image.height),
                  "an image's sides are within the limit");
    if (static_cast<long>(image.width) * image.height <= kMipmappedPixels) {
        engine::addMipmaps(image);
        for (const engine::ImageData& level : image.smallerLevels) {
            fuzz::require(holdsItsPixels(level), "a mipmap level holds its pixels");
        }
    }
    return 0;
}
