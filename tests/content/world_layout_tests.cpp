#include <algorithm>
#include <map>
#include <string>

#include <gtest/gtest.h>
#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "mesh_checks.h"
#include "world_layout_file.h"

namespace content_tests {
namespace {

// The view from the start to a little past the statue: a capsule around this segment.
float distanceFromCorridorAxis(glm::vec3 point) {
    const glm::vec3 from(0.0f, 0.0f, 6.0f);
    const glm::vec3 to(0.0f, 0.0f, -12.0f);
    const glm::vec3 axis = to - from;
    const float along = glm::clamp(glm::dot(point - from, axis) / glm::dot(axis, axis), 0.0f, 1.0f);
    return glm::length(point - (from + axis * along));
}

std::map<std::string, float> modelRadii() {
    std::map<std::string, float> radii;
    for (int variant = 0; variant < 6; ++variant) {
        const std::string name = "neuron_" + std::to_string(variant) + ".glb";
        radii[name] = radiusAroundOrigin(generatedModel(name));
    }
    radii["glia.glb"] = radiusAroundOrigin(generatedModel("glia.glb"));
    return radii;
}

TEST(ContentLayout, PlacesAFewDozenNeuronsAndEightGliaClusters) {
    const LayoutFile layout = readGeneratedLayout();
    EXPECT_GE(layout.neurons.size(), 24U);
    EXPECT_LE(layout.neurons.size(), 60U);
    EXPECT_EQ(layout.glia.size(), 8U);
    EXPECT_TRUE(layout.unknownElements.empty());
}

TEST(ContentLayout, EveryMeshHasAMaterial) {
    const LayoutFile layout = readGeneratedLayout();
    for (const LayoutInstance& neuron : layout.neurons) {
        ASSERT_EQ(neuron.materials.size(), 2U) << neuron.model;
        EXPECT_EQ(neuron.materials[0].first, "membrane");
        EXPECT_EQ(neuron.materials[0].second.rfind("membrane_", 0), 0U);
        EXPECT_EQ(neuron.materials[1],
                  (std::pair<std::string, std::string>{"terminals", "terminal.material.xml"}));
    }
    for (const LayoutInstance& glia : layout.glia) {
        ASSERT_EQ(glia.materials.size(), 1U);
        EXPECT_EQ(glia.materials[0].second, "glia.material.xml");
    }
}

TEST(ContentLayout, InstancesUseExistingModelsWithSaneTransforms) {
    const LayoutFile layout = readGeneratedLayout();
    const std::map<std::string, float> radii = modelRadii();
    std::map<std::string, int> uses;
    for (const LayoutInstance& neuron : layout.neurons) {
        EXPECT_EQ(radii.count(neuron.model), 1U) << neuron.model;
        EXPECT_GE(neuron.scale, 0.6f);
        EXPECT_LE(neuron.scale, 1.6f);
        EXPECT_LE(glm::length(neuron.position), 100.0f);
        ++uses[neuron.model];
    }
    EXPECT_EQ(uses.size(), 6U) << "every neuron variant is used";
    for (const LayoutInstance& glia : layout.glia) {
        EXPECT_EQ(glia.model, "glia.glb");
        EXPECT_GT(glia.scale, 0.0f);
    }
}

TEST(ContentLayout, KeepsTheViewFromTheStartToTheStatueClear) {
    const LayoutFile layout = readGeneratedLayout();
    const std::map<std::string, float> radii = modelRadii();
    std::vector<LayoutInstance> instances = layout.neurons;
    instances.insert(instances.end(), layout.glia.begin(), layout.glia.end());
    for (const LayoutInstance& instance : instances) {
        const float reach = radii.at(instance.model) * instance.scale;
        // Positions are written to two decimals; allow for that rounding.
        EXPECT_GE(distanceFromCorridorAxis(instance.position) + 0.02f, 8.0f + reach)
            << instance.model << " at " << instance.position.x << " " << instance.position.y << " "
            << instance.position.z;
    }
}

}  // namespace
}  // namespace content_tests
