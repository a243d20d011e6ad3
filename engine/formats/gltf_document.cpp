#include "engine/formats/gltf_document.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "engine/formats/gltf_stand_ins.h"

#include "engine/formats/json_nesting.h"
#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

constexpr std::size_t kLongestComplaint = 300;
// A buffer of zeros costs the file nothing, so its length is bounded.
constexpr unsigned long long kLargestZeroBuffer = 1ull << 30;

struct ImageCapture {
    const tinygltf::Model* model;
    EmbeddedImages* embedded;
};

bool loadOnce(std::string_view bytes, const SideFileReader& readSideFile, tinygltf::Model& model,
              EmbeddedImages& embedded, std::string& complaint);
bool isBinaryGltf(std::string_view bytes);
std::optional<std::string> zeroBuffer(const std::string& path, std::string& error);
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
    std::string complaint;
    if (loadOnce(standIns ? *standIns : bytes, readSideFile, model, embedded, complaint)) {
        return true;
    }
    // What a validator accepts and tinygltf refuses (index accessors without a view, buffers
    // without a uri) gets its stand-ins and a second try; other files are not parsed twice.
    if (!standIns) {
        if (const std::optional<std::string> all = withStandIns(bytes, StandInScope::Any)) {
            model = tinygltf::Model();
            embedded.clear();
            complaint.clear();
            if (loadOnce(*all, readSideFile, model, embedded, complaint)) {
                return true;
            }
        }
    }
    error = trimmedComplaint(complaint.empty() ? "not a glTF 2.0 document" : complaint);
    return false;
}

namespace {

bool loadOnce(std::string_view bytes, const SideFileReader& readSideFile, tinygltf::Model& model,
              EmbeddedImages& embedded, std::string& complaint) {
    tinygltf::TinyGLTF loader;
    loader.SetFsCallbacks(sideFileCallbacks(readSideFile));
    ImageCapture capture{&model, &embedded};
    loader.SetImageLoader(captureImage, &capture);
    std::string warning;
    const auto length = static_cast<unsigned int>(bytes.size());
    return isBinaryGltf(bytes)
               ? loader.LoadBinaryFromMemory(&model, &complaint, &warning,
                                             reinterpret_cast<const unsigned char*>(bytes.data()),
                                             length, "")
               : loader.LoadASCIIFromString(&model, &complaint, &warning, bytes.data(), length, "");
}

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
            path.rfind(kZeroBufferUri, 0) == 0
                ? zeroBuffer(path, fault)
                : (*static_cast<const SideFileReader*>(reader))(path, fault);
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

// The zeros a buffer without a uri stands for; as a file of that size would, it may not be
// larger than the largest content file.
std::optional<std::string> zeroBuffer(const std::string& path, std::string& error) {
    const std::string length = path.substr(std::char_traits<char>::length(kZeroBufferUri));
    const unsigned long long bytes = std::strtoull(length.c_str(), nullptr, 10);
    if (length.empty() || length.size() > 12 || bytes > kLargestZeroBuffer) {
        error = "a buffer without a uri is longer than " +
                std::to_string(kLargestZeroBuffer >> 20) + " MiB";
        return std::nullopt;
    }
    return std::string(static_cast<std::size_t>(bytes), '\0');
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
