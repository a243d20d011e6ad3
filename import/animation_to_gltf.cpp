#include "import/animation_to_gltf.h"

#include <cmath>

namespace {

// What files that give no rate mean by a tick.
constexpr double kDefaultTicksPerSecond = 25.0;
// More keys than this in one channel are left out, as an accessor of more elements would be.
constexpr unsigned kMostKeys = 1u << 25;

// The keys' times in seconds; empty when they are not finite or do not grow.
template <typename Key>
std::vector<float> keySeconds(const Key* keys, unsigned count, double ticksPerSecond) {
    std::vector<float> seconds;
    seconds.reserve(count);
    for (unsigned key = 0; key < count; ++key) {
        const float time = static_cast<float>(keys[key].mTime / ticksPerSecond);
        if (!std::isfinite(time) || (!seconds.empty() && time <= seconds.back())) {
            return {};
        }
        seconds.push_back(time);
    }
    return seconds;
}

class AnimationWriter {
  public:
    AnimationWriter(GlbWriter& glb, nlohmann::json& animation, double ticksPerSecond)
        : glb_(glb), animation_(animation), ticksPerSecond_(ticksPerSecond) {}

    // False when the keys cannot be written.
    template <typename Key, typename Values>
    bool addChannel(int node, const char* path, const Key* keys, unsigned count, const char* type,
                    Values values) {
        if (keys == nullptr || count == 0 || count > kMostKeys) {
            return count == 0;
        }
        const std::vector<float> seconds = keySeconds(keys, count, ticksPerSecond_);
        if (seconds.empty()) {
            return false;
        }
        std::vector<float> output;
        for (unsigned key = 0; key < count; ++key) {
            values(keys[key].mValue, output);
        }
        const int input =
            glb_.addAccessor(glb_.addView(seconds.data(), seconds.size() * sizeof(float)),
                             gltf::kFloat, seconds.size(), "SCALAR");
        glb_.document()["accessors"][static_cast<std::size_t>(input)]["min"] = {seconds.front()};
        glb_.document()["accessors"][static_cast<std::size_t>(input)]["max"] = {seconds.back()};
        const int result =
            glb_.addAccessor(glb_.addView(output.data(), output.size() * sizeof(float)),
                             gltf::kFloat, seconds.size(), type);
        nlohmann::json& samplers = animation_["samplers"];
        samplers.push_back({{"input", input}, {"output", result}, {"interpolation", "LINEAR"}});
        animation_["channels"].push_back(
            {{"sampler", samplers.size() - 1}, {"target", {{"node", node}, {"path", path}}}});
        return true;
    }

  private:
    GlbWriter& glb_;
    nlohmann::json& animation_;
    double ticksPerSecond_;
};

void appendVector(const aiVector3D& value, std::vector<float>& output) {
    output.insert(output.end(), {value.x, value.y, value.z});
}

// glTF keeps quaternions as x, y, z, w.
void appendRotation(const aiQuaternion& value, std::vector<float>& output) {
    output.insert(output.end(), {value.x, value.y, value.z, value.w});
}

}  // namespace

std::set<std::string> animatedNodeNames(const aiScene& scene) {
    std::set<std::string> names;
    for (unsigned index = 0; index < scene.mNumAnimations; ++index) {
        const aiAnimation& animation = *scene.mAnimations[index];
        for (unsigned channel = 0; channel < animation.mNumChannels; ++channel) {
            names.insert(animation.mChannels[channel]->mNodeName.C_Str());
        }
    }
    return names;
}

void writeAnimations(const aiScene& scene, const std::map<std::string, int>& nodes, GlbWriter& glb,
                     std::vector<std::string>& notes) {
    for (unsigned index = 0; index < scene.mNumAnimations; ++index) {
        const aiAnimation& source = *scene.mAnimations[index];
        nlohmann::json animation = {{"channels", nlohmann::json::array()},
                                    {"samplers", nlohmann::json::array()}};
        if (source.mName.length > 0) {
            animation["name"] = source.mName.C_Str();
        }
        const double ticksPerSecond =
            source.mTicksPerSecond > 0.0 ? source.mTicksPerSecond : kDefaultTicksPerSecond;
        AnimationWriter writer(glb, animation, ticksPerSecond);
        for (unsigned channel = 0; channel < source.mNumChannels; ++channel) {
            const aiNodeAnim& keys = *source.mChannels[channel];
            const auto node = nodes.find(keys.mNodeName.C_Str());
            const bool written = node != nodes.end() &&
                                 writer.addChannel(node->second, "translation", keys.mPositionKeys,
                                                   keys.mNumPositionKeys, "VEC3", appendVector) &&
                                 writer.addChannel(node->second, "rotation", keys.mRotationKeys,
                                                   keys.mNumRotationKeys, "VEC4", appendRotation) &&
                                 writer.addChannel(node->second, "scale", keys.mScalingKeys,
                                                   keys.mNumScalingKeys, "VEC3", appendVector);
            if (!written) {
                notes.push_back("an animation of node '" + std::string(keys.mNodeName.C_Str()) +
                                "' is left out: it names no node or its key times do not grow");
            }
        }
        if (!animation["channels"].empty()) {
            glb.append("animations", std::move(animation));
        }
    }
}
