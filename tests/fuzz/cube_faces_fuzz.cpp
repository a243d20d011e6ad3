// Cube strips: the input's first eight bytes are the image's width and height (32-bit, little
// endian), the rest its pixels, so that the fuzzer also tries images whose pixels do not match
// their size. Split faces are square and hold their pixels.
#include <cstring>

#include "engine/formats/cube_faces.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

std::int32_t littleEndian32(const std::uint8_t* bytes) {
    std::uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte) {
        value = (value << 8) | bytes[byte];
    }
    std::int32_t side = 0;
    std::memcpy(&side, &value, sizeof side);
    return side;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeaderSize = 8;
    if (size < kHeaderSize) {
        return 0;
    }
    engine::ImageData strip;
    strip.width = littleEndian32(data);
    strip.height = littleEndian32(data + 4);
    strip.rgba.assign(data + kHeaderSize, data + size);
    engine::Parsed<engine::CubeFaces> parsed = engine::splitCubeFaces(strip);
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    for (const engine::ImageData& face : parsed.value()) {
        fuzz::require(face.width == strip.width && face.height == strip.width,
                      "a face is square, as wide as the strip");
        fuzz::require(face.rgba.size() == static_cast<std::size_t>(face.width) * face.height * 4,
                      "a face holds its RGBA pixels");
    }
    return 0;
}
