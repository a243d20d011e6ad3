#include "app/model_file.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// Enough for the binary header or for a JSON object after a byte order mark and some blanks.
const std::size_t kSniffedBytes = 256;

// The formats the engine reads besides glTF, through its import helper.
const char* const kImportedExtensions[] = {".obj", ".stl", ".ply", ".fbx",
                                           ".dae", ".3ds", ".off", ".3mf"};

std::string lowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension;
}

bool isImportedFormat(const std::string& path) {
    const std::string extension = lowerExtension(path);
    for (const char* imported : kImportedExtensions) {
        if (extension == imported) {
            return true;
        }
    }
    return false;
}

bool startsAsGltf(const std::string& head) {
    if (head.compare(0, 4, "glTF") == 0) {
        return true;
    }
    std::size_t start = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    start = head.find_first_not_of(" \t\r\n", start);
    return start != std::string::npos && head[start] == '{';
}

}  // namespace

std::optional<std::string> modelFileFault(const std::string& path) {
    const std::string quoted = "'" + path + "'";
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return "cannot open " + quoted + ": it is a directory";
    }
    if (!std::filesystem::exists(path, error)) {
        return "cannot open " + quoted + ": no such file";
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return "cannot open " + quoted + ": " + std::strerror(errno);
    }
    std::string head(kSniffedBytes, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    if (head.empty()) {
        return quoted + " is not a glTF file: it is empty";
    }
    if (startsAsGltf(head) || isImportedFormat(path)) {
        return std::nullopt;
    }
    const std::string extension = lowerExtension(path);
    if (extension == ".glb" || extension == ".gltf") {
        return quoted +
               " is not a glTF file: it starts neither with the binary header 'glTF' "
               "nor with a JSON object";
    }
    return quoted + " is not a model file open-model reads: " + supportedModelFormats();
}

std::string supportedModelFormats() {
    std::string list = "glTF (.glb, .gltf)";
    for (const char* extension : kImportedExtensions) {
        list += std::string(", ") + extension;
    }
    return list;
}

ModelFile locateModelFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::absolute(path, error).lexically_normal();
    const std::filesystem::path folder = file.parent_path();
    ModelFile model;
    model.displayName = file.filename().string();
    if (folder.has_parent_path() && folder != folder.root_path()) {
        model.contentDirectory = folder.parent_path().string();
        model.resourceName = (folder.filename() / file.filename()).string();
    } else {
        model.contentDirectory = folder.string();
        model.resourceName = model.displayName;
    }
    return model;
}
