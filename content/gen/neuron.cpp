#include "neuron.h"

#include <algorithm>
#include <vector>

#include <glm/geometric.hpp>

#include "mesh_builder.h"
#include "noise.h"
#include "random.h"
#include "tube.h"
#include "vector_math.h"

namespace content {
namespace {

constexpr int kDendriteLevels = 3;
constexpr float kDendriteTipRadius = 0.035f;

struct Branch {
    glm::vec3 start;
    glm::vec3 direction;
    float radius;
    float length;
    int level;
};

Mesh lumpySoma(float radius, std::uint32_t seed) {
    const auto surface = [radius, seed](float u, float v) {
        const float polar = v * kPi;
        const float angle = u * kTwoPi;
        const glm::vec3 direction(std::sin(polar) * std::cos(angle), -std::cos(polar),
                                  -std::sin(polar) * std::sin(angle));
        const float lumps = 0.14f * gradientNoise3(direction * 1.8f, seed) +
                            0.05f * gradientNoise3(direction * 4.0f, seed + 1U);
        return direction * radius * (1.0f + lumps);
    };
    return meshFromGrid(sampleSurface(16, 12, surface));
}

// A direction turned away from `direction` by `angle`, about an axis chosen by `spin`.
glm::vec3 deflected(glm::vec3 direction, float angle, float spin) {
    const glm::vec3 axis = rotateAround(perpendicularTo(direction), direction, spin);
    return glm::normalize(rotateAround(direction, axis, angle));
}

// A wandering path: each step turns the heading a little at random.
std::vector<glm::vec3> randomWalk(glm::vec3 start, glm::vec3 direction, float length, int steps,
                                  float wander, Random& random) {
    std::vector<glm::vec3> points{start};
    const float stepLength = length / static_cast<float>(steps);
    for (int step = 0; step < steps; ++step) {
        direction = glm::normalize(direction + random.direction() * wander);
        points.push_back(points.back() + direction * stepLength);
    }
    return points;
}

std::vector<TubeNode> taperedNodes(const std::vector<glm::vec3>& points, float startRadius,
                                   float endRadius) {
    std::vector<TubeNode> nodes;
    const float last = static_cast<float>(points.size() - 1);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const float t = static_cast<float>(i) / last;
        nodes.push_back({points[i], startRadius + (endRadius - startRadius) * t});
    }
    return nodes;
}

TubeStyle dendriteStyle(int level) {
    const int sides[kDendriteLevels] = {6, 5, 3};
    return {sides[level], 2, 0.25f};
}

void growDendrite(const Branch& branch, Random& random, Mesh& membrane) {
    const bool isTip = branch.level == kDendriteLevels - 1;
    const float endRadius = isTip ? kDendriteTipRadius : branch.radius * 0.62f;
    const int steps = isTip ? 3 : 4;
    const std::vector<glm::vec3> points =
        randomWalk(branch.start, branch.direction, branch.length, steps, 0.35f, random);
    membrane.append(
        tube(taperedNodes(points, branch.radius, endRadius), dendriteStyle(branch.level)));
    if (isTip) {
        return;
    }
    const glm::vec3 heading = glm::normalize(points.back() - points[points.size() - 2]);
    const int children = branch.level == 0 && random.unit() < 0.3f ? 3 : 2;
    const float spin = random.range(0.0f, kTwoPi);
    for (int child = 0; child < children; ++child) {
        const float childSpin = spin + kTwoPi * static_cast<float>(child) / children;
        const glm::vec3 direction =
            deflected(heading, radians(random.range(25.0f, 45.0f)), childSpin);
        growDendrite({points.back(), direction, endRadius * 0.9f,
                      branch.length * random.range(0.6f, 0.8f), branch.level + 1},
                     random, membrane);
    }
}

// Spreads dendrite roots over the soma away from the axon: the best of a few candidates is the
// one farthest from the directions already taken.
std::vector<glm::vec3> dendriteDirections(int count, glm::vec3 axonDirection, Random& random) {
    std::vector<glm::vec3> taken{axonDirection};
    for (int dendrite = 0; dendrite < count; ++dendrite) {
        glm::vec3 best = random.direction();
        float bestSeparation = -2.0f;
        for (int candidate = 0; candidate < 12; ++candidate) {
            const glm::vec3 direction = random.direction();
            float nearest = 2.0f;
            for (glm::vec3 other : taken) {
                nearest = std::min(nearest, 1.0f - glm::dot(direction, other));
            }
            if (nearest > bestSeparation) {
                bestSeparation = nearest;
                best = direction;
            }
        }
        taken.push_back(best);
    }
    return {taken.begin() + 1, taken.end()};
}

// Myelin sheaths swell the axon between narrow nodes of Ranvier.
float myelinatedRadius(float baseRadius, float distance) {
    const float phase = std::fmod(distance, 2.4f) / 2.4f;
    const float sheath = smoothStep(0.0f, 0.18f, phase) * smoothStep(1.0f, 0.82f, phase);
    return baseRadius * (0.75f + 0.6f * sheath);
}

std::vector<TubeNode> axonNodes(const std::vector<glm::vec3>& points, float somaRadius) {
    std::vector<TubeNode> nodes;
    float distance = 0.0f;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) {
            distance += glm::length(points[i] - points[i - 1]);
        }
        // The hillock: a cone narrowing out of the cell body before the sheaths start.
        const float hillock = std::max(0.0f, 1.0f - distance / (somaRadius * 1.6f));
        const float radius = myelinatedRadius(0.2f, distance - somaRadius * 1.6f);
        nodes.push_back(
            {points[i], hillock > 0.0f ? 0.15f + hillock * somaRadius * 0.45f : radius});
    }
    return nodes;
}

