#include "engine/formats/json_nesting.h"

#include <cstdint>
#include <cstring>

namespace engine {
namespace {

// A .glb: a 12-byte header, then the JSON chunk's length and type, then the JSON itself.
constexpr std::size_t kGlbHeaderSize = 12;
constexpr std::size_t kGlbJsonStart = 20;

std::string_view glbJsonChunk(std::string_view bytes);

}  // namespace

std::optional<std::string> gltfNestingFault(std::string_view bytes) {
    const bool binary = bytes.size() >= 4 && std::memcmp(bytes.data(), "glTF", 4) == 0;
    return jsonNestingFault(binary ? glbJsonChunk(bytes) : bytes);
}

std::optional<std::string> jsonNestingFault(std::string_view json) {
    int depth = 0;
    bool inString = false;
    for (std::size_t at = 0; at < json.size(); ++at) {
        const char c = json[at];
        if (inString) {
            if (c == '\\') {
                ++at;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > kDeepestJsonNesting) {
                return "the JSON nests deeper than " + std::to_string(kDeepestJsonNesting) +
                       " levels (at byte " + std::to_string(at) + ")";
            }
        } else if ((c == '}' || c == ']') && depth > 0) {
            --depth;
        }
    }
    return std::nullopt;
}

namespace {

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t index = 0; index < 4; ++index) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + index]))
                 << (8 * index);
    }
    return value;
}

// A chunk length beyond the file is cut at its end; the parser reports the truncation.
std::string_view glbJsonChunk(std::string_view bytes) {
    if (bytes.size() < kGlbJsonStart) {
        return {};
    }
    const std::size_t length = littleEndian32(bytes, kGlbHeaderSize);
    return bytes.substr(kGlbJsonStart, length);
}

}  // namespace
}  // namespace engine
