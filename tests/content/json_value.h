// A small JSON reader, enough to read back the glTF documents the generator writes.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace content_tests {

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    bool has(const std::string& key) const { return members.count(key) != 0; }
    // Throws std::out_of_range for a missing key or index.
    const JsonValue& operator[](const std::string& key) const { return members.at(key); }
    const JsonValue& operator[](std::size_t index) const { return items.at(index); }
    int asInt() const { return static_cast<int>(number); }
};

// Throws std::runtime_error on malformed input.
JsonValue parseJson(std::string_view text);

}  // namespace content_tests
