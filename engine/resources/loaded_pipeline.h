// A loaded pipeline: its description, and for every command what it names resolved once when
// the pipeline loads, so that frames compare no strings.
#pragma once

#include <vector>

#include "engine/formats/pipeline_format.h"
#include "engine/h3d.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct ResolvedCommand {
    // Points into the pipeline's description, which never changes once loaded.
    const PipelineCommand* command = nullptr;
    // The numbers of the context names (see ContextNames); -1 where the command names none.
    int contextId = -1;
    int shadowContextId = -1;
    int fillOnlyContextId = -1;
    int zeroContextId = -1;
    // The material a quad draws with; 0 for none.
    H3DRes material = 0;
};

struct ResolvedStage {
    const PipelineStage* stage = nullptr;
    std::vector<ResolvedCommand> commands;
};

struct LoadedPipeline : ResourcePayload {
    LoadedPipeline() = default;
    // The resolved records point into desc.
    LoadedPipeline(const LoadedPipeline&) = delete;
    LoadedPipeline& operator=(const LoadedPipeline&) = delete;

    PipelineDesc desc;
    // One per stage of desc, in order.
    std::vector<ResolvedStage> stages;
};

}  // namespace engine
