// The viewer's one application object: the engine objects it works with, the camera's
// current and target pose, and the key states the frame loop samples for the flight controls.
// What the picture shows is the shipped world, or the scene it is handed (see ViewerScene).
#pragma once

#include <string>

#include "app/viewer_scene.h"
#include "engine/h3d.h"

class ViewerApp {
  public:
    // Key codes 0 to 319 are sampled; higher codes have no entry.
    static constexpr int kKeyCount = 320;
    // The camera's vertical field of view in degrees.
    static constexpr float kFieldOfView = 70.0f;

    // appDirectory is the program's directory with its trailing separator (or empty);
    // the content directory is that text followed directly by "/data".
    // scene, when given, replaces the shipped world and must outlive the ViewerApp.
    explicit ViewerApp(const std::string& appDirectory, ViewerScene* scene = nullptr);
    ViewerApp(const ViewerApp&) = delete;
    ViewerApp& operator=(const ViewerApp&) = delete;

    // Starts the engine in the current OpenGL context and assembles the scene; false only
    // when the engine does not start, and then no field has changed.
    bool initialize();
    // Fits the camera's viewport and projection and both pipelines' buffers to the window.
    void resizeViewport(int width, int height);
    // Moves the current pose towards the target pose and renders one frame through the camera.
    void renderFrame(float newFrameRate);
    // Switches the pipeline on a fresh F3 press and flies the target with W, S, A and D.
    void applyKeyStates();
    // Turns the target by 0.3 degree per pixel; dx positive to the right, dy positive upwards.
    void applyMouseMotion(float dx, float dy);

    // Written by the frame loop once per pass: the key states of this and of the previous pass.
    bool keyDown[kKeyCount];
    bool keyDownBefore[kKeyCount];

    float frameRate = 0.0f;
    std::string pipelineName;
    // The line the viewer shows in the top-left corner: pipeline, frame rate and position.
    std::string statusLine;

    H3DRes simplePipeline = 0;
    H3DRes masterPipeline = 0;
    H3DNode cameraNode = 0;
    H3DRes postMaterial = 0;
    // The font the status line is drawn with.
    H3DRes fontMaterial = 0;

    // The pose the camera shows: position in scene units, pitch and yaw in degrees.
    float curX = 0.0f;
    float curY = 0.0f;
    float curZ = 0.0f;
    float curPitch = 0.0f;
    float curYaw = 0.0f;

    // Scene units per second while a movement key is held.
    float moveSpeed = 16.0f;

    // The pose the controls move and the current pose follows.
    float targetX = 0.0f;
    float targetY = 0.0f;
    float targetZ = 0.0f;
    float targetPitch = 0.0f;
    float targetYaw = 0.0f;

    // The yaw still outstanding at the start of the latest frame; drives the roll and the blur.
    float yawDifference = 0.0f;

    std::string contentPath;

  private:
    ViewerScene* scene_ = nullptr;
    H3DRes worldScene_ = 0;

    void declareSceneResources();
    void loadSceneContent();
    void addSceneNodes();

    void switchPipeline();
    void flyAlongView(float sign, float step);
    void flySideways(float yawOffset, float step);
    void composeStatusLine();
    void showStatusLine();
};
