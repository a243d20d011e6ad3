#include "engine/scene/scene_instancer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/formats/scene_format.h"
#include "engine/resources/loaded_geometry.h"
#include "engine/resources/loaded_scene.h"

namespace engine {
namespace {

class SceneInstancer {
  public:
    SceneInstancer(SceneGraph& graph, const ResourceTable& resources, MessageLog& log)
        : graph_(graph), resources_(resources), log_(log) {}

    H3DNode instantiate(H3DNode parent, const Resource& scene);
    // The nodes an instance of the scene would make, counted without making them; more than
    // kMaximumNodesPerInstance counts as kMaximumNodesPerInstance + 1.
    std::uint64_t countNodes(const Resource& scene);
    // A model made without a scene file: its messages name the model instead.
    H3DNode instantiateModel(H3DNode parent, const SceneNodeDesc& model);

  private:
    SceneGraph& graph_;
    const ResourceTable& resources_;
    MessageLog& log_;
    // The scenes being built or counted, outermost first, to catch scenes that include
    // themselves.
    std::vector<std::string> scenesInProgress_;
    // Per scene resource counted so far: the nodes one instance of it makes.
    std::unordered_map<const Resource*, std::uint64_t> nodeCounts_;

    std::uint64_t countTree(const SceneNodeDesc& desc);

    H3DNode addTree(H3DNode parent, const SceneNodeDesc& desc);
    NodeSettings settingsFor(const SceneNodeDesc& desc) const;
    void fillReference(H3DNode reference, const SceneNodeDesc& desc);
    // What every mesh node of one model draws with.
    struct MeshSource {
        H3DRes geometryHandle;
        H3DRes defaultMaterial;
        const LoadedGeometry* geometry;
        const SceneNodeDesc* model;
    };

