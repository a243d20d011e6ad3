// open-model's parts of the shell beyond the viewer's: a picture rendered without any window,
// and the window with open-model's own keys.
#pragma once

#include <string>

struct ModelOptions;

// Writes options.outputPath from the first file through an off-screen context; 0 when written,
// else 1 with one line on standard error.
int renderModelPicture(const ModelOptions& options, const std::string& contentHome);
