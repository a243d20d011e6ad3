#include "engine/formats/gltf_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <new>

#include <glm/geometric.hpp>

#include "engine/formats/format_error.h"
#include "engine/formats/gltf_accessors.h"
#include "engine/formats/gltf_animations.h"
#include "engine/formats/gltf_document.h"
#include "engine/formats/gltf_draco.h"
#include "engine/formats/gltf_extensions.h"
#include "engine/formats/gltf_lights.h"
#include "engine/formats/gltf_materials.h"
#include "engine/formats/gltf_morph_targets.h"
#include "engine/formats/gltf_scene_nodes.h"
#include "engine/formats/gltf_skins.h"
#include "engine/formats/gltf_stand_ins.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/vertex_normals.h"
#include "engine/formats/vertex_tangents.h"

namespace engine {
namespace {

// Primitives of at most this many vertices keep 16-bit indices.
constexpr std::size_t kShortIndexVertices = 65536;

// A primitive's attributes as read; those it lacks are empty.
struct VertexAttributes {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec4> texCoords;
    std::vector<glm::vec4> texCoords1;
    std::vector<glm::vec4> tangents;
    std::vector<glm::vec4> colors;
};

class GeometryBuilder {
  public:
    GeometryBuilder(const tinygltf::Model& model, const EmbeddedImages& embedded,
                    std::string_view resourceName)
        : model_(model),
          accessors_(model),
          morphTargets_(accessors_),
          embedded_(embedded),
          resourceName_(resourceName) {}

    GeometryDesc build();

  private:
    const tinygltf::Model& model_;
    GltfAccessors accessors_;
    MorphTargetReader morphTargets_;
    const EmbeddedImages& embedded_;
    std::string_view resourceName_;
    GeometryDesc geometry_;
    // Per material of the file: the texture coordinate set its normal map reads, or -1.
    std::vector<int> normalMapTexCoords_;
    // Where the default material was added; -1 until a primitive needs it.
    int defaultMaterial_ = -1;
    bool unknownModeReported_ = false;
    bool badMaterialReported_ = false;
    bool nonFiniteReported_ = false;
    // The unlit copy of each material that points or lines use, by the material's index.
    std::map<int, int> unlitMaterials_;

    void readLook();
    void readLights();
    std::vector<int> sceneIndexOfFileNodes() const;
    void checkNodeWeights();
    int materialOf(const tinygltf::Primitive& primitive, const std::string& what);
    int unlitMaterialOf(int material);
    void repairNonFinite(VertexAttributes& attributes, std::vector<std::uint32_t>& indices,
                         PrimitiveShape shape);

