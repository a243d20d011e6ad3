// Font metrics files: parsed metrics describe an atlas of at least one row whose characters
// stay within one byte.
#include "engine/formats/font_metrics.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::Parsed<engine::FontMetrics> parsed =
        engine::parseFontMetrics(fuzz::inputText(data, size));
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    const engine::FontMetrics& metrics = parsed.value();
    fuzz::require(metrics.cellWidth > 0 && metrics.cellHeight > 0 && metrics.columns > 0,
                  "cells and columns exist");
    fuzz::require(metrics.rows() >= 1, "the atlas has a row");
    fuzz::require(metrics.hasCharacter(metrics.firstChar), "the first character is there");
    fuzz::require(metrics.firstChar >= 0 && metrics.firstChar + metrics.charCount <= 256,
                  "characters stay within one byte");
    fuzz::require(metrics.advance > 0.0f, "characters advance");
    return 0;
}
