#include "gltf_test_files.h"

#include <cmath>
#include <cstdio>

namespace gltf_test {
namespace {

// Collects the binary buffer and the JSON of views and accessors while primitives are added.
class Assembler {
  public:
    std::string buffer;
    std::vector<std::string> views;
    std::vector<std::string> accessors;
    std::vector<std::string> meshes;

    void addMesh(const Mesh& mesh) {
        std::string primitives;
        for (const Primitive& primitive : mesh.primitives) {
            primitives += (primitives.empty() ? "" : ",") + primitiveJson(primitive);
        }
        meshes.push_back("{\"name\":\"" + mesh.name + "\",\"primitives\":[" + primitives + "]}");
    }

  private:
    std::string primitiveJson(const Primitive& primitive) {
        std::string attributes =
            "\"POSITION\":" + std::to_string(addFloats(primitive.positions, "VEC3"));
        if (!primitive.normals.empty()) {
            attributes += ",\"NORMAL\":" + std::to_string(addFloats(primitive.normals, "VEC3"));
        }
        if (!primitive.texCoords.empty()) {
            attributes +=
                ",\"TEXCOORD_0\":" + std::to_string(addFloats(primitive.texCoords, "VEC2"));
        }
        std::string json = "{\"attributes\":{" + attributes + "}";
        if (!primitive.indices.empty()) {
            json += ",\"indices\":" + std::to_string(addIndices(primitive));
        }
        if (primitive.material >= 0) {
            json += ",\"material\":" + std::to_string(primitive.material);
        }
        return json + ",\"mode\":" + std::to_string(primitive.mode) + "}";
    }

    template <typename Vector>
    int addFloats(const std::vector<Vector>& values, const char* type) {
        const std::size_t offset = buffer.size();
        buffer.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(Vector));
        return addAccessor(offset, 5126, values.size(), type);
    }

    int addIndices(const Primitive& primitive) {
        const std::size_t offset = buffer.size();
        for (std::uint32_t index : primitive.indices) {
            if (primitive.indexType == kUnsignedByte) {
                buffer.push_back(static_cast<char>(index));
            } else if (primitive.indexType == kUnsignedShort) {
                const auto value = static_cast<std::uint16_t>(index);
                buffer.append(reinterpret_cast<const char*>(&value), sizeof value);
            } else {
                buffer.append(reinterpret_cast<const char*>(&index), sizeof index);
            }
        }
        const int accessor =
            addAccessor(offset, primitive.indexType, primitive.indices.size(), "SCALAR");
        return accessor;
    }

    int addAccessor(std::size_t offset, int componentType, std::size_t count, const char* type) {
        const std::size_t length = buffer.size() - offset;
        while (buffer.size() % 4 != 0) {
            buffer.push_back('\0');
        }
        views.push_back("{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                        ",\"byteLength\":" + std::to_string(length) + "}");
        accessors.push_back("{\"bufferView\":" + std::to_string(views.size() - 1) +
                            ",\"componentType\":" + std::to_string(componentType) +
                            ",\"count\":" + std::to_string(count) + ",\"type\":\"" + type + "\"}");
        return static_cast<int>(accessors.size() - 1);
    }
};

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ",") + item;
    }
    return "[" + text + "]";
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string triple(glm::vec3 value) {
    return "[" + number(value.x) + "," + number(value.y) + "," + number(value.z) + "]";
}

std::string nodesJson(const Document& document) {
    std::vector<std::string> nodes;
    if (document.nodes.empty()) {
        for (std::size_t mesh = 0; mesh < document.meshes.size(); ++mesh) {
            nodes.push_back("{\"mesh\":" + std::to_string(mesh) + "}");
        }
    }
    for (const Node& node : document.nodes) {
        nodes.push_back("{\"mesh\":" + std::to_string(node.mesh) + ",\"translation\":" +
                        triple(node.translation) + ",\"scale\":" + triple(node.scale) + "}");
    }
    return joined(nodes);
}

// The JSON of the document; bufferUri is empty for the binary chunk of a .glb.
std::string documentJson(const Document& document, Assembler& assembler,
                         const std::string& bufferUri) {
    for (const Mesh& mesh : document.meshes) {
        assembler.addMesh(mesh);
    }
    std::string buffer = "{\"byteLength\":" + std::to_string(assembler.buffer.size());
    if (!bufferUri.empty()) {
        buffer += ",\"uri\":\"" + bufferUri + "\"";
    }
    buffer += "}";
    return "{\"asset\":{\"version\":\"2.0\"},\"nodes\":" + nodesJson(document) +
           ",\"meshes\":" + joined(assembler.meshes) +
           ",\"accessors\":" + joined(assembler.accessors) +
           ",\"bufferViews\":" + joined(assembler.views) + ",\"buffers\":[" + buffer + "]" +
           (document.materials.empty() ? "" : ",\"materials\":" + document.materials) + "}";
}

