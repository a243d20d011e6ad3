#include "engine/formats/gltf_animations.h"

#include <algorithm>
#include <cmath>

#include "engine/formats/format_error.h"
#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

class AnimationReader {
  public:
    AnimationReader(const tinygltf::Model& model, GltfAccessors& accessors,
                    const std::vector<int>& sceneIndexOfFileNode, const GeometryDesc& geometry)
        : model_(model),
          accessors_(accessors),
          sceneIndexOfFileNode_(sceneIndexOfFileNode),
          geometry_(geometry) {}

    GeometryAnimation read(const tinygltf::Animation& animation);

  private:
    const tinygltf::Model& model_;
    GltfAccessors& accessors_;
    const std::vector<int>& sceneIndexOfFileNode_;
    const GeometryDesc& geometry_;
    std::size_t valuesRead_ = 0;

    // The sampler's values as the channel needs them.
    AnimationSampler readSampler(const tinygltf::AnimationSampler& sampler,
                                 AnimatedProperty property, std::uint32_t components,
                                 const std::string& what);
    std::vector<float> readTimes(int accessor, const std::string& what);
    std::uint32_t targetCount(int node) const;
};

bool propertyOf(const std::string& path, AnimatedProperty& property);
Interpolation interpolationOf(const std::string& name, const std::string& what);
std::string animationLabel(const tinygltf::Animation& animation, std::size_t index);
void markAnimatedNodes(const std::vector<GeometryAnimation>& animations, GeometryDesc& geometry);

}  // namespace

std::vector<GeometryAnimation> readGltfAnimations(const tinygltf::Model& model,
                                                  GltfAccessors& accessors,
                                                  const std::vector<int>& sceneIndexOfFileNode,
                                                  GeometryDesc& geometry) {
    std::vector<GeometryAnimation> animations;
    AnimationReader reader(model, accessors, sceneIndexOfFileNode, geometry);
    for (std::size_t index = 0; index < model.animations.size(); ++index) {
        const std::string label = animationLabel(model.animations[index], index);
        if (index == kMaxAnimations) {
            geometry.warnings.push_back("animations after the first " +
                                        std::to_string(kMaxAnimations) + " are left out");
            break;
        }
        try {
            GeometryAnimation animation = reader.read(model.animations[index]);
            if (animation.name.empty()) {
                animation.name = "animation " + std::to_string(index);
            }
            animations.push_back(std::move(animation));
        } catch (const FormatError& error) {
            geometry.warnings.push_back(label + " is left out: " + error.what());
        }
    }
    markAnimatedNodes(animations, geometry);
    return animations;
}

