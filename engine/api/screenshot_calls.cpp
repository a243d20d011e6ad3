// Writing the finished frame to a picture file.
#include <fstream>
#include <string>

#include "engine/api/api_guard.h"
#include "engine/formats/png_writer.h"
#include "engine/gpu/framebuffer_readback.h"
#include "engine/h3dut.h"

using namespace engine;

namespace {

// The largest side an off-screen target or window is expected to have.
constexpr int kLargestSide = 16384;

}  // namespace

bool h3dutScreenshot(const char* fileName, int width, int height) {
    return withEngine("h3dutScreenshot", false, [&](Engine&) {
        if (!presentOrReport("h3dutScreenshot", fileName, "file name")) {
            return false;
        }
        if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
            messageLog().warning("h3dutScreenshot: " + std::to_string(width) + "x" +
                                 std::to_string(height) + " is no picture size");
            return false;
        }
        const Parsed<std::string> png =
            encodePngRgb(width, height, readFramebufferRgb(width, height));
        if (!png.ok()) {
            messageLog().error(std::string("h3dutScreenshot: '") + fileName + "': " + png.error());
            return false;
        }
        std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
        file.write(png.value().data(), static_cast<std::streamsize>(png.value().size()));
        if (!file.flush()) {
            messageLog().error(std::string("h3dutScreenshot: cannot write '") + fileName + "'");
            return false;
        }
        return true;
    });
}
