// A small PCG32 generator: fixed seeds give the same stream on every run and platform, unlike
// the standard distributions whose algorithms are left to each library.
#pragma once

#include <cmath>
#include <cstdint>

#include <glm/vec3.hpp>

namespace content {

class Random {
  public:
    explicit Random(std::uint64_t seed) {
        next();
        state_ += seed;
        next();
    }

    std::uint32_t next() {
        const std::uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + kIncrement;
        const auto xorShifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
        const auto rotation = static_cast<std::uint32_t>(old >> 59U);
        return (xorShifted >> rotation) | (xorShifted << ((32U - rotation) & 31U));
    }

    // Uniform in [0, 1), from the top 24 bits so every value is exact in a float.
    float unit() { return static_cast<float>(next() >> 8U) * (1.0f / 16777216.0f); }

    float range(float low, float high) { return low + (high - low) * unit(); }

    // Uniform in [low, high] for small integer ranges.
    int integer(int low, int high) {
        const auto span = static_cast<std::uint32_t>(high - low + 1);
        return low + static_cast<int>(next() % span);
    }

    // Uniform on the unit sphere: uniform height and uniform angle.
    glm::vec3 direction() {
        const float z = range(-1.0f, 1.0f);
        const float angle = range(0.0f, 6.28318530718f);
        const float ring = std::sqrt(1.0f - z * z);
        return {ring * std::cos(angle), ring * std::sin(angle), z};
    }

  private:
    static constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
    std::uint64_t state_ = 0;
};

}  // namespace content
