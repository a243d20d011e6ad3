#include "curve.h"

namespace content {
namespace {

glm::vec3 catmullRom(glm::vec3 p0, glm::vec3 p1, glm::vec3 p2, glm::vec3 p3, float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return 0.5f * ((2.0f * p1) + (p2 - p0) * t + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * t2 +
                   (3.0f * p1 - p0 - 3.0f * p2 + p3) * t3);
}

}  // namespace

std::vector<glm::vec3> catmullRomPath(const std::vector<glm::vec3>& controls, int samplesPerSpan) {
    std::vector<glm::vec3> path;
    const std::size_t last = controls.size() - 1;
    for (std::size_t span = 0; span < last; ++span) {
        const glm::vec3 p0 = controls[span == 0 ? 0 : span - 1];
        const glm::vec3 p3 = controls[span + 1 < last ? span + 2 : last];
        for (int sample = 0; sample < samplesPerSpan; ++sample) {
            const float t = static_cast<float>(sample) / static_cast<float>(samplesPerSpan);
            path.push_back(catmullRom(p0, controls[span], controls[span + 1], p3, t));
        }
    }
    path.push_back(controls.back());
    return path;
}

}  // namespace content
