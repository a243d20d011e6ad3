// Numbers written in the text formats: locale-independent, finite, separated by blanks or commas.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace engine {

// The one finite number that text holds (surrounding blanks allowed); nothing otherwise.
std::optional<float> parseNumber(std::string_view text);
// Every number in text, separated by blanks or commas; nothing when any piece is not a
// finite number.
std::optional<std::vector<float>> parseNumberList(std::string_view text);

}  // namespace engine
