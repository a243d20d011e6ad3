// Scene files: every node of a parsed scene holds what its kind needs.
#include "engine/formats/scene_format.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

void checkNode(const engine::SceneNodeDesc& node) {
    using engine::SceneNodeKind;
    if (node.kind == SceneNodeKind::Model) {
        fuzz::require(!node.geometry.empty(), "a model names its geometry");
    }
    if (node.kind == SceneNodeKind::Reference) {
        fuzz::require(!node.scene.empty() && node.children.empty(),
                      "a reference names a scene and has no children of its own");
    }
    if (node.kind == SceneNodeKind::Light) {
        fuzz::require(node.radius > 0.0f, "a light reaches somewhere");
    }
    if (node.kind == SceneNodeKind::Camera) {
        fuzz::require(node.nearDistance > 0.0f && node.farDistance > node.nearDistance,
                      "a camera's far plane lies beyond its near plane");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    engine::Parsed<engine::SceneDesc> parsed = engine::parseScene(fuzz::inputText(data, size));
    if (!parsed.ok()) {
        fuzz::require(!parsed.error().empty(), "a failure says why");
        return 0;
    }
    engine::forEachSceneNode(parsed.value().root, checkNode);
    return 0;
}