Mesh terminalBulb(glm::vec3 centre, float radius, std::uint32_t seed) {
    const auto surface = [centre, radius, seed](float u, float v) {
        const float polar = v * kPi;
        const float angle = u * kTwoPi;
        const glm::vec3 direction(std::sin(polar) * std::cos(angle), -std::cos(polar),
                                  -std::sin(polar) * std::sin(angle));
        return centre +
               direction * radius * (1.0f + 0.15f * gradientNoise3(direction * 2.0f, seed));
    };
    return meshFromGrid(sampleSurface(10, 7, surface));
}

void growAxonTerminals(glm::vec3 end, glm::vec3 heading, Random& random, NeuronMeshes& neuron) {
    const int branches = random.integer(4, 6);
    const float spin = random.range(0.0f, kTwoPi);
    for (int branch = 0; branch < branches; ++branch) {
        const float branchSpin = spin + kTwoPi * static_cast<float>(branch) / branches;
        const glm::vec3 direction =
            deflected(heading, radians(random.range(20.0f, 60.0f)), branchSpin);
        const std::vector<glm::vec3> points =
            randomWalk(end, direction, random.range(1.5f, 3.0f), 4, 0.3f, random);
        neuron.membrane.append(tube(taperedNodes(points, 0.12f, 0.07f), {5, 1, 0.25f}));
        const glm::vec3 tipHeading = glm::normalize(points.back() - points[points.size() - 2]);
        const float bulbRadius = random.range(0.35f, 0.55f);
        neuron.terminals.append(terminalBulb(points.back() + tipHeading * bulbRadius * 0.6f,
                                             bulbRadius, random.next()));
    }
}

void growAxon(glm::vec3 direction, float somaRadius, Random& random, NeuronMeshes& neuron) {
    const float length = random.range(11.0f, 14.0f);
    const auto steps = static_cast<int>(length / 0.6f);
    const std::vector<glm::vec3> points =
        randomWalk(direction * somaRadius * 0.5f, direction, length, steps, 0.12f, random);
    neuron.membrane.append(tube(axonNodes(points, somaRadius), {6, 2, 0.25f}));
    const glm::vec3 heading = glm::normalize(points.back() - points[points.size() - 2]);
    growAxonTerminals(points.back(), heading, random, neuron);
}

}  // namespace

NeuronMeshes buildNeuron(int variant) {
    Random random(0x6E657572ULL + static_cast<std::uint64_t>(variant) * 7919ULL);
    NeuronMeshes neuron;
    const float somaRadius = random.range(1.2f, 1.8f);
    neuron.membrane.append(lumpySoma(somaRadius, random.next()));
    const glm::vec3 axonDirection = random.direction();
    const int dendriteCount = random.integer(4, 7);
    for (glm::vec3 direction : dendriteDirections(dendriteCount, axonDirection, random)) {
        const Branch root{direction * somaRadius * 0.6f, direction, somaRadius * 0.28f,
                          random.range(2.6f, 3.8f), 0};
        growDendrite(root, random, neuron.membrane);
    }
    growAxon(axonDirection, somaRadius, random, neuron);
    return neuron;
}

}  // namespace content
