#include "engine/formats/png_writer.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

#include <spng.h>

namespace engine {
namespace {

struct PngContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using PngContext = std::unique_ptr<spng_ctx, PngContextFree>;

Parsed<std::string> encodingFault(int fault) {
    return Parsed<std::string>::failure(std::string("PNG encoding failed: ") +
                                        spng_strerror(fault));
}

}  // namespace

Parsed<std::string> encodePngRgb(int width, int height, const std::vector<unsigned char>& rgbRows) {
    if (width <= 0 || height <= 0 ||
        rgbRows.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return Parsed<std::string>::failure("the picture's size does not match its pixels");
    }
    PngContext context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) {
        return Parsed<std::string>::failure("PNG encoding failed: out of memory");
    }
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = static_cast<std::uint32_t>(width);
    header.height = static_cast<std::uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    if (int fault = spng_set_ihdr(context.get(), &header)) {
        return encodingFault(fault);
    }
    if (int fault = spng_encode_image(context.get(), rgbRows.data(), rgbRows.size(), SPNG_FMT_PNG,
                                      SPNG_ENCODE_FINALIZE)) {
        return encodingFault(fault);
    }
    std::size_t size = 0;
    int fault = 0;
    // The buffer belongs to the caller once taken.
    std::unique_ptr<void, decltype(&std::free)> bytes(
        spng_get_png_buffer(context.get(), &size, &fault), &std::free);
    if (!bytes) {
        return encodingFault(fault);
    }
    return Parsed<std::string>::success(std::string(static_cast<const char*>(bytes.get()), size));
}

}  // namespace engine
