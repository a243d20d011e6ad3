// open-model's parts of the shell beyond the viewer's: a picture rendered without any window,
// and the window with open-model's own keys.
#pragma once

#include <string>

struct ModelOptions;
class ModelScene;
class ModelSession;

// While open-model's window is open: what it shows and its controls; the wheel's last position.
extern ModelScene* gModelScene;
extern ModelSession* gModelSession;
extern int gModelWheelPosition;

// Writes options.outputPath from the first file through an off-screen context; 0 when written,
// else 1 with one line on standard error.
int renderModelPicture(const ModelOptions& options, const std::string& contentHome);

// Shows the files in a window, the first framed, until the user quits: 0, or 1 with one line on
// standard error when no window opens or the first file does not load.
int showModelsInWindow(const ModelOptions& options, const std::string& contentHome);