namespace {

GeometryAnimation AnimationReader::read(const tinygltf::Animation& animation) {
    GeometryAnimation read;
    read.name = animation.name;
    for (std::size_t index = 0; index < animation.channels.size(); ++index) {
        const tinygltf::AnimationChannel& channel = animation.channels[index];
        const std::string what = "channel " + std::to_string(index);
        AnimatedProperty property;
        if (!propertyOf(channel.target_path, property)) {
            continue;
        }
        if (channel.target_node < 0 ||
            static_cast<std::size_t>(channel.target_node) >= sceneIndexOfFileNode_.size()) {
            throw FormatError(what + " animates node " + std::to_string(channel.target_node) +
                              ", which does not exist");
        }
        const int node = sceneIndexOfFileNode_[static_cast<std::size_t>(channel.target_node)];
        if (channel.sampler < 0 ||
            static_cast<std::size_t>(channel.sampler) >= animation.samplers.size()) {
            throw FormatError(what + " names sampler " + std::to_string(channel.sampler) +
                              ", which does not exist");
        }
        const std::uint32_t components = property == AnimatedProperty::Weights ? targetCount(node)
                                         : property == AnimatedProperty::Rotation ? 4
                                                                                  : 3;
        // A node outside the scene, or weights of a mesh without targets, animate nothing.
        if (node < 0 || components == 0) {
            continue;
        }
        read.samplers.push_back(
            readSampler(animation.samplers[static_cast<std::size_t>(channel.sampler)], property,
                        components, what + " sampler " + std::to_string(channel.sampler)));
        read.duration = std::max(read.duration, read.samplers.back().times.back());
        read.channels.push_back(
            AnimationChannel{node, property, static_cast<int>(read.samplers.size() - 1)});
    }
    return read;
}

AnimationSampler AnimationReader::readSampler(const tinygltf::AnimationSampler& sampler,
                                              AnimatedProperty property, std::uint32_t components,
                                              const std::string& what) {
    AnimationSampler read;
    read.interpolation = interpolationOf(sampler.interpolation, what);
    read.components = components;
    read.times = readTimes(sampler.input, what + " input");
    const std::size_t perKey = read.interpolation == Interpolation::CubicSpline ? 3 : 1;
    const int type = property == AnimatedProperty::Weights    ? TINYGLTF_TYPE_SCALAR
                     : property == AnimatedProperty::Rotation ? TINYGLTF_TYPE_VEC4
                                                              : TINYGLTF_TYPE_VEC3;
    const std::size_t elementsPerKey =
        perKey * (property == AnimatedProperty::Weights ? components : 1);
    const std::size_t expected = read.times.size() * elementsPerKey;
    const std::string outputWhat = what + " output";
    const std::size_t count = accessors_.count(sampler.output, {type}, outputWhat);
    if (count != expected) {
        throw FormatError(outputWhat + " has " + std::to_string(count) + " elements for " +
                          std::to_string(read.times.size()) + " keys (" + std::to_string(expected) +
                          " expected)");
    }
    const std::size_t values = expected * (property == AnimatedProperty::Weights ? 1 : components);
    if (values > kMaxAnimationValues - valuesRead_) {
        throw FormatError("the file's animations hold more than " +
                          std::to_string(kMaxAnimationValues) + " key values");
    }
    valuesRead_ += values;
    const std::vector<glm::vec4> elements =
        accessors_.readVectors(sampler.output, {type}, outputWhat);
    const std::uint32_t elementComponents = property == AnimatedProperty::Weights ? 1 : components;
    read.values.reserve(values);
    for (const glm::vec4& element : elements) {
        for (std::uint32_t component = 0; component < elementComponents; ++component) {
            if (!std::isfinite(element[static_cast<int>(component)])) {
                throw FormatError(outputWhat + " holds a value that is not finite");
            }
            read.values.push_back(element[static_cast<int>(component)]);
        }
    }
    return read;
}

// Equal neighbours are taken as a jump; a time that goes back is a fault.
std::vector<float> AnimationReader::readTimes(int accessor, const std::string& what) {
    if (accessor < 0 || static_cast<std::size_t>(accessor) >= model_.accessors.size()) {
        throw FormatError(what + " names accessor " + std::to_string(accessor) +
                          ", which does not exist");
    }
    if (model_.accessors[static_cast<std::size_t>(accessor)].componentType !=
        TINYGLTF_COMPONENT_TYPE_FLOAT) {
        throw FormatError(what + " must hold floats");
    }
    const std::vector<glm::vec4> keys =
        accessors_.readVectors(accessor, {TINYGLTF_TYPE_SCALAR}, what);
    if (keys.empty()) {
        throw FormatError(what + " has no keys");
    }
    std::vector<float> times;
    times.reserve(keys.size());
    for (const glm::vec4& key : keys) {
        if (!std::isfinite(key.x) || key.x < 0.0f) {
            throw FormatError(what + " holds a time that is negative or not finite");
        }
        if (!times.empty() && key.x < times.back()) {
            throw FormatError(what + " is not increasing (" + std::to_string(key.x) + " after " +
                              std::to_string(times.back()) + ")");
        }
        times.push_back(key.x);
    }
    return times;
}

std::uint32_t AnimationReader::targetCount(int node) const {
    if (node < 0) {
        return 0;
    }
    const int mesh = geometry_.nodes[static_cast<std::size_t>(node)].mesh;
    return mesh < 0 ? 0
                    : static_cast<std::uint32_t>(
                          geometry_.meshes[static_cast<std::size_t>(mesh)].weights.size());
}

// Paths of extensions (a pointer to any property) are not played.
bool propertyOf(const std::string& path, AnimatedProperty& property) {
    if (path == "translation") {
        property = AnimatedProperty::Translation;
    } else if (path == "rotation") {
        property = AnimatedProperty::Rotation;
    } else if (path == "scale") {
        property = AnimatedProperty::Scale;
    } else if (path == "weights") {
        property = AnimatedProperty::Weights;
    } else {
        return false;
    }
    return true;
}

Interpolation interpolationOf(const std::string& name, const std::string& what) {
    if (name.empty() || name == "LINEAR") {
        return Interpolation::Linear;
    }
    if (name == "STEP") {
        return Interpolation::Step;
    }
    if (name == "CUBICSPLINE") {
        return Interpolation::CubicSpline;
    }
    throw FormatError(what + " has the unknown interpolation " + quotedExcerpt(name));
}

std::string animationLabel(const tinygltf::Animation& animation, std::size_t index) {
    return animation.name.empty() ? "animation " + std::to_string(index)
                                  : "animation " + quotedExcerpt(animation.name);
}

// Parents come before their children, so one pass carries the mark down the tree.
void markAnimatedNodes(const std::vector<GeometryAnimation>& animations, GeometryDesc& geometry) {
    for (const GeometryAnimation& animation : animations) {
        for (const AnimationChannel& channel : animation.channels) {
            geometry.nodes[static_cast<std::size_t>(channel.node)].animated = true;
        }
    }
    for (GeometryNode& node : geometry.nodes) {
        if (node.parent >= 0 && geometry.nodes[static_cast<std::size_t>(node.parent)].animated) {
            node.animated = true;
        }
    }
}

}  // namespace
}  // namespace engine
