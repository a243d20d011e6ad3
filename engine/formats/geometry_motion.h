// What makes a file's geometry move: animations of its nodes' transforms and morph weights,
// skins that bend meshes with a skeleton of nodes, and morph targets that offset vertices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/formats/geometry_vertex.h"

namespace engine {

enum class AnimatedProperty { Translation, Rotation, Scale, Weights };
enum class Interpolation { Linear, Step, CubicSpline };

// Key times and values of one animated property.
struct AnimationSampler {
    Interpolation interpolation = Interpolation::Linear;
    // Seconds, strictly increasing.
    std::vector<float> times;
    // Per key, `components` floats; cubic splines hold in-tangent, value and out-tangent per key.
    std::vector<float> values;
    // 3 for translation and scale, 4 for rotation (x, y, z, w), the morph target count for
    // weights.
    std::uint32_t components = 0;
};

struct AnimationChannel {
    // The animated node's index in GeometryDesc::nodes.
    int node = -1;
    AnimatedProperty property = AnimatedProperty::Translation;
    // Its index in the animation's samplers.
    int sampler = -1;
};

struct GeometryAnimation {
    std::string name;
    // The latest key time of its samplers.
    float duration = 0.0f;
    std::vector<AnimationSampler> samplers;
    std::vector<AnimationChannel> channels;
};

// A node's local transform as glTF animates it: T * R * S.
struct NodePose {
    glm::vec3 translation{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    glm::vec3 scale{1.0f};
};

struct GeometrySkin {
    std::string name;
    // The joints' indices in GeometryDesc::nodes.
    std::vector<int> joints;
    // Per joint: from the mesh's bind space into the joint's space.
    std::vector<glm::mat4> inverseBindMatrices;
    // Per joint: the box, in the joint's space, around the vertices it moves, so that a posed
    // mesh's box follows its joints without touching a vertex.
    std::vector<BoundingBox> jointBoxes;
};

// Up to eight joints per vertex, with weights that sum to one (as 0..65535).
struct SkinVertex {
    std::uint16_t joints[8] = {};
    std::uint16_t weights[8] = {};
};

// A morph target of one primitive: offsets of the vertices it moves (the others stay), counted
// from the primitive's first vertex.
struct MorphTarget {
    std::vector<std::uint32_t> vertices;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec3> tangents;
};

// What a mesh that bends needs on the CPU, for blending its morph targets and for skinning it
// where the GPU cannot: its vertices as loaded, their joints and weights, and its targets.
struct BendableMesh {
    struct Primitive {
        // Its first vertex among the mesh's.
        std::uint32_t firstVertex = 0;
        std::vector<MorphTarget> targets;
    };
    // Every primitive's vertices, in order; they lie in the same order in the vertex buffer.
    std::vector<GeometryVertex> vertices;
    // One per vertex for a skinned mesh; empty otherwise.
    std::vector<SkinVertex> skinVertices;
    std::vector<Primitive> primitives;
};

}  // namespace engine
