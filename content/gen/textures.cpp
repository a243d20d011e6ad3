#include "textures.h"

#include <cmath>
#include <functional>

#include <glm/common.hpp>
#include <glm/vec2.hpp>

#include "noise.h"
#include "vector_math.h"

namespace content {
namespace {

using Shader = std::function<glm::vec3(glm::vec2 uv)>;

Image paint(int size, const Shader& shader) {
    Image image(size, size, 3);
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const glm::vec2 uv((static_cast<float>(column) + 0.5f) / static_cast<float>(size),
                               (static_cast<float>(row) + 0.5f) / static_cast<float>(size));
            image.setColor(column, row, shader(uv));
        }
    }
    return image;
}

glm::vec3 membraneColor(glm::vec2 uv) {
    const CellDistances cells = periodicCellDistances(uv, 10, 11U);
    const float seam = 1.0f - smoothStep(0.02f, 0.16f, cells.secondNearest - cells.nearest);
    const float large = periodicFractalNoise2(uv, 3, 4, 12U);
    const float grain = periodicFractalNoise2(uv, 32, 3, 13U);
    const CellDistances pores = periodicCellDistances(uv, 40, 14U);
    const float pore = 1.0f - smoothStep(0.08f, 0.22f, pores.nearest);
    const glm::vec3 pink(0.8f, 0.46f, 0.52f);
    const glm::vec3 violet(0.55f, 0.36f, 0.62f);
    glm::vec3 color = glm::mix(pink, violet, 0.5f + 0.5f * large);
    color *= 0.9f + 0.1f * grain + 0.12f * (1.0f - cells.nearest);
    color = glm::mix(color, glm::vec3(0.38f, 0.16f, 0.28f), 0.7f * seam);
    return color + glm::vec3(0.12f, 0.1f, 0.08f) * pore;
}

glm::vec3 terminalGlowColor(glm::vec2 uv) {
    const CellDistances vesicles = periodicCellDistances(uv, 6, 21U);
    const float vesicle = 1.0f - smoothStep(0.05f, 0.45f, vesicles.nearest);
    const float mottle = periodicFractalNoise2(uv, 4, 4, 22U);
    const glm::vec3 amber(1.0f, 0.62f, 0.26f);
    const glm::vec3 hot(1.0f, 0.97f, 0.86f);
    return glm::mix(amber, hot, glm::clamp(0.35f + 0.55f * vesicle + 0.25f * mottle, 0.0f, 1.0f));
}

// Veins follow sine bands whose whole-number frequencies keep them tileable, pushed around
// by turbulence.
glm::vec3 marbleColor(glm::vec2 uv, std::uint32_t seed, glm::vec3 veinColor) {
    const float turbulence = periodicFractalNoise2(uv, 2, 6, seed);
    const float fineTurbulence = periodicFractalNoise2(uv, 3, 6, seed + 1U);
    const float mainBand = std::sin(kTwoPi * (2.0f * uv.x + uv.y) + 3.2f * turbulence);
    const float thinBand = std::sin(kTwoPi * (uv.x - 3.0f * uv.y) + 4.0f * fineTurbulence);
    const float mainVein = std::pow(1.0f - std::fabs(mainBand), 14.0f);
    const float haze = std::pow(1.0f - std::fabs(mainBand), 3.0f);
    const float thinVein = std::pow(1.0f - std::fabs(thinBand), 40.0f);
    const float cloud = periodicFractalNoise2(uv, 4, 5, seed + 2U);
    const glm::vec3 stone = glm::vec3(0.93f, 0.92f, 0.895f) * (0.97f + 0.04f * cloud);
    glm::vec3 color = glm::mix(stone, veinColor, 0.18f * haze);
    color = glm::mix(color, veinColor, 0.7f * mainVein);
    return glm::mix(color, veinColor, 0.45f * thinVein);
}

glm::vec3 gliaColor(glm::vec2 uv) {
    const float mottle = periodicFractalNoise2(uv, 4, 5, 41U);
    const CellDistances granules = periodicCellDistances(uv, 24, 42U);
    const float granule = 1.0f - smoothStep(0.1f, 0.3f, granules.nearest);
    const glm::vec3 teal(0.5f, 0.74f, 0.78f);
    return teal * (0.88f + 0.14f * mottle) + glm::vec3(0.14f, 0.16f, 0.12f) * granule;
}

}  // namespace

Image membraneTexture() {
    return paint(512, membraneColor);
}

Image terminalGlowTexture() {
    return paint(256, terminalGlowColor);
}

Image marbleTexture(std::uint32_t seed, glm::vec3 veinColor) {
    return paint(512, [seed, veinColor](glm::vec2 uv) { return marbleColor(uv, seed, veinColor); });
}

Image gliaTexture() {
    return paint(256, gliaColor);
}

}  // namespace content
