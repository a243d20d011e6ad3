#include "engine/render/overlay_layout.h"

#include <algorithm>

namespace engine {
namespace {

constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';
constexpr char kReplacement = '?';

// A glyph's rectangle: left, top, right, bottom.
struct Rectangle {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

bool isUtf8Continuation(unsigned char byte) {
    return (byte & 0xc0) == 0x80;
}

// -1 when the atlas has neither the character nor '?'.
int atlasCell(char character, const FontMetrics& metrics);
Rectangle cellTextureRectangle(int cell, const FontMetrics& metrics, PixelSize atlas);
void appendQuad(const Rectangle& position, const Rectangle& texture, const glm::vec3& color,
                std::vector<OverlayVertex>& vertices);

}  // namespace

char displayedCharacter(std::string_view text, std::size_t& position) {
    const auto byte = static_cast<unsigned char>(text[position++]);
    if (byte >= kFirstPrintable && byte <= kLastPrintable) {
        return static_cast<char>(byte);
    }
    // A UTF-8 lead byte: its continuation bytes belong to the same character.
    if (byte >= 0xc0) {
        while (position < text.size() &&
               isUtf8Continuation(static_cast<unsigned char>(text[position]))) {
            ++position;
        }
    }
    return kReplacement;
}

void layoutText(std::string_view text, const TextPlacement& placement, const FontMetrics& metrics,
                PixelSize atlas, PixelSize viewport, std::vector<OverlayVertex>& vertices) {
    const float width = static_cast<float>(viewport.width);
    const float height = static_cast<float>(viewport.height);
    // Glyph sides in clip units, which span two per viewport side.
    const float glyphHeight = 2.0f * placement.size;
    const float glyphWidth = 2.0f * metrics.advance * placement.size * height / width;
    Rectangle glyph;
    glyph.left = 2.0f * placement.x - 1.0f;
    glyph.top = 1.0f - 2.0f * placement.y;
    glyph.bottom = glyph.top - glyphHeight;
    for (std::size_t position = 0; position < text.size();) {
        const char character = displayedCharacter(text, position);
        glyph.right = glyph.left + glyphWidth;
        const int cell = atlasCell(character, metrics);
        if (character != ' ' && cell >= 0) {
            appendQuad(glyph, cellTextureRectangle(cell, metrics, atlas), placement.color,
                       vertices);
        }
        glyph.left = glyph.right;
    }
}

namespace {

int atlasCell(char character, const FontMetrics& metrics) {
    if (metrics.hasCharacter(character)) {
        return character - metrics.firstChar;
    }
    return metrics.hasCharacter(kReplacement) ? kReplacement - metrics.firstChar : -1;
}

// The advance-wide middle of the cell: glyphs are centred in their cells.
Rectangle cellTextureRectangle(int cell, const FontMetrics& metrics, PixelSize atlas) {
    const float cellWidth = static_cast<float>(metrics.cellWidth);
    const float cellHeight = static_cast<float>(metrics.cellHeight);
    const float glyphWidth = std::min(metrics.advance * cellHeight, cellWidth);
    const float left =
        static_cast<float>(cell % metrics.columns) * cellWidth + (cellWidth - glyphWidth) * 0.5f;
    const float top = static_cast<float>(cell / metrics.columns) * cellHeight;
    const float atlasWidth = static_cast<float>(atlas.width);
    const float atlasHeight = static_cast<float>(atlas.height);
    return {left / atlasWidth, top / atlasHeight, (left + glyphWidth) / atlasWidth,
            (top + cellHeight) / atlasHeight};
}

void appendQuad(const Rectangle& position, const Rectangle& texture, const glm::vec3& color,
                std::vector<OverlayVertex>& vertices) {
    auto corner = [&](float x, float y, float u, float v) {
        vertices.push_back({x, y, u, v, color.r, color.g, color.b, 1.0f});
    };
    corner(position.left, position.top, texture.left, texture.top);
    corner(position.left, position.bottom, texture.left, texture.bottom);
    corner(position.right, position.bottom, texture.right, texture.bottom);
    corner(position.left, position.top, texture.left, texture.top);
    corner(position.right, position.bottom, texture.right, texture.bottom);
    corner(position.right, position.top, texture.right, texture.top);
}

}  // namespace
}  // namespace engine
