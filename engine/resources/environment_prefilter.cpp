#include "engine/resources/environment_prefilter.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include <glm/geometric.hpp>

#include "engine/formats/equirect_cube.h"

namespace engine {
namespace {

constexpr float kPi = 3.14159265358979f;
// GGX samples per prefiltered texel; each reads a source level as wide as its share of the
// lobe, so a few dozen suffice without noise.
constexpr int kSamplesPerTexel = 64;
// Spherical harmonics are projected from a level this small: the diffuse light is smooth.
constexpr int kHarmonicsSize = 32;

// Which face a direction leaves the cube through, and where on it.
struct FacePoint {
    int face;
    float s;
    float t;
};

FacePoint facePoint(const glm::vec3& direction);
glm::vec3 bilinear(const RadianceCube& cube, const FacePoint& point);
glm::vec3 sampleLevels(const std::vector<RadianceCube>& chain, const glm::vec3& direction,
                       float level);
std::vector<RadianceCube> halvingChain(const RadianceCube& top);
std::array<glm::vec3, 9> projectIrradiance(const RadianceCube& cube);
std::vector<float> texelSolidAngles(int size);

// One GGX sample in the frame of the normal (z up), with the source level it reads.
struct LobeSample {
    glm::vec3 toLight;
    float weight;
    float level;
};
std::vector<LobeSample> lobeSamples(float roughness, int sourceSize);
void prefilterFace(const std::vector<RadianceCube>& chain, const std::vector<LobeSample>& lobe,
                   int face, RadianceCube& target);

}  // namespace

glm::vec3 cubeDirection(int face, float s, float t) {
    return glm::normalize(cubeFaceDirection(face, s, t));
}

RadianceCube resizedCube(const RadianceCube& source, int size) {
    RadianceCube result;
    result.size = size;
    const bool wholeBoxes = source.size >= size && source.size % size == 0;
    const int box = wholeBoxes ? source.size / size : 1;
    const std::vector<float> solidAngles =
        wholeBoxes ? texelSolidAngles(source.size) : std::vector<float>();
    // Sizes that do not divide are sampled several times a texel, so that nothing aliases.
    const int samples = wholeBoxes ? 1 : std::max(1, (source.size + size - 1) / size);
    for (int face = 0; face < 6; ++face) {
        std::vector<glm::vec3>& texels = result.faces[static_cast<std::size_t>(face)];
        texels.assign(static_cast<std::size_t>(size) * static_cast<std::size_t>(size),
                      glm::vec3(0.0f));
        const std::vector<glm::vec3>& from = source.faces[static_cast<std::size_t>(face)];
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                glm::vec3 sum(0.0f);
                if (wholeBoxes) {
                    // Weighted by solid angle: texels near a face's corners cover less of the
                    // sphere than those near its centre.
                    float weights = 0.0f;
                    for (int row = y * box; row < (y + 1) * box; ++row) {
                        for (int column = x * box; column < (x + 1) * box; ++column) {
                            const float weight =
                                solidAngles[static_cast<std::size_t>(row * source.size + column)];
                            sum +=
                                from[static_cast<std::size_t>(row * source.size + column)] * weight;
                            weights += weight;
                        }
                    }
                    sum /= weights;
                } else {
                    for (int j = 0; j < samples; ++j) {
                        for (int i = 0; i < samples; ++i) {
                            const float s =
                                (static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / samples) /
                                static_cast<float>(size);
                            const float t =
                                (static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / samples) /
                                static_cast<float>(size);
                            sum += bilinear(source, {face, s, t});
                        }
                    }
                    sum /= static_cast<float>(samples * samples);
                }
                texels[static_cast<std::size_t>(y * size + x)] = sum;
            }
        }
    }
    return result;
}

