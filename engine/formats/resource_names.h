// Names of resources that a file names relative to itself.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// The name of a file that resourceName names beside itself: "models/statue.gltf" and
// "statue.bin" give "models/statue.bin".
std::string siblingName(std::string_view resourceName, std::string_view uri);
// A URI's path with its %XX escapes decoded ("wood%20grain.png" is "wood grain.png"); a '%'
// not followed by two hex digits stays as it is.
std::string percentDecoded(std::string_view uri);

}  // namespace engine
