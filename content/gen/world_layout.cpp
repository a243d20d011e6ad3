#include "world_layout.h"

#include <glm/geometric.hpp>

#include "random.h"

namespace content {
namespace {

constexpr float kHalfExtent = 60.0f;
constexpr float kHalfHeight = 40.0f;
constexpr int kAttemptsPerInstance = 4000;

struct Occupied {
    glm::vec3 centre;
    float radius;
};

glm::vec3 randomPosition(Random& random) {
    return {random.range(-kHalfExtent, kHalfExtent), random.range(-kHalfHeight, kHalfHeight),
            random.range(-kHalfExtent, kHalfExtent)};
}

glm::vec3 randomRotation(Random& random) {
    return {random.range(0.0f, 360.0f), random.range(0.0f, 360.0f), random.range(0.0f, 360.0f)};
}

// Neighbours may interleave their branches, but their centres keep apart.
bool crowded(const std::vector<Occupied>& occupied, glm::vec3 centre, float radius, float overlap) {
    for (const Occupied& other : occupied) {
        if (glm::length(other.centre - centre) < overlap * (other.radius + radius)) {
            return true;
        }
    }
    return false;
}

// Tries random spots until one leaves the corridor clear and is not crowded; the crowding rule
// relaxes a little after each failed round so that placement always ends.
Placement place(float boundingRadius, float minScale, float maxScale, float overlap, Random& random,
                std::vector<Occupied>& occupied) {
    const Corridor corridor;
    for (int attempt = 0;; ++attempt) {
        const float relaxed =
            overlap * (1.0f - 0.1f * static_cast<float>(attempt / kAttemptsPerInstance));
        Placement placement{randomPosition(random), randomRotation(random),
                            random.range(minScale, maxScale)};
        const float radius = boundingRadius * placement.scale;
        const bool blocksView =
            distanceToCorridorAxis(corridor, placement.position) < corridor.radius + radius;
        if (!blocksView && !crowded(occupied, placement.position, radius, relaxed)) {
            occupied.push_back({placement.position, radius});
            return placement;
        }
    }
}

}  // namespace

float distanceToCorridorAxis(const Corridor& corridor, glm::vec3 point) {
    const glm::vec3 axis = corridor.to - corridor.from;
    const float along =
        glm::clamp(glm::dot(point - corridor.from, axis) / glm::dot(axis, axis), 0.0f, 1.0f);
    return glm::length(point - (corridor.from + axis * along));
}

WorldLayout planWorldLayout(const std::array<float, kNeuronVariants>& neuronRadii,
                            float gliaRadius) {
    Random random(0x776F726CULL);
    WorldLayout layout;
    std::vector<Occupied> occupied;
    for (int i = 0; i < kNeuronInstances; ++i) {
        const int variant = i % kNeuronVariants;
        const float radius = neuronRadii[static_cast<std::size_t>(variant)];
        layout.neurons.push_back({variant, place(radius, 0.6f, 1.6f, 0.45f, random, occupied)});
    }
    std::vector<Occupied> gliaOccupied;
    for (int i = 0; i < kGliaInstances; ++i) {
        layout.glia.push_back(place(gliaRadius, 0.5f, 0.9f, 0.6f, random, gliaOccupied));
    }
    return layout;
}

}  // namespace content
