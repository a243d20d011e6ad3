#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <glm/vec3.hpp>

#include "generated_content.h"

namespace content_tests {
namespace {

const std::array<std::string, 6> kFaceNames{"sky_px.png", "sky_nx.png", "sky_py.png",
                                            "sky_ny.png", "sky_pz.png", "sky_nz.png"};

using Faces = std::array<DecodedImage, 6>;

Faces loadFaces() {
    Faces faces;
    for (std::size_t face = 0; face < faces.size(); ++face) {
        faces[face] = generatedImage(kFaceNames[face]);
    }
    return faces;
}

// The texel OpenGL samples for a direction: the major axis picks the face, the other two
// coordinates divided by it give s and t.
const std::uint8_t* sampleCube(const Faces& faces, glm::vec3 d) {
    const glm::vec3 a(std::fabs(d.x), std::fabs(d.y), std::fabs(d.z));
    int face = 0;
    float sc = 0.0f, tc = 0.0f, major = 0.0f;
    if (a.x >= a.y && a.x >= a.z) {
        face = d.x > 0.0f ? 0 : 1;
        sc = d.x > 0.0f ? -d.z : d.z;
        tc = -d.y;
        major = a.x;
    } else if (a.y >= a.z) {
        face = d.y > 0.0f ? 2 : 3;
        sc = d.x;
        tc = d.y > 0.0f ? d.z : -d.z;
        major = a.y;
    } else {
        face = d.z > 0.0f ? 4 : 5;
        sc = d.z > 0.0f ? d.x : -d.x;
        tc = -d.y;
        major = a.z;
    }
    const DecodedImage& image = faces[static_cast<std::size_t>(face)];
    const auto texel = [&image](float coordinate) {
        const int index = static_cast<int>(std::floor((coordinate + 1.0f) * 0.5f * image.width));
        return std::min(std::max(index, 0), image.width - 1);
    };
    return image.at(texel(sc / major), texel(tc / major));
}

int colorDifference(const std::uint8_t* a, const std::uint8_t* b) {
    return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
}

struct EdgeDifferences {
    double across = 0.0;  // between the texels either side of a cube edge
    double within = 0.0;  // between texels two apart on the same face, for comparison
};

// Walks all twelve cube edges: axis i and axis j are at their faces, the third varies.
EdgeDifferences measureEdges(const Faces& faces) {
    const float texel = 2.0f / static_cast<float>(faces[0].width);
    EdgeDifferences sums;
    long samples = 0;
    for (int i = 0; i < 3; ++i) {
        for (int j = i + 1; j < 3; ++j) {
            const int k = 3 - i - j;
            for (float si : {-1.0f, 1.0f}) {
                for (float sj : {-1.0f, 1.0f}) {
                    for (int step = 1; step < 200; ++step) {
                        glm::vec3 onFaceI(0.0f);
                        onFaceI[i] = si;
                        onFaceI[j] = sj * (1.0f - 0.5f * texel);
                        onFaceI[k] = -1.0f + 2.0f * static_cast<float>(step) / 200.0f;
                        glm::vec3 onFaceJ = onFaceI;
                        onFaceJ[i] = si * (1.0f - 0.5f * texel);
                        onFaceJ[j] = sj;
                        glm::vec3 inward = onFaceI;
                        inward[j] = sj * (1.0f - 2.5f * texel);
                        const std::uint8_t* a = sampleCube(faces, onFaceI);
                        sums.across += colorDifference(a, sampleCube(faces, onFaceJ));
                        sums.within += colorDifference(a, sampleCube(faces, inward));
                        ++samples;
                    }
                }
            }
        }
    }
    return {sums.across / static_cast<double>(samples), sums.within / static_cast<double>(samples)};
}

TEST(ContentSky, FacesAreSquareRgbImagesOfEqualSize) {
    const Faces faces = loadFaces();
    for (const DecodedImage& face : faces) {
        EXPECT_EQ(face.width, 512);
        EXPECT_EQ(face.height, 512);
        EXPECT_EQ(face.channels, 3);
    }
}

TEST(ContentSky, FacesJoinWithoutSeamsAlongEveryCubeEdge) {
    const EdgeDifferences differences = measureEdges(loadFaces());
    EXPECT_LE(differences.across, 1.5 * differences.within + 2.0)
        << "across " << differences.across << ", within a face " << differences.within;
}

TEST(ContentSky, PositiveXFaceMeetsPositiveZFace) {
    // +x's column 0 looks towards +z; +z's last column looks towards +x.
    const DecodedImage px = generatedImage("sky_px.png");
    const DecodedImage pz = generatedImage("sky_pz.png");
    long difference = 0;
    for (int row = 0; row < px.height; ++row) {
        difference += colorDifference(px.at(0, row), pz.at(pz.width - 1, row));
    }
    EXPECT_LT(static_cast<double>(difference) / px.height, 6.0);
}

TEST(ContentSky, StripStacksTheFacesInCubeMapOrder) {
    const DecodedImage strip = generatedImage("sky_cube.png");
    const Faces faces = loadFaces();
    ASSERT_EQ(strip.width, 512);
    ASSERT_EQ(strip.height, 6 * 512);
    ASSERT_EQ(strip.channels, 3);
    for (std::size_t face = 0; face < faces.size(); ++face) {
        const std::size_t faceBytes = faces[face].pixels.size();
        EXPECT_TRUE(std::equal(faces[face].pixels.begin(), faces[face].pixels.end(),
                               strip.pixels.begin() + static_cast<long>(face * faceBytes)))
            << kFaceNames[face];
    }
}

TEST(ContentSky, HasStarsAndADarkBackground) {
    long bright = 0, dark = 0;
    for (const DecodedImage& face : loadFaces()) {
        for (int y = 0; y < face.height; ++y) {
            for (int x = 0; x < face.width; ++x) {
                const std::uint8_t* pixel = face.at(x, y);
                const int sum = pixel[0] + pixel[1] + pixel[2];
                bright += sum > 600 ? 1 : 0;
                dark += sum < 60 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(bright, 500);
    EXPECT_GT(dark, 6 * 512 * 512 / 5);
}

}  // namespace
}  // namespace content_tests
