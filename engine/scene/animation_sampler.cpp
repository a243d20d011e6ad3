#include "engine/scene/animation_sampler.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

// The key's value, or for a cubic spline the value between its two tangents.
const float* keyValue(const AnimationSampler& sampler, std::size_t key) {
    const std::size_t perKey = sampler.interpolation == Interpolation::CubicSpline ? 3 : 1;
    const std::size_t middle = sampler.interpolation == Interpolation::CubicSpline ? 1 : 0;
    return sampler.values.data() + (key * perKey + middle) * sampler.components;
}

void copyKey(const AnimationSampler& sampler, std::size_t key, float* value) {
    std::copy_n(keyValue(sampler, key), sampler.components, value);
}

void normaliseRotation(float* value) {
    const float length = std::sqrt(value[0] * value[0] + value[1] * value[1] + value[2] * value[2] +
                                   value[3] * value[3]);
    if (length > 0.0f) {
        for (int component = 0; component < 4; ++component) {
            value[component] /= length;
        }
    } else {
        value[0] = value[1] = value[2] = 0.0f;
        value[3] = 1.0f;
    }
}

// Spherical blend of two unit quaternions, the short way. Keys less than about 16 degrees apart
// (as exporters sample them) blend linearly and are normalised: the path is the same, the pace
// differs by less than a hundredth of a degree, and it costs no trigonometry.
void blendRotation(const float* from, const float* to, float amount, float* value) {
    float cosine = from[0] * to[0] + from[1] * to[1] + from[2] * to[2] + from[3] * to[3];
    const float sign = cosine < 0.0f ? -1.0f : 1.0f;
    cosine *= sign;
    float fromWeight = 1.0f - amount;
    float toWeight = amount;
    if (cosine < 0.99f) {
        const float angle = std::acos(std::min(cosine, 1.0f));
        const float sine = std::sin(angle);
        fromWeight = std::sin((1.0f - amount) * angle) / sine;
        toWeight = std::sin(amount * angle) / sine;
    }
    for (int component = 0; component < 4; ++component) {
        value[component] = fromWeight * from[component] + toWeight * sign * to[component];
    }
    normaliseRotation(value);
}

// Hermite spline between key and key + 1, its tangents scaled by the interval.
void cubicBetween(const AnimationSampler& sampler, std::size_t key, float amount, float interval,
                  float* value) {
    const std::size_t components = sampler.components;
    const float* start = sampler.values.data() + (key * 3 + 1) * components;
    const float* leaving = sampler.values.data() + (key * 3 + 2) * components;
    const float* arriving = sampler.values.data() + ((key + 1) * 3) * components;
    const float* end = sampler.values.data() + ((key + 1) * 3 + 1) * components;
    const float t = amount;
    const float t2 = t * t;
    const float t3 = t2 * t;
    const float startWeight = 2.0f * t3 - 3.0f * t2 + 1.0f;
    const float leavingWeight = (t3 - 2.0f * t2 + t) * interval;
    const float endWeight = -2.0f * t3 + 3.0f * t2;
    const float arrivingWeight = (t3 - t2) * interval;
    for (std::size_t component = 0; component < components; ++component) {
        value[component] = startWeight * start[component] + leavingWeight * leaving[component] +
                           endWeight * end[component] + arrivingWeight * arriving[component];
    }
}

}  // namespace

void sampleAnimation(const AnimationSampler& sampler, float seconds, bool rotation, float* value) {
    const std::vector<float>& times = sampler.times;
    if (times.empty()) {
        return;
    }
    if (!(seconds > times.front())) {
        copyKey(sampler, 0, value);
    } else if (seconds >= times.back()) {
        copyKey(sampler, times.size() - 1, value);
    } else {
        // times[key] <= seconds < times[key + 1]
        const auto next = std::upper_bound(times.begin(), times.end(), seconds);
        const auto key = static_cast<std::size_t>(next - times.begin()) - 1;
        const float interval = times[key + 1] - times[key];
        const float amount = interval > 0.0f ? (seconds - times[key]) / interval : 1.0f;
        if (sampler.interpolation == Interpolation::Step) {
            copyKey(sampler, key, value);
        } else if (sampler.interpolation == Interpolation::CubicSpline) {
            cubicBetween(sampler, key, amount, interval, value);
        } else if (rotation) {
            blendRotation(keyValue(sampler, key), keyValue(sampler, key + 1), amount, value);
            return;
        } else {
            const float* from = keyValue(sampler, key);
            const float* to = keyValue(sampler, key + 1);
            for (std::size_t component = 0; component < sampler.components; ++component) {
                value[component] = from[component] + (to[component] - from[component]) * amount;
            }
        }
    }
    if (rotation) {
        normaliseRotation(value);
    }
}

}  // namespace engine
