// Writes meshes as a binary glTF 2.0 file (.glb): one node and one triangle primitive per mesh,
// with POSITION, NORMAL and TEXCOORD_0 and 16- or 32-bit indices.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh.h"

namespace content {

std::vector<std::uint8_t> encodeGlb(const std::vector<NamedMesh>& meshes);

}  // namespace content
