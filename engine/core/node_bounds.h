// The world box of a node's subtree, for placing and framing what a scene shows.
#pragma once

#include "engine/formats/bounding_box.h"
#include "engine/h3d.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// The box around every mesh node at or below node, each mesh's own box carried into the world
// by its node; empty when there is none or node is not a node. Brings world matrices up to date.
BoundingBox subtreeWorldBounds(SceneGraph& scene, const ResourceTable& resources, H3DNode node);

}  // namespace engine