PrefilteredEnvironment prefilterEnvironment(const RadianceCube& source, int threads) {
    PrefilteredEnvironment environment;
    std::vector<RadianceCube> chain = halvingChain(resizedCube(source, kEnvironmentSize));
    const RadianceCube& forHarmonics =
        chain[static_cast<std::size_t>(std::log2(kEnvironmentSize / kHarmonicsSize))];
    environment.irradiance = projectIrradiance(forHarmonics);

    environment.levels.resize(kEnvironmentLevels);
    environment.levels[0] = chain[0];
    std::vector<std::vector<LobeSample>> lobes(kEnvironmentLevels);
    for (int level = 1; level < kEnvironmentLevels; ++level) {
        RadianceCube& target = environment.levels[static_cast<std::size_t>(level)];
        target.size = kEnvironmentSize >> level;
        lobes[static_cast<std::size_t>(level)] =
            lobeSamples(static_cast<float>(level) / (kEnvironmentLevels - 1), kEnvironmentSize);
    }
    // Work items are (level, face) pairs, taken in turn by each thread.
    std::atomic<int> next{0};
    const int items = (kEnvironmentLevels - 1) * 6;
    auto work = [&]() {
        for (int item = next++; item < items; item = next++) {
            const int level = 1 + item / 6;
            prefilterFace(chain, lobes[static_cast<std::size_t>(level)], item % 6,
                          environment.levels[static_cast<std::size_t>(level)]);
        }
    };
    std::vector<std::thread> helpers;
    for (int thread = 1; thread < std::max(threads, 1); ++thread) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
    }
    return environment;
}

PrefilteredEnvironment uniformEnvironment(const glm::vec3& radiance) {
    PrefilteredEnvironment environment;
    environment.irradiance[0] = radiance;
    RadianceCube& cube = environment.levels.emplace_back();
    cube.size = 1;
    for (std::vector<glm::vec3>& face : cube.faces) {
        face.assign(1, radiance);
    }
    return environment;
}

glm::vec3 irradianceTowards(const PrefilteredEnvironment& environment, const glm::vec3& normal) {
    const std::array<glm::vec3, 9>& terms = environment.irradiance;
    const glm::vec3& n = normal;
    return terms[0] + terms[1] * n.y + terms[2] * n.z + terms[3] * n.x + terms[4] * (n.x * n.y) +
           terms[5] * (n.y * n.z) + terms[6] * (3.0f * n.z * n.z - 1.0f) + terms[7] * (n.x * n.z) +
           terms[8] * (n.x * n.x - n.y * n.y);
}

