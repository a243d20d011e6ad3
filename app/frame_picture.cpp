#include "app/frame_picture.h"

#include "app/viewer_app.h"
#include "engine/h3dut.h"

bool writeFramePicture(const std::string& path, int width, int height) {
    const bool written = h3dutScreenshot(path.c_str(), width, height);
    h3dutDumpMessages();
    return written;
}

void startOnPipeline(ViewerApp& app, const std::string& pipelineName) {
    const H3DRes pipeline = pipelineName == "simple" ? app.simplePipeline : app.masterPipeline;
    h3dSetNodeParamI(app.cameraNode, H3DCamera::PipeResI, pipeline);
    app.pipelineName = pipelineName == "simple" ? "simple" : "master";
}
