#include "noise.h"

#include <cmath>

#include <glm/geometric.hpp>

namespace content {
namespace {

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

int wrap(int value, int period) {
    return ((value % period) + period) % period;
}

glm::vec3 latticeGradient3(int x, int y, int z, std::uint32_t seed) {
    const std::uint32_t hash = hashCell(x, y, z, seed);
    const float a = hashToUnit(hash) * 2.0f - 1.0f;
    const float b = hashToUnit(hash * 747796405U + 2891336453U) * 2.0f - 1.0f;
    const float c = hashToUnit(hash * 277803737U + 1013904223U) * 2.0f - 1.0f;
    return {a, b, c};
}

glm::vec2 latticeGradient2(int x, int y, std::uint32_t seed) {
    const float angle = hashToUnit(hashCell(x, y, 0, seed)) * 6.28318530718f;
    return {std::cos(angle), std::sin(angle)};
}

float cornerContribution3(glm::ivec3 cell, glm::vec3 offset, std::uint32_t seed) {
    return glm::dot(latticeGradient3(cell.x, cell.y, cell.z, seed), offset);
}

}  // namespace

std::uint32_t hashCell(int x, int y, int z, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B9U;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6BU;
    h = (h << 13U) | (h >> 19U);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35U;
    h = (h << 17U) | (h >> 15U);
    h ^= static_cast<std::uint32_t>(z) * 0x27D4EB2FU;
    h ^= h >> 16U;
    h *= 0x7FEB352DU;
    h ^= h >> 15U;
    h *= 0x846CA68BU;
    h ^= h >> 16U;
    return h;
}

float hashToUnit(std::uint32_t hash) {
    return static_cast<float>(hash >> 8U) * (1.0f / 16777216.0f);
}

float gradientNoise3(glm::vec3 point, std::uint32_t seed) {
    const glm::vec3 floored = glm::floor(point);
    const glm::ivec3 cell(floored);
    const glm::vec3 f = point - floored;
    const glm::vec3 t(fade(f.x), fade(f.y), fade(f.z));
    float corners[8];
    for (int i = 0; i < 8; ++i) {
        const glm::ivec3 corner(i & 1, (i >> 1) & 1, (i >> 2) & 1);
        corners[i] = cornerContribution3(cell + corner, f - glm::vec3(corner), seed);
    }
    const float x00 = lerp(corners[0], corners[1], t.x);
    const float x10 = lerp(corners[2], corners[3], t.x);
    const float x01 = lerp(corners[4], corners[5], t.x);
    const float x11 = lerp(corners[6], corners[7], t.x);
    return lerp(lerp(x00, x10, t.y), lerp(x01, x11, t.y), t.z);
}

float fractalNoise3(glm::vec3 point, int octaves, std::uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * gradientNoise3(point, seed + static_cast<std::uint32_t>(octave));
        point *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum * 1.6f;
}

float periodicNoise2(glm::vec2 point, int period, std::uint32_t seed) {
    const glm::vec2 floored = glm::floor(point);
    const int x0 = static_cast<int>(floored.x);
    const int y0 = static_cast<int>(floored.y);
    const glm::vec2 f = point - floored;
    float corners[4];
    for (int i = 0; i < 4; ++i) {
        const int dx = i & 1;
        const int dy = (i >> 1) & 1;
        const glm::vec2 gradient =
            latticeGradient2(wrap(x0 + dx, period), wrap(y0 + dy, period), seed);
        corners[i] = glm::dot(gradient, f - glm::vec2(dx, dy));
    }
    const float tx = fade(f.x);
    return lerp(lerp(corners[0], corners[1], tx), lerp(corners[2], corners[3], tx), fade(f.y)) *
           1.4f;
}

float periodicFractalNoise2(glm::vec2 uv, int basePeriod, int octaves, std::uint32_t seed) {
    float sum = 0.0f;
    float amplitude = 0.5f;
    int period = basePeriod;
    for (int octave = 0; octave < octaves; ++octave) {
        const auto octaveSeed = seed + static_cast<std::uint32_t>(octave) * 101U;
        sum += amplitude * periodicNoise2(uv * static_cast<float>(period), period, octaveSeed);
        period *= 2;
        amplitude *= 0.5f;
    }
    return sum * 1.6f;
}

CellDistances periodicCellDistances(glm::vec2 uv, int cells, std::uint32_t seed) {
    const glm::vec2 point = uv * static_cast<float>(cells);
    const glm::vec2 floored = glm::floor(point);
    CellDistances result{1e9f, 1e9f};
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const glm::vec2 cell = floored + glm::vec2(dx, dy);
            const int cx = wrap(static_cast<int>(cell.x), cells);
            const int cy = wrap(static_cast<int>(cell.y), cells);
            const std::uint32_t hash = hashCell(cx, cy, 7, seed);
            const glm::vec2 feature =
                cell + glm::vec2(hashToUnit(hash), hashToUnit(hash * 2654435761U + 12345U));
            const float distance = glm::length(point - feature);
            if (distance < result.nearest) {
                result.secondNearest = result.nearest;
                result.nearest = distance;
            } else if (distance < result.secondNearest) {
                result.secondNearest = distance;
            }
        }
    }
    return result;
}

}  // namespace content
