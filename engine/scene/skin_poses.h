// The poses of skinned mesh nodes: each joint's matrix and the box the bent mesh fills.
#pragma once

#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// Brings every skinned mesh node's pose up to date with its joints; world matrices must be
// current. A pose already made for the scene as it stands is kept.
void refreshSkinPoses(SceneGraph& scene, const ResourceTable& resources);

}  // namespace engine
