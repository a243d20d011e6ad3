// The application object of open-model: the viewer's controls, pipelines and status line around
// one glTF file of the user's, placed ahead of the start camera under the shipped sky and lit by
// a default light rig together with the file's own lights.
#pragma once

#include <string>

#include "app/model_file.h"
#include "app/viewer_app.h"
#include "engine/h3d.h"

class ModelViewerApp : public ViewerApp {
  public:
    ModelViewerApp(const std::string& appDirectory, const ModelFile& model);

    // Empty once the file has loaded; otherwise the engine's message saying why it did not.
    const std::string& loadFault() const { return loadFault_; }
    // What the engine made of the file (see modelSummary); empty until it has loaded.
    const std::string& summaryLine() const { return summaryLine_; }

    H3DNode modelNode = 0;

  protected:
    void declareSceneResources() override;
    void loadSceneContent() override;
    void addSceneNodes() override;

  private:
    ModelFile model_;
    H3DRes skyScene_ = 0;
    H3DRes geometry_ = 0;
    std::string loadFault_;
    std::string summaryLine_;

    std::string takeLoadFault() const;
    void placeModel();
};
