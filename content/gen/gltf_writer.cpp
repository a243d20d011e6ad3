#include "gltf_writer.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include <glm/common.hpp>

namespace content {
namespace {

constexpr std::uint32_t kGlbMagic = 0x46546C67U;   // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534AU;  // "JSON"
constexpr std::uint32_t kBinChunk = 0x004E4942U;   // "BIN\0"
constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

// Nine significant digits give back the exact float, so bounds match the stored positions.
std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string vec3Array(glm::vec3 value) {
    return "[" + number(value.x) + "," + number(value.y) + "," + number(value.z) + "]";
}

void appendRaw(std::vector<std::uint8_t>& bytes, const void* data, std::size_t size) {
    const auto* begin = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), begin, begin + size);
}

void padTo4(std::vector<std::uint8_t>& bytes, std::uint8_t fill) {
    while (bytes.size() % 4 != 0) {
        bytes.push_back(fill);
    }
}

void appendUint32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Collects buffer views and accessors while the binary chunk grows.
class GlbAssembler {
  public:
    void addMesh(const NamedMesh& named) {
        const Mesh& mesh = named.mesh;
        const int position = addVec3Attribute(mesh, true);
        const int normal = addVec3Attribute(mesh, false);
        const int texcoord = addTexcoords(mesh);
        const int indices = addIndices(mesh);
        const std::string index = std::to_string(meshJson_.size());
        meshJson_.push_back("{\"name\":\"" + named.name +
                            "\",\"primitives\":[{\"attributes\":{\"POSITION\":" +
                            std::to_string(position) + ",\"NORMAL\":" + std::to_string(normal) +
                            ",\"TEXCOORD_0\":" + std::to_string(texcoord) +
                            "},\"indices\":" + std::to_string(indices) + ",\"mode\":4}]}");
        nodeJson_.push_back("{\"mesh\":" + index + ",\"name\":\"" + named.name + "\"}");
    }

    std::vector<std::uint8_t> finish() const {
        std::string json = documentJson();
        while (json.size() % 4 != 0) {
            json.push_back(' ');
        }
        std::vector<std::uint8_t> glb;
        const auto total = static_cast<std::uint32_t>(12 + 8 + json.size() + 8 + binary_.size());
        appendUint32(glb, kGlbMagic);
        appendUint32(glb, 2);
        appendUint32(glb, total);
        appendUint32(glb, static_cast<std::uint32_t>(json.size()));
        appendUint32(glb, kJsonChunk);
        appendRaw(glb, json.data(), json.size());
        appendUint32(glb, static_cast<std::uint32_t>(binary_.size()));
        appendUint32(glb, kBinChunk);
        appendRaw(glb, binary_.data(), binary_.size());
        return glb;
    }

  private:
    int addVec3Attribute(const Mesh& mesh, bool positions) {
        const std::size_t offset = binary_.size();
        glm::vec3 low(std::numeric_limits<float>::max());
        glm::vec3 high(-std::numeric_limits<float>::max());
        for (const Vertex& vertex : mesh.vertices) {
            const glm::vec3 value = positions ? vertex.position : vertex.normal;
            appendRaw(binary_, &value[0], sizeof(float) * 3);
            low = glm::min(low, value);
            high = glm::max(high, value);
        }
        const std::string bounds =
            positions ? ",\"min\":" + vec3Array(low) + ",\"max\":" + vec3Array(high) : "";
        return addAccessor(offset, kArrayBuffer, kFloat, mesh.vertices.size(), "VEC3", bounds);
    }

    int addTexcoords(const Mesh& mesh) {
        const std::size_t offset = binary_.size();
        for (const Vertex& vertex : mesh.vertices) {
            appendRaw(binary_, &vertex.uv[0], sizeof(float) * 2);
        }
        return addAccessor(offset, kArrayBuffer, kFloat, mesh.vertices.size(), "VEC2", "");
    }

    int addIndices(const Mesh& mesh) {
        const std::size_t offset = binary_.size();
        const bool narrow = mesh.vertices.size() <= 65535;
        for (std::uint32_t index : mesh.indices) {
            if (narrow) {
                const auto value = static_cast<std::uint16_t>(index);
                appendRaw(binary_, &value, sizeof value);
            } else {
                appendRaw(binary_, &index, sizeof index);
            }
        }
        const int type = narrow ? kUnsignedShort : kUnsignedInt;
        const int accessor =
            addAccessor(offset, kElementArrayBuffer, type, mesh.indices.size(), "SCALAR", "");
        padTo4(binary_, 0);
        return accessor;
    }

    int addAccessor(std::size_t offset, int target, int componentType, std::size_t count,
                    const char* type, const std::string& bounds) {
        const std::size_t length = binary_.size() - offset;
        const std::string view = std::to_string(viewJson_.size());
        viewJson_.push_back("{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                            ",\"byteLength\":" + std::to_string(length) +
                            ",\"target\":" + std::to_string(target) + "}");
        accessorJson_.push_back(
            "{\"bufferView\":" + view + ",\"componentType\":" + std::to_string(componentType) +
            ",\"count\":" + std::to_string(count) + ",\"type\":\"" + type + "\"" + bounds + "}");
        return static_cast<int>(accessorJson_.size()) - 1;
    }

    static std::string joined(const std::vector<std::string>& items) {
        std::string text = "[";
        for (std::size_t i = 0; i < items.size(); ++i) {
            text += (i == 0 ? "" : ",") + items[i];
        }
        return text + "]";
    }

    std::string documentJson() const {
        std::vector<std::string> nodeIndices;
        for (std::size_t i = 0; i < nodeJson_.size(); ++i) {
            nodeIndices.push_back(std::to_string(i));
        }
        return "{\"asset\":{\"version\":\"2.0\",\"generator\":\"content_gen\"},\"scene\":0,"
               "\"scenes\":[{\"nodes\":" +
               joined(nodeIndices) + "}],\"nodes\":" + joined(nodeJson_) +
               ",\"meshes\":" + joined(meshJson_) + ",\"accessors\":" + joined(accessorJson_) +
               ",\"bufferViews\":" + joined(viewJson_) +
               ",\"buffers\":[{\"byteLength\":" + std::to_string(binary_.size()) + "}]}";
    }

    std::vector<std::uint8_t> binary_;
    std::vector<std::string> viewJson_;
    std::vector<std::string> accessorJson_;
    std::vector<std::string> meshJson_;
    std::vector<std::string> nodeJson_;
};

}  // namespace

std::vector<std::uint8_t> encodeGlb(const std::vector<NamedMesh>& meshes) {
    GlbAssembler assembler;
    for (const NamedMesh& mesh : meshes) {
        assembler.addMesh(mesh);
    }
    return assembler.finish();
}

}  // namespace content
