// The hierarchy over mesh boxes must find exactly what testing every box would find, whatever
// the scene and the view; random scenes and views from fixed seeds check it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/render/frustum.h"
#include "engine/render/mesh_hierarchy.h"

using namespace engine;

namespace {

// Clustered boxes of mixed sizes in a cube of the given side, with a few empty ones.
std::vector<BoundingBox> randomScene(std::mt19937& random, std::size_t count, float side) {
    std::uniform_real_distribution<float> position(-side / 2, side / 2);
    std::uniform_real_distribution<float> size(0.01f, side / 20);
    std::uniform_int_distribution<int> empty(0, 50);
    std::vector<BoundingBox> boxes(count);
    glm::vec3 cluster(0.0f);
    for (std::size_t index = 0; index < count; ++index) {
        if (index % 64 == 0) {
            cluster = glm::vec3(position(random), position(random), position(random));
        }
        if (empty(random) == 0) {
            continue;
        }
        const glm::vec3 center =
            cluster + 0.2f * glm::vec3(position(random), position(random), position(random));
        const glm::vec3 half(size(random), size(random), size(random));
        boxes[index] = BoundingBox{center - half, center + half};
    }
    return boxes;
}

Frustum randomView(std::mt19937& random, float side) {
    std::uniform_real_distribution<float> position(-side / 2, side / 2);
    std::uniform_real_distribution<float> angle(10.0f, 120.0f);
    std::uniform_real_distribution<float> far(side / 10, side * 2);
    const glm::vec3 eye(position(random), position(random), position(random));
    const glm::vec3 target(position(random), position(random), position(random) + 0.5f);
    const glm::mat4 projection =
        glm::perspective(glm::radians(angle(random)), 1.5f, 0.1f, far(random));
    return Frustum(projection * glm::lookAt(eye, target, glm::vec3(0, 1, 0)));
}

std::vector<std::size_t> culled(const MeshHierarchy& hierarchy, const Frustum& view) {
    std::vector<std::size_t> found;
    hierarchy.cull(view, [&](std::size_t item) { found.push_back(item); });
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::size_t> bruteForce(const std::vector<BoundingBox>& boxes, const Frustum& view) {
    std::vector<std::size_t> found;
    for (std::size_t index = 0; index < boxes.size(); ++index) {
        if (!boxes[index].empty() && view.mayContain(boxes[index])) {
            found.push_back(index);
        }
    }
    return found;
}

}  // namespace

TEST(MeshHierarchy, FindsExactlyWhatTestingEveryBoxFinds) {
    std::mt19937 random(1313);
    for (std::size_t count : {0u, 1u, 31u, 33u, 500u, 5000u}) {
        const float side = count < 100 ? 20.0f : 400.0f;
        MeshHierarchy hierarchy;
        const std::vector<BoundingBox> boxes = randomScene(random, count, side);
        hierarchy.build(boxes);
        int partialViews = 0;
        for (int view = 0; view < 40; ++view) {
            const Frustum frustum = randomView(random, side);
            const std::vector<std::size_t> expected = bruteForce(boxes, frustum);
            ASSERT_EQ(culled(hierarchy, frustum), expected) << count << " boxes, view " << view;
            partialViews += !expected.empty() && expected.size() < count / 2 ? 1 : 0;
        }
        // The views must cut through the scenes for the comparison to mean anything.
        if (count >= 500) {
            EXPECT_GT(partialViews, 5) << count << " boxes";
        }
    }
}

TEST(MeshHierarchy, HoldsEveryBoxedItemOnceInLeavesNoLargerThanTheLeafSize) {
    std::mt19937 random(7);
    const std::vector<BoundingBox> boxes = randomScene(random, 3000, 100.0f);
    MeshHierarchy hierarchy;
    hierarchy.build(boxes);
    std::vector<int> seen(boxes.size(), 0);
    hierarchy.forEachLeaf([&](const std::size_t* items, std::size_t count) {
        EXPECT_LE(count, MeshHierarchy::kLeafSize);
        for (std::size_t index = 0; index < count; ++index) {
            ++seen[items[index]];
        }
    });
    for (std::size_t index = 0; index < boxes.size(); ++index) {
        EXPECT_EQ(seen[index], boxes[index].empty() ? 0 : 1) << "item " << index;
    }
}

TEST(MeshHierarchy, ABoxWhollyInsideTheViewIsContainedAndOneAcrossAPlaneIsNot) {
    const Frustum view(glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f));
    EXPECT_TRUE(view.containsWholly(BoundingBox{{-1, -1, -12}, {1, 1, -10}}));
    EXPECT_FALSE(view.containsWholly(BoundingBox{{9, -1, -12}, {12, 1, -10}}));
    EXPECT_FALSE(view.containsWholly(BoundingBox{{-1, -1, -101}, {1, 1, -99}}));
}
