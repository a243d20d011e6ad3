// Lays out a line of overlay text as glyph quads: positions in clip space for the current
// viewport, texture coordinates into the font atlas. Needs no OpenGL.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/formats/font_metrics.h"
#include "engine/render/overlay_queue.h"

namespace engine {

struct OverlayVertex {
    // Clip space: -1 to 1, y up.
    float x = 0.0f;
    float y = 0.0f;
    // Texture coordinates, t = 0 at the atlas's top row.
    float u = 0.0f;
    float v = 0.0f;
    float r = 1.0f;
    float g = 1.0f;
    float b = 1.0f;
    float a = 1.0f;
};

struct PixelSize {
    int width = 0;
    int height = 0;
};

inline constexpr int kVerticesPerGlyph = 6;

// The printable ASCII character that the character at position stands for, moving position
// past it. Anything else, a whole UTF-8 sequence counting as one character, reads as '?'.
char displayedCharacter(std::string_view text, std::size_t& position);

// Appends two triangles per drawn character. Every character advances the pen by the metrics'
// advance; spaces, and characters missing from an atlas that lacks '?' as well, draw nothing.
void layoutText(std::string_view text, const TextPlacement& placement, const FontMetrics& metrics,
                PixelSize atlas, PixelSize viewport, std::vector<OverlayVertex>& vertices);

}  // namespace engine