    GeometryMesh buildMesh(const tinygltf::Mesh& mesh, std::size_t meshIndex);
    bool addPrimitive(const tinygltf::Primitive& primitive, const std::string& what,
                      GeometryMesh& mesh);
    VertexAttributes readAttributes(const tinygltf::Primitive& primitive, int positionAccessor,
                                    const DecodedPrimitive* decoded, const std::string& what);
    std::optional<DecodedPrimitive> decodeCompressed(const tinygltf::Primitive& primitive,
                                                     int positionAccessor, const std::string& what);
    void warnOnce(bool& warned, const std::string& warning);
    std::vector<std::uint32_t> primitiveIndices(const tinygltf::Primitive& primitive,
                                                std::size_t vertexCount,
                                                const DecodedPrimitive* decoded,
                                                const std::string& what);
    void appendIndices(const std::vector<std::uint32_t>& indices, GeometryPrimitive& primitive);
    void readMotion(const tinygltf::Primitive& primitive, const DecodedPrimitive* decoded,
                    std::size_t vertexCount, const std::string& what, GeometryPrimitive& added);
};

GeometryVertex vertexAt(const VertexAttributes& attributes, std::size_t vertex);
std::vector<glm::vec4> tangentsFor(const VertexAttributes& attributes, int texCoordSet,
                                   const std::vector<std::uint32_t>& indices);
const std::vector<glm::vec4>* decodedAttribute(const DecodedPrimitive* decoded, const char* name);
glm::vec3 unitOr(const glm::vec3& vector, const glm::vec3& fallback);
std::vector<std::uint32_t> listFromStrip(const std::vector<std::uint32_t>& strip);
std::vector<std::uint32_t> listFromFan(const std::vector<std::uint32_t>& fan);
std::vector<std::uint32_t> segmentsFromStrip(const std::vector<std::uint32_t>& strip, bool loop);
std::optional<PrimitiveShape> shapeOfMode(int mode);
bool isFinite(const glm::vec3& vector);
bool isFinite(const glm::vec4& vector);
int attributeAccessor(const tinygltf::Primitive& primitive, const char* name);

}  // namespace

Parsed<GeometryDesc> parseGltfGeometry(std::string_view bytes, const SideFileReader& readSideFile,
                                       std::string_view resourceName) {
    try {
        tinygltf::Model model;
        EmbeddedImages embedded;
        std::string error;
        if (!loadGltfDocument(bytes, readSideFile, model, embedded, error)) {
            return Parsed<GeometryDesc>::failure(error);
        }
        return Parsed<GeometryDesc>::success(
            GeometryBuilder(model, embedded, resourceName).build());
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
    checkRequiredExtensions(model_);
    if (model_.meshes.empty()) {
        throw FormatError("the file holds no mesh");
    }
    geometry_.nodes = sceneNodes(model_);
    for (GeometryNode& node : geometry_.nodes) {
        const glm::mat4& local = node.local;
        if (!isFinite(local[0]) || !isFinite(local[1]) || !isFinite(local[2]) ||
            !isFinite(local[3])) {
            node.local = glm::mat4(1.0f);
            node.rest = NodePose{};
            warnOnce(nonFiniteReported_, "node " + quotedExcerpt(node.name) +
                                             " has infinite or NaN values in its transform and "
                                             "is placed unmoved (one warning per file)");
        }
    }
    const std::vector<int> sceneIndex = sceneIndexOfFileNodes();
    readLights();
    readLook();
    geometry_.skins = readGltfSkins(model_, accessors_, sceneIndex, geometry_.warnings);
    for (std::size_t index = 0; index < model_.meshes.size(); ++index) {
        geometry_.meshes.push_back(buildMesh(model_.meshes[index], index));
    }
    bindSkins(geometry_);
    checkNodeWeights();
    geometry_.animations = readGltfAnimations(model_, accessors_, sceneIndex, geometry_);
    if (geometry_.vertices.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw FormatError("too many vertices");
    }
    return std::move(geometry_);
}

void GeometryBuilder::readLook() {
    GltfLook look = readGltfLook(model_, embedded_, resourceName_, geometry_.warnings);
    geometry_.materials = std::move(look.materials);
    geometry_.images = std::move(look.images);
    normalMapTexCoords_ = std::move(look.normalMapTexCoords);
}

// Lights the nodes name that do not exist are left out.
void GeometryBuilder::readLights() {
    geometry_.lights = readGltfLights(model_, geometry_.warnings);
    for (GeometryNode& node : geometry_.nodes) {
        if (node.light >= static_cast<int>(geometry_.lights.size())) {
            geometry_.warnings.push_back("node " + quotedExcerpt(node.name) + " names light " +
                                         std::to_string(node.light) + ", which does not exist");
            node.light = -1;
        }
    }
}

std::vector<int> GeometryBuilder::sceneIndexOfFileNodes() const {
    std::vector<int> sceneIndex(model_.nodes.size(), -1);
    for (std::size_t index = 0; index < geometry_.nodes.size(); ++index) {
        sceneIndex[static_cast<std::size_t>(geometry_.nodes[index].fileIndex)] =
            static_cast<int>(index);
    }
    return sceneIndex;
}

// A node's own morph weights must be one per target of its mesh.
void GeometryBuilder::checkNodeWeights() {
    for (GeometryNode& node : geometry_.nodes) {
        const std::size_t targets =
            node.mesh < 0 ? 0
                          : geometry_.meshes[static_cast<std::size_t>(node.mesh)].weights.size();
        if (!node.weights.empty() && node.weights.size() != targets) {
            geometry_.warnings.push_back("node " + quotedExcerpt(node.name) + " has " +
                                         std::to_string(node.weights.size()) +
                                         " morph weights for " + std::to_string(targets) +
                                         " targets; its mesh's own are used");
            node.weights.clear();
        }
        for (float& weight : node.weights) {
            weight = std::isfinite(weight) ? weight : 0.0f;
        }
    }
}

// The primitive's material, the default one (added after the file's) when it names none or
// one that does not exist.
int GeometryBuilder::materialOf(const tinygltf::Primitive& primitive, const std::string& what) {
    const int fileMaterials = static_cast<int>(normalMapTexCoords_.size());
    if (primitive.material >= 0 && primitive.material < fileMaterials) {
        return primitive.material;
    }
    if (primitive.material >= fileMaterials && !badMaterialReported_) {
        badMaterialReported_ = true;
        geometry_.warnings.push_back(what + " names material " +
                                     std::to_string(primitive.material) +
                                     ", which does not exist; the default material is used");
    }
    if (defaultMaterial_ < 0) {
        defaultMaterial_ = static_cast<int>(geometry_.materials.size());
        geometry_.materials.push_back(defaultGltfMaterial(resourceName_));
    }
    return defaultMaterial_;
}

GeometryMesh GeometryBuilder::buildMesh(const tinygltf::Mesh& mesh, std::size_t meshIndex) {
    GeometryMesh built;
    built.name = mesh.name;
    const std::string meshLabel = mesh.name.empty() ? "mesh " + std::to_string(meshIndex)
                                                    : "mesh " + quotedExcerpt(mesh.name);
    for (std::size_t index = 0; index < mesh.primitives.size(); ++index) {
        const std::string what = meshLabel + " primitive " + std::to_string(index);
        if (addPrimitive(mesh.primitives[index], what, built)) {
            built.bounds.add(built.primitives.back().bounds);
        }
    }
    built.weights = meshMorphWeights(mesh, built, meshLabel, geometry_.warnings);
    return built;
}

// False for primitives that draw nothing (no vertices, an unknown mode).
bool GeometryBuilder::addPrimitive(const tinygltf::Primitive& primitive, const std::string& what,
                                   GeometryMesh& mesh) {
    const std::optional<PrimitiveShape> shape = shapeOfMode(primitive.mode);
    if (!shape) {
        warnOnce(unknownModeReported_, what + " has the unknown mode " +
                                           std::to_string(primitive.mode) +
                                           " and is left out (one warning per file)");
        return false;
    }
    const int positionAccessor = attributeAccessor(primitive, "POSITION");
    if (positionAccessor < 0) {
        geometry_.warnings.push_back(what + " has no POSITION attribute and is left out");
        return false;
    }
    const std::optional<DecodedPrimitive> decoded =
        decodeCompressed(primitive, positionAccessor, what);
    const DecodedPrimitive* decodedPrimitive = decoded ? &*decoded : nullptr;
    VertexAttributes attributes =
        readAttributes(primitive, positionAccessor, decodedPrimitive, what);
    std::vector<std::uint32_t> indices =
        primitiveIndices(primitive, attributes.positions.size(), decodedPrimitive, what);
    repairNonFinite(attributes, indices, *shape);
    if (attributes.positions.empty() || indices.empty()) {
        return false;
    }
    if (attributes.normals.empty()) {
        attributes.normals =
            *shape == PrimitiveShape::Triangles
                ? generateNormals(attributes.positions, indices)
                : std::vector<glm::vec3>(attributes.positions.size(), glm::vec3(0.0f, 0.0f, 1.0f));
    }
    int material = materialOf(primitive, what);
    if (*shape != PrimitiveShape::Triangles) {
        material = unlitMaterialOf(material);
    }
    const int normalMapSet = material < static_cast<int>(normalMapTexCoords_.size())
                                 ? normalMapTexCoords_[static_cast<std::size_t>(material)]
                                 : -1;
    if (attributes.tangents.empty() && normalMapSet >= 0 && *shape == PrimitiveShape::Triangles) {
        attributes.tangents = tangentsFor(attributes, normalMapSet, indices);
    }
    GeometryPrimitive added;
    added.shape = *shape;
    added.material = material;
    added.firstVertex = static_cast<std::uint32_t>(geometry_.vertices.size());
    added.vertexCount = static_cast<std::uint32_t>(attributes.positions.size());
    // Grown once per primitive, by at least half, rather than doubled vertex by vertex: a file
    // of one large primitive then copies its vertices once.
    const std::size_t needed = geometry_.vertices.size() + attributes.positions.size();
    if (needed > geometry_.vertices.capacity()) {
        geometry_.vertices.reserve(std::max(needed, geometry_.vertices.capacity() * 3 / 2));
    }
    for (std::size_t vertex = 0; vertex < attributes.positions.size(); ++vertex) {
        GeometryVertex read = vertexAt(attributes, vertex);
        added.bounds.add(read.position);
        geometry_.vertices.push_back(read);
    }
    appendIndices(indices, added);
    readMotion(primitive, decodedPrimitive, attributes.positions.size(), what, added);
    mesh.primitives.push_back(std::move(added));
    return true;
}

// The primitive's joints and weights, and its morph targets, whose reach widens its box.
void GeometryBuilder::readMotion(const tinygltf::Primitive& primitive,
                                 const DecodedPrimitive* decoded, std::size_t vertexCount,
                                 const std::string& what, GeometryPrimitive& added) {
    const auto readAttribute =
        [&](const std::string& name) -> std::optional<std::vector<glm::vec4>> {
        if (const std::vector<glm::vec4>* fromDraco = decodedAttribute(decoded, name.c_str())) {
            return *fromDraco;
        }
        const int accessor = attributeAccessor(primitive, name.c_str());
        if (accessor < 0) {
            return std::nullopt;
        }
        const std::string attributeWhat = what + " " + name;
        if (accessors_.count(accessor, {TINYGLTF_TYPE_VEC4}, attributeWhat) != vertexCount) {
            throw FormatError(attributeWhat + " has another length than POSITION");
        }
        return accessors_.readVectors(accessor, {TINYGLTF_TYPE_VEC4}, attributeWhat);
    };
    if (std::optional<PrimitiveSkin> skin =
            readSkinVertices(readAttribute, vertexCount, what, geometry_.warnings)) {
        added.firstSkinVertex = static_cast<std::int64_t>(geometry_.skinVertices.size());
        added.eightInfluences = skin->eightInfluences;
        added.highestJoint = skin->highestJoint;
        geometry_.skinVertices.insert(geometry_.skinVertices.end(), skin->vertices.begin(),
                                      skin->vertices.end());
    }
    if (decoded != nullptr && !primitive.targets.empty()) {
        geometry_.warnings.push_back(what +
                                     " is compressed with draco; its morph targets are left out");
        return;
    }
    added.targets = morphTargets_.read(primitive, vertexCount, what, geometry_.warnings);
    std::vector<glm::vec3> lowest(added.targets.empty() ? 0 : vertexCount, glm::vec3(0.0f));
    std::vector<glm::vec3> highest(lowest.size(), glm::vec3(0.0f));
    for (const MorphTarget& target : added.targets) {
        for (std::size_t entry = 0; entry < target.vertices.size(); ++entry) {
            lowest[target.vertices[entry]] += glm::min(target.positions[entry], glm::vec3(0.0f));
            highest[target.vertices[entry]] += glm::max(target.positions[entry], glm::vec3(0.0f));
        }
    }
    for (std::size_t vertex = 0; vertex < lowest.size(); ++vertex) {
        const glm::vec3& position = geometry_.vertices[added.firstVertex + vertex].position;
        added.bounds.add(position + lowest[vertex]);
        added.bounds.add(position + highest[vertex]);
    }
}

// Every attribute the vertex layout holds; those the primitive lacks stay empty. Their counts
// are compared before any is read, so that a lying count costs nothing.
VertexAttributes GeometryBuilder::readAttributes(const tinygltf::Primitive& primitive,
                                                 int positionAccessor,
                                                 const DecodedPrimitive* decoded,
                                                 const std::string& what) {
    const std::size_t count =
        accessors_.count(positionAccessor, {TINYGLTF_TYPE_VEC3}, what + " POSITION");
    struct Wanted {
        const char* name;
        std::initializer_list<int> types;
        std::vector<glm::vec4>* into;
    };
    VertexAttributes attributes;
    std::vector<glm::vec4> positions;
    std::vector<glm::vec4> normals;
    const Wanted wanted[] = {
        {"POSITION", {TINYGLTF_TYPE_VEC3}, &positions},
        {"NORMAL", {TINYGLTF_TYPE_VEC3}, &normals},
        {"TEXCOORD_0", {TINYGLTF_TYPE_VEC2}, &attributes.texCoords},
        {"TEXCOORD_1", {TINYGLTF_TYPE_VEC2}, &attributes.texCoords1},
        {"TANGENT", {TINYGLTF_TYPE_VEC4}, &attributes.tangents},
        {"COLOR_0", {TINYGLTF_TYPE_VEC3, TINYGLTF_TYPE_VEC4}, &attributes.colors},
    };
    for (const Wanted& attribute : wanted) {
        const int accessor = attributeAccessor(primitive, attribute.name);
        if (accessor >= 0 &&
            accessors_.count(accessor, attribute.types, what + " " + attribute.name) != count) {
            throw FormatError(what + " has attributes of different lengths");
        }
    }
    for (const Wanted& attribute : wanted) {
        const int accessor = attributeAccessor(primitive, attribute.name);
        if (const std::vector<glm::vec4>* fromDraco = decodedAttribute(decoded, attribute.name)) {
            *attribute.into = *fromDraco;
        } else if (accessor >= 0) {
            *attribute.into =
                accessors_.readVectors(accessor, attribute.types, what + " " + attribute.name);
        }
    }
    attributes.positions.assign(positions.begin(), positions.end());
    attributes.normals.assign(normals.begin(), normals.end());
    return attributes;
}

// A draco primitive's attributes and indices, decoded; nothing for a primitive that is not
// compressed so. The accessors' counts bound what may be decoded.
std::optional<DecodedPrimitive> GeometryBuilder::decodeCompressed(
    const tinygltf::Primitive& primitive, int positionAccessor, const std::string& what) {
    if (!isDracoCompressed(primitive)) {
        return std::nullopt;
    }
    const int indexAccessor = indicesAccessor(primitive);
    if (indexAccessor < 0) {
        throw FormatError(what + " is compressed with draco but has no indices accessor");
    }
    const std::size_t vertexCount =
        accessors_.count(positionAccessor, {TINYGLTF_TYPE_VEC3}, what + " POSITION");
    const std::size_t indexCount =
        accessors_.count(indexAccessor, {TINYGLTF_TYPE_SCALAR}, what + " indices");
    return decodeDracoPrimitive(primitive, vertexCount, indexCount, accessors_.views(), what);
}

void GeometryBuilder::warnOnce(bool& warned, const std::string& warning) {
    if (!warned) {
        warned = true;
        geometry_.warnings.push_back(warning);
    }
}

// The primitive's triangles, segments or points as a list, each index checked against the
// vertex count.
std::vector<std::uint32_t> GeometryBuilder::primitiveIndices(const tinygltf::Primitive& primitive,
                                                             std::size_t vertexCount,
                                                             const DecodedPrimitive* decoded,
                                                             const std::string& what) {
    std::vector<std::uint32_t> indices;
    const int indexAccessor = indicesAccessor(primitive);
    if (decoded != nullptr || indexAccessor >= 0) {
        indices = decoded != nullptr ? decoded->indices
                                     : accessors_.readIndices(indexAccessor, what + " indices");
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
    if (primitive.mode == TINYGLTF_MODE_LINE_STRIP || primitive.mode == TINYGLTF_MODE_LINE_LOOP) {
        return segmentsFromStrip(indices, primitive.mode == TINYGLTF_MODE_LINE_LOOP);
    }
    // A trailing incomplete triangle or segment draws nothing.
    const std::size_t corners = GeometryDesc::cornersOf(*shapeOfMode(primitive.mode));
    indices.resize(indices.size() - indices.size() % corners);
    return indices;
}

// Points and lines have no surface to light: they show their colour as it is.
int GeometryBuilder::unlitMaterialOf(int material) {
    auto known = unlitMaterials_.find(material);
    if (known != unlitMaterials_.end()) {
        return known->second;
    }
    NamedMaterial unlit = geometry_.materials[static_cast<std::size_t>(material)];
    unlit.name += kUnlitMaterialSuffix;
    std::vector<std::string>& defines = unlit.desc.defines;
    if (std::find(defines.begin(), defines.end(), "UNLIT") == defines.end()) {
        defines.push_back("UNLIT");
    }
    unlit.desc.cullsBackFaces = false;
    geometry_.materials.push_back(std::move(unlit));
    const int index = static_cast<int>(geometry_.materials.size()) - 1;
    unlitMaterials_.emplace(material, index);
    return index;
}

// Infinities and NaN draw nothing and spoil what is computed from them: elements with such a
// position are left out, such normals made again, such texture coordinates, tangents and
// colours replaced by their defaults. One warning per file says so.
void GeometryBuilder::repairNonFinite(VertexAttributes& attributes,
                                      std::vector<std::uint32_t>& indices, PrimitiveShape shape) {
    bool repaired = false;
    std::vector<bool> badPosition(attributes.positions.size(), false);
    for (std::size_t vertex = 0; vertex < attributes.positions.size(); ++vertex) {
        if (!isFinite(attributes.positions[vertex])) {
            badPosition[vertex] = true;
            attributes.positions[vertex] = glm::vec3(0.0f);
            repaired = true;
        }
    }
    if (repaired) {
        const std::size_t corners = GeometryDesc::cornersOf(shape);
        std::size_t kept = 0;
        for (std::size_t first = 0; first + corners <= indices.size(); first += corners) {
            bool usable = true;
            for (std::size_t corner = 0; corner < corners; ++corner) {
                usable = usable && !badPosition[indices[first + corner]];
            }
            for (std::size_t corner = 0; usable && corner < corners; ++corner) {
                indices[kept++] = indices[first + corner];
            }
        }
        indices.resize(kept);
    }
    const auto anyNonFinite = [](const auto& values) {
        return std::any_of(values.begin(), values.end(),
                           [](const auto& value) { return !isFinite(value); });
    };
    if (anyNonFinite(attributes.normals)) {
        attributes.normals.clear();
        repaired = true;
    }
    for (std::vector<glm::vec4>* optional : {&attributes.texCoords, &attributes.texCoords1,
                                             &attributes.tangents, &attributes.colors}) {
        if (anyNonFinite(*optional)) {
            optional->clear();
            repaired = true;
        }
    }
    if (repaired) {
        warnOnce(nonFiniteReported_,
                 "infinite or NaN values were repaired: elements with such positions are left "
                 "out, such normals made again and other such attributes set to their defaults");
    }
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

GeometryVertex vertexAt(const VertexAttributes& attributes, std::size_t vertex) {
    GeometryVertex read;
    read.position = attributes.positions[vertex];
    read.normal = unitOr(attributes.normals[vertex], read.normal);
    if (!attributes.texCoords.empty()) {
        read.texCoord = glm::vec2(attributes.texCoords[vertex]);
    }
    if (!attributes.texCoords1.empty()) {
        read.texCoord1 = glm::vec2(attributes.texCoords1[vertex]);
    }
    if (!attributes.tangents.empty()) {
        const glm::vec4& tangent = attributes.tangents[vertex];
        read.tangent = glm::vec4(unitOr(glm::vec3(tangent), glm::vec3(read.tangent)),
                                 tangent.w < 0.0f ? -1.0f : 1.0f);
    }
    if (!attributes.colors.empty()) {
        read.color = attributes.colors[vertex];
    }
    return read;
}

// Tangents follow the texture coordinates the normal map reads; without them, any direction
// across the normal serves.
std::vector<glm::vec4> tangentsFor(const VertexAttributes& attributes, int texCoordSet,
                                   const std::vector<std::uint32_t>& indices) {
    const std::vector<glm::vec4>& read =
        texCoordSet == 1 ? attributes.texCoords1 : attributes.texCoords;
    std::vector<glm::vec2> texCoords(attributes.positions.size(), glm::vec2(0.0f));
    for (std::size_t vertex = 0; vertex < read.size() && vertex < texCoords.size(); ++vertex) {
        texCoords[vertex] = glm::vec2(read[vertex]);
    }
    std::vector<glm::vec3> normals(attributes.normals.size());
    for (std::size_t vertex = 0; vertex < normals.size(); ++vertex) {
        normals[vertex] = unitOr(attributes.normals[vertex], glm::vec3(0.0f, 0.0f, 1.0f));
    }
    return generateTangents(attributes.positions, normals, texCoords, indices);
}

const std::vector<glm::vec4>* decodedAttribute(const DecodedPrimitive* decoded, const char* name) {
    if (decoded == nullptr) {
        return nullptr;
    }
    auto found = decoded->attributes.find(name);
    return found != decoded->attributes.end() ? &found->second : nullptr;
}

glm::vec3 unitOr(const glm::vec3& vector, const glm::vec3& fallback) {
    const float length = glm::length(vector);
    return length > 0.0f ? vector / length : fallback;
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

// Line strips and loops as lists of segments.
std::vector<std::uint32_t> segmentsFromStrip(const std::vector<std::uint32_t>& strip, bool loop) {
    std::vector<std::uint32_t> list;
    for (std::size_t first = 0; first + 1 < strip.size(); ++first) {
        list.push_back(strip[first]);
        list.push_back(strip[first + 1]);
    }
    if (loop && strip.size() > 2) {
        list.push_back(strip.back());
        list.push_back(strip.front());
    }
    return list;
}

// Nothing for a mode glTF does not define.
std::optional<PrimitiveShape> shapeOfMode(int mode) {
    switch (mode < 0 ? TINYGLTF_MODE_TRIANGLES : mode) {
        case TINYGLTF_MODE_POINTS:
            return PrimitiveShape::Points;
        case TINYGLTF_MODE_LINE:
        case TINYGLTF_MODE_LINE_LOOP:
        case TINYGLTF_MODE_LINE_STRIP:
            return PrimitiveShape::Lines;
        case TINYGLTF_MODE_TRIANGLES:
        case TINYGLTF_MODE_TRIANGLE_STRIP:
        case TINYGLTF_MODE_TRIANGLE_FAN:
            return PrimitiveShape::Triangles;
        default:
            return std::nullopt;
    }
}

bool isFinite(const glm::vec3& vector) {
    return std::isfinite(vector.x) && std::isfinite(vector.y) && std::isfinite(vector.z);
}

bool isFinite(const glm::vec4& vector) {
    return isFinite(glm::vec3(vector)) && std::isfinite(vector.w);
}

int attributeAccessor(const tinygltf::Primitive& primitive, const char* name) {
    auto found = primitive.attributes.find(name);
    return found == primitive.attributes.end() ? -1 : found->second;
}

}  // namespace
}  // namespace engine
