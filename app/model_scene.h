// open-model's scene: one glTF file of the user's, placed ahead of the start camera under the
// shipped sky and lit by a default light rig together with the file's own lights, its first
// animation playing. The viewer's controls, pipelines and status line stay as they are.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/animation_player.h"
#include "app/model_file.h"
#include "app/model_placement.h"
#include "app/viewer_scene.h"
#include "engine/h3d.h"

class ModelScene : public ViewerScene {
  public:
    // clock: seconds of real time, for playing animations whatever the frame rate.
    ModelScene(const ModelFile& model, std::function<double()> clock);

    // Empty once the file has loaded; otherwise the engine's message saying why it did not.
    const std::string& loadFault() const { return loadFault_; }
    // What the engine made of the file (see modelSummary); empty until it has loaded.
    const std::string& summaryLine() const { return summaryLine_; }
    const AnimationPlayer& player() const { return player_; }

    // Settings read when the nodes are added: the file's up axis, the view's width over height
    // the model is framed for, where the first animation starts, and whether the status line
    // shows (not in pictures).
    void setUpAxis(UpAxis up) { up_ = up; }
    void setFramedAspect(float aspect) { framedAspect_ = aspect; }
    void setStartSeconds(float seconds) { startSeconds_ = seconds; }
    void setStatusLineShown(bool shown) { statusLineShown_ = shown; }
    // An equirectangular HDR image that lights the model and surrounds it instead of the
    // shipped sky and the default lights; none when empty.
    void setEnvironmentImage(const std::string& path) { environmentImage_ = path; }
    // The framed model's box centre and half diagonal in the scene, once placed.
    const Point3& framedCentre() const { return framedCentre_; }
    float framedRadius() const { return framedRadius_; }

    // Loads a file (another one, or the same one again after it changed) while the model on
    // screen stays; on success the new model replaces it, framed afresh, and its summary goes to
    // standard output. On failure the last good model stays, and reloadFault() says why, on the
    // status line and standard error, until a load succeeds.
    bool replaceModel(const ModelFile& model);
    const std::string& reloadFault() const { return reloadFault_; }
    const ModelFile& model() const { return model_; }
    // With watching on, the file is loaded again whenever its modification time changes.
    void setWatching(bool watching) { watching_ = watching; }
    // Added to the status line (the camera mode, the place among several files).
    void setStatusNote(std::string note) { statusNote_ = std::move(note); }
    // Lines shown over the picture below the status line; none when empty.
    void setOverlayLines(std::vector<std::string> lines) { overlayLines_ = std::move(lines); }

    H3DNode modelNode = 0;

    void declareResources() override;
    void loadContent() override;
    void addNodes() override;
    // Space pauses and resumes the animation, N plays the next one.
    void applyKeyStates(const bool* keyDown, const bool* keyDownBefore) override;
    // Poses the model at the animation's time and names it on the status line.
    void update(std::string& statusLine) override;

  private:
    ModelFile model_;
    std::function<double()> clock_;
    double lastClock_ = 0.0;
    H3DRes skyScene_ = 0;
    std::string environmentImage_;
    H3DRes geometry_ = 0;
    std::string loadFault_;
    std::string summaryLine_;
    AnimationPlayer player_;
    UpAxis up_ = UpAxis::PlusY;
    float framedAspect_ = 1366.0f / 768.0f;
    float startSeconds_ = 0.0f;
    bool statusLineShown_ = true;
    Point3 framedCentre_{0.0f, 0.0f, -kModelDistance};
    float framedRadius_ = 1.0f;

    std::string resourceName_;
    int loadGeneration_ = 0;
    std::array<H3DNode, 3> rigLights_{};
    std::string reloadFault_;
    bool watching_ = false;
    double lastWatchCheck_ = 0.0;
    long long fileTime_ = 0;
    std::string statusNote_;
    std::vector<std::string> overlayLines_;

    std::string takeLoadFault(const ModelFile& model, const std::string& resourceName) const;
    void readAnimations();
    void addModelNodes();
    void removeModelNodes();
    // Loads the environment image or takes the shipped sky, and lights the scene with it; false
    // with loadFault_ set when the image does not load.
    bool lightFromEnvironment();
    void placeModel();
    void reloadWhenChanged(double now);
    void showOverlay() const;
};
