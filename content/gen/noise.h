// Hash-based noise: gradient noise in 3D for functions on the sky sphere, and lattice-periodic
// 2D noise so that textures tile without seams.
#pragma once

#include <cstdint>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace content {

std::uint32_t hashCell(int x, int y, int z, std::uint32_t seed);
// Maps a hash to [0, 1).
float hashToUnit(std::uint32_t hash);

// Roughly in [-1, 1].
float gradientNoise3(glm::vec3 point, std::uint32_t seed);
// Sum of octaves, each twice the frequency and half the amplitude; roughly in [-1, 1].
float fractalNoise3(glm::vec3 point, int octaves, std::uint32_t seed);

// Gradient noise whose lattice repeats every `period` cells; roughly in [-1, 1].
float periodicNoise2(glm::vec2 point, int period, std::uint32_t seed);
// Fractal noise over texture coordinates in [0, 1): tiles with period 1.
float periodicFractalNoise2(glm::vec2 uv, int basePeriod, int octaves, std::uint32_t seed);

// Distances to the nearest and second nearest feature point of a cellular pattern that tiles
// with period 1; `cells` feature points per side.
struct CellDistances {
    float nearest = 0.0f;
    float secondNearest = 0.0f;
};
CellDistances periodicCellDistances(glm::vec2 uv, int cells, std::uint32_t seed);

}  // namespace content
