// Reads the generated world_layout.xml back.
#pragma once

#include <string>
#include <vector>

#include <glm/vec3.hpp>

namespace content_tests {

struct LayoutInstance {
    std::string model;  // neuron_<variant>.glb or the glia file
    glm::vec3 position{0.0f};
    glm::vec3 rotation{0.0f};
    float scale = 0.0f;
};

struct LayoutLight {
    glm::vec3 position{0.0f};
    glm::vec3 color{0.0f};
    float radius = 0.0f;
    bool shadows = false;
};

struct LayoutFile {
    std::vector<LayoutInstance> neurons;
    std::vector<LayoutInstance> glia;
    std::vector<LayoutLight> lights;
    std::vector<std::string> unknownElements;
};

// Throws std::runtime_error when the XML does not parse.
LayoutFile readGeneratedLayout();

}  // namespace content_tests
