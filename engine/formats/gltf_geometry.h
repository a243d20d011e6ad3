// glTF 2.0 geometry (.glb, or .gltf with embedded or side buffers) read into one vertex array
// and one index array per file, so that each geometry resource uploads into one vertex buffer
// and one index buffer, the node tree that places its meshes and lights, and the file's
// materials and images, which become material and texture resources of their own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/formats/bounding_box.h"
#include "engine/formats/geometry_motion.h"
#include "engine/formats/geometry_vertex.h"
#include "engine/formats/material_format.h"
#include "engine/formats/parsed.h"

namespace engine {

// One triangle list. Its indices count from its own first vertex, so that primitives of up to
// 65536 vertices keep 16-bit indices however large the whole file is.
// A simplified version of a primitive's triangles (see detail_levels.h).
struct GeometryLevel {
    std::uint32_t firstIndex = 0;
    std::uint32_t indexCount = 0;
    // How far, at most, its surface strays from the full one, in the mesh's units.
    float error = 0.0f;
};

// What a primitive's indices list: triangles (strips and fans are made lists), line segments
// (strips and loops likewise) or points.
enum class PrimitiveShape { Triangles, Lines, Points };

struct GeometryPrimitive {
    std::uint32_t firstVertex = 0;
    std::uint32_t vertexCount = 0;
    // Into shortIndices, or into longIndices when wideIndices.
    std::uint32_t firstIndex = 0;
    std::uint32_t indexCount = 0;
    bool wideIndices = false;
    BoundingBox bounds;
    // Its index in GeometryDesc::materials; -1 for the default material.
    int material = -1;
    // Coarser and coarser, in the same index list as the primitive's own indices.
    std::vector<GeometryLevel> levels;
    PrimitiveShape shape = PrimitiveShape::Triangles;
    // Where its vertices' joints and weights start in GeometryDesc::skinVertices; -1 when it
    // has none.
    std::int64_t firstSkinVertex = -1;
    // Whether some vertex has joints beyond the first four.
    bool eightInfluences = false;
    // The highest joint index its vertices name.
    std::uint32_t highestJoint = 0;
    std::vector<MorphTarget> targets;
};

struct GeometryMesh {
    std::string name;
    std::vector<GeometryPrimitive> primitives;
    // Around every pose its morph targets can give it with weights between 0 and 1.
    BoundingBox bounds;
    // The weights of its morph targets where its node gives none; empty without targets.
    std::vector<float> weights{};

    bool skinned() const { return !primitives.empty() && primitives.front().firstSkinVertex >= 0; }
};

// A node of the file's scene.
struct GeometryNode {
    std::string name;
    // Its parent's index in GeometryDesc::nodes, which comes first; -1 for the scene's roots.
    int parent = -1;
    glm::mat4 local{1.0f};
    // Its mesh's index in GeometryDesc::meshes; -1 for none.
    int mesh = -1;
    // Its light's index in GeometryDesc::lights; -1 for none.
    int light = -1;
    // Its skin's index in GeometryDesc::skins, which bends its mesh; -1 for none.
    int skin = -1;
    // Its index among the file's nodes.
    int fileIndex = -1;
    // local as translation, rotation and scale, which animations replace one by one.
    NodePose rest{};
    // Its mesh's morph weights; empty for the mesh's own.
    std::vector<float> weights{};
    // Whether an animation moves it or a node above it.
    bool animated = false;
};

enum class LightShape { Point, Spot, Directional };

// A light of the file (KHR_lights_punctual), in the engine's units: it shines along its node's
// -z axis.
struct GeometryLight {
    std::string name;
    LightShape shape = LightShape::Point;
    // Linear colour times intensity, as the engine's lights take it.
    glm::vec3 color{1.0f};
    // The distance where the light ends; 0 for no end given by the file.
    float range = 0.0f;
    // Spot lights: the cone's inner and outer half-angles in radians.
    float innerConeAngle = 0.0f;
    float outerConeAngle = 0.7853982f;
};

// A material of the file, under the resource name it is declared with.
struct NamedMaterial {
    std::string name;
    MaterialDesc desc;
};

// An image the file's materials sample, under its texture resource's name: a file beside the
// glTF file is an ordinary texture, read as such; an image inside it comes with its bytes.
struct GeometryImage {
    std::string name;
    std::shared_ptr<const std::string> embeddedBytes;
};

struct GeometryDesc {
    std::vector<GeometryVertex> vertices;
    std::vector<std::uint16_t> shortIndices;
    std::vector<std::uint32_t> longIndices;
    std::vector<GeometryMesh> meshes;
    // Parents before their children; empty when the file has no nodes, which places each mesh
    // once, unmoved.
    std::vector<GeometryNode> nodes;
    std::vector<GeometryLight> lights;
    // Every primitive's material is one of these: the file's, and after them the default
    // material where a primitive names none.
    std::vector<NamedMaterial> materials;
    std::vector<GeometryImage> images;
    // The joints and weights of skinned primitives' vertices.
    std::vector<SkinVertex> skinVertices;
    std::vector<GeometrySkin> skins;
    std::vector<GeometryAnimation> animations;
    // What was left out of the file, for the loader to report with the file's name.
    std::vector<std::string> warnings;

    std::size_t triangleCount() const { return elementCount(PrimitiveShape::Triangles); }
    std::size_t lineCount() const { return elementCount(PrimitiveShape::Lines); }
    std::size_t pointCount() const { return elementCount(PrimitiveShape::Points); }

    // Triangles, line segments or points of all meshes.
    std::size_t elementCount(PrimitiveShape shape) const {
        std::size_t count = 0;
        for (const GeometryMesh& mesh : meshes) {
            for (const GeometryPrimitive& primitive : mesh.primitives) {
                count += primitive.shape == shape ? primitive.indexCount / cornersOf(shape) : 0;
            }
        }
        return count;
    }
    static std::uint32_t cornersOf(PrimitiveShape shape) {
        return shape == PrimitiveShape::Triangles ? 3 : shape == PrimitiveShape::Lines ? 2 : 1;
    }
};

// Reads a file a .gltf names beside itself (a buffer's uri); nothing, with the reason in error,
// when it cannot.
using SideFileReader =
    std::function<std::optional<std::string>(const std::string& uri, std::string& error)>;

// Binary (.glb) files are told from text (.gltf) by their first bytes. Meshes stay in their own
// space and the scene's nodes say where each is drawn, once per node that uses it; triangle
// strips and fans become lists, line strips and loops line lists; points and lines are drawn
// unlit, with a copy of their material (named "<material>#unlit"); primitives without positions
// are left out with a warning; animations, skins and morph targets that do not hold together are
// left out with a warning each, and the rest of the file loads in its rest pose; missing normals
// are made from the triangles (smooth where vertices are shared); missing texture coordinates
// are 0, colours white and tangents (1, 0, 0, 1).
// resourceName names the file's materials and images: "<name>#material<N>" and
// "<name>#image<N>", and images beside it by their path relative to it.
Parsed<GeometryDesc> parseGltfGeometry(std::string_view bytes, const SideFileReader& readSideFile,
                                       std::string_view resourceName = {});

}  // namespace engine
