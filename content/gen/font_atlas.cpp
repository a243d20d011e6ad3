#include "font_atlas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include <stb_truetype.h>

namespace content {
namespace {

// The font's line (ascent to descent) fills this share of a cell's height.
constexpr float kLineShareOfCell = 0.9f;

struct GlyphLayout {
    float scale = 0.0f;
    float advancePixels = 0.0f;
    int originX = 0;
    int baseline = 0;
};

std::vector<unsigned char> readFontFile(const std::filesystem::path& fontFile) {
    std::ifstream file(fontFile, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read font " + fontFile.string());
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Scales the font to the cell: the line fits the height, the advance fits the width.
GlyphLayout layoutFor(const stbtt_fontinfo& font) {
    int ascent = 0, descent = 0, lineGap = 0, advance = 0, bearing = 0;
    stbtt_GetFontVMetrics(&font, &ascent, &descent, &lineGap);
    stbtt_GetCodepointHMetrics(&font, 'M', &advance, &bearing);
    GlyphLayout layout;
    const float byHeight =
        kLineShareOfCell * kGlyphCellHeight / static_cast<float>(ascent - descent);
    const float byWidth = static_cast<float>(kGlyphCellWidth - 2) / static_cast<float>(advance);
    layout.scale = std::min(byHeight, byWidth);
    layout.advancePixels = layout.scale * static_cast<float>(advance);
    layout.originX = static_cast<int>(std::lround((kGlyphCellWidth - layout.advancePixels) * 0.5f));
    const float lineHeight = layout.scale * static_cast<float>(ascent - descent);
    const float topMargin = (kGlyphCellHeight - lineHeight) * 0.5f;
    layout.baseline = static_cast<int>(std::lround(topMargin + layout.scale * ascent));
    return layout;
}

// Copies the glyph's coverage into its cell, clipped to the cell.
void drawGlyph(const stbtt_fontinfo& font, const GlyphLayout& layout, int character, Image& atlas) {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetCodepointBitmapBox(&font, character, layout.scale, layout.scale, &x0, &y0, &x1, &y1);
    const int width = x1 - x0;
    const int height = y1 - y0;
    if (width <= 0 || height <= 0) {
        return;
    }
    std::vector<unsigned char> coverage(static_cast<std::size_t>(width * height));
    stbtt_MakeCodepointBitmap(&font, coverage.data(), width, height, width, layout.scale,
                              layout.scale, character);
    const int cell = character - kFirstGlyph;
    const int cellLeft = (cell % kGlyphColumns) * kGlyphCellWidth;
    const int cellTop = (cell / kGlyphColumns) * kGlyphCellHeight;
    for (int y = 0; y < height; ++y) {
        const int inCellY = layout.baseline + y0 + y;
        for (int x = 0; x < width; ++x) {
            const int inCellX = layout.originX + x0 + x;
            if (inCellX < 0 || inCellX >= kGlyphCellWidth || inCellY < 0 ||
                inCellY >= kGlyphCellHeight) {
                continue;
            }
            atlas.at(cellLeft + inCellX, cellTop + inCellY)[3] =
                coverage[static_cast<std::size_t>(y * width + x)];
        }
    }
}

std::string metricsText(const GlyphLayout& layout) {
    char advance[32];
    std::snprintf(advance, sizeof advance, "%.6f",
                  static_cast<double>(layout.advancePixels / kGlyphCellHeight));
    return "cell_width " + std::to_string(kGlyphCellWidth) + "\ncell_height " +
           std::to_string(kGlyphCellHeight) + "\ncolumns " + std::to_string(kGlyphColumns) +
           "\nfirst_char " + std::to_string(kFirstGlyph) + "\nchar_count " +
           std::to_string(kGlyphCount) + "\nadvance " + advance + "\nbaseline " +
           std::to_string(layout.baseline) + "\n";
}

}  // namespace

FontAtlas bakeFontAtlas(const std::filesystem::path& fontFile) {
    const std::vector<unsigned char> data = readFontFile(fontFile);
    stbtt_fontinfo font;
    if (stbtt_InitFont(&font, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0)) == 0) {
        throw std::runtime_error("not a TrueType font: " + fontFile.string());
    }
    const GlyphLayout layout = layoutFor(font);
    FontAtlas atlas{Image(kFontAtlasSize, kFontAtlasSize, 4), metricsText(layout)};
    // White everywhere, so filtering at glyph edges blends towards white, not black.
    for (std::size_t i = 0; i < atlas.image.pixels.size(); i += 4) {
        atlas.image.pixels[i] = atlas.image.pixels[i + 1] = atlas.image.pixels[i + 2] = 255;
    }
    for (int character = kFirstGlyph; character < kFirstGlyph + kGlyphCount; ++character) {
        drawGlyph(font, layout, character, atlas.image);
    }
    return atlas;
}

}  // namespace content
