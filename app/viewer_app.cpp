// Construction, engine start-up, scene assembly and the viewport of the ViewerApp.
#include "app/viewer_app.h"

#include "engine/h3dut.h"

namespace {

const float kNearDistance = 0.1f;
const float kFarDistance = 1000.0f;

}  // namespace

ViewerApp::ViewerApp(const std::string& appDirectory, ViewerScene* scene)
    : keyDown{}, keyDownBefore{}, contentPath(appDirectory + "/data"), scene_(scene) {}

bool ViewerApp::initialize() {
    if (!h3dInit()) {
        h3dutDumpMessages();
        return false;
    }

    h3dSetOption(H3DOptions::LoadTextures, 1.0f);
    h3dSetOption(H3DOptions::TexCompression, 0.0f);
    h3dSetOption(H3DOptions::FastAnimation, 0.0f);
    h3dSetOption(H3DOptions::MaxAnisotropy, 16.0f);
    h3dSetOption(H3DOptions::ShadowMapSize, 256.0f);

    // Every resource is declared before the single load, which also loads what they refer to.
    simplePipeline = h3dAddResource(H3DResTypes::Pipeline, "simple.pipeline.xml", 0);
    masterPipeline = h3dAddResource(H3DResTypes::Pipeline, "master.pipeline.xml", 0);
    declareSceneResources();
    fontMaterial = h3dAddResource(H3DResTypes::Material, "font.material.xml", 0);
    postMaterial = h3dAddResource(H3DResTypes::Material, "postprocess.material.xml", 0);

    // A missing file does not stop start-up: the engine's message queue reports it.
    h3dutLoadResourcesFromDisk(contentPath.c_str());
    loadSceneContent();

    cameraNode = h3dAddCameraNode(H3DRootNode, "Camera", masterPipeline);
    pipelineName = "master";

    addSceneNodes();
    return true;
}

void ViewerApp::declareSceneResources() {
    if (scene_ != nullptr) {
        scene_->declareResources();
        return;
    }
    h3dAddResource(H3DResTypes::SceneGraph, "hebe.scene.xml", 0);
    h3dAddResource(H3DResTypes::SceneGraph, "glue.scene.xml", 0);
    h3dAddResource(H3DResTypes::SceneGraph, "skybox.scene.xml", 0);
    worldScene_ = h3dAddResource(H3DResTypes::SceneGraph, "neuro2.scene.xml", 0);
}

void ViewerApp::loadSceneContent() {
    if (scene_ != nullptr) {
        scene_->loadContent();
    }
}

void ViewerApp::addSceneNodes() {
    if (scene_ != nullptr) {
        scene_->addNodes();
        return;
    }
    const H3DNode worldInstance = h3dAddNodes(H3DRootNode, worldScene_);
    h3dSetNodeTransform(worldInstance, 0, 0, 0, 0, 0, 0, 1, 1, 1);
}

void ViewerApp::resizeViewport(int width, int height) {
    h3dSetNodeParamI(cameraNode, H3DCamera::ViewportXI, 0);
    h3dSetNodeParamI(cameraNode, H3DCamera::ViewportYI, 0);
    h3dSetNodeParamI(cameraNode, H3DCamera::ViewportWidthI, width);
    h3dSetNodeParamI(cameraNode, H3DCamera::ViewportHeightI, height);
    h3dSetNodeParamI(cameraNode, H3DCamera::OccCullingI, 0);

    const float aspect = static_cast<float>(static_cast<double>(width) / height);
    h3dSetupCameraView(cameraNode, kFieldOfView, aspect, kNearDistance, kFarDistance);

    // Both pipelines follow the window, so an F3 switch finds its buffers at the right size.
    h3dResizePipelineBuffers(simplePipeline, width, height);
    h3dResizePipelineBuffers(masterPipeline, width, height);
}
