#include "import/scene_to_gltf.h"

#include <cmath>
#include <map>
#include <set>
#include <stdexcept>
#include <utility>

#include "import/animation_to_gltf.h"
#include "import/glb_writer.h"
#include "import/material_to_gltf.h"
#include "import/skin_to_gltf.h"

namespace {

class SceneWriter {
  public:
    SceneWriter(const aiScene& scene, FolderFiles& folder, std::vector<std::string>& notes)
        : scene_(scene), folder_(folder), notes_(notes), skins_(scene) {}

    std::string write();

  private:
    const aiScene& scene_;
    FolderFiles& folder_;
    std::vector<std::string>& notes_;
    GlbWriter glb_;
    // The glTF primitive of each of the scene's meshes; null where a mesh draws nothing.
    std::vector<nlohmann::json> primitives_;
    // glTF meshes by the scene meshes they hold, so that nodes sharing meshes share them.
    std::map<std::vector<unsigned>, int> meshesByParts_;
    // The lights below each node of that name, with their glTF index.
    std::map<std::string, std::vector<std::pair<const aiLight*, int>>> lightsByNode_;
    // Nodes that animations move, written as translation, rotation and scale.
    std::set<std::string> animatedNodes_;
    // The glTF index of the first node of each name, which animations name.
    std::map<std::string, int> nodesByName_;
    SkinWriter skins_;
    // glTF meshes with skinned primitives, and the nodes that draw them.
    std::set<int> skinnedMeshes_;
    std::vector<int> skinnedNodes_;

    void writePrimitives();
    nlohmann::json primitive(const aiMesh& mesh);
    void writeLights();
    void writeNodes();
    nlohmann::json node(const aiNode& source);
    int meshOf(const aiNode& source);
};

int primitiveMode(const aiMesh& mesh, unsigned& cornersPerFace);
nlohmann::json matrixOf(const aiMatrix4x4& matrix);
void writeTransform(const aiMatrix4x4& matrix, bool animated, nlohmann::json& node);
nlohmann::json lightNodeMatrix(const aiLight& light);

}  // namespace

std::string gltfOfScene(const aiScene& scene, FolderFiles& folder,
                        std::vector<std::string>& notes) {
    return SceneWriter(scene, folder, notes).write();
}

