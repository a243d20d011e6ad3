// The pipeline a camera is drawn with when its own cannot draw (its file or a material it
// names did not load): clear, the lit geometry straight to the screen, the overlays. A broken
// pipeline file then costs the user the looks, not the scene.
#pragma once

#include <memory>

#include "engine/resources/context_names.h"
#include "engine/resources/loaded_pipeline.h"
#include "engine/resources/resource_table.h"

namespace engine {

// The shader contexts it draws with: those the content's own simple pipelines use.
inline constexpr const char* kFallbackGeometryContext = "litScreen";
inline constexpr const char* kFallbackOverlayContext = "overlay";

std::unique_ptr<LoadedPipeline> makeFallbackPipeline(ContextNames& contextNames);

// A material a full-screen pass of the pipeline draws with, or that material's shader, that
// did not load; nothing when every pass can draw.
const Resource* brokenQuadResourceOf(const LoadedPipeline& pipeline,
                                     const ResourceTable& resources);

}  // namespace engine
