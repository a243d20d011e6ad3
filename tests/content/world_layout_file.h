// Reads the generated placement scenes (neurons.scene.xml, glia_field.scene.xml) back.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <glm/vec3.hpp>

namespace content_tests {

struct LayoutInstance {
    std::string model;  // the glTF file
    // The materials by glTF mesh name, or one material for every mesh under "".
    std::vector<std::pair<std::string, std::string>> materials;
    glm::vec3 position{0.0f};
    glm::vec3 rotation{0.0f};
    float scale = 0.0f;
};

struct LayoutFile {
    std::vector<LayoutInstance> neurons;
    std::vector<LayoutInstance> glia;
    std::vector<std::string> unknownElements;
};

// Throws std::runtime_error when the XML does not parse.
LayoutFile readGeneratedLayout();

}  // namespace content_tests
