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

// The windowed size every program of the shell opens with.
inline constexpr int kWindowWidth = 1366;
inline constexpr int kWindowHeight = 768;
// The windowed size of this process: the above, unless open-model was asked for another.
extern int gWindowedWidth;
extern int gWindowedHeight;

// The whole life of the viewer process; returns its exit status (0, or -1 on failure).
int runViewer(int argc, char** argv);
// The whole life of open-model: argv[1] names the glTF file. 0 after Esc or a close request;
// 1, with one line on standard error, when the file is missing, is no glTF file or does not
// load, or when no window opens.
int runOpenModel(int argc, char** argv);

// Once gApp has started: fits it to the window, hides the mouse, runs the frame loop until the
// user quits and shuts down; returns 0.
int flyUntilQuit();
// Shown when the engine cannot start; returns -1 once the notice has been held.
int showFailureNotice();
// Releases the engine, then the application object, then the window and the windowing library.
void shutDown();

// The directory part of the program path, up to and including its last '/' (else its last
// '\\'); empty when it holds neither, or when there is no path.
std::string extractAppDir(const char* path);
// What ViewerApp is handed as the program's directory: extractAppDir's answer, except that a
// program found through PATH looks where it really lies, and an installed one, without data
// beside it, finds it in <prefix>/share/viewer.
std::string findContentHome(const char* programPath);

// Opens the window and registers the callbacks; on failure terminates the windowing
// library and returns false.
bool openAppWindow(int width, int height, bool fullscreen);

// Runs passes until a pass ends with gRunning cleared.
void runFrameLoop();

int onWindowClose();
void onKeyEvent(int key, int action);
void onMouseMove(int x, int y);

// The callbacks openAppWindow registers on every window it opens: the viewer's, unless a
// program of the shell (open-model) puts its own in; those left null are not registered.
struct InputCallbacks {
    void (*key)(int key, int action) = onKeyEvent;
    void (*mouseMove)(int x, int y) = onMouseMove;
    void (*mouseButton)(int button, int action) = nullptr;
    void (*wheel)(int position) = nullptr;
    void (*drop)(int count, const char** paths) = nullptr;
};
extern InputCallbacks gInputCallbacks;
