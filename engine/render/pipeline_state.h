// What the renderer keeps for one loaded pipeline between frames: the targets made for the
// viewport it was last sized for, and what each stage reused until the view turns last drew for.
#pragma once

#include <vector>

#include "engine/render/pipeline_targets.h"
#include "engine/render/view_key.h"

namespace engine {

struct PipelineState {
    PipelineTargets targets;
    // One per stage; grown to the pipeline's stages when it first runs.
    std::vector<ViewKey> stageViews;
};

}  // namespace engine
