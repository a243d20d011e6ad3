#include "tests/fakes/recording_engine.h"

#include "tests/fakes/call_log.h"

RecordingEngine& recordingEngine() {
    static RecordingEngine engine;
    return engine;
}

void resetRecordingEngine() {
    recordingEngine() = RecordingEngine();
    clearCallLog();
}

bool h3dInit() {
    recordCall("h3dInit");
    return recordingEngine().initSucceeds;
}

void h3dRelease() {
    recordCall("h3dRelease");
}

bool h3dSetOption(H3DOptions::List option, float value) {
    recordCall("h3dSetOption", {static_cast<double>(option), value});
    return true;
}

H3DRes h3dAddResource(int type, const char* name, int flags) {
    recordCall("h3dAddResource", {static_cast<double>(type), static_cast<double>(flags)}, name);
    return recordingEngine().nextResourceHandle++;
}

bool h3dutLoadResourcesFromDisk(const char* contentDirectory) {
    recordCall("h3dutLoadResourcesFromDisk", {}, contentDirectory);
    return true;
}

H3DNode h3dAddCameraNode(H3DNode parent, const char* name, H3DRes pipelineResource) {
    recordCall("h3dAddCameraNode",
               {static_cast<double>(parent), static_cast<double>(pipelineResource)}, name);
    const H3DNode camera = recordingEngine().nextNodeHandle++;
    recordingEngine().nodeParams[{camera, H3DCamera::PipeResI}] = pipelineResource;
    return camera;
}

H3DNode h3dAddNodes(H3DNode parent, H3DRes sceneGraphResource) {
    recordCall("h3dAddNodes",
               {static_cast<double>(parent), static_cast<double>(sceneGraphResource)});
    return recordingEngine().nextNodeHandle++;
}

bool h3dIsResLoaded(H3DRes resource) {
    recordCall("h3dIsResLoaded", {static_cast<double>(resource)});
    return recordingEngine().resourcesLoad;
}

int h3dGetResParamI(H3DRes resource, int parameter) {
    recordCall("h3dGetResParamI", {static_cast<double>(resource), static_cast<double>(parameter)});
    const auto found = recordingEngine().resourceParams.find(parameter);
    return found != recordingEngine().resourceParams.end() ? found->second : 0;
}

float h3dGetResParamF(H3DRes resource, int parameter, int index) {
    recordCall("h3dGetResParamF", {static_cast<double>(resource), static_cast<double>(parameter),
                                   static_cast<double>(index)});
    const auto& animations = recordingEngine().animations;
    return index >= 0 && static_cast<std::size_t>(index) < animations.size()
               ? animations[static_cast<std::size_t>(index)].second
               : 0.0f;
}

const char* h3dGetResParamStr(H3DRes resource, int parameter, int index) {
    recordCall("h3dGetResParamStr", {static_cast<double>(resource), static_cast<double>(parameter),
                                     static_cast<double>(index)});
    const auto& animations = recordingEngine().animations;
    return index >= 0 && static_cast<std::size_t>(index) < animations.size()
               ? animations[static_cast<std::size_t>(index)].first.c_str()
               : "";
}

bool h3dSetModelAnimation(H3DNode modelNode, int animation, float seconds) {
    recordCall("h3dSetModelAnimation",
               {static_cast<double>(modelNode), static_cast<double>(animation), seconds});
    return true;
}

bool h3dSetEnvironment(H3DRes cubeTexture) {
    recordCall("h3dSetEnvironment", {static_cast<double>(cubeTexture)});
    return true;
}

H3DNode h3dAddModelNode(H3DNode parent, const char* name, H3DRes geometryResource) {
    recordCall("h3dAddModelNode",
               {static_cast<double>(parent), static_cast<double>(geometryResource)}, name);
    return recordingEngine().nextNodeHandle++;
}

H3DNode h3dAddLightNode(H3DNode parent, const char* name, float r, float g, float b, float radius,
                        bool castsShadows) {
    recordCall("h3dAddLightNode",
               {static_cast<double>(parent), r, g, b, radius, castsShadows ? 1.0 : 0.0}, name);
    return recordingEngine().nextNodeHandle++;
}

