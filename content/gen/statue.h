// A marble statue of a standing draped figure, about 2.5 units tall with its round base at
// y = 0, facing +z: the right arm raises a jug, the left offers a shallow bowl.
#pragma once

#include "mesh.h"

namespace content {

Mesh buildStatue();

}  // namespace content
