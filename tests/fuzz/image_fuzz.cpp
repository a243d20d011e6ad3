// Texture images (PNG, JPEG): a decoded image holds exactly its RGBA pixels, within the size
// limit; small ones also get their mipmaps, as a loading thread makes them.
#include "engine/formats/texture_image.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Larger images would spend the fuzzer's time averaging pixels, not decoding headers.
constexpr long kMipmappedPixels = 256 * 256;

bool holdsItsPixels(const engine::ImageData& image) {
    return image.width > 0 && image.height > 0 &&
           image.rgba.size() == static_cast<std::size_t>(image.width) * image.height * 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::Parsed<engine::ImageData> parsed = engine::decodeImage(fuzz::inputText(data, size));
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    engine::ImageData& image = parsed.value();
    fuzz::require(holdsItsPixels(image), "an image holds width x height RGBA pixels");
    fuzz::require(
        image.width <= engine::kMaximumImageSide && image.height <= engine::kMaximumImageSide,
        "an image's sides are within the limit");
    if (static_cast<long>(image.width) * image.height <= kMipmappedPixels) {
        engine::addMipmaps(image);
        for (const engine::ImageData& level : image.smallerLevels) {
            fuzz::require(holdsItsPixels(level), "a mipmap level holds its pixels");
        }
    }
    return 0;
}
