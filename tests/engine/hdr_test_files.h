// High-dynamic-range test files written in memory: Radiance RGBE files (flat or run-length
// scanlines) and OpenEXR files (half or float channels), from a colour for each pixel.
#pragma once

#include <array>
#include <functional>
#include <string>

using HdrColour = std::array<float, 3>;
// The colour of pixel (x, y), rows top first.
using HdrPixels = std::function<HdrColour(int x, int y)>;

enum class RgbeScanlines { Flat, RunLength };

// A colour as RGBE stores it: mantissas and a shared exponent, as Ward's rgbe.c makes them.
std::array<unsigned char, 4> rgbeOf(const HdrColour& colour);

// "#?RADIANCE", FORMAT=32-bit_rle_rgbe, "-Y height +X width", then the pixels (flat all the
// same when narrower than 8 pixels).
std::string radianceFile(int width, int height, const HdrPixels& pixels,
                         RgbeScanlines scanlines = RgbeScanlines::Flat);

// Everything up to and including the resolution line, for hand-made pixel data.
std::string radianceHeader(const std::string& resolutionLine,
                           const std::string& format = "FORMAT=32-bit_rle_rgbe");

// One new-style run-length scanline of these RGBE pixels.
std::string runLengthScanline(const std::string& rgbePixels);

enum class ExrChannels { Half, Float, LuminanceHalf };

// A scanline OpenEXR file (zip compression) whose data window starts at (left, top).
std::string exrFile(int width, int height, const HdrPixels& pixels,
                    ExrChannels channels = ExrChannels::Half, int left = 0, int top = 0);
