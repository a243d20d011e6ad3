// What a program built on the viewer shows instead of the shipped world: the steps of scene
// assembly, its own keys and what it moves every frame. ViewerApp is handed one and calls it;
// without one it shows the shipped world.
#pragma once

#include <string>

class ViewerScene {
  public:
    // Declares the scene's resources, after the pipelines and before the overlay materials, so
    // that the one load from the content directory brings them in.
    virtual void declareResources() = 0;
    // Runs after that load and before the camera is made: loads what lies elsewhere.
    virtual void loadContent() = 0;
    // Adds the scene's nodes, after the camera.
    virtual void addNodes() = 0;
    // Once a frame, after the viewer's own keys, with the key states the loop sampled.
    virtual void applyKeyStates(const bool* keyDown, const bool* keyDownBefore) = 0;
    // Once a frame, before it is rendered: moves what moves and may add to the status line.
    virtual void update(std::string& statusLine) = 0;

  protected:
    ~ViewerScene() = default;
};
