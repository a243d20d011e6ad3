#include "engine/scene/model_animation.h"

#include <vector>

#include <glm/gtc/quaternion.hpp>

#include "engine/resources/loaded_geometry.h"
#include "engine/scene/animation_sampler.h"

namespace engine {
namespace {

glm::mat4 poseMatrix(const NodePose& pose) {
    glm::mat4 matrix = glm::mat4_cast(pose.rotation);
    matrix[0] *= pose.scale.x;
    matrix[1] *= pose.scale.y;
    matrix[2] *= pose.scale.z;
    matrix[3] = glm::vec4(pose.translation, 1.0f);
    return matrix;
}

const std::vector<float>& restWeights(const LoadedGeometry& geometry, int node) {
    const GeometryNode& source = geometry.nodes[static_cast<std::size_t>(node)];
    return source.weights.empty()
               ? geometry.meshes[static_cast<std::size_t>(source.mesh)].morphWeights
               : source.weights;
}

void applyChannel(const GeometryAnimation& animation, const AnimationChannel& channel,
                  const LoadedGeometry& geometry, float seconds, std::vector<NodePose>& poses,
                  std::vector<std::vector<float>>& weights) {
    const AnimationSampler& sampler = animation.samplers[static_cast<std::size_t>(channel.sampler)];
    const auto node = static_cast<std::size_t>(channel.node);
    if (channel.property == AnimatedProperty::Weights) {
        std::vector<float>& target =
            weights[static_cast<std::size_t>(geometry.motionSlots[node].morph)];
        if (target.size() == sampler.components) {
            sampleAnimation(sampler, seconds, false, target.data());
        }
        return;
    }
    NodePose& pose = poses[static_cast<std::size_t>(geometry.motionSlots[node].pose)];
    float value[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    switch (channel.property) {
        case AnimatedProperty::Translation:
            sampleAnimation(sampler, seconds, false, value);
            pose.translation = glm::vec3(value[0], value[1], value[2]);
            break;
        case AnimatedProperty::Rotation:
            sampleAnimation(sampler, seconds, true, value);
            // Stored x, y, z, w; glm's constructor takes w first.
            pose.rotation = glm::quat(value[3], value[0], value[1], value[2]);
            break;
        case AnimatedProperty::Scale:
            sampleAnimation(sampler, seconds, false, value);
            pose.scale = glm::vec3(value[0], value[1], value[2]);
            break;
        case AnimatedProperty::Weights:
            break;
    }
}

}  // namespace

bool poseModelAnimation(SceneGraph& scene, const ResourceTable& resources, H3DNode model,
                        int animation, float seconds) {
    const ModelSettings* settings = scene.settingsOf<ModelSettings>(model);
    const Resource* resource =
        settings != nullptr ? resources.get(settings->geometry, ResourceType::Geometry) : nullptr;
    const auto* geometry = resource != nullptr ? resource->payloadAs<LoadedGeometry>() : nullptr;
    if (geometry == nullptr || animation < -1 ||
        animation >= static_cast<int>(geometry->animations.size()) ||
        settings->fileNodes.size() != geometry->nodes.size()) {
        return false;
    }
    std::vector<NodePose> poses;
    poses.reserve(geometry->posedNodes.size());
    for (int node : geometry->posedNodes) {
        poses.push_back(geometry->nodes[static_cast<std::size_t>(node)].rest);
    }
    std::vector<std::vector<float>> weights;
    weights.reserve(geometry->morphedNodes.size());
    for (int node : geometry->morphedNodes) {
        weights.push_back(restWeights(*geometry, node));
    }
    if (animation >= 0) {
        const GeometryAnimation& played = geometry->animations[static_cast<std::size_t>(animation)];
        for (const AnimationChannel& channel : played.channels) {
            applyChannel(played, channel, *geometry, seconds, poses, weights);
        }
    }
    for (std::size_t slot = 0; slot < poses.size(); ++slot) {
        const auto node = static_cast<std::size_t>(geometry->posedNodes[slot]);
        scene.setLocalMatrix(settings->fileNodes[node], poseMatrix(poses[slot]));
    }
    for (std::size_t slot = 0; slot < weights.size(); ++slot) {
        const auto node = static_cast<std::size_t>(geometry->morphedNodes[slot]);
        scene.setMorphWeights(settings->fileMeshNodes[node], weights[slot]);
    }
    return true;
}

}  // namespace engine
