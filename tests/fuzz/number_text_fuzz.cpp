// Number text: every number read is finite, and a single number reads the same alone as in a
// list.
#include <cmath>

#include "engine/formats/number_text.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::inputText(data, size);
    const std::optional<std::vector<float>> numbers = engine::parseNumberList(text);
    const std::optional<float> number = engine::parseNumber(text);
    if (numbers) {
        for (float value : *numbers) {
            fuzz::require(std::isfinite(value), "numbers are finite");
        }
    }
    const bool single = numbers && numbers->size() == 1;
    fuzz::require(number.has_value() == single, "one number alone is a number");
    if (number) {
        fuzz::require(*number == numbers->front(), "a number reads the same alone as in a list");
    }
    return 0;
}
