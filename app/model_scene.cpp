#include "app/model_scene.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/key_codes.h"

#include "app/model_placement.h"
#include "app/model_summary.h"
#include "app/viewer_app.h"
#include "engine/h3dut.h"

namespace {

const int kErrorLevel = 1;
// The shipped sky's cube texture, which the sky box's material names; and the sky boxes of the
// shipped sky and of an environment image.
const char* const kSkyTexture = "sky_cube.png";
const char* const kSkyScene = "skybox.scene.xml";
const char* const kEnvironmentSkyScene = "environment-sky.scene.xml";
const double kWatchInterval = 0.5;
// The key list below the status line, in fractions of the viewport.
const float kOverlayLeft = 0.02f;
const float kOverlayTop = 0.07f;
const float kOverlayTextSize = 0.028f;
const float kOverlayLineStep = 0.036f;
const float kOverlayShadow = 0.0015f;

std::string filePath(const ModelFile& model) {
    return model.contentDirectory + "/" + model.resourceName;
}

// Nanoseconds since the epoch, or 0 when the file cannot be read.
long long modificationTime(const std::string& path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(path, error);
    if (error) {
        return 0;
    }
    return static_cast<long long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
}

// "./" once per earlier load, after the folder: the same file under a name not yet loaded.
std::string spelledAfresh(const std::string& resourceName, int generation) {
    const std::string::size_type slash = resourceName.rfind('/');
    const std::string::size_type fileStart = slash == std::string::npos ? 0 : slash + 1;
    std::string spelled = resourceName.substr(0, fileStart);
    for (int count = 0; count < generation; ++count) {
        spelled += "./";
    }
    return spelled + resourceName.substr(fileStart);
}

ModelFigures figuresOf(H3DRes geometry) {
    ModelFigures figures;
    figures.meshes = h3dGetResParamI(geometry, H3DGeometry::MeshCountI);
    figures.triangles = h3dGetResParamI(geometry, H3DGeometry::TriangleCountI);
    figures.points = h3dGetResParamI(geometry, H3DGeometry::PointCountI);
    figures.lines = h3dGetResParamI(geometry, H3DGeometry::LineCountI);
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
    : model_(model), clock_(std::move(clock)), resourceName_(model.resourceName) {}

void ModelScene::declareResources() {
    skyScene_ = h3dAddResource(H3DResTypes::SceneGraph,
                               environmentImage_.empty() ? kSkyScene : kEnvironmentSkyScene, 0);
    // The file's own materials are drawn with the shipped model shader.
    h3dAddResource(H3DResTypes::Shader, "model.shader", 0);
}

// The shipped content has loaded by now, so the load from the file's folder reads only the file
// and what it names.
void ModelScene::loadContent() {
    if (!lightFromEnvironment()) {
        summaryLine_.clear();
        return;
    }
    geometry_ = h3dAddResource(H3DResTypes::Geometry, resourceName_.c_str(), 0);
    h3dutLoadResourcesFromDisk(model_.contentDirectory.c_str());
    fileTime_ = modificationTime(filePath(model_));
    if (!h3dIsResLoaded(geometry_)) {
        loadFault_ = takeLoadFault(model_, resourceName_);
        summaryLine_.clear();
        return;
    }
    loadFault_.clear();
    summaryLine_ = modelSummary(model_.displayName, figuresOf(geometry_));
    readAnimations();
}

// The file's glTF materials are lit by the sky around them. An environment image is read from
// its own folder, before the model's, so that nothing of the model's is looked for there.
bool ModelScene::lightFromEnvironment() {
    if (environmentImage_.empty()) {
        h3dSetEnvironment(h3dFindResource(H3DResTypes::Texture, kSkyTexture));
        return true;
    }
    const std::filesystem::path path(environmentImage_);
    const std::string name = path.filename().string();
    const H3DRes image =
        h3dAddResource(H3DResTypes::Texture, name.c_str(), H3DResFlags::TexCubemap);
    const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
    h3dutLoadResourcesFromDisk(folder.c_str());
    if (!h3dIsResLoaded(image) || !h3dSetEnvironment(image)) {
        loadFault_ = takeLoadFault(ModelFile{name, folder, name}, name);
        return false;
    }
    return true;
}

// The model is framed in the pose of its animation's start; after F1 rebuilt the scene, the
// animation goes on where it was.
void ModelScene::addNodes() {
    h3dAddNodes(H3DRootNode, skyScene_);
    addModelNodes();
    lastClock_ = clock_();
}

// The engine keeps a loaded resource under its name, so each load after the first spells the
// file's name afresh ("models/././robot.glb"); the images it names are read afresh with it.
bool ModelScene::replaceModel(const ModelFile& model) {
    ++loadGeneration_;
    const std::string name = spelledAfresh(model.resourceName, loadGeneration_);
    const H3DRes geometry = h3dAddResource(H3DResTypes::Geometry, name.c_str(), 0);
    h3dutLoadResourcesFromDisk(model.contentDirectory.c_str());
    if (!h3dIsResLoaded(geometry)) {
        reloadFault_ = takeLoadFault(model, name);
        std::fprintf(stderr, "open-model: %s\n", reloadFault_.c_str());
        return false;
    }
    removeModelNodes();
    model_ = model;
    resourceName_ = name;
    geometry_ = geometry;
    fileTime_ = modificationTime(filePath(model_));
    loadFault_.clear();
    reloadFault_.clear();
    summaryLine_ = modelSummary(model_.displayName, figuresOf(geometry_));
    player_ = AnimationPlayer();
    readAnimations();
    addModelNodes();
    std::printf("%s\n", summaryLine_.c_str());
    std::fflush(stdout);
    return true;
}

void ModelScene::addModelNodes() {
    if (!loadFault_.empty()) {
        modelNode = 0;
        return;
    }
    modelNode = h3dAddModelNode(H3DRootNode, model_.displayName.c_str(), geometry_);
    if (!player_.empty()) {
        h3dSetModelAnimation(modelNode, player_.current(), player_.time());
    }
    placeModel();
}

void ModelScene::removeModelNodes() {
    for (H3DNode& node : rigLights_) {
        if (node != 0) {
            h3dRemoveNode(node);
        }
        node = 0;
    }
    if (modelNode != 0) {
        h3dRemoveNode(modelNode);
    }
    modelNode = 0;
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
    reloadWhenChanged(now);
    player_.advance(now - lastClock_);
    lastClock_ = now;
    if (!player_.empty() && modelNode != 0) {
        h3dSetModelAnimation(modelNode, player_.current(), player_.time());
        if (statusLineShown_) {
            statusLine += " ANIM(Space, N): " + player_.describe();
        }
    }
    if (!statusLineShown_) {
        return;
    }
    statusLine += statusNote_;
    if (!reloadFault_.empty()) {
        statusLine += " RELOAD FAILED: " + reloadFault_;
    }
    showOverlay();
}

// An exporter writes the file again: checked twice a second, loaded when its time changed.
void ModelScene::reloadWhenChanged(double now) {
    if (!watching_ || now - lastWatchCheck_ < kWatchInterval) {
        return;
    }
    lastWatchCheck_ = now;
    const long long changed = modificationTime(filePath(model_));
    if (changed != 0 && changed != fileTime_) {
        fileTime_ = changed;
        replaceModel(model_);
    }
}

void ModelScene::showOverlay() const {
    if (overlayLines_.empty()) {
        return;
    }
    const H3DRes font = h3dFindResource(H3DResTypes::Material, "font.material.xml");
    float y = kOverlayTop;
    for (const std::string& line : overlayLines_) {
        h3dutShowText(line.c_str(), kOverlayLeft + kOverlayShadow, y + kOverlayShadow,
                      kOverlayTextSize, 0, 0, 0, font);
        h3dutShowText(line.c_str(), kOverlayLeft, y, kOverlayTextSize, 1.0f, 0.95f, 0.6f, font);
        y += kOverlayLineStep;
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
std::string ModelScene::takeLoadFault(const ModelFile& model,
                                      const std::string& resourceName) const {
    const std::string quotedName = "'" + resourceName + "'";
    std::string fault;
    int level = 0;
    for (const char* text = h3dGetMessage(&level); *text != '\0'; text = h3dGetMessage(&level)) {
        const std::string message = text;
        if (fault.empty() && level == kErrorLevel &&
            message.find(quotedName) != std::string::npos) {
            fault = message;
        }
    }
    return fault.empty() ? "cannot load '" + filePath(model) + "'" : fault;
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
    // An environment image is the light; only the file's own lights add to it.
    if (!environmentImage_.empty()) {
        return;
    }
    std::size_t lightIndex = 0;
    for (const RigLight& light : lightRigAround(placed)) {
        const H3DNode node = h3dAddLightNode(H3DRootNode, light.name, light.red, light.green,
                                             light.blue, light.radius, light.castsShadows);
        rigLights_[lightIndex++] = node;
        h3dSetNodeTransform(node, light.position.x, light.position.y, light.position.z, 0, 0, 0, 1,
                            1, 1);
    }
}
