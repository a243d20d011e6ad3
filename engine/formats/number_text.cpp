#include "engine/formats/number_text.h"

#include <charconv>
#include <cmath>

namespace engine {
namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',';
}

std::optional<float> parsePiece(std::string_view piece) {
    float value = 0.0f;
    const char* end = piece.data() + piece.size();
    auto [stop, error] = std::from_chars(piece.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<float> parseNumber(std::string_view text) {
    auto numbers = parseNumberList(text);
    if (!numbers || numbers->size() != 1) {
        return std::nullopt;
    }
    return numbers->front();
}

std::optional<std::vector<float>> parseNumberList(std::string_view text) {
    std::vector<float> numbers;
    std::size_t position = 0;
    while (position < text.size()) {
        if (isSeparator(text[position])) {
            ++position;
            continue;
        }
        std::size_t end = position;
        while (end < text.size() && !isSeparator(text[end])) {
            ++end;
        }
        auto number = parsePiece(text.substr(position, end - position));
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        position = end;
    }
    return numbers;
}

}  // namespace engine
