// glTF files nested far deeper than any real one must be refused before tinygltf's recursive
// reader sees them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/formats/gltf_geometry.h"
#include "engine/formats/json_nesting.h"
#include "gltf_side_files.h"
#include "test_support.h"

using namespace engine;

namespace {

using gltf_test::kNoSideFiles;

std::string repeated(const std::string& piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t index = 0; index < count; ++index) {
        text += piece;
    }
    return text;
}

// A glTF document whose extras nest arrays `levels` deep: valid JSON, and valid glTF.
std::string deepGltfJson(std::size_t levels) {
    return "{\"asset\":{\"version\":\"2.0\"},\"extras\":" + repeated("[", levels) +
           repeated("]", levels) + "}";
}

void appendLittleEndian32(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((value >> shift) & 0xff);
    }
}

// A .glb holding only a JSON chunk (padded with blanks to four bytes, as the format asks).
std::string glbAround(std::string json) {
    json.append((4 - json.size() % 4) % 4, ' ');
    std::string bytes = "glTF";
    appendLittleEndian32(bytes, 2);
    appendLittleEndian32(bytes, static_cast<std::uint32_t>(20 + json.size()));
    appendLittleEndian32(bytes, static_cast<std::uint32_t>(json.size()));
    bytes += "JSON";
    return bytes + json;
}

std::string gltfError(const std::string& bytes) {
    Parsed<GeometryDesc> geometry = parseGltfGeometry(bytes, kNoSideFiles);
    EXPECT_FALSE(geometry.ok()) << "parsed although it should not";
    return geometry.ok() ? std::string() : geometry.error();
}

}  // namespace

TEST(JsonNesting, JsonNestedDeepInsideExtrasIsRefusedBeforeParsing) {
    const std::string json = deepGltfJson(100000);
    for (const std::string& file : {json, glbAround(json)}) {
        const std::string error = gltfError(file);
        EXPECT_TRUE(contains(error, "nests deeper than 64 levels")) << error;
    }
}

TEST(JsonNesting, NestingAtTheLimitPassesAndStringsDoNotCount) {
    EXPECT_FALSE(jsonNestingFault(repeated("[", 64) + repeated("]", 64)).has_value());
    EXPECT_TRUE(jsonNestingFault(repeated("[", 65) + repeated("]", 65)).has_value());
    // Brackets inside strings, and escaped quotes that do not end them, are no nesting.
    const std::string brackets = "[\"" + repeated("[{", 100) + "\\\"" + repeated("[", 100) + "\"]";
    EXPECT_FALSE(jsonNestingFault(brackets).has_value());
    // An escaped backslash does end before the quote, which then closes the string.
    EXPECT_TRUE(jsonNestingFault("[\"\\\\\"" + repeated("[", 70) + "]").has_value());
    // The glb's JSON chunk is what counts, not the binary around it.
    EXPECT_FALSE(gltfNestingFault(glbAround(deepGltfJson(10))).has_value());
    EXPECT_TRUE(gltfNestingFault(glbAround(deepGltfJson(65))).has_value());
}
