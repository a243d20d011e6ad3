#include "engine/formats/gltf_draco.h"

#include <memory>

#include <draco/compression/decode.h>
#include <draco/mesh/mesh.h>

#include "engine/formats/format_error.h"

namespace engine {
namespace {

std::unique_ptr<draco::Mesh> decodedMesh(const ViewBytes& bytes, const std::string& what);
std::vector<glm::vec4> attributeValues(const draco::Mesh& mesh, int uniqueId,
                                       const std::string& what);
std::vector<std::uint32_t> faceIndices(const draco::Mesh& mesh);

}  // namespace

bool isDracoCompressed(const tinygltf::Primitive& primitive) {
    return primitive.extensions.count(kDracoExtension) != 0;
}

DecodedPrimitive decodeDracoPrimitive(const tinygltf::Primitive& primitive, std::size_t vertexCount,
                                      std::size_t indexCount, GltfViews& views,
                                      const std::string& what) {
    const tinygltf::Value& extension = primitive.extensions.at(kDracoExtension);
    if (!extension.IsObject() || !extension.Has("bufferView") ||
        !extension.Get("bufferView").IsInt() || !extension.Has("attributes") ||
        !extension.Get("attributes").IsObject()) {
        throw FormatError(what + " has a malformed " + kDracoExtension);
    }
    const ViewBytes bytes = views.bytes(extension.Get("bufferView").GetNumberAsInt(), what);
    std::unique_ptr<draco::Mesh> mesh = decodedMesh(bytes, what);
    if (mesh->num_points() != vertexCount || std::size_t{mesh->num_faces()} * 3 != indexCount) {
        throw FormatError(what + " decodes to " + std::to_string(mesh->num_points()) +
                          " vertices and " + std::to_string(mesh->num_faces()) +
                          " triangles, not what its accessors say");
    }
    DecodedPrimitive decoded;
    const tinygltf::Value& attributes = extension.Get("attributes");
    for (const std::string& name : attributes.Keys()) {
        const tinygltf::Value& id = attributes.Get(name);
        if (!id.IsInt()) {
            throw FormatError(what + " has a malformed draco attribute id for " + name);
        }
        decoded.attributes[name] = attributeValues(*mesh, id.GetNumberAsInt(), what + " " + name);
    }
    decoded.indices = faceIndices(*mesh);
    return decoded;
}

namespace {

std::unique_ptr<draco::Mesh> decodedMesh(const ViewBytes& bytes, const std::string& what) {
    draco::DecoderBuffer buffer;
    buffer.Init(reinterpret_cast<const char*>(bytes.data), bytes.size);
    draco::Decoder decoder;
    auto result = decoder.DecodeMeshFromBuffer(&buffer);
    if (!result.ok() || result.value() == nullptr) {
        throw FormatError(what +
                          " is not a valid draco mesh: " + result.status().error_msg_string());
    }
    return std::move(result).value();
}

std::vector<glm::vec4> attributeValues(const draco::Mesh& mesh, int uniqueId,
                                       const std::string& what) {
    const draco::PointAttribute* attribute =
        uniqueId >= 0 ? mesh.GetAttributeByUniqueId(static_cast<std::uint32_t>(uniqueId)) : nullptr;
    if (attribute == nullptr) {
        throw FormatError(what + " names draco attribute " + std::to_string(uniqueId) +
                          ", which does not exist");
    }
    const int components = attribute->num_components();
    if (components < 1 || components > 4) {
        throw FormatError(what + " has " + std::to_string(components) + " components");
    }
    std::vector<glm::vec4> values(mesh.num_points(), glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    for (std::uint32_t point = 0; point < mesh.num_points(); ++point) {
        float converted[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        if (!attribute->ConvertValue<float>(attribute->mapped_index(draco::PointIndex(point)),
                                            static_cast<std::int8_t>(components), converted)) {
            throw FormatError(what + " cannot be read as numbers");
        }
        values[point] = glm::vec4(converted[0], converted[1], converted[2], converted[3]);
    }
    return values;
}

std::vector<std::uint32_t> faceIndices(const draco::Mesh& mesh) {
    std::vector<std::uint32_t> indices;
    indices.reserve(std::size_t{mesh.num_faces()} * 3);
    for (std::uint32_t face = 0; face < mesh.num_faces(); ++face) {
        for (const draco::PointIndex& corner : mesh.face(draco::FaceIndex(face))) {
            indices.push_back(corner.value());
        }
    }
    return indices;
}

}  // namespace
}  // namespace engine
