#include "engine/formats/gltf_document.h"

#include <cstring>
#include <limits>
#include <optional>

#include "engine/formats/gltf_stand_ins.h"

#include "engine/formats/json_nesting.h"
#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

constexpr std::size_t kLongestComplaint = 300;

bool isBinaryGltf(std::string_view bytes);
tinygltf::FsCallbacks sideFileCallbacks(const SideFileReader& readSideFile);
std::string trimmedComplaint(std::string complaint);

}  // namespace

bool loadGltfDocument(std::string_view bytes, const SideFileReader& readSideFile,
                      tinygltf::Model& model, std::string& error) {
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) {
        error = "the file is too large";
        return false;
    }
    // The stand-ins are made from the parsed JSON, so its depth is checked first.
    if (std::optional<std::string> fault = gltfNestingFault(bytes)) {
        error = *fault;
        return false;
    }
    const std::optional<std::string> standIns = withStandIns(bytes);
    if (standIns) {
        bytes = *standIns;
    }
    tinygltf::TinyGLTF loader;
    loader.SetFsCallbacks(sideFileCallbacks(readSideFile));
    // Images are the material files' business; they are neither decoded nor checked here.
    loader.SetImageLoader([](tinygltf::Image*, const int, std::string*, std::string*, int, int,
                             const unsigned char*, int, void*) { return true; },
                          nullptr);
    std::string complaint;
    std::string warning;
    const auto length = static_cast<unsigned int>(bytes.size());
    bool loaded =
        isBinaryGltf(bytes)
            ? loader.LoadBinaryFromMemory(&model, &complaint, &warning,
                                          reinterpret_cast<const unsigned char*>(bytes.data()),
                                          length, "")
            : loader.LoadASCIIFromString(&model, &complaint, &warning, bytes.data(), length, "");
    if (!loaded) {
        error = trimmedComplaint(complaint.empty() ? "not a glTF 2.0 document" : complaint);
    }
    return loaded;
}

namespace {

bool isBinaryGltf(std::string_view bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "glTF", 4) == 0;
}

// tinygltf asks whether a file exists before reading it; the reader answers both at once.
tinygltf::FsCallbacks sideFileCallbacks(const SideFileReader& readSideFile) {
    tinygltf::FsCallbacks callbacks{};
    callbacks.FileExists = [](const std::string&, void*) { return true; };
    callbacks.ExpandFilePath = [](const std::string& path, void*) { return path; };
    callbacks.ReadWholeFile = [](std::vector<unsigned char>* out, std::string* error,
                                 const std::string& path, void* reader) {
        std::string fault;
        std::optional<std::string> bytes =
            (*static_cast<const SideFileReader*>(reader))(path, fault);
        if (!bytes) {
            if (error != nullptr) {
                *error += fault;
            }
            return false;
        }
        out->assign(bytes->begin(), bytes->end());
        return true;
    };
    callbacks.WriteWholeFile = [](std::string*, const std::string&,
                                  const std::vector<unsigned char>&, void*) { return false; };
    callbacks.user_data = const_cast<SideFileReader*>(&readSideFile);
    return callbacks;
}

// tinygltf ends every complaint with a newline and may quote the file; a message is one short line.
std::string trimmedComplaint(std::string complaint) {
    while (!complaint.empty() && (complaint.back() == '\n' || complaint.back() == ' ')) {
        complaint.pop_back();
    }
    for (char& c : complaint) {
        if (c == '\n') {
            c = ';';
        }
    }
    return printableExcerpt(complaint, kLongestComplaint);
}

}  // namespace
}  // namespace engine