void appendWord(std::string& bytes, std::uint32_t value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

std::string base64(const std::string& bytes) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::uint32_t group = static_cast<std::uint8_t>(bytes[at]) << 16;
        if (at + 1 < bytes.size()) {
            group |= static_cast<std::uint8_t>(bytes[at + 1]) << 8;
        }
        if (at + 2 < bytes.size()) {
            group |= static_cast<std::uint8_t>(bytes[at + 2]);
        }
        text.push_back(kDigits[(group >> 18) & 63]);
        text.push_back(kDigits[(group >> 12) & 63]);
        text.push_back(at + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=');
        text.push_back(at + 2 < bytes.size() ? kDigits[group & 63] : '=');
    }
    return text;
}

}  // namespace

std::string glbFile(const Document& document) {
    Assembler assembler;
    std::string json = documentJson(document, assembler, "");
    return glbFrom(json, assembler.buffer);
}

std::string glbFrom(std::string json, const std::string& buffer) {
    while (json.size() % 4 != 0) {
        json.push_back(' ');
    }
    std::string glb;
    appendWord(glb, 0x46546C67u);
    appendWord(glb, 2);
    appendWord(glb, static_cast<std::uint32_t>(28 + json.size() + buffer.size()));
    appendWord(glb, static_cast<std::uint32_t>(json.size()));
    appendWord(glb, 0x4E4F534Au);
    glb += json;
    appendWord(glb, static_cast<std::uint32_t>(buffer.size()));
    appendWord(glb, 0x004E4942u);
    return glb + buffer;
}

std::string gltfWithDataUri(const Document& document) {
    Assembler assembler;
    documentJson(document, assembler, "x");
    const std::string uri = "data:application/octet-stream;base64," + base64(assembler.buffer);
    Assembler again;
    return documentJson(document, again, uri);
}

std::string gltfWithSideBuffer(const Document& document, const std::string& binName,
                               std::string& binBytes) {
    Assembler assembler;
    std::string json = documentJson(document, assembler, binName);
    binBytes = assembler.buffer;
    return json;
}

Mesh sphereMesh(const std::string& name, float radius, int rings, int segments) {
    Primitive primitive;
    const float pi = 3.14159265f;
    for (int ring = 0; ring <= rings; ++ring) {
        const float latitude = pi * static_cast<float>(ring) / static_cast<float>(rings);
        for (int segment = 0; segment <= segments; ++segment) {
            const float longitude = 2.0f * pi * static_cast<float>(segment) / segments;
            const glm::vec3 normal(std::sin(latitude) * std::cos(longitude), std::cos(latitude),
                                   -std::sin(latitude) * std::sin(longitude));
            primitive.positions.push_back(normal * radius);
            primitive.normals.push_back(normal);
            primitive.texCoords.emplace_back(static_cast<float>(segment) / segments,
                                             static_cast<float>(ring) / rings);
        }
    }
    const auto row = static_cast<std::uint32_t>(segments + 1);
    for (std::uint32_t ring = 0; ring < static_cast<std::uint32_t>(rings); ++ring) {
        for (std::uint32_t segment = 0; segment < static_cast<std::uint32_t>(segments); ++segment) {
            const std::uint32_t a = ring * row + segment;
            const std::uint32_t b = a + row;
            primitive.indices.insert(primitive.indices.end(), {a, b, a + 1, a + 1, b, b + 1});
        }
    }
    return Mesh{name, {primitive}};
}

Mesh boxMesh(const std::string& name, glm::vec3 halfSize) {
    Primitive primitive;
    const glm::vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int axis = 0; axis < 3; ++axis) {
        for (float side : {1.0f, -1.0f}) {
            const glm::vec3 normal = axes[axis] * side;
            const glm::vec3 u = axes[(axis + 1) % 3] * side;
            const glm::vec3 v = axes[(axis + 2) % 3];
            const auto first = static_cast<std::uint32_t>(primitive.positions.size());
            for (glm::vec2 corner :
                 {glm::vec2(-1, -1), glm::vec2(1, -1), glm::vec2(1, 1), glm::vec2(-1, 1)}) {
                primitive.positions.push_back((normal + u * corner.x + v * corner.y) * halfSize);
                primitive.normals.push_back(normal);
                primitive.texCoords.push_back(corner * 0.5f + 0.5f);
            }
            primitive.indices.insert(primitive.indices.end(),
                                     {first, first + 1, first + 2, first, first + 2, first + 3});
        }
    }
    return Mesh{name, {primitive}};
}

Mesh quadMesh(const std::string& name, float halfSize) {
    Primitive primitive;
    primitive.positions = {{-halfSize, -halfSize, 0},
                           {halfSize, -halfSize, 0},
                           {halfSize, halfSize, 0},
                           {-halfSize, halfSize, 0}};
    primitive.normals.assign(4, glm::vec3(0, 0, 1));
    primitive.texCoords = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    primitive.indices = {0, 1, 2, 0, 2, 3};
    return Mesh{name, {primitive}};
}

}  // namespace gltf_test
