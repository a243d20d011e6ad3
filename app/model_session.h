// open-model's controls beyond the viewer's: Tab between free flight and the orbit around the
// model, R back to the framing, F5 to load the file again, PageDown and PageUp through several
// files, H for the list of keys, dropped files, and the screenshots' names.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/orbit_camera.h"

class ModelScene;
class ViewerApp;

class ModelSession {
  public:
    // files: as named on the command line, each already checked to be readable; the first is
    // the one the scene shows.
    ModelSession(ViewerApp& app, ModelScene& scene, std::vector<std::string> files);

    // A key's press; true when it is one of open-model's (Tab, R, F5, PageDown, PageUp, H).
    bool pressKey(int key);
    bool orbiting() const { return orbiting_; }
    // Left (0) and right (1) buttons, as the windowing interface numbers them.
    void pressMouseButton(int button, bool down);
    // Cursor motion in window pixels, y downwards; false in free flight, where the viewer turns.
    bool moveMouse(float dx, float dy);
    void turnWheel(int steps);
    // Adds the files to the list and shows the first; its fault when it cannot be a model file.
    std::optional<std::string> openDropped(const std::vector<std::string>& paths);

    // The camera back at the framing of the model, in whichever mode is on.
    void resetView();
    // "NAME-N.png" for the shown file, N the first number from 1 with no such file in folder.
    std::string screenshotName(const std::string& folder) const;
    // The mode, the place among several files and the key list, for the status line.
    void describeOnStatusLine();

  private:
    ViewerApp& app_;
    ModelScene& scene_;
    std::vector<std::string> files_;
    std::size_t shownFile_ = 0;
    OrbitCamera orbit_;
    bool orbiting_ = false;
    bool turning_ = false;
    bool panning_ = false;
    bool keysShown_ = false;

    void showFile(std::size_t index);
    void toggleOrbit();
    void followOrbit();
};
