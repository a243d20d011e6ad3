// Builds scene nodes from a loaded scene resource, following its references to other scenes.
#pragma once

#include "engine/base/message_log.h"
#include "engine/h3d.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// The root node of the new instance under parent; 0 with a message when the scene resource
// is not loaded. References to scenes that are not loaded, or that would include themselves,
// stay empty and leave a message.
H3DNode instantiateScene(SceneGraph& graph, const ResourceTable& resources, H3DNode parent,
                         H3DRes scene, MessageLog& log);

}  // namespace engine
