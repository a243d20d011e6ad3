#include "engine/formats/gltf_meshopt.h"

#include <meshoptimizer.h>

#include "engine/formats/format_error.h"

namespace engine {
namespace {

// meshoptimizer's densest encoding (a run of zero bytes) takes 2 bits for 16 bytes; a stream
// claiming more than this ratio, plus room for its header and tail, is a lie.
constexpr std::size_t kMostBytesPerCompressedByte = 64;
constexpr std::size_t kStreamOverhead = 4096;

struct MeshoptStream {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t stride = 0;
    std::size_t count = 0;
    std::string mode;
    std::string filter;
};

MeshoptStream streamOf(const tinygltf::Model& model, const tinygltf::BufferView& view,
                       const std::string& what);
std::size_t sizeMember(const tinygltf::Value& object, const char* key, bool required,
                       const std::string& what);
std::string textMember(const tinygltf::Value& object, const char* key, const char* fallback);
bool decodeStream(const MeshoptStream& stream, std::vector<unsigned char>& decoded);
bool applyFilter(const MeshoptStream& stream, std::vector<unsigned char>& decoded);

}  // namespace

bool isMeshoptCompressed(const tinygltf::BufferView& view) {
    return view.extensions.count(kMeshoptExtension) != 0;
}

std::vector<unsigned char> decodeMeshoptView(const tinygltf::Model& model,
                                             const tinygltf::BufferView& view, std::size_t maxBytes,
                                             const std::string& what) {
    const MeshoptStream stream = streamOf(model, view, what);
    if (stream.stride == 0 || stream.count > maxBytes / stream.stride) {
        throw FormatError(what + " decodes to more bytes than its accessors use");
    }
    const std::size_t decodedSize = stream.count * stream.stride;
    if (decodedSize / kMostBytesPerCompressedByte > stream.size + kStreamOverhead) {
        throw FormatError(what + " claims more than its compressed bytes can hold");
    }
    std::vector<unsigned char> decoded(decodedSize);
    if (!decodeStream(stream, decoded)) {
        throw FormatError(what + " is not a valid meshopt stream (mode " + stream.mode +
                          ", byte stride " + std::to_string(stream.stride) + ")");
    }
    if (!applyFilter(stream, decoded)) {
        throw FormatError(what + " has the unknown or unfitting meshopt filter " + stream.filter);
    }
    return decoded;
}

namespace {

MeshoptStream streamOf(const tinygltf::Model& model, const tinygltf::BufferView& view,
                       const std::string& what) {
    const tinygltf::Value& extension = view.extensions.at(kMeshoptExtension);
    if (!extension.IsObject()) {
        throw FormatError(what + " has a malformed " + kMeshoptExtension);
    }
    const std::size_t buffer = sizeMember(extension, "buffer", true, what);
    const std::size_t offset = sizeMember(extension, "byteOffset", false, what);
    const std::size_t length = sizeMember(extension, "byteLength", true, what);
    if (buffer >= model.buffers.size()) {
        throw FormatError(what + " names compressed buffer " + std::to_string(buffer) +
                          ", which does not exist");
    }
    const std::vector<unsigned char>& data = model.buffers[buffer].data;
    if (offset > data.size() || length > data.size() - offset) {
        throw FormatError(what + " has compressed bytes past the end of their buffer");
    }
    MeshoptStream stream;
    stream.data = data.data() + offset;
    stream.size = length;
    stream.stride = sizeMember(extension, "byteStride", true, what);
    stream.count = sizeMember(extension, "count", true, what);
    stream.mode = textMember(extension, "mode", "");
    stream.filter = textMember(extension, "filter", "NONE");
    return stream;
}

// A missing optional member is 0; a missing required one, or one that is not a whole number
// from 0 to 2^32, throws.
std::size_t sizeMember(const tinygltf::Value& object, const char* key, bool required,
                       const std::string& what) {
    if (!object.Has(key)) {
        if (required) {
            throw FormatError(what + " lacks the meshopt member " + key);
        }
        return 0;
    }
    const tinygltf::Value& member = object.Get(key);
    const double value = member.IsNumber() ? member.GetNumberAsDouble() : -1.0;
    if (!(value >= 0.0 && value <= 4294967295.0) ||
        value != static_cast<double>(static_cast<std::size_t>(value))) {
        throw FormatError(what + " has a bad meshopt " + key);
    }
    return static_cast<std::size_t>(value);
}

std::string textMember(const tinygltf::Value& object, const char* key, const char* fallback) {
    if (!object.Has(key) || !object.Get(key).IsString()) {
        return fallback;
    }
    return object.Get(key).Get<std::string>();
}

bool decodeStream(const MeshoptStream& stream, std::vector<unsigned char>& decoded) {
    if (stream.mode == "ATTRIBUTES") {
        return stream.stride % 4 == 0 && stream.stride <= 256 &&
               meshopt_decodeVertexBuffer(decoded.data(), stream.count, stream.stride, stream.data,
                                          stream.size) == 0;
    }
    const bool indexStride = stream.stride == 2 || stream.stride == 4;
    if (stream.mode == "TRIANGLES") {
        return indexStride && stream.count % 3 == 0 &&
               meshopt_decodeIndexBuffer(decoded.data(), stream.count, stream.stride, stream.data,
                                         stream.size) == 0;
    }
    if (stream.mode == "INDICES") {
        return indexStride &&
               meshopt_decodeIndexSequence(decoded.data(), stream.count, stream.stride, stream.data,
                                           stream.size) == 0;
    }
    return false;
}

bool applyFilter(const MeshoptStream& stream, std::vector<unsigned char>& decoded) {
    if (stream.filter == "NONE") {
        return true;
    }
    if (stream.mode != "ATTRIBUTES") {
        return false;
    }
    if (stream.filter == "OCTAHEDRAL" && (stream.stride == 4 || stream.stride == 8)) {
        meshopt_decodeFilterOct(decoded.data(), stream.count, stream.stride);
        return true;
    }
    if (stream.filter == "QUATERNION" && stream.stride == 8) {
        meshopt_decodeFilterQuat(decoded.data(), stream.count, stream.stride);
        return true;
    }
    if (stream.filter == "EXPONENTIAL") {
        meshopt_decodeFilterExp(decoded.data(), stream.count, stream.stride);
        return true;
    }
    return false;
}

}  // namespace
}  // namespace engine
