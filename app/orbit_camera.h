// The orbit around the model: the camera looks at a centre from a distance, turned by yaw and
// pitch; left drag turns, the wheel moves towards and away from the centre, right drag pans.
#pragma once

#include "app/model_placement.h"

// A camera pose as ViewerApp holds it: position in scene units, pitch and yaw in degrees.
struct CameraPose {
    Point3 position;
    float pitch = 0.0f;
    float yaw = 0.0f;
};

class OrbitCamera {
  public:
    // Looks at centre from the camera's own position and direction of view: the distance is the
    // camera's to the centre, the yaw and pitch its own.
    void aimFrom(const CameraPose& camera, const Point3& centre);

    // Pixels of drag; dx positive to the right, dy positive downwards as windows count.
    void turn(float dx, float dy);
    void pan(float dx, float dy);
    // Wheel steps, up positive: each takes the camera a fifth of the way closer.
    void zoom(int steps);

    CameraPose pose() const;
    const Point3& centre() const { return centre_; }
    float distance() const { return distance_; }

  private:
    Point3 centre_;
    float distance_ = 10.0f;
    float yaw_ = 0.0f;
    float pitch_ = 0.0f;
};
