#include "smooth_table.h"

namespace content {
namespace {

float slopeAt(const std::vector<TableKey>& keys, std::size_t i) {
    const std::size_t before = i == 0 ? 0 : i - 1;
    const std::size_t after = i + 1 < keys.size() ? i + 1 : i;
    return (keys[after].value - keys[before].value) / (keys[after].at - keys[before].at);
}

}  // namespace

float smoothTable(const std::vector<TableKey>& keys, float at) {
    if (at <= keys.front().at) {
        return keys.front().value;
    }
    if (at >= keys.back().at) {
        return keys.back().value;
    }
    std::size_t i = 0;
    while (keys[i + 1].at < at) {
        ++i;
    }
    const float span = keys[i + 1].at - keys[i].at;
    const float t = (at - keys[i].at) / span;
    const float t2 = t * t;
    const float t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * keys[i].value + (t3 - 2 * t2 + t) * span * slopeAt(keys, i) +
           (-2 * t3 + 3 * t2) * keys[i + 1].value + (t3 - t2) * span * slopeAt(keys, i + 1);
}

}  // namespace content
