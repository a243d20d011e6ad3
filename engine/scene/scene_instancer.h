// Builds scene nodes from a loaded scene resource, following its references to other scenes.
#pragma once

#include <cstdint>
#include <string>

#include "engine/base/message_log.h"
#include "engine/h3d.h"
#include "engine/resources/resource_table.h"
#include "engine/scene/scene_graph.h"

namespace engine {

// The most nodes one instance may make, the scenes it references included: far more than any
// real scene, but few enough that a scene referencing another thousands of times over is
// refused before it takes the memory and the frame time.
inline constexpr std::uint64_t kMaximumNodesPerInstance = 1000000;

// The root node of the new instance under parent; 0 with a message when the scene resource
// is not loaded or the instance would exceed kMaximumNodesPerInstance. References to scenes that
// are not loaded, or that would include themselves, stay empty and leave a message.
H3DNode instantiateScene(SceneGraph& graph, const ResourceTable& resources, H3DNode parent,
                         H3DRes scene, MessageLog& log);

// A model node for a loaded geometry under parent, with the geometry's node tree below it, as a
// scene's <model> without a material makes it; 0 when parent is not a node.
H3DNode instantiateModel(SceneGraph& graph, const ResourceTable& resources, H3DNode parent,
                         const std::string& name, H3DRes geometry, MessageLog& log);

}  // namespace engine
