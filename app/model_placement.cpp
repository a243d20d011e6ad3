#include "app/model_placement.h"

#include <algorithm>
#include <cmath>

namespace {

const float kRadiansPerDegree = 0.017453292f;

// Where a light stands, as a direction from the box's centre (scaled to the box's half
// diagonal by lightRigAround), and its colour.
struct RigLightLayout {
    const char* name;
    Point3 direction;
    float red;
    float green;
    float blue;
    bool castsShadows;
};

const RigLightLayout kRigLayout[] = {
    {"keyLight", {-1.2f, 1.6f, 1.8f}, 1.0f, 0.95f, 0.85f, true},
    {"fillLight", {2.0f, 0.4f, 1.2f}, 0.45f, 0.5f, 0.6f, false},
    {"rimLight", {0.6f, 1.2f, -2.2f}, 0.7f, 0.7f, 0.8f, false},
};
// Each light's reach in half diagonals from the box's centre: the far side of the box from a
// light lies within about 3.7 of them, where the fall-off (1 - d²/r²)² still leaves half.
const float kRigRadius = 7.0f;

float extentOf(float minimum, float maximum) {
    return std::max(0.0f, maximum - minimum);
}

Point3 centreOf(const Box3& box) {
    return {(box.minimum.x + box.maximum.x) * 0.5f, (box.minimum.y + box.maximum.y) * 0.5f,
            (box.minimum.z + box.maximum.z) * 0.5f};
}

}  // namespace

Point3 uprightRotation(UpAxis up) {
    switch (up) {
        case UpAxis::PlusX:
            return {0.0f, 0.0f, 90.0f};
        case UpAxis::MinusX:
            return {0.0f, 0.0f, -90.0f};
        case UpAxis::PlusY:
            return {};
        case UpAxis::MinusY:
            return {180.0f, 0.0f, 0.0f};
        case UpAxis::PlusZ:
            return {-90.0f, 0.0f, 0.0f};
        case UpAxis::MinusZ:
            return {90.0f, 0.0f, 0.0f};
    }
    return {};
}

ModelPlacement placeModelInView(const Box3& modelBox, float fieldOfView, float aspect) {
    const float width = extentOf(modelBox.minimum.x, modelBox.maximum.x);
    const float height = extentOf(modelBox.minimum.y, modelBox.maximum.y);
    const float depth = extentOf(modelBox.minimum.z, modelBox.maximum.z);

    // The view's height and width at the box's front face, and the share the box may take.
    const float viewHeight =
        2.0f * kModelDistance * std::tan(fieldOfView * 0.5f * kRadiansPerDegree);
    const float fittedHeight = kViewShare * viewHeight;
    const float fittedWidth = kViewShare * viewHeight * aspect;

    // A flat model (a plane seen edge-on) fits by the side it has; a point keeps its size.
    float scale = 1.0f;
    if (width > 0.0f || height > 0.0f) {
        const float byHeight = height > 0.0f ? fittedHeight / height : INFINITY;
        const float byWidth = width > 0.0f ? fittedWidth / width : INFINITY;
        scale = std::min(byHeight, byWidth);
    }

    const Point3 centre = centreOf(modelBox);
    ModelPlacement placement;
    placement.scale = scale;
    placement.translation = {-centre.x * scale, -centre.y * scale,
                             -kModelDistance - depth * scale * 0.5f - centre.z * scale};
    return placement;
}

Box3 placedBox(const Box3& modelBox, const ModelPlacement& placement) {
    const auto place = [&placement](const Point3& point) {
        return Point3{point.x * placement.scale + placement.translation.x,
                      point.y * placement.scale + placement.translation.y,
                      point.z * placement.scale + placement.translation.z};
    };
    return {place(modelBox.minimum), place(modelBox.maximum)};
}

std::array<RigLight, 3> lightRigAround(const Box3& worldBox) {
    const Point3 centre = centreOf(worldBox);
    const float halfWidth = extentOf(worldBox.minimum.x, worldBox.maximum.x) * 0.5f;
    const float halfHeight = extentOf(worldBox.minimum.y, worldBox.maximum.y) * 0.5f;
    const float halfDepth = extentOf(worldBox.minimum.z, worldBox.maximum.z) * 0.5f;
    // A box without size still gets lights it can be seen by.
    const float halfDiagonal = std::max(
        std::sqrt(halfWidth * halfWidth + halfHeight * halfHeight + halfDepth * halfDepth), 0.01f);

    std::array<RigLight, 3> rig{};
    for (std::size_t index = 0; index < rig.size(); ++index) {
        const RigLightLayout& layout = kRigLayout[index];
        rig[index] = {layout.name,
                      {centre.x + layout.direction.x * halfDiagonal,
                       centre.y + layout.direction.y * halfDiagonal,
                       centre.z + layout.direction.z * halfDiagonal},
                      layout.red,
                      layout.green,
                      layout.blue,
                      kRigRadius * halfDiagonal,
                      layout.castsShadows};
    }
    return rig;
}
