// Places neuron and glia instances and coloured lights around the start position, keeping a
// clear corridor from the camera's start towards the statue ahead of it along -z.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "neuron.h"

namespace content {

constexpr int kNeuronInstances = 32;
constexpr int kGliaInstances = 8;

struct Placement {
    glm::vec3 position{0.0f};
    glm::vec3 rotationDegrees{0.0f};
    float scale = 1.0f;
};

struct NeuronPlacement {
    int variant = 0;
    Placement placement;
};

struct WorldLayout {
    std::vector<NeuronPlacement> neurons;
    std::vector<Placement> glia;
};

// The corridor: a capsule around this segment that no instance's bounding sphere enters.
struct Corridor {
    glm::vec3 from{0.0f, 0.0f, 6.0f};
    glm::vec3 to{0.0f, 0.0f, -12.0f};
    float radius = 8.0f;
};

float distanceToCorridorAxis(const Corridor& corridor, glm::vec3 point);

// Radii are of spheres around each mesh's origin that enclose it at scale 1.
WorldLayout planWorldLayout(const std::array<float, kNeuronVariants>& neuronRadii,
                            float gliaRadius);

// The placements as scene files: neurons.scene.xml and glia_field.scene.xml.
std::string neuronsSceneXml(const WorldLayout& layout);
std::string gliaFieldSceneXml(const WorldLayout& layout);

}  // namespace content