bool h3dGetNodeAABB(H3DNode node, float* minX, float* minY, float* minZ, float* maxX, float* maxY,
                    float* maxZ) {
    recordCall("h3dGetNodeAABB", {static_cast<double>(node)});
    const RecordingEngine& engine = recordingEngine();
    float* outputs[] = {minX, minY, minZ, maxX, maxY, maxZ};
    for (std::size_t index = 0; index < 6; ++index) {
        *outputs[index] = engine.nodesHaveBox ? engine.nodeBox[index] : 0.0f;
    }
    return engine.nodesHaveBox;
}

const char* h3dGetMessage(int* level) {
    recordCall("h3dGetMessage");
    static std::string text;
    std::deque<std::pair<int, std::string>>& queue = recordingEngine().messages;
    if (queue.empty()) {
        *level = 0;
        return "";
    }
    *level = queue.front().first;
    text = queue.front().second;
    queue.pop_front();
    return text.c_str();
}

void h3dSetNodeTransform(H3DNode node, float tx, float ty, float tz, float rx, float ry, float rz,
                         float sx, float sy, float sz) {
    recordCall("h3dSetNodeTransform",
               {static_cast<double>(node), tx, ty, tz, rx, ry, rz, sx, sy, sz});
}

void h3dSetNodeParamI(H3DNode node, int parameter, int value) {
    recordCall("h3dSetNodeParamI", {static_cast<double>(node), static_cast<double>(parameter),
                                    static_cast<double>(value)});
    recordingEngine().nodeParams[{node, parameter}] = value;
}

int h3dGetNodeParamI(H3DNode node, int parameter) {
    recordCall("h3dGetNodeParamI", {static_cast<double>(node), static_cast<double>(parameter)});
    const auto found = recordingEngine().nodeParams.find({node, parameter});
    return found != recordingEngine().nodeParams.end() ? found->second : 0;
}

void h3dSetupCameraView(H3DNode cameraNode, float fieldOfView, float aspect, float nearDistance,
                        float farDistance) {
    recordCall("h3dSetupCameraView",
               {static_cast<double>(cameraNode), fieldOfView, aspect, nearDistance, farDistance});
}

void h3dResizePipelineBuffers(H3DRes pipelineResource, int width, int height) {
    recordCall("h3dResizePipelineBuffers",
               {static_cast<double>(pipelineResource), static_cast<double>(width),
                static_cast<double>(height)});
}

bool h3dSetMaterialUniform(H3DRes materialResource, const char* name, float a, float b, float c,
                           float d) {
    recordCall("h3dSetMaterialUniform", {static_cast<double>(materialResource), a, b, c, d}, name);
    return true;
}

void h3dRender(H3DNode cameraNode) {
    recordCall("h3dRender", {static_cast<double>(cameraNode)});
}

void h3dFinalizeFrame() {
    recordCall("h3dFinalizeFrame");
}

void h3dClearOverlays() {
    recordCall("h3dClearOverlays");
}

float h3dGetStat(int stat) {
    recordCall("h3dGetStat", {static_cast<double>(stat)});
    return 0.0f;
}

void h3dutShowText(const char* text, float x, float y, float size, float r, float g, float b,
                   H3DRes fontMaterialResource) {
    recordCall("h3dutShowText", {x, y, size, r, g, b, static_cast<double>(fontMaterialResource)},
               text);
}

bool h3dutDumpMessages() {
    recordCall("h3dutDumpMessages");
    return true;
}

bool h3dutScreenshot(const char* fileName, int width, int height) {
    recordCall("h3dutScreenshot", {static_cast<double>(width), static_cast<double>(height)},
               fileName);
    return true;
}

H3DRes h3dFindResource(int type, const char* name) {
    recordCall("h3dFindResource", {static_cast<double>(type)}, name);
    return 0;
}

bool h3dRemoveNode(H3DNode node) {
    recordCall("h3dRemoveNode", {static_cast<double>(node)});
    return true;
}
