#include "engine/formats/gltf_stand_ins.h"

#include <cstdint>
#include <cstring>

#include <nlohmann/json.hpp>

#include "engine/formats/gltf_draco.h"
#include "engine/formats/gltf_meshopt.h"

namespace engine {
namespace {

constexpr std::size_t kGlbHeaderSize = 12;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr const char* kStandInUri = "data:application/octet-stream;base64,AA==";

bool isGlb(std::string_view bytes);
std::string_view glbJsonChunk(std::string_view bytes);
std::string glbWithJson(std::string_view bytes, std::string json);
bool standInFallbackBuffers(nlohmann::json& document);
bool moveViewlessIndices(nlohmann::json& document);
bool standInZeroBuffers(nlohmann::json& document);
const nlohmann::json* member(const nlohmann::json& object, const char* key);
std::uint32_t wordAt(std::string_view bytes, std::size_t offset);
void appendWord(std::string& bytes, std::uint32_t value);

}  // namespace

std::optional<std::string> withStandIns(std::string_view bytes, StandInScope scope) {
    if (scope == StandInScope::CompressedOnly &&
        bytes.find(kMeshoptExtension) == std::string_view::npos &&
        bytes.find(kDracoExtension) == std::string_view::npos) {
        return std::nullopt;
    }
    const bool binary = isGlb(bytes);
    const std::string_view json = binary ? glbJsonChunk(bytes) : bytes;
    // Parsed without exceptions; nlohmann's parser keeps its own stack, so deep nesting
    // cannot exhaust the call stack.
    nlohmann::json document = nlohmann::json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        return std::nullopt;
    }
    const bool buffersChanged = standInFallbackBuffers(document);
    const bool indicesMoved = moveViewlessIndices(document);
    const bool zerosStoodIn = !binary && standInZeroBuffers(document);
    if (!buffersChanged && !indicesMoved && !zerosStoodIn) {
        return std::nullopt;
    }
    std::string text = document.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return binary ? glbWithJson(bytes, std::move(text)) : text;
}

int indicesAccessor(const tinygltf::Primitive& primitive) {
    if (primitive.indices >= 0) {
        return primitive.indices;
    }
    if (primitive.extras.IsObject() && primitive.extras.Has(kViewlessIndices) &&
        primitive.extras.Get(kViewlessIndices).IsInt()) {
        return primitive.extras.Get(kViewlessIndices).GetNumberAsInt();
    }
    return -1;
}

namespace {

bool isGlb(std::string_view bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), "glTF", 4) == 0;
}

// Empty when the chunk's length does not fit the file.
std::string_view glbJsonChunk(std::string_view bytes) {
    if (bytes.size() < kGlbHeaderSize + kChunkHeaderSize) {
        return {};
    }
    const std::size_t length = wordAt(bytes, kGlbHeaderSize);
    const std::size_t start = kGlbHeaderSize + kChunkHeaderSize;
    return length <= bytes.size() - start ? bytes.substr(start, length) : std::string_view();
}

// The .glb with its JSON chunk replaced and every later chunk kept as it was.
std::string glbWithJson(std::string_view bytes, std::string json) {
    while (json.size() % 4 != 0) {
        json.push_back(' ');
    }
    const std::size_t rest = kGlbHeaderSize + kChunkHeaderSize + wordAt(bytes, kGlbHeaderSize);
    std::string glb(bytes.substr(0, 8));
    appendWord(glb, static_cast<std::uint32_t>(kGlbHeaderSize + kChunkHeaderSize + json.size() +
                                               (bytes.size() - rest)));
    appendWord(glb, static_cast<std::uint32_t>(json.size()));
    glb.append(bytes.substr(kGlbHeaderSize + 4, 4));
    glb += json;
    glb.append(bytes.substr(rest));
    return glb;
}

// Whether any buffer was stood in for.
bool standInFallbackBuffers(nlohmann::json& document) {
    if (!document.is_object() || !document.contains("buffers") || !document["buffers"].is_array()) {
        return false;
    }
    bool changed = false;
    for (nlohmann::json& buffer : document["buffers"]) {
        if (!buffer.is_object() || buffer.contains("uri")) {
            continue;
        }
        const auto extensions = buffer.find("extensions");
        if (extensions == buffer.end() || !extensions->is_object()) {
            continue;
        }
        const auto meshopt = extensions->find(kMeshoptExtension);
        if (meshopt == extensions->end() || !meshopt->is_object()) {
            continue;
        }
        const auto fallback = meshopt->find("fallback");
        if (fallback != meshopt->end() && *fallback == true) {
            buffer["uri"] = kStandInUri;
            buffer["byteLength"] = 1;
            changed = true;
        }
    }
    return changed;
}

bool moveViewlessIndices(nlohmann::json& document) {
    const nlohmann::json* meshes = member(document, "meshes");
    const nlohmann::json* accessors = member(document, "accessors");
    if (meshes == nullptr || !meshes->is_array() || accessors == nullptr ||
        !accessors->is_array()) {
        return false;
    }
    bool changed = false;
    for (nlohmann::json& mesh : document["meshes"]) {
        const nlohmann::json* primitives = member(mesh, "primitives");
        if (primitives == nullptr || !primitives->is_array()) {
            continue;
        }
        for (nlohmann::json& primitive : mesh["primitives"]) {
            const nlohmann::json* indices = member(primitive, "indices");
            if (indices == nullptr || !indices->is_number_unsigned() ||
                indices->get<std::size_t>() >= accessors->size() ||
                member((*accessors)[indices->get<std::size_t>()], "bufferView") != nullptr) {
                continue;
            }
            if (!primitive.contains("extras") || !primitive["extras"].is_object()) {
                primitive["extras"] = nlohmann::json::object();
            }
            primitive["extras"][kViewlessIndices] = *indices;
            primitive.erase("indices");
            changed = true;
        }
    }
    return changed;
}

// Buffers without a uri (or bytes) in a .gltf file: the format reads them as zeros.
bool standInZeroBuffers(nlohmann::json& document) {
    if (!document.contains("buffers") || !document["buffers"].is_array()) {
        return false;
    }
    bool changed = false;
    for (nlohmann::json& buffer : document["buffers"]) {
        const nlohmann::json* length = member(buffer, "byteLength");
        if (buffer.contains("uri") || length == nullptr || !length->is_number_unsigned()) {
            continue;
        }
        buffer["uri"] = kZeroBufferUri + std::to_string(length->get<std::uint64_t>());
        changed = true;
    }
    return changed;
}

// The object's member, or nothing when either is missing.
const nlohmann::json* member(const nlohmann::json& object, const char* key) {
    if (!object.is_object()) {
        return nullptr;
    }
    const auto found = object.find(key);
    return found != object.end() ? &*found : nullptr;
}

std::uint32_t wordAt(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

void appendWord(std::string& bytes, std::uint32_t value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace
}  // namespace engine
