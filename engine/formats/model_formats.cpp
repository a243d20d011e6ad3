#include "engine/formats/model_formats.h"

#include <cctype>

namespace engine {
namespace {

constexpr const char* kGltfExtensions[] = {".glb", ".gltf"};
constexpr const char* kImportedExtensions[] = {".obj", ".stl", ".ply", ".fbx",
                                               ".dae", ".3ds", ".off", ".3mf"};

std::string lowerExtension(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    const std::size_t slash = name.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    std::string extension(name.substr(dot));
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension;
}

}  // namespace

std::string supportedModelExtensions() {
    std::string list;
    for (const char* extension : kGltfExtensions) {
        list += list.empty() ? "" : ", ";
        list += extension;
    }
    for (const char* extension : kImportedExtensions) {
        list += ", ";
        list += extension;
    }
    return list;
}

bool isImportedModelName(std::string_view name) {
    const std::string extension = lowerExtension(name);
    for (const char* imported : kImportedExtensions) {
        if (extension == imported) {
            return true;
        }
    }
    return false;
}

bool isGltfName(std::string_view name) {
    const std::string extension = lowerExtension(name);
    for (const char* gltf : kGltfExtensions) {
        if (extension == gltf) {
            return true;
        }
    }
    return false;
}

bool startsAsGltf(std::string_view bytes) {
    if (bytes.substr(0, 4) == "glTF") {
        return true;
    }
    std::size_t start = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    start = bytes.find_first_not_of(" \t\r\n", start);
    return start != std::string_view::npos && bytes[start] == '{';
}

std::string unsupportedModelFault(std::string_view name) {
    const std::string extension = lowerExtension(name);
    return "it is not glTF, and " +
           (extension.empty() ? std::string("a name without an extension")
                              : "'" + extension + "'") +
           " is none of the model formats read (" + supportedModelExtensions() + ")";
}

}  // namespace engine
