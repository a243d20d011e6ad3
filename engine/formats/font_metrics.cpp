#include "engine/formats/font_metrics.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <optional>
#include <set>
#include <string>

#include "engine/formats/format_error.h"
#include "engine/formats/number_text.h"
#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

struct MetricsLine {
    int number = 0;
    std::string_view key;
    std::string_view value;
};

FontMetrics readMetrics(std::string_view bytes);

}  // namespace

Parsed<FontMetrics> parseFontMetrics(std::string_view bytes) {
    try {
        return Parsed<FontMetrics>::success(readMetrics(bytes));
    } catch (const FormatError& error) {
        return Parsed<FontMetrics>::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Parsed<FontMetrics>::failure("out of memory");
    }
}

namespace {

constexpr const char* kRequiredKeys[] = {"cell_width", "cell_height", "columns",
                                         "first_char", "char_count",  "advance"};

[[noreturn]] void fail(int line, const std::string& fault) {
    throw FormatError("line " + std::to_string(line) + ": " + fault);
}

std::string_view trimmed(std::string_view text) {
    const char* blanks = " \t\r";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Nothing for a blank or comment line.
std::optional<MetricsLine> splitLine(std::string_view text, int number) {
    text = trimmed(text);
    if (text.empty() || text.front() == '#') {
        return std::nullopt;
    }
    std::size_t blank = text.find_first_of(" \t");
    if (blank == std::string_view::npos) {
        fail(number, quotedExcerpt(text) + " needs a value");
    }
    return MetricsLine{number, text.substr(0, blank), trimmed(text.substr(blank))};
}

float numberOf(const MetricsLine& line, float minimum, float maximum) {
    std::optional<float> value = parseNumber(line.value);
    if (!value) {
        fail(line.number,
             quotedExcerpt(line.key) + " needs a number, not " + quotedExcerpt(line.value));
    }
    if (*value < minimum || *value > maximum) {
        fail(line.number, quotedExcerpt(line.key) + " must lie between " + std::to_string(minimum) +
                              " and " + std::to_string(maximum));
    }
    return *value;
}

int wholeNumberOf(const MetricsLine& line, int minimum, int maximum) {
    float value = numberOf(line, static_cast<float>(minimum), static_cast<float>(maximum));
    if (value != std::floor(value)) {
        fail(line.number, quotedExcerpt(line.key) + " needs a whole number");
    }
    return static_cast<int>(value);
}

void applyLine(const MetricsLine& line, FontMetrics& metrics) {
    if (line.key == "cell_width") {
        metrics.cellWidth = wholeNumberOf(line, 1, 4096);
    } else if (line.key == "cell_height") {
        metrics.cellHeight = wholeNumberOf(line, 1, 4096);
    } else if (line.key == "columns") {
        metrics.columns = wholeNumberOf(line, 1, 256);
    } else if (line.key == "first_char") {
        metrics.firstChar = wholeNumberOf(line, 0, 255);
    } else if (line.key == "char_count") {
        metrics.charCount = wholeNumberOf(line, 1, 256);
    } else if (line.key == "advance") {
        metrics.advance = numberOf(line, 0.001f, 16.0f);
    } else if (line.key == "baseline") {
        metrics.baseline = wholeNumberOf(line, 0, 4096);
    } else {
        fail(line.number, "unknown key " + quotedExcerpt(line.key));
    }
}

FontMetrics readMetrics(std::string_view bytes) {
    FontMetrics metrics;
    std::set<std::string, std::less<>> seen;
    int number = 0;
    for (std::size_t start = 0; start <= bytes.size();) {
        std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::optional<MetricsLine> line = splitLine(bytes.substr(start, end - start), ++number);
        start = end + 1;
        if (!line) {
            continue;
        }
        if (!seen.insert(std::string(line->key)).second) {
            fail(line->number, quotedExcerpt(line->key) + " appears twice");
        }
        applyLine(*line, metrics);
    }
    for (const char* key : kRequiredKeys) {
        if (seen.count(key) == 0) {
            throw FormatError("'" + std::string(key) + "' is missing");
        }
    }
    if (metrics.firstChar + metrics.charCount > 256) {
        throw FormatError("first_char + char_count goes beyond 256 characters");
    }
    return metrics;
}

}  // namespace
}  // namespace engine
