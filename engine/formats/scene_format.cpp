#include "engine/formats/scene_format.h"

#include <new>

#include "engine/formats/format_error.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/xml_source.h"

namespace engine {
namespace {

// Deeper trees are surely a mistake, and a bound keeps the reader's recursion safe.
constexpr int kMaximumDepth = 128;

SceneNodeDesc readNode(const XmlSource& source, pugi::xml_node node, int depth);

}  // namespace

Parsed<SceneDesc> parseScene(std::string_view bytes) {
    try {
        XmlSource source(bytes, "scene");
        SceneDesc scene;
        scene.root = readNode(source, source.root(), 0);
        return Parsed<SceneDesc>::success(std::move(scene));
    } catch (const FormatError& error) {
        return Parsed<SceneDesc>::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Parsed<SceneDesc>::failure("out of memory");
    }
}

namespace {

SceneNodeKind kindOf(std::string_view element);
void readTransform(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc);
void readModel(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc);
void readLight(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc);
void readCamera(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc);
std::string readFileName(const XmlSource& source, pugi::xml_node node, const char* attribute);
MeshMaterial readMeshMaterial(const XmlSource& source, pugi::xml_node node,
                              const SceneNodeDesc& model);
void readChildren(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc, int depth);

SceneNodeDesc readNode(const XmlSource& source, pugi::xml_node node, int depth) {
    if (depth > kMaximumDepth) {
        source.fail(node,
                    "the scene is nested deeper than " + std::to_string(kMaximumDepth) + " levels");
    }
    SceneNodeDesc desc;
    desc.line = source.lineOf(node);
    desc.kind = kindOf(node.name());
    switch (desc.kind) {
        case SceneNodeKind::Group:
            source.allowAttributes(node, {"name", "translation", "rotation", "scale"});
            break;
        case SceneNodeKind::Model:
            readModel(source, node, desc);
            break;
        case SceneNodeKind::Light:
            readLight(source, node, desc);
            break;
        case SceneNodeKind::Camera:
            readCamera(source, node, desc);
            break;
        case SceneNodeKind::Reference:
            source.allowAttributes(node, {"name", "translation", "rotation", "scale", "scene"});
            desc.scene = readFileName(source, node, "scene");
            break;
    }
    desc.name = source.optionalText(node, "name", node.name());
    readTransform(source, node, desc);
    readChildren(source, node, desc, depth);
    return desc;
}

SceneNodeKind kindOf(std::string_view element) {
    if (element == "model") {
        return SceneNodeKind::Model;
    }
    if (element == "light") {
        return SceneNodeKind::Light;
    }
    if (element == "camera") {
        return SceneNodeKind::Camera;
    }
    if (element == "reference") {
        return SceneNodeKind::Reference;
    }
    return SceneNodeKind::Group;
}

void readTransform(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc) {
    desc.translation = source.vector3(node, "translation", glm::vec3(0.0f));
    desc.rotation = source.vector3(node, "rotation", glm::vec3(0.0f));
    desc.scale = source.vector3(node, "scale", glm::vec3(1.0f));
}

void readModel(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc) {
    source.allowAttributes(node,
                           {"name", "translation", "rotation", "scale", "geometry", "material"});
    desc.geometry = readFileName(source, node, "geometry");
    if (node.attribute("material")) {
        desc.material = readFileName(source, node, "material");
    }
}

void readLight(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc) {
    source.allowAttributes(
        node, {"name", "translation", "rotation", "scale", "color", "radius", "shadows"});
    desc.color = source.vector3(node, "color", glm::vec3(1.0f));
    if (desc.color.r < 0.0f || desc.color.g < 0.0f || desc.color.b < 0.0f) {
        source.fail(node, "a light's colour cannot be negative");
    }
    desc.radius = source.number(node, "radius", 10.0f, 0.001f, 1.0e6f);
    desc.castsShadows = source.flag(node, "shadows", false);
}

void readCamera(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc) {
    source.allowAttributes(
        node, {"name", "translation", "rotation", "scale", "pipeline", "fov", "near", "far"});
    if (node.attribute("pipeline")) {
        desc.pipeline = readFileName(source, node, "pipeline");
    }
    desc.fieldOfView = source.number(node, "fov", 45.0f, 1.0f, 179.0f);
    desc.nearDistance = source.number(node, "near", 0.1f, 1.0e-6f, 1.0e9f);
    desc.farDistance = source.number(node, "far", 1000.0f, 1.0e-6f, 1.0e9f);
    if (desc.farDistance <= desc.nearDistance) {
        source.fail(node, "'far' must lie beyond 'near'");
    }
}

std::string readFileName(const XmlSource& source, pugi::xml_node node, const char* attribute) {
    std::string file = source.requiredText(node, attribute);
    if (!isPlainName(file)) {
        source.fail(node, quotedExcerpt(file) + " is not a file name");
    }
    return file;
}

void readChildren(const XmlSource& source, pugi::xml_node node, SceneNodeDesc& desc, int depth) {
    // A reference's children come from the scene it names; a model's listed meshes are not nodes.
    if (desc.kind == SceneNodeKind::Reference) {
        source.childElements(node, {});
        return;
    }
    std::initializer_list<const char*> nodeElements = {"group", "model", "light", "camera",
                                                       "reference"};
    std::initializer_list<const char*> modelElements = {"group",  "model",     "light",
                                                        "camera", "reference", "meshMaterial"};
    bool isModel = desc.kind == SceneNodeKind::Model;
    for (pugi::xml_node element :
         source.childElements(node, isModel ? modelElements : nodeElements)) {
        if (std::string_view(element.name()) == "meshMaterial") {
            desc.meshMaterials.push_back(readMeshMaterial(source, element, desc));
        } else {
            desc.children.push_back(readNode(source, element, depth + 1));
        }
    }
}

MeshMaterial readMeshMaterial(const XmlSource& source, pugi::xml_node node,
                              const SceneNodeDesc& model) {
    source.allowAttributes(node, {"mesh", "material"});
    source.childElements(node, {});
    MeshMaterial entry{source.requiredText(node, "mesh"), readFileName(source, node, "material")};
    for (const MeshMaterial& earlier : model.meshMaterials) {
        if (earlier.mesh == entry.mesh) {
            source.fail(node, "mesh " + quotedExcerpt(entry.mesh) + " already has a material");
        }
    }
    return entry;
}

}  // namespace
}  // namespace engine