namespace {

std::string SceneWriter::write() {
    MaterialWriter(scene_, folder_, glb_, notes_).writeAll();
    writePrimitives();
    writeLights();
    animatedNodes_ = animatedNodeNames(scene_);
    writeNodes();
    writeAnimations(scene_, nodesByName_, glb_, notes_);
    if (skins_.any() && skins_.writeSkin(nodesByName_, glb_, notes_)) {
        for (int node : skinnedNodes_) {
            glb_.document()["nodes"][static_cast<std::size_t>(node)]["skin"] = 0;
        }
    }
    if (!glb_.document().contains("meshes")) {
        throw std::runtime_error("the file holds no points, lines or triangles");
    }
    return glb_.finish();
}

void SceneWriter::writePrimitives() {
    for (unsigned index = 0; index < scene_.mNumMeshes; ++index) {
        primitives_.push_back(primitive(*scene_.mMeshes[index]));
    }
}

nlohmann::json SceneWriter::primitive(const aiMesh& mesh) {
    unsigned corners = 0;
    const int mode = primitiveMode(mesh, corners);
    if (mode < 0 || mesh.mNumVertices == 0 || mesh.mVertices == nullptr) {
        return nullptr;
    }
    if (mesh.mNumVertices > kMostVerticesPerMesh) {
        throw std::runtime_error("a mesh has more than " + std::to_string(kMostVerticesPerMesh) +
                                 " vertices");
    }
    const std::size_t count = mesh.mNumVertices;
    nlohmann::json attributes;
    auto addVectors = [&](const char* name, const void* data, std::size_t components) {
        const int view = glb_.addView(data, count * components * sizeof(float), gltf::kArrayBuffer);
        attributes[name] =
            glb_.addAccessor(view, gltf::kFloat, count, components == 3 ? "VEC3" : "VEC2");
    };
    addVectors("POSITION", mesh.mVertices, 3);
    if (mesh.mNormals != nullptr && mode == gltf::kTriangles) {
        addVectors("NORMAL", mesh.mNormals, 3);
    }
    for (unsigned set = 0; set < 2 && mesh.mTextureCoords[set] != nullptr; ++set) {
        std::vector<float> texCoords(count * 2);
        for (std::size_t vertex = 0; vertex < count; ++vertex) {
            texCoords[vertex * 2] = mesh.mTextureCoords[set][vertex].x;
            texCoords[vertex * 2 + 1] = mesh.mTextureCoords[set][vertex].y;
        }
        addVectors(set == 0 ? "TEXCOORD_0" : "TEXCOORD_1", texCoords.data(), 2);
    }
    if (mesh.mColors[0] != nullptr) {
        std::vector<unsigned char> colors(count * 4);
        for (std::size_t vertex = 0; vertex < count; ++vertex) {
            const aiColor4D& color = mesh.mColors[0][vertex];
            const float channels[] = {color.r, color.g, color.b, color.a};
            for (int channel = 0; channel < 4; ++channel) {
                const float value = std::isfinite(channels[channel]) ? channels[channel] : 1.0f;
                colors[vertex * 4 + static_cast<std::size_t>(channel)] = static_cast<unsigned char>(
                    std::lround(std::fmin(std::fmax(value, 0.0f), 1.0f) * 255.0f));
            }
        }
        const int view = glb_.addView(colors.data(), colors.size(), gltf::kArrayBuffer);
        attributes["COLOR_0"] = glb_.addAccessor(view, gltf::kUnsignedByte, count, "VEC4", true);
    }
    if (mode == gltf::kTriangles) {
        skins_.writeWeights(mesh, glb_, attributes);
    }
    nlohmann::json primitive = {{"attributes", std::move(attributes)}, {"mode", mode}};
    if (mesh.mMaterialIndex < scene_.mNumMaterials) {
        primitive["material"] = mesh.mMaterialIndex;
    }
    // Points keep their order without indices; lines and triangles list their faces' corners.
    if (mode != gltf::kPoints) {
        std::vector<std::uint32_t> indices;
        indices.reserve(static_cast<std::size_t>(mesh.mNumFaces) * corners);
        for (unsigned face = 0; face < mesh.mNumFaces; ++face) {
            const aiFace& corner = mesh.mFaces[face];
            if (corner.mNumIndices != corners) {
                continue;
            }
            for (unsigned at = 0; at < corners; ++at) {
                indices.push_back(corner.mIndices[at] < count ? corner.mIndices[at] : 0);
            }
        }
        const int view = glb_.addView(indices.data(), indices.size() * sizeof(std::uint32_t),
                                      gltf::kElementArrayBuffer);
        primitive["indices"] = glb_.addAccessor(view, gltf::kUnsignedInt, indices.size(), "SCALAR");
    }
    return primitive;
}

void SceneWriter::writeLights() {
    for (unsigned index = 0; index < scene_.mNumLights; ++index) {
        const aiLight& light = *scene_.mLights[index];
        const char* type = light.mType == aiLightSource_DIRECTIONAL ? "directional"
                           : light.mType == aiLightSource_SPOT      ? "spot"
                           : light.mType == aiLightSource_POINT     ? "point"
                                                                    : nullptr;
        if (type == nullptr) {
            continue;
        }
        const aiColor3D& color = light.mColorDiffuse;
        const float brightest = std::fmax(color.r, std::fmax(color.g, color.b));
        if (!std::isfinite(brightest) || brightest <= 0.0f) {
            continue;
        }
        nlohmann::json written = {
            {"type", type},
            {"color", {color.r / brightest, color.g / brightest, color.b / brightest}},
            {"intensity", brightest}};
        if (light.mType == aiLightSource_SPOT) {
            const float outer = std::fmin(std::fabs(light.mAngleOuterCone), 1.5707f);
            written["spot"] = {
                {"innerConeAngle", std::fmin(std::fabs(light.mAngleInnerCone), outer * 0.99f)},
                {"outerConeAngle", outer}};
        }
        nlohmann::json& lights = glb_.document()["extensions"]["KHR_lights_punctual"]["lights"];
        lights.push_back(std::move(written));
        // The light's own node, below the node of its name, places it and turns its -z axis
        // along its direction.
        lightsByNode_[light.mName.C_Str()].emplace_back(&light,
                                                        static_cast<int>(lights.size()) - 1);
    }
    if (glb_.document().contains("extensions")) {
        glb_.document()["extensionsUsed"].push_back("KHR_lights_punctual");
    }
}

// Written parents first, without recursion: a hostile file's tree may be very deep.
void SceneWriter::writeNodes() {
    if (scene_.mRootNode == nullptr) {
        return;
    }
    std::vector<std::pair<const aiNode*, int>> pending{{scene_.mRootNode, -1}};
    std::vector<int> roots;
    while (!pending.empty()) {
        const auto [source, parent] = pending.back();
        pending.pop_back();
        if (glb_.document().contains("nodes") && glb_.document()["nodes"].size() >= kMostNodes) {
            throw std::runtime_error("the file has more than " + std::to_string(kMostNodes) +
                                     " nodes");
        }
        const int index = glb_.append("nodes", node(*source));
        nodesByName_.emplace(source->mName.C_Str(), index);
        const nlohmann::json& added = glb_.document()["nodes"][static_cast<std::size_t>(index)];
        if (added.contains("mesh") && skinnedMeshes_.count(added["mesh"].get<int>()) != 0) {
            skinnedNodes_.push_back(index);
        }
        if (parent < 0) {
            roots.push_back(index);
        } else {
            glb_.document()["nodes"][static_cast<std::size_t>(parent)]["children"].push_back(index);
        }
        auto lights = lightsByNode_.find(source->mName.C_Str());
        if (lights != lightsByNode_.end()) {
            for (const auto& [light, written] : lights->second) {
                nlohmann::json lightNode = {
                    {"extensions", {{"KHR_lights_punctual", {{"light", written}}}}},
                    {"matrix", lightNodeMatrix(*light)}};
                const int child = glb_.append("nodes", std::move(lightNode));
                glb_.document()["nodes"][static_cast<std::size_t>(index)]["children"].push_back(
                    child);
            }
            lightsByNode_.erase(lights);
        }
        for (unsigned child = source->mNumChildren; child-- > 0;) {
            if (source->mChildren[child] != nullptr) {
                pending.emplace_back(source->mChildren[child], index);
            }
        }
    }
    glb_.document()["scenes"] = nlohmann::json::array({{{"nodes", roots}}});
    glb_.document()["scene"] = 0;
}

nlohmann::json SceneWriter::node(const aiNode& source) {
    nlohmann::json written = nlohmann::json::object();
    if (source.mName.length > 0) {
        written["name"] = source.mName.C_Str();
    }
    writeTransform(source.mTransformation, animatedNodes_.count(source.mName.C_Str()) != 0,
                   written);
    const int mesh = meshOf(source);
    if (mesh >= 0) {
        written["mesh"] = mesh;
    }
    return written;
}

int SceneWriter::meshOf(const aiNode& source) {
    std::vector<unsigned> parts;
    for (unsigned index = 0; index < source.mNumMeshes; ++index) {
        const unsigned mesh = source.mMeshes[index];
        if (mesh < primitives_.size() && !primitives_[mesh].is_null()) {
            parts.push_back(mesh);
        }
    }
    if (parts.empty()) {
        return -1;
    }
    auto known = meshesByParts_.find(parts);
    if (known != meshesByParts_.end()) {
        return known->second;
    }
    nlohmann::json mesh = {{"primitives", nlohmann::json::array()}};
    if (parts.size() == 1 && scene_.mMeshes[parts[0]]->mName.length > 0) {
        mesh["name"] = scene_.mMeshes[parts[0]]->mName.C_Str();
    }
    for (unsigned part : parts) {
        mesh["primitives"].push_back(primitives_[part]);
    }
    const int index = glb_.append("meshes", std::move(mesh));
    for (unsigned part : parts) {
        if (scene_.mMeshes[part]->mNumBones > 0) {
            skinnedMeshes_.insert(index);
        }
    }
    meshesByParts_.emplace(std::move(parts), index);
    return index;
}

// -1 for meshes of mixed or unknown faces, which sorting by type has already split.
int primitiveMode(const aiMesh& mesh, unsigned& cornersPerFace) {
    constexpr unsigned kShapes = aiPrimitiveType_POINT | aiPrimitiveType_LINE |
                                 aiPrimitiveType_TRIANGLE | aiPrimitiveType_POLYGON;
    switch (mesh.mPrimitiveTypes & kShapes) {
        case aiPrimitiveType_POINT:
            cornersPerFace = 1;
            return gltf::kPoints;
        case aiPrimitiveType_LINE:
            cornersPerFace = 2;
            return gltf::kLines;
        case aiPrimitiveType_TRIANGLE:
            cornersPerFace = 3;
            return gltf::kTriangles;
        default:
            return -1;
    }
}

// The library's matrices are row-major; glTF's are column-major.
nlohmann::json matrixOf(const aiMatrix4x4& matrix) {
    nlohmann::json columns = nlohmann::json::array();
    for (unsigned column = 0; column < 4; ++column) {
        for (unsigned row = 0; row < 4; ++row) {
            const float value = matrix[row][column];
            columns.push_back(std::isfinite(value) ? value : 0.0f);
        }
    }
    return columns;
}

// Animated nodes as translation, rotation and scale, which animations replace; the others as
// their matrix, kept exactly.
void writeTransform(const aiMatrix4x4& matrix, bool animated, nlohmann::json& node) {
    if (!animated) {
        if (!matrix.IsIdentity()) {
            node["matrix"] = matrixOf(matrix);
        }
        return;
    }
    aiVector3D scale;
    aiQuaternion rotation;
    aiVector3D translation;
    matrix.Decompose(scale, rotation, translation);
    const float values[] = {scale.x,    scale.y,    scale.z,       rotation.x,    rotation.y,
                            rotation.z, rotation.w, translation.x, translation.y, translation.z};
    for (float value : values) {
        if (!std::isfinite(value)) {
            writeTransform(matrix, false, node);
            return;
        }
    }
    node["translation"] = {translation.x, translation.y, translation.z};
    node["rotation"] = {rotation.x, rotation.y, rotation.z, rotation.w};
    node["scale"] = {scale.x, scale.y, scale.z};
}

// Places a light at its position, its -z axis along its direction.
nlohmann::json lightNodeMatrix(const aiLight& light) {
    aiVector3D forward = light.mDirection;
    if (forward.Length() <= 0.0f || !std::isfinite(forward.Length())) {
        forward = aiVector3D(0.0f, 0.0f, -1.0f);
    }
    forward.Normalize();
    const aiVector3D z = -forward;
    aiVector3D up =
        std::fabs(z.y) < 0.99f ? aiVector3D(0.0f, 1.0f, 0.0f) : aiVector3D(1.0f, 0.0f, 0.0f);
    aiVector3D x = up ^ z;
    x.Normalize();
    const aiVector3D y = z ^ x;
    const aiVector3D& at = light.mPosition;
    aiMatrix4x4 matrix(x.x, y.x, z.x, at.x, x.y, y.y, z.y, at.y, x.z, y.z, z.z, at.z, 0.0f, 0.0f,
                       0.0f, 1.0f);
    return matrixOf(matrix);
}

}  // namespace
