#include "app/orbit_camera.h"

#include <algorithm>
#include <cmath>

namespace {

const float kRadiansPerDegree = 0.017453292f;
const float kDegreesPerPixel = 0.3f;
// Short of straight up or down, where the yaw would lose its meaning.
const float kPitchLimit = 89.0f;
const float kZoomPerStep = 0.8f;
// Panning moves the centre by this share of the distance per pixel, so the model follows the
// cursor about as far at any distance.
const float kPanPerPixel = 0.0015f;
const float kNearestDistance = 0.05f;
const float kFarthestDistance = 900.0f;

// The view direction of a camera at this yaw and pitch (see the scene graph's rotations).
Point3 viewDirection(float yawDegrees, float pitchDegrees) {
    const float yaw = yawDegrees * kRadiansPerDegree;
    const float pitch = pitchDegrees * kRadiansPerDegree;
    return {-std::sin(yaw) * std::cos(pitch), std::sin(pitch), -std::cos(yaw) * std::cos(pitch)};
}

}  // namespace

void OrbitCamera::aimFrom(const CameraPose& camera, const Point3& centre) {
    centre_ = centre;
    const float dx = centre.x - camera.position.x;
    const float dy = centre.y - camera.position.y;
    const float dz = centre.z - camera.position.z;
    distance_ =
        std::clamp(std::sqrt(dx * dx + dy * dy + dz * dz), kNearestDistance, kFarthestDistance);
    yaw_ = camera.yaw;
    pitch_ = std::clamp(camera.pitch, -kPitchLimit, kPitchLimit);
}

// Dragging right carries the model round to the right, as if it were turned by hand.
void OrbitCamera::turn(float dx, float dy) {
    yaw_ -= dx * kDegreesPerPixel;
    pitch_ = std::clamp(pitch_ - dy * kDegreesPerPixel, -kPitchLimit, kPitchLimit);
}

// The centre moves against the drag in the view's plane, so the model follows the cursor.
void OrbitCamera::pan(float dx, float dy) {
    const float yaw = yaw_ * kRadiansPerDegree;
    const float pitch = pitch_ * kRadiansPerDegree;
    const Point3 right{std::cos(yaw), 0.0f, -std::sin(yaw)};
    const Point3 up{std::sin(yaw) * std::sin(pitch), std::cos(pitch),
                    std::cos(yaw) * std::sin(pitch)};
    const float scale = distance_ * kPanPerPixel;
    centre_.x += (-dx * right.x + dy * up.x) * scale;
    centre_.y += (-dx * right.y + dy * up.y) * scale;
    centre_.z += (-dx * right.z + dy * up.z) * scale;
}

void OrbitCamera::zoom(int steps) {
    distance_ = std::clamp(distance_ * std::pow(kZoomPerStep, static_cast<float>(steps)),
                           kNearestDistance, kFarthestDistance);
}

CameraPose OrbitCamera::pose() const {
    const Point3 view = viewDirection(yaw_, pitch_);
    CameraPose camera;
    camera.position = {centre_.x - view.x * distance_, centre_.y - view.y * distance_,
                       centre_.z - view.z * distance_};
    camera.pitch = pitch_;
    camera.yaw = yaw_;
    return camera;
}
