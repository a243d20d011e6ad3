#include "statue.h"

#include <vector>

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "curve.h"
#include "draped_body.h"
#include "mesh_builder.h"
#include "tube.h"
#include "vector_math.h"

namespace content {
namespace {

// A transform whose local y axis points along `axis`, placed at `centre`.
glm::mat4 alignedFrame(glm::vec3 centre, glm::vec3 axis) {
    const glm::vec3 up = glm::normalize(axis);
    const glm::vec3 side = perpendicularTo(up);
    const glm::vec3 front = glm::cross(side, up);
    glm::mat4 frame(1.0f);
    frame[0] = glm::vec4(side, 0.0f);
    frame[1] = glm::vec4(up, 0.0f);
    frame[2] = glm::vec4(front, 0.0f);
    frame[3] = glm::vec4(centre, 1.0f);
    return frame;
}

Mesh placedEllipsoid(glm::vec3 centre, glm::vec3 axis, glm::vec3 radii, int columns, int rows) {
    return transformed(ellipsoid(radii, columns, rows), alignedFrame(centre, axis));
}

Mesh roundBase() {
    Mesh base = surfaceOfRevolution({{0.0f, 0.0f}, {0.42f, 0.0f}}, 48, 1.0f);
    base.append(surfaceOfRevolution({{0.42f, 0.0f},
                                     {0.42f, 0.035f},
                                     {0.435f, 0.05f},
                                     {0.44f, 0.06f},
                                     {0.435f, 0.07f},
                                     {0.42f, 0.085f},
                                     {0.40f, 0.10f},
                                     {0.385f, 0.115f},
                                     {0.38f, 0.12f}},
                                    48, 2.0f));
    base.append(surfaceOfRevolution({{0.38f, 0.12f}, {0.0f, 0.12f}}, 48, 1.0f));
    return base;
}

// The head tilts a little forward and down; the face narrows towards the chin.
Mesh head() {
    const glm::vec3 centre(0.0f, 2.205f, 0.015f);
    const auto surface = [](float u, float v) {
        const float polar = v * kPi;
        const float angle = u * kTwoPi;
        const glm::vec3 d(std::sin(polar) * std::cos(angle), -std::cos(polar),
                          -std::sin(polar) * std::sin(angle));
        const float jaw = 1.0f - 0.28f * smoothStep(0.0f, -1.0f, d.y);
        return glm::vec3(d.x * 0.098f * jaw, d.y * 0.128f, d.z * 0.112f * (0.9f + 0.1f * jaw));
    };
    const glm::mat4 place = glm::rotate(glm::translate(glm::mat4(1.0f), centre), radians(10.0f),
                                        glm::vec3(1.0f, 0.0f, 0.0f));
    Mesh mesh = transformed(meshFromGrid(sampleSurface(24, 18, surface)), place);
    mesh.append(placedEllipsoid(glm::vec3(0.0f, 2.195f, 0.118f), glm::vec3(0.0f, 0.95f, 0.3f),
                                {0.013f, 0.032f, 0.016f}, 8, 6));
    return mesh;
}

// Hair gathered over the crown into a knot at the back.
Mesh hair() {
    Mesh mesh = placedEllipsoid({0.0f, 2.232f, -0.02f}, {0.0f, 1.0f, -0.25f},
                                {0.108f, 0.112f, 0.118f}, 24, 16);
    mesh.append(placedEllipsoid({0.0f, 2.255f, -0.14f}, {0.0f, 0.6f, -1.0f},
                                {0.066f, 0.06f, 0.062f}, 12, 8));
    return mesh;
}

Mesh arm(const std::vector<glm::vec3>& joints) {
    const std::vector<glm::vec3> path = catmullRomPath(joints, 6);
    std::vector<TubeNode> nodes;
    const float last = static_cast<float>(path.size() - 1);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const float t = static_cast<float>(i) / last;
        nodes.push_back({path[i], 0.06f - 0.032f * t});
    }
    Mesh mesh = tube(nodes, {12, 3, 1.5f});
    const glm::vec3 forearm = glm::normalize(path.back() - path[path.size() - 3]);
    mesh.append(
        placedEllipsoid(path.back() + forearm * 0.04f, forearm, {0.03f, 0.05f, 0.018f}, 10, 8));
    return mesh;
}

Mesh jug(glm::vec3 position) {
    Mesh mesh = surfaceOfRevolution({{0.0f, 0.0f}, {0.03f, 0.0f}}, 20, 1.0f);
    mesh.append(surfaceOfRevolution({{0.03f, 0.0f},
                                     {0.045f, 0.025f},
                                     {0.052f, 0.055f},
                                     {0.045f, 0.09f},
                                     {0.028f, 0.12f},
                                     {0.02f, 0.14f},
                                     {0.022f, 0.16f},
                                     {0.03f, 0.17f}},
                                    20, 4.0f));
    mesh.append(surfaceOfRevolution({{0.03f, 0.17f}, {0.0f, 0.17f}}, 20, 1.0f));
    return transformed(mesh, glm::translate(glm::mat4(1.0f), position));
}

Mesh bowl(glm::vec3 position) {
    Mesh mesh = surfaceOfRevolution({{0.0f, 0.0f},
                                     {0.025f, 0.0f},
                                     {0.055f, 0.015f},
                                     {0.072f, 0.03f},
                                     {0.078f, 0.038f},
                                     {0.07f, 0.04f},
                                     {0.04f, 0.025f},
                                     {0.0f, 0.018f}},
                                    24, 4.0f);
    return transformed(mesh, glm::translate(glm::mat4(1.0f), position));
}

Mesh feet() {
    Mesh mesh =
        placedEllipsoid({0.085f, 0.14f, 0.29f}, {0.0f, 0.3f, 1.0f}, {0.045f, 0.075f, 0.03f}, 10, 6);
    mesh.append(placedEllipsoid({-0.1f, 0.14f, 0.27f}, {-0.2f, 0.3f, 1.0f}, {0.045f, 0.075f, 0.03f},
                                10, 6));
    return mesh;
}

// A cord lying on the robe, following a path given in (angle, height) pairs.
Mesh bandOnBody(const DrapedBody& body, glm::vec2 from, glm::vec2 to, int nodes, float radius) {
    std::vector<TubeNode> path;
    for (int i = 0; i <= nodes; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(nodes);
        const glm::vec2 at = from + (to - from) * t;
        const glm::vec3 surface = body.surfacePoint(at.x, at.y);
        const glm::vec3 outward = glm::normalize(surface - body.centre(at.y));
        path.push_back({surface + outward * radius * 0.4f, radius});
    }
    return tube(path, {6, 1, 4.0f});
}

// A girdle tied high, under the breast.
Mesh girdle(const DrapedBody& body) {
    return bandOnBody(body, {0.0f, 1.6f}, {kTwoPi + 0.05f, 1.6f}, 40, 0.013f);
}

// The right arm raises a jug to shoulder height; the left holds out a shallow bowl.
Mesh arms() {
    Mesh mesh = arm({{-0.12f, 1.9f, -0.01f},
                     {-0.22f, 1.875f, 0.0f},
                     {-0.29f, 1.8f, 0.0f},
                     {-0.37f, 1.68f, 0.05f},
                     {-0.38f, 1.8f, 0.13f},
                     {-0.34f, 1.93f, 0.19f}});
    mesh.append(arm({{0.12f, 1.9f, -0.01f},
                     {0.22f, 1.875f, 0.0f},
                     {0.27f, 1.78f, 0.0f},
                     {0.3f, 1.6f, 0.03f},
                     {0.27f, 1.54f, 0.15f},
                     {0.22f, 1.52f, 0.26f}}));
    mesh.append(jug({-0.35f, 1.975f, 0.225f}));
    mesh.append(bowl({0.21f, 1.535f, 0.315f}));
    return mesh;
}

}  // namespace

Mesh buildStatue() {
    const DrapedBody body;
    Mesh statue = roundBase();
    statue.append(body.mesh(72, 48));
    statue.append(feet());
    statue.append(girdle(body));
    statue.append(arms());
    statue.append(head());
    statue.append(hair());
    return statue;
}

}  // namespace content
