// A loaded scene resource: its description, instantiated anew by every h3dAddNodes.
#pragma once

#include "engine/formats/scene_format.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct LoadedScene : ResourcePayload {
    SceneDesc desc;
};

}  // namespace engine
