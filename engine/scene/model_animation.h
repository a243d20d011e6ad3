// A model's nodes and morph weights posed as one of its geometry's animations has them at a time.
#pragma once

#include "engine/h3d.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// Every node and morph weight the geometry's animations move is set from the animation's
// channels at seconds, or from the file's rest pose where the animation leaves it alone;
// animation -1 is the rest pose throughout. False when model is not a model node of a loaded
// geometry or the geometry has no such animation.
bool poseModelAnimation(SceneGraph& scene, const ResourceTable& resources, H3DNode model,
                        int animation, float seconds);

}  // namespace engine
