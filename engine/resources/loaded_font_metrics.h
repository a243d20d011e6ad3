// Loaded font metrics: how the atlas of the font materials that name them is laid out.
#pragma once

#include "engine/formats/font_metrics.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct LoadedFontMetrics : ResourcePayload {
    FontMetrics metrics;
};

}  // namespace engine
