#include "glia.h"

#include <string>

#include <glm/geometric.hpp>

#include "mesh_builder.h"
#include "noise.h"
#include "random.h"
#include "tube.h"
#include "vector_math.h"

namespace content {
namespace {

constexpr int kCellsPerCluster = 12;
constexpr float kClusterSpread = 20.0f;

Mesh gliaBody(float radius, std::uint32_t seed) {
    const auto surface = [radius, seed](float u, float v) {
        const float polar = v * kPi;
        const float angle = u * kTwoPi;
        const glm::vec3 direction(std::sin(polar) * std::cos(angle), -std::cos(polar),
                                  -std::sin(polar) * std::sin(angle));
        return direction * radius * (1.0f + 0.2f * gradientNoise3(direction * 2.0f, seed));
    };
    return meshFromGrid(sampleSurface(6, 5, surface));
}

// A gently bending process that thins from the body to a fine tip.
Mesh gliaProcess(glm::vec3 start, glm::vec3 direction, float radius, Random& random) {
    const float length = random.range(1.2f, 2.6f);
    const glm::vec3 bend = random.direction() * 0.35f;
    std::vector<TubeNode> nodes;
    for (int i = 0; i <= 2; ++i) {
        const float t = static_cast<float>(i) / 2.0f;
        const glm::vec3 heading = glm::normalize(direction + bend * t);
        nodes.push_back({start + heading * length * t, radius * (1.0f - 0.85f * t)});
    }
    return tube(nodes, {3, 1, 0.5f});
}

Mesh gliaCell(glm::vec3 centre, Random& random) {
    const float bodyRadius = random.range(0.3f, 0.45f);
    Mesh cell = gliaBody(bodyRadius, random.next());
    const int processes = random.integer(5, 8);
    for (int process = 0; process < processes; ++process) {
        const glm::vec3 direction = random.direction();
        cell.append(
            gliaProcess(direction * bodyRadius * 0.5f, direction, bodyRadius * 0.4f, random));
    }
    for (Vertex& vertex : cell.vertices) {
        vertex.position += centre;
    }
    return cell;
}

// Cells spread evenly inside a flattened ball around the cluster's centre.
glm::vec3 cellPosition(glm::vec3 clusterCentre, Random& random) {
    const glm::vec3 offset = random.direction() * std::cbrt(random.unit()) * kClusterSpread;
    return clusterCentre + offset * glm::vec3(1.0f, 0.6f, 1.0f);
}

Mesh gliaCluster(int cluster) {
    Random random(0x676C6961ULL + static_cast<std::uint64_t>(cluster) * 104729ULL);
    const float angle = kTwoPi * static_cast<float>(cluster) / kGliaClusters;
    const glm::vec3 clusterCentre(8.0f * std::cos(angle), 2.0f * std::sin(angle * 2.0f),
                                  8.0f * std::sin(angle));
    Mesh mesh;
    for (int cell = 0; cell < kCellsPerCluster; ++cell) {
        mesh.append(gliaCell(cellPosition(clusterCentre, random), random));
    }
    return mesh;
}

}  // namespace

std::vector<NamedMesh> buildGliaClusters() {
    std::vector<NamedMesh> clusters;
    for (int cluster = 0; cluster < kGliaClusters; ++cluster) {
        clusters.push_back({"cluster_" + std::to_string(cluster), gliaCluster(cluster)});
    }
    return clusters;
}

}  // namespace content
