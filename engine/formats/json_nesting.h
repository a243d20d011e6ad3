// The nesting depth of a glTF file's JSON, measured without recursion before tinygltf reads it:
// its reader recurses once per level, so a file nested 100,000 deep would overflow the loading
// thread's stack.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Real glTF files nest fewer than 20 levels (extras and extensions included).
inline constexpr int kDeepestJsonNesting = 64;

// The fault when the JSON of a .gltf (or the JSON chunk of a .glb) nests objects and arrays
// deeper than kDeepestJsonNesting; nothing otherwise. Other faults are left to the parser.
std::optional<std::string> gltfNestingFault(std::string_view bytes);

// The same check on plain JSON text; strings (and the escapes inside them) do not count.
std::optional<std::string> jsonNestingFault(std::string_view json);

}  // namespace engine
