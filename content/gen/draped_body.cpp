#include "draped_body.h"

#include <algorithm>
#include <cmath>

#include "mesh_builder.h"
#include "noise.h"
#include "smooth_table.h"
#include "vector_math.h"

namespace content {
namespace {

constexpr int kOutlineSamples = 512;
constexpr int kFoldsAround = 9;

const std::vector<TableKey>& halfWidths() {
    static const std::vector<TableKey> keys{
        {0.10f, 0.35f},  {0.16f, 0.33f},  {0.40f, 0.29f},  {0.75f, 0.265f},
        {1.05f, 0.255f}, {1.25f, 0.245f}, {1.48f, 0.175f}, {1.66f, 0.19f},
        {1.80f, 0.215f}, {1.88f, 0.225f}, {1.94f, 0.20f},  {1.99f, 0.14f},
        {2.02f, 0.075f}, {2.06f, 0.06f},  {2.14f, 0.056f}, {2.20f, 0.054f}};
    return keys;
}

const std::vector<TableKey>& halfDepths() {
    static const std::vector<TableKey> keys{
        {0.10f, 0.31f},  {0.16f, 0.29f},  {0.40f, 0.24f},  {0.75f, 0.20f},
        {1.05f, 0.19f},  {1.25f, 0.175f}, {1.48f, 0.13f},  {1.66f, 0.14f},
        {1.80f, 0.135f}, {1.88f, 0.12f},  {1.94f, 0.105f}, {1.99f, 0.085f},
        {2.02f, 0.065f}, {2.06f, 0.058f}, {2.14f, 0.055f}, {2.20f, 0.053f}};
    return keys;
}

const std::vector<TableKey>& centreOffsetsX() {
    static const std::vector<TableKey> keys{{0.10f, 0.0f}, {0.60f, 0.0f},    {1.20f, 0.025f},
                                            {1.50f, 0.0f}, {1.85f, -0.012f}, {2.20f, 0.0f}};
    return keys;
}

const std::vector<TableKey>& centreOffsetsZ() {
    static const std::vector<TableKey> keys{{0.10f, 0.0f},  {0.75f, 0.01f},  {1.30f, -0.015f},
                                            {1.48f, 0.0f},  {1.66f, 0.025f}, {1.84f, 0.0f},
                                            {2.20f, 0.015f}};
    return keys;
}

const std::vector<TableKey>& foldDepths() {
    static const std::vector<TableKey> keys{{0.10f, 0.03f}, {0.50f, 0.022f}, {1.00f, 0.016f},
                                            {1.35f, 0.01f}, {1.50f, 0.006f}, {1.70f, 0.005f},
                                            {1.85f, 0.0f}};
    return keys;
}

glm::vec3 horizontalDirection(float angle) {
    return {std::cos(angle), 0.0f, -std::sin(angle)};
}

float ellipseRadius(float angle, float halfWidth, float halfDepth) {
    const float c = halfDepth * std::cos(angle);
    const float s = halfWidth * std::sin(angle);
    return halfWidth * halfDepth / std::sqrt(c * c + s * s);
}

// How much the left knee, bent forward, presses into the robe at this point.
float kneePressure(glm::vec3 direction, float height) {
    const glm::vec3 kneeDirection = glm::normalize(glm::vec3(0.45f, 0.0f, 1.0f));
    const float facing = std::max(0.0f, glm::dot(direction, kneeDirection));
    const float across = (height - 0.72f) / 0.22f;
    return std::exp(-across * across) * facing * facing * facing * facing;
}

// The breasts under the robe: two soft swellings either side of the front.
float bust(glm::vec3 direction, float height) {
    const float across = (height - 1.69f) / 0.075f;
    const float side = std::fabs(direction.x) - 0.42f;
    const float facing = std::max(0.0f, direction.z);
    return 0.045f * std::exp(-across * across - side * side / 0.05f) * facing * facing;
}

// Rounded ridges with sharp valleys between them, wandering slightly with height.
float drapery(float angle, float height, float knee) {
    const float phase = 0.5f * std::sin(2.3f * height) +
                        0.4f * gradientNoise3(glm::vec3(height * 1.5f, 0.3f, 0.7f), 31U);
    const float ridge = 2.0f * std::fabs(std::sin(0.5f * kFoldsAround * angle + phase)) - 1.0f;
    const glm::vec3 around(std::cos(angle), height * 2.0f, std::sin(angle));
    const float variation = 0.75f + 0.35f * gradientNoise3(around * 1.5f, 47U);
    return smoothTable(foldDepths(), height) * ridge * variation * (1.0f - 0.7f * knee);
}

float outlineStep(float low, float high) {
    const float dy = high - low;
    const float dw = smoothTable(halfWidths(), high) - smoothTable(halfWidths(), low);
    const float dd = smoothTable(halfDepths(), high) - smoothTable(halfDepths(), low);
    return std::sqrt(dy * dy + dw * dw + dd * dd);
}

}  // namespace

DrapedBody::DrapedBody() {
    outlineLengths_.push_back(0.0f);
    const float step = (kTop - kBottom) / kOutlineSamples;
    for (int i = 1; i <= kOutlineSamples; ++i) {
        const float low = kBottom + step * static_cast<float>(i - 1);
        outlineLengths_.push_back(outlineLengths_.back() + outlineStep(low, low + step));
    }
}

glm::vec3 DrapedBody::centre(float height) const {
    return {smoothTable(centreOffsetsX(), height), height, smoothTable(centreOffsetsZ(), height)};
}

glm::vec3 DrapedBody::surfacePoint(float angle, float height) const {
    const glm::vec3 direction = horizontalDirection(angle);
    const float knee = kneePressure(direction, height);
    const float radius =
        ellipseRadius(angle, smoothTable(halfWidths(), height), smoothTable(halfDepths(), height)) +
        drapery(angle, height, knee) + 0.05f * knee + bust(direction, height);
    return centre(height) + direction * radius;
}

float DrapedBody::heightAlongOutline(float fraction) const {
    const float target = fraction * outlineLengths_.back();
    const auto above = std::lower_bound(outlineLengths_.begin(), outlineLengths_.end(), target);
    const auto index = std::clamp<long>(above - outlineLengths_.begin(), 1, kOutlineSamples);
    const float low = outlineLengths_[static_cast<std::size_t>(index - 1)];
    const float high = outlineLengths_[static_cast<std::size_t>(index)];
    const float within = high > low ? (target - low) / (high - low) : 0.0f;
    const float step = (kTop - kBottom) / kOutlineSamples;
    return kBottom + step * (static_cast<float>(index - 1) + within);
}

Mesh DrapedBody::mesh(int columns, int rows) const {
    const auto surface = [this](float u, float v) {
        return surfacePoint(u * kTwoPi, heightAlongOutline(v));
    };
    return meshFromGrid(sampleSurface(columns, rows, surface, {2.0f, 2.2f}));
}

}  // namespace content