    void addMeshes(H3DNode model, const SceneNodeDesc& desc);
    H3DNode addMesh(H3DNode parent, int meshIndex, const MeshSource& source,
                    const GeometryNode* fileNode);
    void bindJoints(const LoadedGeometry& geometry, const std::vector<H3DNode>& groups,
                    const std::vector<H3DNode>& meshes);
    void addLight(H3DNode parent, const GeometryLight& light);
};

}  // namespace

H3DNode instantiateScene(SceneGraph& graph, const ResourceTable& resources, H3DNode parent,
                         H3DRes scene, MessageLog& log) {
    const Resource* resource = resources.get(scene, ResourceType::SceneGraph);
    if (resource == nullptr || !resource->loaded()) {
        log.warning("cannot add nodes: resource " + std::to_string(scene) +
                    " is not a loaded scene");
        return 0;
    }
    if (graph.find(parent) == nullptr) {
        log.warning("cannot add nodes: " + std::to_string(parent) + " is not a node");
        return 0;
    }
    SceneInstancer instancer(graph, resources, log);
    if (instancer.countNodes(*resource) > kMaximumNodesPerInstance) {
        log.warning("scene '" + resource->name + "' would add more than " +
                    std::to_string(kMaximumNodesPerInstance) +
                    " nodes with the scenes it references; no nodes were added");
        return 0;
    }
    return instancer.instantiate(parent, *resource);
}

H3DNode instantiateModel(SceneGraph& graph, const ResourceTable& resources, H3DNode parent,
                         const std::string& name, H3DRes geometry, MessageLog& log) {
    const Resource* resource = resources.get(geometry, ResourceType::Geometry);
    if (resource == nullptr || graph.find(parent) == nullptr) {
        return 0;
    }
    SceneNodeDesc model;
    model.kind = SceneNodeKind::Model;
    model.name = name;
    model.geometry = resource->name;
    SceneInstancer instancer(graph, resources, log);
    return instancer.instantiateModel(parent, model);
}

namespace {

H3DNode SceneInstancer::instantiateModel(H3DNode parent, const SceneNodeDesc& model) {
    scenesInProgress_.push_back(model.name);
    H3DNode root = addTree(parent, model);
    scenesInProgress_.pop_back();
    return root;
}

H3DNode SceneInstancer::instantiate(H3DNode parent, const Resource& scene) {
    const auto* loaded = scene.payloadAs<LoadedScene>();
    if (loaded == nullptr) {
        return 0;
    }
    scenesInProgress_.push_back(scene.name);
    H3DNode root = addTree(parent, loaded->desc.root);
    scenesInProgress_.pop_back();
    return root;
}

std::uint64_t SceneInstancer::countNodes(const Resource& scene) {
    auto known = nodeCounts_.find(&scene);
    if (known != nodeCounts_.end()) {
        return known->second;
    }
    const auto* loaded = scene.payloadAs<LoadedScene>();
    if (loaded == nullptr) {
        return 0;
    }
    scenesInProgress_.push_back(scene.name);
    const std::uint64_t count = countTree(loaded->desc.root);
    scenesInProgress_.pop_back();
    nodeCounts_.emplace(&scene, count);
    return count;
}

// Saturates just above the limit, so that 64 references to 64 references to ... cannot
// overflow the count.
std::uint64_t SceneInstancer::countTree(const SceneNodeDesc& desc) {
    const std::uint64_t beyond = kMaximumNodesPerInstance + 1;
    std::uint64_t count = 1;
    if (desc.kind == SceneNodeKind::Model) {
        const Resource* geometry =
            resources_.get(resources_.find(ResourceType::Geometry, desc.geometry));
        const auto* loaded = geometry != nullptr ? geometry->payloadAs<LoadedGeometry>() : nullptr;
        count += loaded != nullptr ? loaded->nodesPerModel : 0;
    }
    if (desc.kind == SceneNodeKind::Reference &&
        std::find(scenesInProgress_.begin(), scenesInProgress_.end(), desc.scene) ==
            scenesInProgress_.end()) {
        const Resource* scene =
            resources_.get(resources_.find(ResourceType::SceneGraph, desc.scene));
        count += scene != nullptr ? countNodes(*scene) : 0;
    }
    for (const SceneNodeDesc& child : desc.children) {
        count = std::min(beyond, count + countTree(child));
    }
    return std::min(beyond, count);
}

H3DNode SceneInstancer::addTree(H3DNode parent, const SceneNodeDesc& desc) {
    NodeTransform local{desc.translation, desc.rotation, desc.scale};
    H3DNode node = graph_.addNode(parent, desc.name, settingsFor(desc), local);
    if (node == 0) {
        return 0;
    }
    if (desc.kind == SceneNodeKind::Reference) {
        fillReference(node, desc);
    }
    if (desc.kind == SceneNodeKind::Model) {
        addMeshes(node, desc);
    }
    for (const SceneNodeDesc& child : desc.children) {
        addTree(node, child);
    }
    return node;
}

NodeSettings SceneInstancer::settingsFor(const SceneNodeDesc& desc) const {
    switch (desc.kind) {
        case SceneNodeKind::Group:
            return GroupSettings{};
        case SceneNodeKind::Model: {
            ModelSettings model;
            model.geometry = resources_.find(ResourceType::Geometry, desc.geometry);
            model.defaultMaterial = resources_.find(ResourceType::Material, desc.material);
            for (const MeshMaterial& entry : desc.meshMaterials) {
                model.meshMaterials.emplace_back(
                    entry.mesh, resources_.find(ResourceType::Material, entry.material));
            }
            return model;
        }
        case SceneNodeKind::Light:
            return LightSettings{desc.color, desc.radius, desc.castsShadows};
        case SceneNodeKind::Camera: {
            CameraSettings camera;
            camera.pipeline = resources_.find(ResourceType::Pipeline, desc.pipeline);
            camera.fieldOfView = desc.fieldOfView;
            camera.nearDistance = desc.nearDistance;
            camera.farDistance = desc.farDistance;
            return camera;
        }
        case SceneNodeKind::Reference:
            return ReferenceSettings{resources_.find(ResourceType::SceneGraph, desc.scene)};
    }
    return GroupSettings{};
}

void SceneInstancer::fillReference(H3DNode reference, const SceneNodeDesc& desc) {
    const std::string& including = scenesInProgress_.back();
    if (std::find(scenesInProgress_.begin(), scenesInProgress_.end(), desc.scene) !=
        scenesInProgress_.end()) {
        log_.warning("scene '" + including + "' line " + std::to_string(desc.line) +
                     ": the reference to '" + desc.scene + "' would include it in itself");
        return;
    }
    const Resource* scene = resources_.get(resources_.find(ResourceType::SceneGraph, desc.scene));
    if (scene == nullptr || !scene->loaded()) {
        log_.warning("scene '" + including + "' line " + std::to_string(desc.line) +
                     ": the referenced scene '" + desc.scene + "' is not loaded");
        return;
    }
    instantiate(reference, *scene);
}

// The geometry's node tree below the model: a group per node, with a mesh node for its mesh.
// A geometry without nodes gets one mesh node per mesh.
void SceneInstancer::addMeshes(H3DNode model, const SceneNodeDesc& desc) {
    const ModelSettings* settings = graph_.settingsOf<ModelSettings>(model);
    const Resource* geometry = resources_.get(settings->geometry);
    const auto* loaded = geometry != nullptr ? geometry->payloadAs<LoadedGeometry>() : nullptr;
    if (loaded == nullptr) {
        log_.warning("scene '" + scenesInProgress_.back() + "' line " + std::to_string(desc.line) +
                     ": the geometry '" + desc.geometry + "' of model '" + desc.name +
                     "' is not loaded");
        return;
    }
    const MeshSource source{settings->geometry, settings->defaultMaterial, loaded, &desc};
    if (loaded->nodes.empty()) {
        for (std::size_t index = 0; index < loaded->meshes.size(); ++index) {
            addMesh(model, static_cast<int>(index), source, nullptr);
        }
        return;
    }
    // Parents come first, so each node's parent handle is known when it is added.
    std::vector<H3DNode> groups;
    std::vector<H3DNode> meshes(loaded->nodes.size(), 0);
    groups.reserve(loaded->nodes.size());
    for (const GeometryNode& node : loaded->nodes) {
        const H3DNode parent =
            node.parent < 0 ? model : groups[static_cast<std::size_t>(node.parent)];
        const H3DNode group =
            graph_.addNode(parent, node.name, GroupSettings{}, transformFromMatrix(node.local));
        if (node.mesh >= 0) {
            meshes[groups.size()] = addMesh(group, node.mesh, source, &node);
        }
        groups.push_back(group);
        if (node.light >= 0 && node.light < static_cast<int>(loaded->lights.size())) {
            addLight(group, loaded->lights[static_cast<std::size_t>(node.light)]);
        }
    }
    bindJoints(*loaded, groups, meshes);
    ModelSettings* made = graph_.settingsOf<ModelSettings>(model);
    made->fileNodes = std::move(groups);
    made->fileMeshNodes = std::move(meshes);
}

// A mesh node named after the mesh, with the model's material for it, and its file node's skin
// and morph weights.
H3DNode SceneInstancer::addMesh(H3DNode parent, int meshIndex, const MeshSource& source,
                                const GeometryNode* fileNode) {
    if (meshIndex >= static_cast<int>(source.geometry->meshes.size())) {
        return 0;
    }
    const MeshRange& range = source.geometry->meshes[static_cast<std::size_t>(meshIndex)];
    const std::string& name = range.name;
    MeshSettings mesh;
    mesh.geometry = source.geometryHandle;
    mesh.meshIndex = meshIndex;
    mesh.material = source.defaultMaterial;
    for (const MeshMaterial& entry : source.model->meshMaterials) {
        if (entry.mesh == name) {
            mesh.material = resources_.find(ResourceType::Material, entry.material);
        }
    }
    mesh.morphWeights = range.morphWeights;
    if (fileNode != nullptr) {
        mesh.skin = range.skinned() ? fileNode->skin : -1;
        mesh.animated = fileNode->animated;
        if (!fileNode->weights.empty()) {
            mesh.morphWeights = fileNode->weights;
        }
    }
    return graph_.addNode(parent, name.empty() ? "mesh" + std::to_string(meshIndex) : name, mesh);
}

// Joints may come after the meshes they bend, so they are bound once every node is made.
void SceneInstancer::bindJoints(const LoadedGeometry& geometry, const std::vector<H3DNode>& groups,
                                const std::vector<H3DNode>& meshes) {
    for (std::size_t node = 0; node < meshes.size(); ++node) {
        MeshSettings* mesh = graph_.settingsOf<MeshSettings>(meshes[node]);
        if (mesh == nullptr || mesh->skin < 0 ||
            mesh->skin >= static_cast<int>(geometry.skins.size())) {
            continue;
        }
        for (int joint : geometry.skins[static_cast<std::size_t>(mesh->skin)].joints) {
            mesh->joints.push_back(groups[static_cast<std::size_t>(joint)]);
        }
    }
}

// A light of the file, at its node. One without a range reaches as far as it lights a surface
// with a hundredth of the dimmest light the viewer's default lights give; beyond that, its
// inverse-square light is too faint to matter.
void SceneInstancer::addLight(H3DNode parent, const GeometryLight& light) {
    constexpr float kFaintestLight = 0.002f;
    LightSettings settings;
    settings.color = light.color;
    settings.inverseSquare = true;
    const float brightest = std::max({light.color.r, light.color.g, light.color.b});
    settings.radius = light.range > 0.0f ? light.range : std::sqrt(brightest / kFaintestLight);
    settings.kind = light.shape == LightShape::Spot          ? LightKind::Spot
                    : light.shape == LightShape::Directional ? LightKind::Directional
                                                             : LightKind::Point;
    settings.innerConeAngle = light.innerConeAngle;
    settings.outerConeAngle = light.outerConeAngle;
    graph_.addNode(parent, light.name.empty() ? "light" : light.name, settings);
}

}  // namespace
}  // namespace engine
