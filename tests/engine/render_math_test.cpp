// The display-free arithmetic of drawing: view volumes, boxes, which lights light a frame, when
// a view counts as turned and how much anisotropic filtering textures get.
#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/gpu/gl_capabilities.h"
#include "engine/render/frustum.h"
#include "engine/render/light_set.h"
#include "engine/render/view_key.h"

using namespace engine;

namespace {

// A camera at the origin looking along -z, 90 degrees wide, seeing from 0.1 to 100.
Frustum cameraFrustum() {
    return Frustum(glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f));
}

BoundingBox boxAround(glm::vec3 center, float halfSize) {
    return BoundingBox{center - glm::vec3(halfSize), center + glm::vec3(halfSize)};
}

SceneLight light(H3DNode node, glm::vec3 position, float radius, bool castsShadows = false) {
    SceneLight made;
    made.node = node;
    made.position = position;
    made.radius = radius;
    made.castsShadows = castsShadows;
    return made;
}

}  // namespace

TEST(Frustum, KeepsWhatMayBeSeenAndDropsWhatCannot) {
    const Frustum view = cameraFrustum();
    EXPECT_TRUE(view.mayContain(boxAround({0, 0, -10}, 1)));
    EXPECT_TRUE(view.mayContain(boxAround({0, 0, 0}, 1))) << "around the camera";
    EXPECT_TRUE(view.mayContain(boxAround({10.5f, 0, -10}, 1))) << "across the right plane";
    EXPECT_FALSE(view.mayContain(boxAround({0, 0, 10}, 1))) << "behind";
    EXPECT_FALSE(view.mayContain(boxAround({13, 0, -10}, 1))) << "right of the view";
    EXPECT_FALSE(view.mayContain(boxAround({0, 0, -120}, 1))) << "beyond the far plane";
    EXPECT_TRUE(view.mayContain(glm::vec3(0, 0, 5), 6.0f));
    EXPECT_FALSE(view.mayContain(glm::vec3(0, 0, 5), 4.0f));
}

TEST(BoundingBox, FollowsItsTransform) {
    const BoundingBox unit = boxAround({0, 0, 0}, 1);
    const glm::mat4 turned = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0)),
                                         glm::radians(45.0f), glm::vec3(0, 1, 0));
    const BoundingBox placed = transformedBox(unit, turned);
    EXPECT_NEAR(placed.minimum.x, 5.0f - std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(placed.maximum.z, std::sqrt(2.0f), 1e-5f);
    EXPECT_NEAR(placed.maximum.y, 1.0f, 1e-5f);
    EXPECT_TRUE(BoundingBox().empty());
    EXPECT_TRUE(transformedBox(BoundingBox(), turned).empty());
}

TEST(LightSelector, TheShadowCasterComesFirstThenTheNearest) {
    std::vector<SceneLight> lights = {light(2, {0, 0, -30}, 50), light(3, {0, 0, -5}, 50),
                                      light(4, {0, 0, -60}, 50, true), light(5, {0, 0, -10}, 50)};
    LightSelector selector;
    const LightSet& set = selector.select(lights, cameraFrustum(), glm::vec3(0.0f));
    ASSERT_EQ(set.count, 4);
    ASSERT_NE(set.shadowLight, nullptr);
    EXPECT_EQ(set.shadowLight->node, 4);
    EXPECT_EQ(set.positions[0].z, -60.0f);
    EXPECT_EQ(set.colors[0].a, 1.0f);
    EXPECT_EQ(set.positions[1].z, -5.0f);
    EXPECT_EQ(set.positions[2].z, -10.0f);
    EXPECT_EQ(set.positions[3].z, -30.0f);
    EXPECT_EQ(set.colors[3].a, 0.0f);
    EXPECT_FLOAT_EQ(set.positions[1].w, 1.0f / 2500.0f);
}

TEST(LightSelector, LightsThatCannotReachTheViewAreLeftOut) {
    std::vector<SceneLight> lights = {light(2, {0, 0, 30}, 10, true), light(3, {0, 0, -5}, 10)};
    LightSelector selector;
    const LightSet& set = selector.select(lights, cameraFrustum(), glm::vec3(0.0f));
    ASSERT_EQ(set.count, 1);
    EXPECT_EQ(set.shadowLight, nullptr) << "the shadow caster lies far behind the camera";
    EXPECT_EQ(set.positions[0].z, -5.0f);
    EXPECT_EQ(set.colors[0].a, 0.0f);
}

TEST(LightSelector, ShapedLightsFollowThePlainOnesWithTheirDirectionsAndCones) {
    SceneLight sun = light(2, {0, 500, 0}, 0);
    sun.kind = LightKind::Directional;
    sun.direction = {0, -1, 0};
    SceneLight spot = light(3, {0, 0, -2}, 50);
    spot.kind = LightKind::Spot;
    spot.innerConeAngle = 0.0f;
    spot.outerConeAngle = 1.0471976f;
    spot.inverseSquare = true;
    std::vector<SceneLight> lights = {sun, spot, light(4, {0, 0, -40}, 50, true),
                                      light(5, {0, 0, -20}, 50)};
    LightSelector selector;
    const LightSet& set = selector.select(lights, cameraFrustum(), glm::vec3(0.0f));
    ASSERT_EQ(set.count, 4);
    // The key light, the plain point light, then the directional (nearest) and the spot light.
    EXPECT_EQ(set.plainCount, 2);
    EXPECT_EQ(set.positions[1].z, -20.0f);
    EXPECT_EQ(set.directions[2], glm::vec4(0, -1, 0, 1));
    EXPECT_EQ(set.positions[2].w, 0.0f) << "no falloff";
    EXPECT_EQ(set.cones[3].z, 1.0f) << "inverse square";
    // Full light on the axis (cosine 1), none at the outer cone (cosine 0.5).
    EXPECT_FLOAT_EQ(set.cones[3].x * 1.0f + set.cones[3].y, 1.0f);
    EXPECT_NEAR(set.cones[3].x * 0.5f + set.cones[3].y, 0.0f, 1e-5f);
    EXPECT_EQ(set.cones[1], glm::vec4(0, 1, 0, 0));
    // A directional light is never the shadow caster and reaches every box.
    lights = {sun};
    lights[0].castsShadows = true;
    const LightSet& sunOnly = selector.select(lights, cameraFrustum(), glm::vec3(0.0f));
    EXPECT_EQ(sunOnly.shadowLight, nullptr);
    EXPECT_EQ(sunOnly.plainCount, 0);
    EXPECT_TRUE(keyLightMayReach(sunOnly, boxAround({900, 0, 900}, 1)));
}

