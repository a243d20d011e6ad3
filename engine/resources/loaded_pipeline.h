// A loaded pipeline: its description and the render targets made for the current viewport.
#pragma once

#include <vector>

#include "engine/formats/pipeline_format.h"
#include "engine/h3d.h"
#include "engine/render/pipeline_targets.h"
#include "engine/render/view_key.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct LoadedPipeline : ResourcePayload {
    PipelineDesc desc;
    PipelineTargets targets;
    // Per command, stage after stage: the numbers of its context, shadow context and fill-only
    // context names, and the material it names (0 for none), resolved once when the pipeline loads.
    std::vector<int> contextIds;
    std::vector<int> shadowContextIds;
    std::vector<int> fillOnlyContextIds;
    std::vector<int> zeroContextIds;
    std::vector<H3DRes> materials;
    // Per stage: what a stage reused until the view turns last drew for.
    std::vector<ViewKey> stageViews;
};

}  // namespace engine
