// Names of resources that a file names relative to itself.
#pragma once

#include <string>
#include <string_view>

namespace engine {

// The name of a file that resourceName names beside itself: "models/statue.gltf" and
// "statue.bin" give "models/statue.bin".
std::string siblingName(std::string_view resourceName, std::string_view uri);
// Where a file a model names beside itself is looked for: only inside the model's folder and
// its subfolders.
struct SiblingPath {
    enum class Kind {
        Inside,
        // Written on another machine (an absolute path, backslashes): looked for by its file name
        // beside the model.
        ByFileName,
        // Climbs out of the model's folder ("../../etc/passwd"): not read.
        Outside,
    };
    Kind kind = Kind::Inside;
    // The sibling's resource name; empty when Outside.
    std::string name;
};
SiblingPath confinedSibling(std::string_view resourceName, std::string_view path);
// A URI's path with its %XX escapes decoded ("wood%20grain.png" is "wood grain.png"); a '%'
// not followed by two hex digits stays as it is.
std::string percentDecoded(std::string_view uri);

}  // namespace engine
