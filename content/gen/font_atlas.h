// Bakes a monospaced TrueType font into a grid atlas for the text overlay: printable ASCII in
// 16 columns, one fixed-size cell per character, white with coverage in alpha.
#pragma once

#include <filesystem>
#include <string>

#include "image.h"

namespace content {

constexpr int kGlyphCellWidth = 32;
constexpr int kGlyphCellHeight = 64;
constexpr int kGlyphColumns = 16;
constexpr int kFirstGlyph = 32;
constexpr int kGlyphCount = 95;
constexpr int kFontAtlasSize = 512;

struct FontAtlas {
    Image image;          // RGBA, kFontAtlasSize square; character c fills cell (c - kFirstGlyph).
    std::string metrics;  // "name value" lines for the overlay.
};

// Throws std::runtime_error when the font cannot be read.
FontAtlas bakeFontAtlas(const std::filesystem::path& fontFile);

}  // namespace content
