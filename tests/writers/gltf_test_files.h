// Small glTF files built in memory for the tests: binary (.glb), text with the buffer in a
// data URI, or text with the buffer in a side file; and a few shapes to fill them with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

namespace gltf_test {

constexpr int kUnsignedByte = 5121;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kTriangles = 4;
constexpr int kTriangleStrip = 5;
constexpr int kTriangleFan = 6;
constexpr int kPoints = 0;
constexpr int kLines = 1;
constexpr int kLineLoop = 2;
constexpr int kLineStrip = 3;

struct Primitive {
    std::vector<glm::vec3> positions;
    // Left out of the file when empty.
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> texCoords;
    // Not indexed when empty.
    std::vector<std::uint32_t> indices;
    int indexType = kUnsignedShort;
    int mode = kTriangles;
    // Left out when negative.
    int material = -1;
};

struct Mesh {
    std::string name;
    std::vector<Primitive> primitives;
};

struct Node {
    int mesh = 0;
    glm::vec3 translation{0.0f};
    glm::vec3 scale{1.0f};
};

struct Document {
    std::vector<Mesh> meshes;
    // One node per mesh, unplaced, when empty.
    std::vector<Node> nodes;
    // The "materials" array's JSON; left out when empty.
    std::string materials;
};

std::string glbFile(const Document& document);
// A .glb of the JSON and the binary chunk; the buffer's length must be a multiple of 4.
std::string glbFrom(std::string json, const std::string& buffer);
std::string gltfWithDataUri(const Document& document);
// The .gltf text naming binName; the buffer's bytes go to binBytes.
std::string gltfWithSideBuffer(const Document& document, const std::string& binName,
                               std::string& binBytes);

// Outward-facing shapes with normals and texture coordinates, centred on the origin.
Mesh sphereMesh(const std::string& name, float radius, int rings, int segments);
Mesh boxMesh(const std::string& name, glm::vec3 halfSize);
// A square in the xy plane facing +z.
Mesh quadMesh(const std::string& name, float halfSize);

}  // namespace gltf_test
