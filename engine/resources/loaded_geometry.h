// A loaded geometry resource: one vertex buffer and one index buffer for the whole file, where
// each mesh's primitives lie in them, and the nodes that place the meshes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <epoxy/gl.h>

#include "engine/formats/bounding_box.h"
#include "engine/formats/gltf_geometry.h"
#include "engine/gpu/gl_object.h"
#include "engine/h3d.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct DetailLevelRange {
    GLintptr indexOffset = 0;
    GLsizei indexCount = 0;
    // In the mesh's own units (see GeometryLevel).
    float error = 0.0f;
};

struct PrimitiveRange {
    // Where the primitive's first vertex lies in the vertex buffer; its indices count from it.
    GLintptr vertexOffset = 0;
    GLintptr indexOffset = 0;
    GLsizei indexCount = 0;
    // The highest index, handed to the draw call so the driver need not scan the indices.
    GLuint lastIndex = 0;
    // GL_UNSIGNED_SHORT or GL_UNSIGNED_INT.
    GLenum indexType = GL_UNSIGNED_SHORT;
    // Its index in the file's materials; -1 for the default material.
    int material = -1;
    // Simplified versions, coarser and coarser, drawn in its place from afar.
    std::vector<DetailLevelRange> levels;
    // GL_TRIANGLES, GL_LINES or GL_POINTS.
    GLenum drawMode = GL_TRIANGLES;
    // Where its vertices' joints and weights lie in the skin buffer; -1 when it has none.
    GLintptr skinOffset = -1;
    // Whether some vertex has joints beyond the first four.
    bool eightInfluences = false;
};

// The primitives of a mesh that share one of the file's materials.
struct MeshPart {
    // Its index in LoadedGeometry::materials.
    int material = -1;
    std::vector<PrimitiveRange> primitives;
    BoundingBox bounds;
};

struct MeshRange {
    std::string name;
    BoundingBox bounds;
    std::vector<PrimitiveRange> primitives;
    // The same primitives grouped by their material, for meshes drawn with the file's own.
    std::vector<MeshPart> parts;
    std::uint32_t triangleCount = 0;
    std::uint32_t lineCount = 0;
    std::uint32_t pointCount = 0;
    // The weights of its morph targets where a node gives none; empty without targets.
    std::vector<float> morphWeights;
    // Where its first vertex lies in the vertex buffer; the others follow it.
    GLintptr firstVertexOffset = 0;
    // For a mesh with a skin or morph targets, what bending it on the CPU needs.
    std::shared_ptr<const BendableMesh> bendable;

    bool skinned() const { return !primitives.empty() && primitives.front().skinOffset >= 0; }
};

// Per node of the file: its place among the nodes the animations pose and among those whose
// morph weights they set; -1 where it is not.
struct MotionSlots {
    int pose = -1;
    int morph = -1;
};

// How the vertex buffer holds its vertices: whole GeometryVertex records, or PlainVertex ones
// where every vertex has the default tangent, colour and second texture coordinates (less than
// half the memory, and less for the rasterizer to fetch).
enum class VertexLayout { Full, Plain };

struct PlainVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 0.0f, 1.0f};
    glm::vec2 texCoord{0.0f};
};

inline std::size_t vertexSize(VertexLayout layout) {
    return layout == VertexLayout::Plain ? sizeof(PlainVertex) : sizeof(GeometryVertex);
}

inline bool hasDefaultExtras(const GeometryVertex& vertex) {
    const GeometryVertex defaults;
    return vertex.tangent == defaults.tangent && vertex.color == defaults.color &&
           vertex.texCoord1 == defaults.texCoord1;
}

struct LoadedGeometry : ResourcePayload {
    VertexLayout vertexLayout = VertexLayout::Full;
    GlBuffer vertexBuffer;
    GlBuffer indexBuffer;
    // The joints and weights of skinned primitives' vertices (SkinVertex records).
    GlBuffer skinBuffer;
    std::vector<MeshRange> meshes;
    // The file's node tree, which models instantiate; each use of a mesh draws these buffers.
    std::vector<GeometryNode> nodes;
    // The file's own materials and images, as material and texture resources; 0 where one
    // could not be declared.
    std::vector<H3DRes> materials;
    std::vector<H3DRes> textures;
    std::vector<GeometryLight> lights;
    std::vector<GeometrySkin> skins;
    std::vector<GeometryAnimation> animations;
    // The nodes whose transform some animation sets, and those whose morph weights it sets,
    // with each node's place among them.
    std::vector<int> posedNodes;
    std::vector<int> morphedNodes;
    std::vector<MotionSlots> motionSlots;
    // The scene nodes one model of this geometry adds below itself: a group per node of the
    // file's tree, a mesh node per use of a mesh, a light node per light; without a tree, a
    // mesh node per mesh.
    std::uint64_t nodesPerModel = 0;
};

}  // namespace engine
