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

LayoutInstance instanceOf(const pugi::xml_node& model) {
    LayoutInstance instance;
    instance.model = model.attribute("geometry").as_string();
    instance.position = vec3Attribute(model, "translation");
    instance.rotation = vec3Attribute(model, "rotation");
    const glm::vec3 scale = vec3Attribute(model, "scale");
    instance.scale = scale.x == scale.y && scale.y == scale.z ? scale.x : -1.0f;
    if (!model.attribute("material").empty()) {
        instance.materials.emplace_back("", model.attribute("material").as_string());
    }
    for (const pugi::xml_node& meshMaterial : model.children("meshMaterial")) {
        instance.materials.emplace_back(meshMaterial.attribute("mesh").as_string(),
                                        meshMaterial.attribute("material").as_string());
    }
    return instance;
}

std::vector<LayoutInstance> readScene(const char* fileName, std::vector<std::string>& unknown) {
    const std::vector<std::uint8_t> bytes = generatedFile(fileName);
    pugi::xml_document document;
    if (!document.load_buffer(bytes.data(), bytes.size())) {
        throw std::runtime_error(std::string(fileName) + " does not parse");
    }
    std::vector<LayoutInstance> instances;
    for (const pugi::xml_node& node : document.child("scene").children()) {
        if (std::string(node.name()) == "model") {
            instances.push_back(instanceOf(node));
        } else {
            unknown.push_back(node.name());
        }
    }
    return instances;
}

}  // namespace

LayoutFile readGeneratedLayout() {
    LayoutFile layout;
    layout.neurons = readScene("neurons.scene.xml", layout.unknownElements);
    layout.glia = readScene("glia_field.scene.xml", layout.unknownElements);
    return layout;
}

}  // namespace content_tests
