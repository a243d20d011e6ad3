#include "app/viewer_app.h"
#include "shell/shell.h"

ViewerApp* gApp = nullptr;
bool gRunning = false;
bool gFullscreen = false;
int gLastMouseX = 0;
int gLastMouseY = 0;
double gFpsClock = 0.0;
bool gRebuildingWindow = false;
bool gMouseRebasePending = false;
int gWindowedWidth = kWindowWidth;
int gWindowedHeight = kWindowHeight;
InputCallbacks gInputCallbacks;
