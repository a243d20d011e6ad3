#include "app/model_session.h"

#include <filesystem>

#include "app/key_codes.h"
#include "app/model_file.h"
#include "app/model_options.h"
#include "app/model_scene.h"
#include "app/viewer_app.h"

namespace {

const int kLeftButton = 0;
const int kRightButton = 1;

CameraPose targetPoseOf(const ViewerApp& app) {
    CameraPose pose;
    pose.position = {app.targetX, app.targetY, app.targetZ};
    pose.pitch = app.targetPitch;
    pose.yaw = app.targetYaw;
    return pose;
}

}  // namespace

ModelSession::ModelSession(ViewerApp& app, ModelScene& scene, std::vector<std::string> files)
    : app_(app), scene_(scene), files_(std::move(files)) {
    describeOnStatusLine();
}

bool ModelSession::pressKey(int key) {
    if (key == viewer_keys::kTab) {
        toggleOrbit();
    } else if (key == viewer_keys::kR) {
        resetView();
    } else if (key == viewer_keys::kF5) {
        scene_.replaceModel(scene_.model());
    } else if (key == viewer_keys::kPageDown && files_.size() > 1) {
        showFile((shownFile_ + 1) % files_.size());
    } else if (key == viewer_keys::kPageUp && files_.size() > 1) {
        showFile((shownFile_ + files_.size() - 1) % files_.size());
    } else if (key == viewer_keys::kH) {
        keysShown_ = !keysShown_;
    } else {
        return false;
    }
    describeOnStatusLine();
    return true;
}

void ModelSession::pressMouseButton(int button, bool down) {
    if (button == kLeftButton) {
        turning_ = down;
    } else if (button == kRightButton) {
        panning_ = down;
    }
}

bool ModelSession::moveMouse(float dx, float dy) {
    if (!orbiting_) {
        return false;
    }
    if (turning_) {
        orbit_.turn(dx, dy);
    } else if (panning_) {
        orbit_.pan(dx, dy);
    } else {
        return true;
    }
    followOrbit();
    return true;
}

void ModelSession::turnWheel(int steps) {
    if (orbiting_) {
        orbit_.zoom(steps);
        followOrbit();
    }
}

std::optional<std::string> ModelSession::openDropped(const std::vector<std::string>& paths) {
    const std::size_t first = files_.size();
    for (const std::string& path : paths) {
        if (std::optional<std::string> fault = modelFileFault(path)) {
            return fault;
        }
    }
    files_.insert(files_.end(), paths.begin(), paths.end());
    if (files_.size() > first) {
        showFile(first);
    }
    describeOnStatusLine();
    return std::nullopt;
}

// The start pose the model was framed for: at the origin, looking along -z.
void ModelSession::resetView() {
    app_.targetX = 0.0f;
    app_.targetY = 0.0f;
    app_.targetZ = 0.0f;
    app_.targetPitch = 0.0f;
    app_.targetYaw = 0.0f;
    orbit_.aimFrom(targetPoseOf(app_), scene_.framedCentre());
}

std::string ModelSession::screenshotName(const std::string& folder) const {
    const std::string stem = std::filesystem::path(scene_.model().displayName).stem().string();
    for (int number = 1;; ++number) {
        const std::string name = stem + "-" + std::to_string(number) + ".png";
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::path(folder) / name, error)) {
            return name;
        }
    }
}

void ModelSession::describeOnStatusLine() {
    std::string note = orbiting_ ? " MODE(Tab): orbit" : " MODE(Tab): flight";
    if (files_.size() > 1) {
        note += " FILE(PgUp, PgDn): " + std::to_string(shownFile_ + 1) + "/" +
                std::to_string(files_.size());
    }
    note += " KEYS: H";
    scene_.setStatusNote(note);
    scene_.setOverlayLines(keysShown_ ? modelKeyLines() : std::vector<std::string>());
}

// A file that does not load leaves the shown one, and its place in the list, as they were.
void ModelSession::showFile(std::size_t index) {
    if (scene_.replaceModel(locateModelFile(files_[index]))) {
        shownFile_ = index;
        resetView();
    }
}

// Orbiting starts around the model's centre from where the camera is headed now.
void ModelSession::toggleOrbit() {
    orbiting_ = !orbiting_;
    turning_ = false;
    panning_ = false;
    if (orbiting_) {
        orbit_.aimFrom(targetPoseOf(app_), scene_.framedCentre());
        followOrbit();
    }
}

// The orbit sets the target pose; the viewer's smoothing carries the camera there.
void ModelSession::followOrbit() {
    const CameraPose pose = orbit_.pose();
    app_.targetX = pose.position.x;
    app_.targetY = pose.position.y;
    app_.targetZ = pose.position.z;
    app_.targetPitch = pose.pitch;
    app_.targetYaw = pose.yaw;
}
