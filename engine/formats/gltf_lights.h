// The lights of a glTF file (KHR_lights_punctual) in the engine's units.
#pragma once

#include <string>
#include <vector>

#include <tiny_gltf.h>

#include "engine/formats/gltf_geometry.h"

namespace engine {

// Colour times intensity over pi: a light of intensity 1 (candela for point and spot lights,
// lux for directional ones) lights a white surface facing it, at 1 unit for the first two, as
// a viewer that divides the diffuse term by pi shows it. Point and spot lights fall off with
// the square of the distance. Bad values are clamped with a warning.
std::vector<GeometryLight> readGltfLights(const tinygltf::Model& model,
                                          std::vector<std::string>& warnings);
// The light index a node names; -1 for none.
int nodeLight(const tinygltf::Node& node);

}  // namespace engine
