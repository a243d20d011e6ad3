#include "app/model_scene.h"

#include <cmath>
#include <vector>

#include "app/key_codes.h"

#include "app/model_placement.h"
#include "app/model_summary.h"
#include "app/viewer_app.h"
#include "engine/h3dut.h"

namespace {

const int kErrorLevel = 1;

ModelFigures figuresOf(H3DRes geometry) {
    ModelFigures figures;
    figures.meshes = h3dGetResParamI(geometry, H3DGeometry::MeshCountI);
    figures.triangles = h3dGetResParamI(geometry, H3DGeometry::TriangleCountI);
    figures.materials = h3dGetResParamI(geometry, H3DGeometry::MaterialCountI);
    figures.textures = h3dGetResParamI(geometry, H3DGeometry::TextureCountI);
    figures.lights = h3dGetResParamI(geometry, H3DGeometry::LightCountI);
    figures.animations = h3dGetResParamI(geometry, H3DGeometry::AnimationCountI);
    return figures;
}

bool freshlyPressed(const bool* keyDown, const bool* keyDownBefore, int key) {
    return keyDown[key] && !keyDownBefore[key];
}

}  // namespace

ModelScene::ModelScene(const ModelFile& model, std::function<double()> clock)
    : model_(model), clock_(std::move(clock)) {}

void ModelScene::declareResources() {
    skyScene_ = h3dAddResource(H3DResTypes::SceneGraph, "skybox.scene.xml", 0);
    // The file's own materials are drawn with the shipped model shader.
    h3dAddResource(H3DResTypes::Shader, "model.shader", 0);
}

// The shipped content has loaded by now, so the load from the file's folder reads only the file
// and what it names.
void ModelScene::loadContent() {
    geometry_ = h3dAddResource(H3DResTypes::Geometry, model_.resourceName.c_str(), 0);
    h3dutLoadResourcesFromDisk(model_.contentDirectory.c_str());
    if (!h3dIsResLoaded(geometry_)) {
        loadFault_ = takeLoadFault();
        summaryLine_.clear();
        return;
    }
    loadFault_.clear();
    summaryLine_ = modelSummary(model_.displayName, figuresOf(geometry_));
    readAnimations();
}

// The model is framed in the pose of its animation's start; after F1 rebuilt the scene, the
// animation goes on where it was.
void ModelScene::addNodes() {
    h3dAddNodes(H3DRootNode, skyScene_);
    if (!loadFault_.empty()) {
        modelNode = 0;
        return;
    }
    modelNode = h3dAddModelNode(H3DRootNode, model_.displayName.c_str(), geometry_);
    if (!player_.empty()) {
        h3dSetModelAnimation(modelNode, player_.current(), player_.time());
    }
    placeModel();
    lastClock_ = clock_();
}

void ModelScene::applyKeyStates(const bool* keyDown, const bool* keyDownBefore) {
    if (freshlyPressed(keyDown, keyDownBefore, viewer_keys::kSpace)) {
        player_.togglePause();
    }
    if (freshlyPressed(keyDown, keyDownBefore, viewer_keys::kN)) {
        player_.playNext();
    }
}

void ModelScene::update(std::string& statusLine) {
    if (!statusLineShown_) {
        statusLine.clear();
    }
    const double now = clock_();
    player_.advance(now - lastClock_);
    lastClock_ = now;
    if (player_.empty() || modelNode == 0) {
        return;
    }
    h3dSetModelAnimation(modelNode, player_.current(), player_.time());
    if (statusLineShown_) {
        statusLine += " ANIM(Space, N): " + player_.describe();
    }
}

void ModelScene::readAnimations() {
    std::vector<PlayedAnimation> animations;
    const int count = h3dGetResParamI(geometry_, H3DGeometry::AnimationCountI);
    for (int index = 0; index < count; ++index) {
        animations.push_back({h3dGetResParamStr(geometry_, H3DGeometry::AnimationNameStr, index),
                              h3dGetResParamF(geometry_, H3DGeometry::AnimationDurationF, index)});
    }
    // F1 loads the file again: the animation goes on where it was.
    if (player_.empty() || static_cast<int>(animations.size()) != count) {
        player_ = AnimationPlayer(std::move(animations));
        player_.advance(startSeconds_);
    }
}

// Empties the message queue, which holds nothing else worth showing when the file failed, and
// keeps the error that names the file.
std::string ModelScene::takeLoadFault() const {
    const std::string quotedName = "'" + model_.resourceName + "'";
    std::string fault;
    int level = 0;
    for (const char* text = h3dGetMessage(&level); *text != '\0'; text = h3dGetMessage(&level)) {
        const std::string message = text;
        if (fault.empty() && level == kErrorLevel &&
            message.find(quotedName) != std::string::npos) {
            fault = message;
        }
    }
    return fault.empty()
               ? "cannot load '" + model_.contentDirectory + "/" + model_.resourceName + "'"
               : fault;
}

// Stands the model upright, scales and moves its node so that its box fills about two thirds of
// the start view, then sets the light rig around the box where it now stands.
void ModelScene::placeModel() {
    // The box is measured upright; a file already standing on +Y needs no turn first.
    const Point3 turn = uprightRotation(up_);
    if (up_ != UpAxis::PlusY) {
        h3dSetNodeTransform(modelNode, 0, 0, 0, turn.x, turn.y, turn.z, 1, 1, 1);
    }
    Box3 box;
    if (!h3dGetNodeAABB(modelNode, &box.minimum.x, &box.minimum.y, &box.minimum.z, &box.maximum.x,
                        &box.maximum.y, &box.maximum.z)) {
        return;
    }
    const ModelPlacement placement = placeModelInView(box, ViewerApp::kFieldOfView, framedAspect_);
    h3dSetNodeTransform(modelNode, placement.translation.x, placement.translation.y,
                        placement.translation.z, turn.x, turn.y, turn.z, placement.scale,
                        placement.scale, placement.scale);
    const Box3 placed = placedBox(box, placement);
    framedCentre_ = {(placed.minimum.x + placed.maximum.x) * 0.5f,
                     (placed.minimum.y + placed.maximum.y) * 0.5f,
                     (placed.minimum.z + placed.maximum.z) * 0.5f};
    const float halfWidth = (placed.maximum.x - placed.minimum.x) * 0.5f;
    const float halfHeight = (placed.maximum.y - placed.minimum.y) * 0.5f;
    const float halfDepth = (placed.maximum.z - placed.minimum.z) * 0.5f;
    framedRadius_ =
        std::sqrt(halfWidth * halfWidth + halfHeight * halfHeight + halfDepth * halfDepth);
    for (const RigLight& light : lightRigAround(placed)) {
        const H3DNode node = h3dAddLightNode(H3DRootNode, light.name, light.red, light.green,
                                             light.blue, light.radius, light.castsShadows);
        h3dSetNodeTransform(node, light.position.x, light.position.y, light.position.z, 0, 0, 0, 1,
                            1, 1);
    }
}
