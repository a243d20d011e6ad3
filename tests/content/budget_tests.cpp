#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include <gtest/gtest.h>
#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include "expected_files.h"
#include "generated_content.h"
#include "mesh_checks.h"
#include "world_layout_file.h"

namespace content_tests {
namespace {

constexpr std::size_t kWorldTriangleBudget = 300000;
constexpr std::size_t kDataBudgetBytes = 32U * 1024U * 1024U;
constexpr std::size_t kDrawCallBudget = 400;
constexpr std::size_t kViewTriangleBudget = 80000;

struct ModelCost {
    std::size_t triangles = 0;
    std::size_t drawCalls = 0;
};

ModelCost costOf(const std::string& name) {
    const GlbFile model = generatedModel(name);
    return {triangleCount(model), primitiveCount(model)};
}

// Every placed instance, plus the statue, its pedestal and the sky placed once each.
ModelCost worldCost() {
    const LayoutFile layout = readGeneratedLayout();
    std::map<std::string, ModelCost> costs;
    ModelCost total;
    const auto add = [&](const std::string& model) {
        if (costs.count(model) == 0) {
            costs[model] = costOf(model);
        }
        total.triangles += costs[model].triangles;
        total.drawCalls += costs[model].drawCalls;
    };
    for (const LayoutInstance& instance : layout.neurons) {
        add(instance.model);
    }
    for (const LayoutInstance& instance : layout.glia) {
        add(instance.model);
    }
    for (const char* model : {"hebe_statue.glb", "pedestal.glb", "sky.glb"}) {
        add(model);
    }
    return total;
}

struct PlacedModel {
    glm::vec3 centre;
    float radius;
    std::size_t triangles;
};

std::vector<PlacedModel> placedModels() {
    const LayoutFile layout = readGeneratedLayout();
    std::map<std::string, GlbFile> models;
    std::vector<PlacedModel> placed;
    std::vector<LayoutInstance> instances = layout.neurons;
    instances.insert(instances.end(), layout.glia.begin(), layout.glia.end());
    for (const LayoutInstance& instance : instances) {
        if (models.count(instance.model) == 0) {
            models[instance.model] = generatedModel(instance.model);
        }
        const GlbFile& model = models[instance.model];
        placed.push_back(
            {instance.position, radiusAroundOrigin(model) * instance.scale, triangleCount(model)});
    }
    return placed;
}

// Whether a sphere reaches into the view from the origin along `forward`, with a 60 degree
// vertical field of view on a 16:9 screen.
bool inView(glm::vec3 forward, glm::vec3 centre, float radius) {
    const glm::vec3 right = glm::normalize(glm::cross(forward, glm::vec3(0.0f, 1.0f, 0.0f)));
    const glm::vec3 up = glm::cross(right, forward);
    const float vertical = glm::radians(30.0f);
    const float horizontal = std::atan(std::tan(vertical) * 16.0f / 9.0f);
    const glm::vec3 outward[] = {right * std::cos(horizontal) - forward * std::sin(horizontal),
                                 -right * std::cos(horizontal) - forward * std::sin(horizontal),
                                 up * std::cos(vertical) - forward * std::sin(vertical),
                                 -up * std::cos(vertical) - forward * std::sin(vertical), -forward};
    return std::none_of(std::begin(outward), std::end(outward),
                        [&](glm::vec3 normal) { return glm::dot(centre, normal) > radius; });
}

TEST(ContentBudget, ViewsFromTheStartStayWithinTheViewBudget) {
    const std::vector<PlacedModel> placed = placedModels();
    // The statue, pedestal and sky count in every view.
    const std::size_t alwaysDrawn = costOf("hebe_statue.glb").triangles +
                                    costOf("pedestal.glb").triangles + costOf("sky.glb").triangles;
    std::size_t worst = 0;
    for (int yaw = 0; yaw < 360; yaw += 15) {
        for (int pitch = -60; pitch <= 60; pitch += 30) {
            const float y = glm::radians(static_cast<float>(yaw));
            const float p = glm::radians(static_cast<float>(pitch));
            const glm::vec3 forward(-std::sin(y) * std::cos(p), std::sin(p),
                                    -std::cos(y) * std::cos(p));
            std::size_t triangles = alwaysDrawn;
            for (const PlacedModel& model : placed) {
                triangles += inView(forward, model.centre, model.radius) ? model.triangles : 0;
            }
            worst = std::max(worst, triangles);
        }
    }
    EXPECT_LE(worst, kViewTriangleBudget);
}

TEST(ContentBudget, TheWholeWorldStaysWithinTheTriangleBudget) {
    const ModelCost world = worldCost();
    EXPECT_LE(world.triangles, kWorldTriangleBudget);
    EXPECT_EQ(world.triangles, generatedRuns().summary.worldTriangles);
}

TEST(ContentBudget, EvenWithEverythingInViewDrawCallsStayWithinBudget) {
    EXPECT_LE(worldCost().drawCalls, kDrawCallBudget);
}

TEST(ContentBudget, AllFilesTogetherStayWithinTheDataBudget) {
    std::size_t total = 0;
    for (const std::string& name : expectedFiles()) {
        total += std::filesystem::file_size(generatedRuns().first / name);
    }
    EXPECT_LE(total, kDataBudgetBytes);
    EXPECT_EQ(total, generatedRuns().summary.totalBytes);
}

}  // namespace
}  // namespace content_tests
