// Which OpenGL texture a material's texture entry samples: the loaded one, or the stand-in of
// the entry's kind when its file did not load.
#pragma once

#include <cstddef>

#include <epoxy/gl.h>

#include "engine/gpu/stand_in_textures.h"
#include "engine/resources/loaded_material.h"
#include "engine/resources/resource_table.h"

namespace engine {

// The stand-in also answers for a loaded texture of the other kind (a 2D file a cube sampler
// names, as the first declaration fixed it).
GLuint materialTexture(const LoadedMaterial& material, std::size_t entry,
                       const ResourceTable& resources, const StandInTextures& standIns);
// Gives the bound 2D texture of the entry the wraps and filters the material samples it with;
// stand-ins keep their own.
void applyTextureSampling(const LoadedMaterial& material, std::size_t entry,
                          const ResourceTable& resources);

}  // namespace engine
