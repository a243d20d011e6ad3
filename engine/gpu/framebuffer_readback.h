// Reading the finished frame back from the window's (or off-screen target's) own framebuffer.
#pragma once

#include <vector>

namespace engine {

// The lower-left width by height pixels as 8-bit RGB rows, the top row first, as pictures
// are stored.
std::vector<unsigned char> readFramebufferRgb(int width, int height);

}  // namespace engine
