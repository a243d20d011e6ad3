// The host shell: process entry, the window, the frame loop, the input callbacks and the
// F1 window-mode toggle. Everything runs on the one main thread.
#pragma once

#include <string>

class ViewerApp;

// Process-wide state shared by the loop and the callbacks; all zero at process start.
extern ViewerApp* gApp;
extern bool gRunning;
extern bool gFullscreen;
extern int gLastMouseX;
extern int gLastMouseY;
extern double gFpsClock;
// True while F1 rebuilds the window, and then until the new window's first position report:
// those reports set the mouse position without turning the camera.
extern bool gRebuildingWindow;
extern bool gMouseRebasePending;

// The whole life of the viewer process; returns its exit status (0, or -1 on failure).
int runViewer(int argc, char** argv);

// The directory part of the program path, up to and including its last '/' (else its last
// '\\'); empty when it holds neither, or when there is no path.
std::string extractAppDir(const char* path);

// Opens the window and registers the callbacks; on failure terminates the windowing
// library and returns false.
bool openAppWindow(int width, int height, bool fullscreen);

// Runs passes until a pass ends with gRunning cleared.
void runFrameLoop();

int onWindowClose();
void onKeyEvent(int key, int action);
void onMouseMove(int x, int y);
