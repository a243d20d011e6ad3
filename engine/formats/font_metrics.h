// Font metrics files: how a text overlay's atlas is laid out. One "name value" pair a line;
// blank lines and lines starting with '#' are free. The atlas holds one cell per character,
// first_char first, filling rows of `columns` cells from the top left.
#pragma once

#include <string_view>

#include "engine/formats/parsed.h"

namespace engine {

// The defaults describe a plain grid whose glyphs fill their cells; text falls back to them
// when a font material names no metrics or its metrics did not load.
struct FontMetrics {
    int cellWidth = 32;
    int cellHeight = 64;
    int columns = 16;
    int firstChar = 32;
    int charCount = 95;
    // A character's width as a fraction of the cell height (monospace: the same for all).
    float advance = 0.5f;
    // Pixels from a cell's top to the baseline; informative, the layout needs no baseline.
    int baseline = 49;

    int rows() const { return (charCount + columns - 1) / columns; }
    bool hasCharacter(int character) const {
        return character >= firstChar && character < firstChar + charCount;
    }
};

// Needs every key but baseline; unknown keys, repeated keys and bad numbers are errors that
// name their line.
Parsed<FontMetrics> parseFontMetrics(std::string_view bytes);

}  // namespace engine
