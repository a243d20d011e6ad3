#include "world_layout_file.h"

#include <sstream>
#include <stdexcept>

#include <pugixml.hpp>

#include "generated_content.h"

namespace content_tests {
namespace {

glm::vec3 vec3Attribute(const pugi::xml_node& node, const char* name) {
    std::istringstream text(node.attribute(name).as_string());
    glm::vec3 value(0.0f);
    if (!(text >> value.x >> value.y >> value.z)) {
        throw std::runtime_error(std::string("bad ") + name + " on <" + node.name() + ">");
    }
    return value;
}

LayoutInstance instanceOf(const pugi::xml_node& node, std::string model) {
    return {std::move(model), vec3Attribute(node, "position"), vec3Attribute(node, "rotation"),
            node.attribute("scale").as_float(0.0f)};
}

}  // namespace

LayoutFile readGeneratedLayout() {
    const std::vector<std::uint8_t> bytes = generatedFile("world_layout.xml");
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size())) {
        throw std::runtime_error("world_layout.xml does not parse");
    }
    LayoutFile layout;
    for (const pugi::xml_node& node : document.child("layout").children()) {
        const std::string name = node.name();
        if (name == "neuron") {
            const std::string variant = node.attribute("variant").as_string("?");
            layout.neurons.push_back(instanceOf(node, "neuron_" + variant + ".glb"));
        } else if (name == "glia") {
            layout.glia.push_back(instanceOf(node, node.attribute("mesh-cluster").as_string()));
        } else if (name == "light") {
            layout.lights.push_back({vec3Attribute(node, "position"), vec3Attribute(node, "color"),
                                     node.attribute("radius").as_float(0.0f),
                                     std::string(node.attribute("shadows").as_string()) == "true"});
        } else {
            layout.unknownElements.push_back(name);
        }
    }
    return layout;
}

}  // namespace content_tests
