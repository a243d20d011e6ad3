// Glial cells: small star-shaped bodies with thin tapering processes, in loose clusters.
#pragma once

#include <vector>

#include "mesh.h"

namespace content {

constexpr int kGliaClusters = 3;

// Each cluster is one mesh; together they fill a field about fifty units across.
std::vector<NamedMesh> buildGliaClusters();

}  // namespace content