namespace {

FacePoint facePoint(const glm::vec3& direction) {
    const glm::vec3 size = glm::abs(direction);
    float across;
    float down;
    float major;
    int face;
    if (size.x >= size.y && size.x >= size.z) {
        face = direction.x > 0.0f ? 0 : 1;
        major = size.x;
        across = direction.x > 0.0f ? -direction.z : direction.z;
        down = -direction.y;
    } else if (size.y >= size.z) {
        face = direction.y > 0.0f ? 2 : 3;
        major = size.y;
        across = direction.x;
        down = direction.y > 0.0f ? direction.z : -direction.z;
    } else {
        face = direction.z > 0.0f ? 4 : 5;
        major = size.z;
        across = direction.z > 0.0f ? direction.x : -direction.x;
        down = -direction.y;
    }
    return {face, 0.5f * (across / major + 1.0f), 0.5f * (down / major + 1.0f)};
}

// Bilinear within the face; at its edges the nearest row or column repeats.
glm::vec3 bilinear(const RadianceCube& cube, const FacePoint& point) {
    const std::vector<glm::vec3>& texels = cube.faces[static_cast<std::size_t>(point.face)];
    const float x = point.s * static_cast<float>(cube.size) - 0.5f;
    const float y = point.t * static_cast<float>(cube.size) - 0.5f;
    const float left = std::floor(x);
    const float top = std::floor(y);
    const float across = x - left;
    const float down = y - top;
    const int last = cube.size - 1;
    const int x0 = std::clamp(static_cast<int>(left), 0, last);
    const int x1 = std::clamp(static_cast<int>(left) + 1, 0, last);
    const int y0 = std::clamp(static_cast<int>(top), 0, last);
    const int y1 = std::clamp(static_cast<int>(top) + 1, 0, last);
    auto at = [&](int column, int row) {
        return texels[static_cast<std::size_t>(row * cube.size + column)];
    };
    return glm::mix(glm::mix(at(x0, y0), at(x1, y0), across),
                    glm::mix(at(x0, y1), at(x1, y1), across), down);
}

// Trilinear: between the two levels around a fractional one.
glm::vec3 sampleLevels(const std::vector<RadianceCube>& chain, const glm::vec3& direction,
                       float level) {
    const float clamped = std::clamp(level, 0.0f, static_cast<float>(chain.size() - 1));
    const int lower = static_cast<int>(clamped);
    const int upper = std::min(lower + 1, static_cast<int>(chain.size()) - 1);
    const FacePoint point = facePoint(direction);
    const glm::vec3 fine = bilinear(chain[static_cast<std::size_t>(lower)], point);
    if (upper == lower) {
        return fine;
    }
    return glm::mix(fine, bilinear(chain[static_cast<std::size_t>(upper)], point),
                    clamped - static_cast<float>(lower));
}

std::vector<RadianceCube> halvingChain(const RadianceCube& top) {
    std::vector<RadianceCube> chain{top};
    while (chain.back().size > 1) {
        chain.push_back(resizedCube(chain.back(), chain.back().size / 2));
    }
    return chain;
}

// The radiance's projection on the first nine harmonics, convolved with the cosine lobe and
// divided by pi, with each basis function's constant folded in.
std::array<glm::vec3, 9> projectIrradiance(const RadianceCube& cube) {
    constexpr float kBasis[9] = {0.282095f, 0.488603f, 0.488603f, 0.488603f, 1.092548f,
                                 1.092548f, 0.315392f, 1.092548f, 0.546274f};
    // The cosine lobe's weight per band (pi, 2 pi / 3, pi / 4), over pi.
    constexpr float kBand[9] = {1.0f,  2.0f / 3, 2.0f / 3, 2.0f / 3, 0.25f,
                                0.25f, 0.25f,    0.25f,    0.25f};
    std::array<glm::vec3, 9> terms{};
    const std::vector<float> solidAngles = texelSolidAngles(cube.size);
    for (int face = 0; face < 6; ++face) {
        for (int y = 0; y < cube.size; ++y) {
            for (int x = 0; x < cube.size; ++x) {
                const glm::vec3 n = cubeDirection(face, (static_cast<float>(x) + 0.5f) / cube.size,
                                                  (static_cast<float>(y) + 0.5f) / cube.size);
                const glm::vec3 radiance = cube.faces[static_cast<std::size_t>(face)]
                                                     [static_cast<std::size_t>(y * cube.size + x)] *
                                           solidAngles[static_cast<std::size_t>(y * cube.size + x)];
                const float polynomial[9] = {1.0f,
                                             n.y,
                                             n.z,
                                             n.x,
                                             n.x * n.y,
                                             n.y * n.z,
                                             3.0f * n.z * n.z - 1.0f,
                                             n.x * n.z,
                                             n.x * n.x - n.y * n.y};
                for (int term = 0; term < 9; ++term) {
                    terms[static_cast<std::size_t>(term)] +=
                        radiance * (kBasis[term] * kBasis[term] * kBand[term] * polynomial[term]);
                }
            }
        }
    }
    return terms;
}

// The solid angle each texel of a face covers (the same on every face), from the areas its
// corners span on the unit sphere; neighbouring texels share corners, which are worked out once.
std::vector<float> texelSolidAngles(int size) {
    const int corners = size + 1;
    std::vector<float> spans(static_cast<std::size_t>(corners * corners));
    const float step = 2.0f / static_cast<float>(size);
    for (int y = 0; y < corners; ++y) {
        for (int x = 0; x < corners; ++x) {
            const float u = -1.0f + static_cast<float>(x) * step;
            const float v = -1.0f + static_cast<float>(y) * step;
            spans[static_cast<std::size_t>(y * corners + x)] =
                std::atan2(u * v, std::sqrt(u * u + v * v + 1.0f));
        }
    }
    std::vector<float> angles(static_cast<std::size_t>(size * size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            auto span = [&](int column, int row) {
                return spans[static_cast<std::size_t>(row * corners + column)];
            };
            angles[static_cast<std::size_t>(y * size + x)] =
                span(x, y) - span(x, y + 1) - span(x + 1, y) + span(x + 1, y + 1);
        }
    }
    return angles;
}

float radicalInverse(unsigned bits) {
    bits = (bits << 16u) | (bits >> 16u);
    bits = ((bits & 0x55555555u) << 1u) | ((bits & 0xAAAAAAAAu) >> 1u);
    bits = ((bits & 0x33333333u) << 2u) | ((bits & 0xCCCCCCCCu) >> 2u);
    bits = ((bits & 0x0F0F0F0Fu) << 4u) | ((bits & 0xF0F0F0F0u) >> 4u);
    bits = ((bits & 0x00FF00FFu) << 8u) | ((bits & 0xFF00FF00u) >> 8u);
    return static_cast<float>(bits) * 2.3283064365386963e-10f;
}

// Importance-sampled GGX directions for a view straight along the normal; each reads the source
// level whose texels cover about the solid angle its sample stands for, which filters the lobe
// with few samples.
std::vector<LobeSample> lobeSamples(float roughness, int sourceSize) {
    const float alpha = roughness * roughness;
    const float alpha2 = alpha * alpha;
    const float texelAngle = 4.0f * kPi / (6.0f * static_cast<float>(sourceSize * sourceSize));
    std::vector<LobeSample> samples;
    for (int index = 0; index < kSamplesPerTexel; ++index) {
        const float first = (static_cast<float>(index) + 0.5f) / kSamplesPerTexel;
        const float second = radicalInverse(static_cast<unsigned>(index));
        const float cosine = std::sqrt((1.0f - second) / (1.0f + (alpha2 - 1.0f) * second));
        const float sine = std::sqrt(std::max(0.0f, 1.0f - cosine * cosine));
        const float angle = 2.0f * kPi * first;
        const glm::vec3 halfway(sine * std::cos(angle), sine * std::sin(angle), cosine);
        const glm::vec3 toLight = 2.0f * cosine * halfway - glm::vec3(0.0f, 0.0f, 1.0f);
        if (toLight.z <= 0.0f) {
            continue;
        }
        const float spread = cosine * cosine * (alpha2 - 1.0f) + 1.0f;
        const float density = alpha2 / (kPi * spread * spread) / 4.0f;
        const float sampleAngle = 1.0f / (kSamplesPerTexel * density);
        const float level = std::max(0.5f * std::log2(sampleAngle / texelAngle) + 1.0f, 0.0f);
        samples.push_back({toLight, toLight.z, level});
    }
    return samples;
}

void prefilterFace(const std::vector<RadianceCube>& chain, const std::vector<LobeSample>& lobe,
                   int face, RadianceCube& target) {
    const int size = target.size;
    std::vector<glm::vec3>& texels = target.faces[static_cast<std::size_t>(face)];
    texels.assign(static_cast<std::size_t>(size * size), glm::vec3(0.0f));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const glm::vec3 normal = cubeDirection(face, (static_cast<float>(x) + 0.5f) / size,
                                                   (static_cast<float>(y) + 0.5f) / size);
            const glm::vec3 helper =
                std::abs(normal.z) < 0.999f ? glm::vec3(0, 0, 1) : glm::vec3(1, 0, 0);
            const glm::vec3 tangent = glm::normalize(glm::cross(helper, normal));
            const glm::vec3 bitangent = glm::cross(normal, tangent);
            glm::vec3 sum(0.0f);
            float weight = 0.0f;
            for (const LobeSample& sample : lobe) {
                const glm::vec3 direction = tangent * sample.toLight.x +
                                            bitangent * sample.toLight.y +
                                            normal * sample.toLight.z;
                sum += sampleLevels(chain, direction, sample.level) * sample.weight;
                weight += sample.weight;
            }
            texels[static_cast<std::size_t>(y * size + x)] = weight > 0.0f ? sum / weight : sum;
        }
    }
}

}  // namespace
}  // namespace engine
