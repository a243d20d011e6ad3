// The blending a pipeline command asks for, as OpenGL state.
#pragma once

#include "engine/formats/pipeline_format.h"

namespace engine {

// replace: no blending; add: source + destination; alpha: source over destination.
void applyBlend(BlendMode blend);

}  // namespace engine