TEST(LightSelector, AtMostEightLightsTakePart) {
    std::vector<SceneLight> lights;
    for (int index = 0; index < 12; ++index) {
        lights.push_back(light(index + 2, {0, 0, -1.0f - static_cast<float>(index)}, 50));
    }
    LightSelector selector;
    const LightSet& set = selector.select(lights, cameraFrustum(), glm::vec3(0.0f));
    EXPECT_EQ(set.count, kMaximumLights);
    EXPECT_EQ(set.positions[kMaximumLights - 1].z, -8.0f);
}

TEST(ViewKey, SmallTurnsAndMovesKeepTheKeyLargerTurnsChangeIt) {
    ViewKey key;
    key.valid = true;
    key.camera = 2;
    key.directionProjection = glm::perspective(glm::radians(60.0f), 1.5f, 0.1f, 100.0f);
    ViewKey same = key;
    same.directionProjection =
        glm::rotate(key.directionProjection, glm::radians(0.001f), glm::vec3(0, 1, 0));
    EXPECT_TRUE(key.sameAs(same));
    ViewKey turned = key;
    turned.directionProjection =
        glm::rotate(key.directionProjection, glm::radians(0.5f), glm::vec3(0, 1, 0));
    EXPECT_FALSE(key.sameAs(turned));
    ViewKey remade = key;
    remade.targetsGeneration = 1;
    EXPECT_FALSE(key.sameAs(remade));
    EXPECT_FALSE(ViewKey().sameAs(ViewKey())) << "nothing drawn yet";
}

TEST(Anisotropy, FollowsTheOptionWithinWhatTheDriverOffers) {
    GlCapabilities hardware;
    hardware.anisotropicFiltering = true;
    hardware.maxAnisotropy = 16.0f;
    hardware.rendererName = "NVIDIA H100 PCIe/PCIe/SSE2";
    EXPECT_FLOAT_EQ(usableAnisotropy(hardware, 16), 16.0f);
    EXPECT_FLOAT_EQ(usableAnisotropy(hardware, 4), 4.0f);
    EXPECT_FLOAT_EQ(usableAnisotropy(hardware, 64), 16.0f);
    EXPECT_FLOAT_EQ(usableAnisotropy(hardware, 0), 1.0f);
    EXPECT_FLOAT_EQ(usableAnisotropy(hardware, -3), 1.0f);

    GlCapabilities without = hardware;
    without.anisotropicFiltering = false;
    EXPECT_FLOAT_EQ(usableAnisotropy(without, 16), 1.0f);
}

TEST(Anisotropy, StaysOffOnSoftwareRasterizers) {
    EXPECT_TRUE(isSoftwareRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(isSoftwareRasterizer("softpipe"));
    EXPECT_TRUE(isSoftwareRasterizer("Google SwiftShader"));
    EXPECT_FALSE(isSoftwareRasterizer("NVIDIA H100 PCIe/PCIe/SSE2"));
    EXPECT_FALSE(isSoftwareRasterizer("AMD Radeon RX 7900 XTX (radeonsi, navi31, LLVM 15.0.7)"));
    EXPECT_FALSE(isSoftwareRasterizer(""));

    GlCapabilities software;
    software.anisotropicFiltering = true;
    software.maxAnisotropy = 16.0f;
    software.softwareRasterizer = true;
    EXPECT_FLOAT_EQ(usableAnisotropy(software, 16), 1.0f);
}

TEST(KeyLightReach, CoversBoxesTheFirstLightsSphereTouches) {
    LightSet lights;
    EXPECT_FALSE(keyLightMayReach(lights, boxAround({0, 0, 0}, 1))) << "no light at all";

    lights.count = 2;
    lights.positions[0] = glm::vec4(0, 0, 0, 1.0f / (5.0f * 5.0f));
    lights.positions[1] = glm::vec4(100, 0, 0, 1.0f);
    EXPECT_TRUE(keyLightMayReach(lights, boxAround({0, 0, 0}, 1))) << "around the light";
    EXPECT_TRUE(keyLightMayReach(lights, boxAround({5.9f, 0, 0}, 1))) << "near face inside";
    EXPECT_FALSE(keyLightMayReach(lights, boxAround({6.1f, 0, 0}, 1))) << "just beyond";
    // A box's corner lies further than its faces: 4.2 along each axis is 7.3 away.
    EXPECT_FALSE(keyLightMayReach(lights, boxAround({5.2f, 5.2f, 5.2f}, 1))) << "corner beyond";
    EXPECT_FALSE(keyLightMayReach(lights, boxAround({100, 0, 0}, 1))) << "only the second light";
    EXPECT_FALSE(keyLightMayReach(lights, BoundingBox{})) << "an empty box";
}
