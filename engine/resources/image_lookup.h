// Images a model file names where they are not: written on another machine or in another
// letter case, they are looked for by their file name in the model's folder and the folders
// below it, nearest first, as a user who copied the model with its textures expects.
#pragma once

#include <string>

#include "engine/formats/gltf_geometry.h"

namespace engine {

// Renames each image beside the model that is missing to the file of its name (any letter case)
// found in the model's folder tree, in the images and in the materials that sample it, with a
// warning; images found nowhere keep their names (and load as the stand-in).
void findMisplacedImages(GeometryDesc& geometry, const std::string& directory,
                         const std::string& resourceName);

}  // namespace engine
