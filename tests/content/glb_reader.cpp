#include "glb_reader.h"

#include <cstring>
#include <stdexcept>
#include <string_view>

#include "json_value.h"

namespace content_tests {
namespace {

constexpr std::uint32_t kGlbMagic = 0x46546C67U;
constexpr std::uint32_t kJsonChunk = 0x4E4F534AU;
constexpr std::uint32_t kBinChunk = 0x004E4942U;

void require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error("glb: " + what);
    }
}

std::uint32_t readUint32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    require(offset + 4 <= bytes.size(), "truncated");
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

struct Chunks {
    std::string json;
    std::vector<std::uint8_t> binary;
};

Chunks splitChunks(const std::vector<std::uint8_t>& bytes) {
    require(readUint32(bytes, 0) == kGlbMagic, "bad magic");
    require(readUint32(bytes, 4) == 2, "not version 2");
    require(readUint32(bytes, 8) == bytes.size(), "length field does not match the file size");
    const std::uint32_t jsonLength = readUint32(bytes, 12);
    require(readUint32(bytes, 16) == kJsonChunk, "first chunk is not JSON");
    require(jsonLength % 4 == 0 && 20 + jsonLength + 8 <= bytes.size(), "bad JSON chunk length");
    Chunks chunks;
    chunks.json.assign(bytes.begin() + 20, bytes.begin() + 20 + jsonLength);
    const std::size_t binStart = 20 + jsonLength;
    const std::uint32_t binLength = readUint32(bytes, binStart);
    require(readUint32(bytes, binStart + 4) == kBinChunk, "second chunk is not BIN");
    require(binLength % 4 == 0 && binStart + 8 + binLength == bytes.size(), "bad BIN length");
    chunks.binary.assign(bytes.begin() + static_cast<long>(binStart + 8), bytes.end());
    return chunks;
}

int componentSize(int componentType) {
    switch (componentType) {
        case 5121:
            return 1;
        case 5123:
            return 2;
        case 5125:
        case 5126:
            return 4;
        default:
            throw std::runtime_error("glb: unknown component type");
    }
}

int componentCount(const std::string& type) {
    if (type == "SCALAR")
        return 1;
    if (type == "VEC2")
        return 2;
    if (type == "VEC3")
        return 3;
    throw std::runtime_error("glb: unexpected accessor type " + type);
}

// The raw bytes of one accessor, after checking that they lie inside their view and buffer.
struct AccessorData {
    const std::uint8_t* data = nullptr;
    std::size_t count = 0;
    int componentType = 0;
    int components = 0;
};

AccessorData accessorData(const JsonValue& document, const std::vector<std::uint8_t>& binary,
                          int index) {
    const JsonValue& accessor = document["accessors"][static_cast<std::size_t>(index)];
    const JsonValue& view =
        document["bufferViews"][static_cast<std::size_t>(accessor["bufferView"].asInt())];
    AccessorData result;
    result.count = static_cast<std::size_t>(accessor["count"].number);
    result.componentType = accessor["componentType"].asInt();
    result.components = componentCount(accessor["type"].text);
    const std::size_t viewOffset =
        view.has("byteOffset") ? static_cast<std::size_t>(view["byteOffset"].number) : 0;
    const std::size_t viewLength = static_cast<std::size_t>(view["byteLength"].number);
    const std::size_t offset =
        accessor.has("byteOffset") ? static_cast<std::size_t>(accessor["byteOffset"].number) : 0;
    const std::size_t needed =
        offset + result.count * static_cast<std::size_t>(result.components *
                                                         componentSize(result.componentType));
    require(needed <= viewLength, "accessor runs past its view");
    require(viewOffset + viewLength <= binary.size(), "view runs past the buffer");
    require(
        (viewOffset + offset) % static_cast<std::size_t>(componentSize(result.componentType)) == 0,
        "misaligned accessor");
    result.data = binary.data() + viewOffset + offset;
    return result;
}

template <typename Vec>
std::vector<Vec> readFloats(const AccessorData& accessor, int components) {
    require(accessor.componentType == 5126 && accessor.components == components,
            "attribute is not float");
    std::vector<Vec> values(accessor.count);
    std::memcpy(values.data(), accessor.data, accessor.count * sizeof(Vec));
    return values;
}

std::vector<std::uint32_t> readIndices(const AccessorData& accessor) {
    require(accessor.components == 1, "indices are not scalar");
    std::vector<std::uint32_t> indices(accessor.count);
    for (std::size_t i = 0; i < accessor.count; ++i) {
        if (accessor.componentType == 5123) {
            std::uint16_t value = 0;
            std::memcpy(&value, accessor.data + i * 2, 2);
            indices[i] = value;
        } else if (accessor.componentType == 5125) {
            std::memcpy(&indices[i], accessor.data + i * 4, 4);
        } else {
            require(false, "indices are neither 16 nor 32 bit");
        }
    }
    return indices;
}

glm::vec3 vec3Of(const JsonValue& array) {
    require(array.items.size() == 3, "bounds are not three numbers");
    return {static_cast<float>(array[0].number), static_cast<float>(array[1].number),
            static_cast<float>(array[2].number)};
}

GlbPrimitive readPrimitive(const JsonValue& document, const std::vector<std::uint8_t>& binary,
                           const JsonValue& primitive) {
    const JsonValue& attributes = primitive["attributes"];
    GlbPrimitive result;
    result.mode = primitive.has("mode") ? primitive["mode"].asInt() : 4;
    const int positionIndex = attributes["POSITION"].asInt();
    result.positions = readFloats<glm::vec3>(accessorData(document, binary, positionIndex), 3);
    result.normals =
        readFloats<glm::vec3>(accessorData(document, binary, attributes["NORMAL"].asInt()), 3);
    result.uvs =
        readFloats<glm::vec2>(accessorData(document, binary, attributes["TEXCOORD_0"].asInt()), 2);
    result.indices = readIndices(accessorData(document, binary, primitive["indices"].asInt()));
    const JsonValue& positionAccessor =
        document["accessors"][static_cast<std::size_t>(positionIndex)];
    result.declaredMin = vec3Of(positionAccessor["min"]);
    result.declaredMax = vec3Of(positionAccessor["max"]);
    return result;
}

}  // namespace

GlbFile readGlb(const std::vector<std::uint8_t>& bytes) {
    const Chunks chunks = splitChunks(bytes);
    const JsonValue document = parseJson(chunks.json);
    require(document["asset"]["version"].text == "2.0", "asset version is not 2.0");
    require(static_cast<std::size_t>(document["buffers"][0]["byteLength"].number) <=
                chunks.binary.size(),
            "buffer is longer than the BIN chunk");
    GlbFile file;
    file.nodeCount = static_cast<int>(document["nodes"].items.size());
    for (const JsonValue& mesh : document["meshes"].items) {
        GlbMesh result;
        result.name = mesh.has("name") ? mesh["name"].text : "";
        for (const JsonValue& primitive : mesh["primitives"].items) {
            result.primitives.push_back(readPrimitive(document, chunks.binary, primitive));
        }
        file.meshes.push_back(std::move(result));
    }
    return file;
}

}  // namespace content_tests
