// The orbit: the camera keeps looking at the centre from the same distance while it turns, the
// wheel changes only the distance, and a pan moves the centre across the view.
#include <gtest/gtest.h>

#include <cmath>

#include "app/orbit_camera.h"

namespace {

const Point3 kCentre{0.0f, 1.0f, -12.0f};

float distanceBetween(const Point3& a, const Point3& b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Where the camera at this pose looks, distance units ahead.
Point3 lookedAt(const CameraPose& pose, float distance) {
    const float yaw = pose.yaw * 0.017453292f;
    const float pitch = pose.pitch * 0.017453292f;
    return {pose.position.x - std::sin(yaw) * std::cos(pitch) * distance,
            pose.position.y + std::sin(pitch) * distance,
            pose.position.z - std::cos(yaw) * std::cos(pitch) * distance};
}

OrbitCamera orbitFromStart() {
    OrbitCamera orbit;
    orbit.aimFrom(CameraPose{{0.0f, 1.0f, 0.0f}, 0.0f, 0.0f}, kCentre);
    return orbit;
}

}  // namespace

TEST(OrbitCameraTest, AimedFromTheStartItKeepsTheStartPose) {
    const CameraPose pose = orbitFromStart().pose();
    EXPECT_NEAR(pose.position.x, 0.0f, 1e-5f);
    EXPECT_NEAR(pose.position.y, 1.0f, 1e-5f);
    EXPECT_NEAR(pose.position.z, 0.0f, 1e-5f);
    EXPECT_EQ(pose.yaw, 0.0f);
    EXPECT_EQ(pose.pitch, 0.0f);
}

TEST(OrbitCameraTest, TurningKeepsTheCentreAheadAtTheSameDistance) {
    OrbitCamera orbit = orbitFromStart();
    for (const auto& [dx, dy] : {std::pair{150.0f, 0.0f}, {0.0f, -80.0f}, {-400.0f, 30.0f}}) {
        orbit.turn(dx, dy);
        const CameraPose pose = orbit.pose();
        EXPECT_NEAR(distanceBetween(pose.position, kCentre), 12.0f, 1e-3f);
        const Point3 seen = lookedAt(pose, 12.0f);
        EXPECT_NEAR(distanceBetween(seen, kCentre), 0.0f, 1e-3f) << dx << ", " << dy;
    }
}

TEST(OrbitCameraTest, DraggingRightAndDownShowsTheModelsLeftSideAndTop) {
    OrbitCamera orbit = orbitFromStart();
    orbit.turn(100.0f, 0.0f);
    EXPECT_LT(orbit.pose().position.x, 0.0f);
    orbit.turn(0.0f, 100.0f);
    EXPECT_GT(orbit.pose().position.y, kCentre.y);
    EXPECT_LT(orbit.pose().pitch, 0.0f) << "looking down at the centre";
}

TEST(OrbitCameraTest, ThePitchStopsShortOfStraightUpOrDown) {
    OrbitCamera orbit = orbitFromStart();
    orbit.turn(0.0f, 10000.0f);
    EXPECT_EQ(orbit.pose().pitch, -89.0f);
    orbit.turn(0.0f, -20000.0f);
    EXPECT_EQ(orbit.pose().pitch, 89.0f);
}

TEST(OrbitCameraTest, TheWheelChangesOnlyTheDistance) {
    OrbitCamera orbit = orbitFromStart();
    orbit.turn(70.0f, 20.0f);
    const float yaw = orbit.pose().yaw;
    orbit.zoom(2);
    EXPECT_NEAR(orbit.distance(), 12.0f * 0.64f, 1e-4f);
    EXPECT_EQ(orbit.pose().yaw, yaw);
    EXPECT_NEAR(distanceBetween(lookedAt(orbit.pose(), orbit.distance()), kCentre), 0.0f, 1e-3f);
    orbit.zoom(-2);
    EXPECT_NEAR(orbit.distance(), 12.0f, 1e-4f);
    orbit.zoom(1000);
    EXPECT_GT(orbit.distance(), 0.0f) << "never reaches the centre";
}

TEST(OrbitCameraTest, PanningMovesTheCentreAcrossTheViewAgainstTheDrag) {
    OrbitCamera orbit = orbitFromStart();
    orbit.pan(100.0f, 0.0f);
    EXPECT_LT(orbit.centre().x, kCentre.x);
    EXPECT_FLOAT_EQ(orbit.centre().y, kCentre.y);
    EXPECT_FLOAT_EQ(orbit.centre().z, kCentre.z);
    orbit.pan(0.0f, 100.0f);
    EXPECT_GT(orbit.centre().y, kCentre.y);
    EXPECT_NEAR(orbit.distance(), 12.0f, 1e-5f);
}
