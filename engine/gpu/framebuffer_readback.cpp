#include "engine/gpu/framebuffer_readback.h"

#include <cstring>

#include <epoxy/gl.h>

namespace engine {

std::vector<unsigned char> readFramebufferRgb(int width, int height) {
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> bottomUp(rowBytes * static_cast<std::size_t>(height));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());

    std::vector<unsigned char> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row) {
        std::memcpy(&topDown[static_cast<std::size_t>(row) * rowBytes],
                    &bottomUp[static_cast<std::size_t>(height - 1 - row) * rowBytes], rowBytes);
    }
    return topDown;
}

}  // namespace engine
