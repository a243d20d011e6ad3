// A fluted column pedestal about 1.2 units tall with its base at y = 0: square plinth, round
// base mouldings, a shaft with 24 flutes, a capital moulding and a square top slab.
#pragma once

#include "mesh.h"

namespace content {

constexpr float kPedestalHeight = 1.2f;

Mesh buildPedestal();

}  // namespace content
