// Where open-model puts a file's model and its default lights: ahead of the start camera, large
// enough to fill about two thirds of the view, lit from around its box.
#pragma once

#include <array>

struct Point3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Box3 {
    Point3 minimum;
    Point3 maximum;
};

// The file's axis that points up in the picture; glTF files stand on +Y.
enum class UpAxis { PlusX, MinusX, PlusY, MinusY, PlusZ, MinusZ };

// The node rotation, in degrees about x, y and z, that turns the file's up axis to +Y.
Point3 uprightRotation(UpAxis up);

// A uniform scale and then a translation, applied to the model's node.
struct ModelPlacement {
    float scale = 1.0f;
    Point3 translation;
};

// The start camera stands at the origin and looks along -z; the box's face towards it ends up
// kModelDistance ahead, and its centre on the line of sight. fieldOfView is vertical, in
// degrees; aspect is the view's width over its height.
inline constexpr float kModelDistance = 10.0f;
inline constexpr float kViewShare = 2.0f / 3.0f;
ModelPlacement placeModelInView(const Box3& modelBox, float fieldOfView, float aspect);
// The box as the placement moves it.
Box3 placedBox(const Box3& modelBox, const ModelPlacement& placement);

struct RigLight {
    const char* name;
    Point3 position;
    float red;
    float green;
    float blue;
    float radius;
    bool castsShadows;
};

// A key light above, left of and before the box that casts shadows, a dimmer cool fill from the
// right and a rim light behind it, each at a distance and reach that follow the box's size.
std::array<RigLight, 3> lightRigAround(const Box3& worldBox);
