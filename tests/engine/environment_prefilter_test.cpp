// Environment light made from a radiance cube: directions of the faces, the diffuse light's
// harmonic terms against values worked out by hand, and prefiltering that blurs but keeps the
// light's total.
#include <gtest/gtest.h>

#include <cmath>

#include <glm/geometric.hpp>

#include "engine/resources/environment_prefilter.h"

using namespace engine;

namespace {

// A cube whose texels take the radiance of their direction.
template <typename Radiance>
RadianceCube cubeOf(int size, Radiance radiance) {
    RadianceCube cube;
    cube.size = size;
    for (int face = 0; face < 6; ++face) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                cube.faces[static_cast<std::size_t>(face)].push_back(
                    radiance(cubeDirection(face, (x + 0.5f) / static_cast<float>(size),
                                           (y + 0.5f) / static_cast<float>(size))));
            }
        }
    }
    return cube;
}

// The mean of a cube's red channel over the sphere, weighted by each texel's solid angle
// (approximated by the texel's foreshortening).
float meanRed(const RadianceCube& cube) {
    double sum = 0.0;
    double weights = 0.0;
    for (int face = 0; face < 6; ++face) {
        for (int y = 0; y < cube.size; ++y) {
            for (int x = 0; x < cube.size; ++x) {
                const float u = 2.0f * (x + 0.5f) / cube.size - 1.0f;
                const float v = 2.0f * (y + 0.5f) / cube.size - 1.0f;
                const double weight = std::pow(1.0 + u * u + v * v, -1.5);
                sum += weight * cube.faces[static_cast<std::size_t>(face)]
                                          [static_cast<std::size_t>(y * cube.size + x)]
                                              .r;
                weights += weight;
            }
        }
    }
    return static_cast<float>(sum / weights);
}

}  // namespace

TEST(EnvironmentPrefilter, FaceCentresPointAlongTheAxesInOpenGLsOrder) {
    const glm::vec3 axes[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int face = 0; face < 6; ++face) {
        EXPECT_LT(glm::distance(cubeDirection(face, 0.5f, 0.5f), axes[face]), 1e-6f) << face;
    }
    // The first row of a side face looks up, as the first row of a sky picture does.
    EXPECT_GT(cubeDirection(0, 0.5f, 0.0f).y, 0.5f);
    EXPECT_GT(cubeDirection(5, 0.5f, 0.0f).y, 0.5f);
    // +x's first column looks towards +z, -z's towards +x (OpenGL's face layout).
    EXPECT_GT(cubeDirection(0, 0.0f, 0.5f).z, 0.5f);
    EXPECT_GT(cubeDirection(5, 0.0f, 0.5f).x, 0.5f);
}

TEST(EnvironmentPrefilter, AUniformEnvironmentStaysUniformAtEveryRoughness) {
    const glm::vec3 grey(0.5f, 0.25f, 2.0f);
    const PrefilteredEnvironment environment =
        prefilterEnvironment(cubeOf(48, [&](glm::vec3) { return grey; }), 2);
    ASSERT_EQ(environment.levels.size(), static_cast<std::size_t>(kEnvironmentLevels));
    for (std::size_t level = 0; level < environment.levels.size(); ++level) {
        const RadianceCube& cube = environment.levels[level];
        EXPECT_EQ(cube.size, kEnvironmentSize >> level);
        for (const std::vector<glm::vec3>& face : cube.faces) {
            for (const glm::vec3& texel : face) {
                ASSERT_LT(glm::distance(texel, grey), 1e-4f) << "level " << level;
            }
        }
    }
    for (const glm::vec3& normal : {glm::vec3(0, 1, 0), glm::normalize(glm::vec3(1, -2, 3))}) {
        EXPECT_LT(glm::distance(irradianceTowards(environment, normal), grey), 2e-3f);
    }
}

// Light from the upper half only: a surface facing up sees all of it, one facing down none,
// one facing sideways half (nine harmonic terms approximate this step within a few per cent).
TEST(EnvironmentPrefilter, TheDiffuseLightOfAnUpperHemisphereFollowsTheCosineLaw) {
    const PrefilteredEnvironment environment = prefilterEnvironment(
        cubeOf(32, [](glm::vec3 d) { return glm::vec3(d.y > 0.0f ? 1.0f : 0.0f); }), 2);
    EXPECT_NEAR(irradianceTowards(environment, {0, 1, 0}).r, 1.0f, 0.06f);
    EXPECT_NEAR(irradianceTowards(environment, {0, -1, 0}).r, 0.0f, 0.06f);
    EXPECT_NEAR(irradianceTowards(environment, {1, 0, 0}).r, 0.5f, 0.03f);
    EXPECT_NEAR(irradianceTowards(environment, {0, 0, -1}).g, 0.5f, 0.03f);
}

// One bright spot: rougher levels spread it wider and dimmer, and each keeps the light's total.
TEST(EnvironmentPrefilter, RougherLevelsSpreadASpotAndKeepItsTotal) {
    const glm::vec3 spot = glm::normalize(glm::vec3(0.3f, 0.2f, -1.0f));
    const PrefilteredEnvironment environment = prefilterEnvironment(
        cubeOf(128,
               [&](glm::vec3 d) { return glm::vec3(glm::dot(d, spot) > 0.97f ? 50.0f : 1.0f); }),
        2);
    const float total = meanRed(environment.levels[0]);
    float previousPeak = 1e9f;
    for (std::size_t level = 1; level < environment.levels.size(); ++level) {
        // Small levels are measured at a finer size, where the sum approximates the integral.
        EXPECT_NEAR(meanRed(resizedCube(environment.levels[level], 64)), total, 0.05f * total)
            << level;
        float peak = 0.0f;
        for (const std::vector<glm::vec3>& face : environment.levels[level].faces) {
            for (const glm::vec3& texel : face) {
                peak = std::max(peak, texel.r);
            }
        }
        EXPECT_LT(peak, previousPeak) << level;
        previousPeak = peak;
    }
    EXPECT_LT(previousPeak, 10.0f);
}

TEST(EnvironmentPrefilter, CubesOfAnySizeResizeToTheEnvironmentsSize) {
    const RadianceCube odd =
        cubeOf(37, [](glm::vec3 d) { return glm::vec3(d.x > 0.0f ? 3.0f : 1.0f); });
    const RadianceCube resized = resizedCube(odd, 16);
    EXPECT_EQ(resized.size, 16);
    EXPECT_NEAR(resized.faces[0][8 * 16 + 8].r, 3.0f, 1e-4f);
    EXPECT_NEAR(resized.faces[1][8 * 16 + 8].r, 1.0f, 1e-4f);
    EXPECT_NEAR(meanRed(resized), meanRed(odd), 0.05f);
}
