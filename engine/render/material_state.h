// Hands a material to the program in use through locations looked up before: its textures on
// units 0, 1, ... (stand-ins for those that did not load) and its vec4 uniforms.
#pragma once

#include "engine/gpu/stand_in_textures.h"
#include "engine/render/material_locations.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/resource_table.h"

namespace engine {

// The number of texture units the material took; the engine's own
// units (kEnvironmentBackgroundUnit and above) are never among them.
int applyMaterialState(const MaterialProgramLocations& locations, const LoadedMaterial& material,
                       const ResourceTable& resources, const StandInTextures& standIns);

}  // namespace engine
