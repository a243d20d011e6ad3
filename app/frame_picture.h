// Pictures of what the viewer shows: the frame just rendered written as a PNG file, and the
// pipeline a picture or window starts on.
#pragma once

#include <string>

class ViewerApp;

// After ViewerApp::renderFrame and before the buffers are swapped; false, with the engine's
// message on standard error, when the file cannot be written.
bool writeFramePicture(const std::string& path, int width, int height);

// "master" or "simple"; the camera draws through it from the next frame.
void startOnPipeline(ViewerApp& app, const std::string& pipelineName);
