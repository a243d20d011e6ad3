#include "pedestal.h"

#include <cmath>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "mesh_builder.h"
#include "vector_math.h"

namespace content {
namespace {

constexpr int kFlutes = 24;
constexpr int kColumnsPerFlute = 6;
constexpr int kMouldingSegments = 48;
constexpr float kShaftBottom = 0.26f;
constexpr float kShaftTop = 0.98f;
constexpr float kShaftRadius = 0.32f;
constexpr float kFluteDepth = 0.022f;
// The flat strip left between neighbouring flutes, as a fraction of one flute's width.
constexpr float kFilletFraction = 0.2f;

Mesh slab(float bottom, float top, float halfWidth) {
    const float halfHeight = (top - bottom) * 0.5f;
    const glm::mat4 place = glm::translate(glm::mat4(1.0f), {0.0f, bottom + halfHeight, 0.0f});
    return transformed(box({halfWidth, halfHeight, halfWidth}), place);
}

// Depth of a rounded channel across one flute, zero on the fillets.
float fluteProfile(float across) {
    const float half = 0.5f * (1.0f - kFilletFraction);
    const float x = (across - 0.5f) / half;
    return std::fabs(x) >= 1.0f ? 0.0f : std::sqrt(1.0f - x * x);
}

// Flutes fade out in rounded ends a little inside the shaft's ends.
float fluteFade(float height) {
    return smoothStep(kShaftBottom, kShaftBottom + 0.06f, height) *
           smoothStep(kShaftTop, kShaftTop - 0.06f, height);
}

Mesh fluteShaft() {
    const std::vector<float> heights{kShaftBottom, 0.29f, 0.32f, 0.35f,
                                     0.89f,        0.92f, 0.95f, kShaftTop};
    const int columns = kFlutes * kColumnsPerFlute;
    SurfaceGrid grid{columns, static_cast<int>(heights.size()) - 1, {}, {}};
    for (float height : heights) {
        // A slight taper towards the top, as classical shafts have.
        const float radius = kShaftRadius * (1.0f - 0.05f * (height - kShaftBottom));
        for (int column = 0; column <= columns; ++column) {
            const float u = static_cast<float>(column) / static_cast<float>(columns);
            const float across = std::fmod(u * kFlutes, 1.0f);
            const float depth = kFluteDepth * fluteProfile(across) * fluteFade(height);
            const float angle = u * kTwoPi;
            const float r = radius - depth;
            grid.positions.emplace_back(r * std::cos(angle), height, -r * std::sin(angle));
            grid.uvs.emplace_back(u * 3.0f, height);
        }
    }
    return meshFromGrid(grid);
}

// Torus, hollow and torus: the round base moulding between plinth and shaft.
Mesh baseMoulding() {
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= 6; ++i) {
        const float angle = -0.5f * kPi + kPi * static_cast<float>(i) / 6.0f;
        profile.push_back({0.37f + 0.035f * std::cos(angle), 0.155f + 0.035f * std::sin(angle)});
    }
    profile.push_back({0.345f, 0.2f});
    for (int i = 1; i <= 5; ++i) {
        const float angle = -0.5f * kPi + kPi * static_cast<float>(i) / 5.0f;
        profile.push_back({0.335f + 0.025f * std::cos(angle), 0.235f + 0.025f * std::sin(angle)});
    }
    profile.push_back({kShaftRadius, kShaftBottom});
    // It stands on the plinth: no underside that would fight with the plinth's top.
    return surfaceOfRevolution(profile, kMouldingSegments, 2.0f);
}

// A bead and a quarter-round swelling out to carry the top slab.
Mesh capitalMoulding() {
    const float topRadius = kShaftRadius * (1.0f - 0.05f * (kShaftTop - kShaftBottom));
    std::vector<ProfilePoint> profile{{topRadius, kShaftTop}};
    for (int i = 0; i <= 5; ++i) {
        const float angle = -0.5f * kPi + kPi * static_cast<float>(i) / 5.0f;
        profile.push_back({topRadius + 0.018f * std::cos(angle), 1.0f + 0.018f * std::sin(angle)});
    }
    for (int i = 0; i <= 6; ++i) {
        const float angle = 0.5f * kPi * static_cast<float>(i) / 6.0f;
        profile.push_back(
            {topRadius + 0.09f * std::sin(angle), 1.02f + 0.08f * (1.0f - std::cos(angle))});
    }
    // Its top is covered by the top slab, so it stays open.
    return surfaceOfRevolution(profile, kMouldingSegments, 2.0f);
}

}  // namespace

Mesh buildPedestal() {
    Mesh pedestal = slab(0.0f, 0.12f, 0.45f);
    pedestal.append(baseMoulding());
    pedestal.append(fluteShaft());
    pedestal.append(capitalMoulding());
    pedestal.append(slab(1.1f, kPedestalHeight, 0.44f));
    return pedestal;
}

}  // namespace content
