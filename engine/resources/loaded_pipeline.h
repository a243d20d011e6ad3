// A loaded pipeline: its description and the render targets made for the current viewport.
#pragma once

#include "engine/formats/pipeline_format.h"
#include "engine/render/pipeline_targets.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct LoadedPipeline : ResourcePayload {
    PipelineDesc desc;
    PipelineTargets targets;
};

}  // namespace engine
