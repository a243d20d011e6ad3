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

struct ImageCapture {
    const tinygltf::Model* model;
    EmbeddedImages* embedded;
};

bool isBinaryGltf(std::string_view bytes);
bool captureImage(tinygltf::Image* image, int index, std::string* error, std::string* warning,
                  int width, int height, const unsigned char* bytes, int size, void* capture);
tinygltf::FsCallbacks sideFileCallbacks(const SideFileReader& readSideFile);
std::string trimmedComplaint(std::string complaint);

}  // namespace

bool loadGltfDocument(std::string_view bytes, const SideFileReader& readSideFile,
                      tinygltf::Model& model, EmbeddedImages& embedded, std::string& error) {
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
    ImageCapture capture{&model, &embedded};
    loader.SetImageLoader(captureImage, &capture);
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

// tinygltf hands over an image's bytes from a data URI or a buffer view; the view's bounds are
// checked here, as tinygltf does not check them before pointing into the buffer.
bool captureImage(tinygltf::Image* image, int index, std::string* error, std::string*, int, int,
                  const unsigned char* bytes, int size, void* capture) {
    const auto& [model, embedded] = *static_cast<ImageCapture*>(capture);
    if (image->bufferView >= 0) {
        const auto view = static_cast<std::size_t>(image->bufferView);
        const tinygltf::BufferView& bufferView = model->bufferViews[view];
        const std::vector<unsigned char>& buffer =
            model->buffers[static_cast<std::size_t>(bufferView.buffer)].data;
        if (bufferView.byteOffset > buffer.size() ||
            bufferView.byteLength > buffer.size() - bufferView.byteOffset) {
            if (error != nullptr) {
                *error += "image " + std::to_string(index) + " reaches past its buffer";
            }
            return false;
        }
    }
    if (size > 0) {
        (*embedded)[index] = std::make_shared<const std::string>(
            reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    }
    return true;
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
