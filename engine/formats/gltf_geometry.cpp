#include "engine/formats/gltf_geometry.h"

#include <limits>
#include <new>

#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>
#include <glm/matrix.hpp>

#include "engine/formats/format_error.h"
#include "engine/formats/gltf_accessors.h"
#include "engine/formats/gltf_document.h"
#include "engine/formats/gltf_placement.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/vertex_normals.h"

namespace engine {
namespace {

// Primitives of at most this many vertices keep 16-bit indices.
constexpr std::size_t kShortIndexVertices = 65536;

// A mesh's placement, split into what positions and normals need.
struct Placement {
    glm::mat4 matrix;
    glm::mat3 normalMatrix;
    bool mirrors;
};

class GeometryBuilder {
  public:
    explicit GeometryBuilder(const tinygltf::Model& model) : model_(model), accessors_(model) {}

    GeometryDesc build();

  private:
    const tinygltf::Model& model_;
    GltfAccessors accessors_;
    GeometryDesc geometry_;

    GeometryMesh buildMesh(const tinygltf::Mesh& mesh, std::size_t meshIndex,
                           const Placement& placement);
    bool addPrimitive(const tinygltf::Primitive& primitive, const std::string& what,
                      const Placement& placement, GeometryMesh& mesh);
    std::vector<std::uint32_t> triangleIndices(const tinygltf::Primitive& primitive,
                                               std::size_t vertexCount, const std::string& what);
    void appendIndices(const std::vector<std::uint32_t>& indices, GeometryPrimitive& primitive);
};

Placement placementOf(const glm::mat4& matrix);
std::vector<std::uint32_t> listFromStrip(const std::vector<std::uint32_t>& strip);
std::vector<std::uint32_t> listFromFan(const std::vector<std::uint32_t>& fan);
int attributeAccessor(const tinygltf::Primitive& primitive, const char* name);

}  // namespace

Parsed<GeometryDesc> parseGltfGeometry(std::string_view bytes, const SideFileReader& readSideFile) {
    try {
        tinygltf::Model model;
        std::string error;
        if (!loadGltfDocument(bytes, readSideFile, model, error)) {
            return Parsed<GeometryDesc>::failure(error);
        }
        return Parsed<GeometryDesc>::success(GeometryBuilder(model).build());
    } catch (const FormatError& error) {
        return Parsed<GeometryDesc>::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Parsed<GeometryDesc>::failure("out of memory");
    } catch (const std::exception& error) {
        // tinygltf's JSON reader may throw on input it cannot take.
        return Parsed<GeometryDesc>::failure(std::string("malformed glTF: ") + error.what());
    }
}

namespace {

GeometryDesc GeometryBuilder::build() {
    if (model_.meshes.empty()) {
        throw FormatError("the file holds no mesh");
    }
    std::vector<glm::mat4> placements = meshPlacements(model_);
    for (std::size_t index = 0; index < model_.meshes.size(); ++index) {
        geometry_.meshes.push_back(
            buildMesh(model_.meshes[index], index, placementOf(placements[index])));
    }
    if (geometry_.vertices.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw FormatError("too many vertices");
    }
    return std::move(geometry_);
}

GeometryMesh GeometryBuilder::buildMesh(const tinygltf::Mesh& mesh, std::size_t meshIndex,
                                        const Placement& placement) {
    GeometryMesh built;
    built.name = mesh.name;
    const std::string meshLabel = mesh.name.empty() ? "mesh " + std::to_string(meshIndex)
                                                    : "mesh " + quotedExcerpt(mesh.name);
    for (std::size_t index = 0; index < mesh.primitives.size(); ++index) {
        const std::string what = meshLabel + " primitive " + std::to_string(index);
        if (addPrimitive(mesh.primitives[index], what, placement, built)) {
            built.bounds.add(built.primitives.back().bounds);
        }
    }
    return built;
}

// False for primitives that draw no triangles (points, lines, no vertices).
bool GeometryBuilder::addPrimitive(const tinygltf::Primitive& primitive, const std::string& what,
                                   const Placement& placement, GeometryMesh& mesh) {
    const int mode = primitive.mode < 0 ? TINYGLTF_MODE_TRIANGLES : primitive.mode;
    if (mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
        mode != TINYGLTF_MODE_TRIANGLE_FAN) {
        return false;
    }
    const int positionAccessor = attributeAccessor(primitive, "POSITION");
    if (positionAccessor < 0) {
        throw FormatError(what + " has no POSITION attribute");
    }
    std::vector<glm::vec3> positions = accessors_.readVec3(positionAccessor, what + " POSITION");
    std::vector<std::uint32_t> indices = triangleIndices(primitive, positions.size(), what);
    if (positions.empty() || indices.empty()) {
        return false;
    }
    const int normalAccessor = attributeAccessor(primitive, "NORMAL");
    std::vector<glm::vec3> normals = normalAccessor >= 0
                                         ? accessors_.readVec3(normalAccessor, what + " NORMAL")
                                         : generateNormals(positions, indices);
    const int texCoordAccessor = attributeAccessor(primitive, "TEXCOORD_0");
    std::vector<glm::vec2> texCoords =
        texCoordAccessor >= 0 ? accessors_.readVec2(texCoordAccessor, what + " TEXCOORD_0")
                              : std::vector<glm::vec2>(positions.size(), glm::vec2(0.0f));
    if (normals.size() != positions.size() || texCoords.size() != positions.size()) {
        throw FormatError(what + " has attributes of different lengths");
    }
    GeometryPrimitive added;
    added.firstVertex = static_cast<std::uint32_t>(geometry_.vertices.size());
    added.vertexCount = static_cast<std::uint32_t>(positions.size());
    for (std::size_t vertex = 0; vertex < positions.size(); ++vertex) {
        GeometryVertex placed;
        placed.position = glm::vec3(placement.matrix * glm::vec4(positions[vertex], 1.0f));
        const glm::vec3 normal = placement.normalMatrix * normals[vertex];
        const float length = glm::length(normal);
        placed.normal = length > 0.0f ? normal / length : glm::vec3(0.0f, 0.0f, 1.0f);
        placed.texCoord = texCoords[vertex];
        added.bounds.add(placed.position);
        geometry_.vertices.push_back(placed);
    }
    if (placement.mirrors) {
        // A mirroring placement turns triangles inside out; swapping two corners turns them back.
        for (std::size_t first = 0; first + 2 < indices.size(); first += 3) {
            std::swap(indices[first + 1], indices[first + 2]);
        }
    }
    appendIndices(indices, added);
    mesh.primitives.push_back(added);
    return true;
}

// The primitive's triangles as a list, each index checked against the vertex count.
std::vector<std::uint32_t> GeometryBuilder::triangleIndices(const tinygltf::Primitive& primitive,
                                                            std::size_t vertexCount,
                                                            const std::string& what) {
    std::vector<std::uint32_t> indices;
    if (primitive.indices >= 0) {
        indices = accessors_.readIndices(primitive.indices, what + " indices");
        for (std::uint32_t index : indices) {
            if (index >= vertexCount) {
                throw FormatError(what + " index " + std::to_string(index) + " is out of range (" +
                                  std::to_string(vertexCount) + " vertices)");
            }
        }
    } else {
        indices.resize(vertexCount);
        for (std::size_t index = 0; index < vertexCount; ++index) {
            indices[index] = static_cast<std::uint32_t>(index);
        }
    }
    if (primitive.mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
        return listFromStrip(indices);
    }
    if (primitive.mode == TINYGLTF_MODE_TRIANGLE_FAN) {
        return listFromFan(indices);
    }
    // A trailing incomplete triangle draws nothing.
    indices.resize(indices.size() - indices.size() % 3);
    return indices;
}

void GeometryBuilder::appendIndices(const std::vector<std::uint32_t>& indices,
                                    GeometryPrimitive& primitive) {
    primitive.indexCount = static_cast<std::uint32_t>(indices.size());
    primitive.wideIndices = primitive.vertexCount > kShortIndexVertices;
    if (primitive.wideIndices) {
        primitive.firstIndex = static_cast<std::uint32_t>(geometry_.longIndices.size());
        geometry_.longIndices.insert(geometry_.longIndices.end(), indices.begin(), indices.end());
        return;
    }
    primitive.firstIndex = static_cast<std::uint32_t>(geometry_.shortIndices.size());
    for (std::uint32_t index : indices) {
        geometry_.shortIndices.push_back(static_cast<std::uint16_t>(index));
    }
}

Placement placementOf(const glm::mat4& matrix) {
    const glm::mat3 linear(matrix);
    const float determinant = glm::determinant(linear);
    const glm::mat3 normalMatrix =
        determinant != 0.0f ? glm::transpose(glm::inverse(linear)) : glm::mat3(1.0f);
    return Placement{matrix, normalMatrix, determinant < 0.0f};
}

std::vector<std::uint32_t> listFromStrip(const std::vector<std::uint32_t>& strip) {
    std::vector<std::uint32_t> list;
    for (std::size_t first = 0; first + 2 < strip.size(); ++first) {
        // Every other triangle of a strip is wound the other way round.
        const bool odd = first % 2 == 1;
        list.push_back(strip[first]);
        list.push_back(strip[odd ? first + 2 : first + 1]);
        list.push_back(strip[odd ? first + 1 : first + 2]);
    }
    return list;
}

std::vector<std::uint32_t> listFromFan(const std::vector<std::uint32_t>& fan) {
    std::vector<std::uint32_t> list;
    for (std::size_t next = 1; next + 1 < fan.size(); ++next) {
        list.push_back(fan[0]);
        list.push_back(fan[next]);
        list.push_back(fan[next + 1]);
    }
    return list;
}

int attributeAccessor(const tinygltf::Primitive& primitive, const char* name) {
    auto found = primitive.attributes.find(name);
    return found == primitive.attributes.end() ? -1 : found->second;
}

}  // namespace
}  // namespace engine
