// Smooth interpolation through keyed values (cubic Hermite with finite-difference slopes), for
// profiles that must bend without kinks.
#pragma once

#include <vector>

namespace content {

struct TableKey {
    float at = 0.0f;
    float value = 0.0f;
};

// Keys sorted by `at`; values outside the keys' range hold the end values.
float smoothTable(const std::vector<TableKey>& keys, float at);

}  // namespace content
