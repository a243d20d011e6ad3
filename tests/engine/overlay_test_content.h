// Content for the overlay and texture tests: a pipeline that clears the screen and draws the
// overlays, a font material with the shipped overlay shader, and atlases made in the test.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/h3d.h"
#include "test_support.h"

using Rgba = std::array<std::uint8_t, 4>;

// The colour the overlay pipeline clears the screen to.
inline constexpr float kBackground[3] = {0.2f, 0.2f, 0.2f};

// An RGBA PNG or JPEG whose pixel (x, y), counted from the top left, is colorAt(x, y).
std::string encodedPng(int width, int height, const std::function<Rgba(int, int)>& colorAt);
std::string encodedJpeg(int width, int height, const std::function<Rgba(int, int)>& colorAt);

// Writes overlay.pipeline.xml, overlay.shader (the shipped one) and font.material.xml, whose
// atlas is atlasFile and whose metrics are metricsFile.
void writeOverlayContent(const ScratchDirectory& directory, const std::string& atlasFile,
                         const std::string& metricsFile);

// A camera over the whole window drawing with the pipeline.
H3DNode overlayCamera(H3DRes pipeline, int width, int height);
void renderOverlayFrame(H3DNode camera);

// A pixel of the back buffer, counted from the top left of a window windowHeight tall.
std::array<int, 4> pixelFromTop(int x, int y, int windowHeight);
