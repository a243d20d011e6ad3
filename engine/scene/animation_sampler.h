// The value of an animated property at a time, between the sampler's keys.
#pragma once

#include "engine/formats/geometry_motion.h"

namespace engine {

// Writes sampler.components floats to value. Before the first key the value is the first key's,
// after the last the last's. Rotations (x, y, z, w) blend the short way round and come out of
// unit length.
void sampleAnimation(const AnimationSampler& sampler, float seconds, bool rotation, float* value);

}  // namespace engine
