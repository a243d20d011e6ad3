#include "engine/resources/geometry_upload.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/gpu/buffer_upload.h"
#include "engine/resources/vertex_upload.h"

namespace engine {
namespace {

std::vector<unsigned char> packedIndices(const GeometryDesc& geometry, GLintptr& longStart);
MeshRange meshRange(const GeometryMesh& mesh, GLintptr longStart, std::size_t vertexBytes);
GLenum drawModeOf(PrimitiveShape shape);

}  // namespace

std::unique_ptr<LoadedGeometry> uploadGeometry(const GeometryDesc& geometry,
                                               const ResourceTable& resources) {
    auto loaded = std::make_unique<LoadedGeometry>();
    UploadedVertices vertices = uploadVertices(geometry.vertices.data(), geometry.vertices.size());
    loaded->vertexBuffer = std::move(vertices.buffer);
    loaded->vertexLayout = vertices.layout;

    GLintptr longStart = 0;
    std::vector<unsigned char> indices = packedIndices(geometry, longStart);
    loaded->indexBuffer =
        uploadStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, indices.data(), indices.size());

    for (const GeometryMesh& mesh : geometry.meshes) {
        loaded->meshes.push_back(meshRange(mesh, longStart, vertexSize(loaded->vertexLayout)));
    }
    loaded->nodes = geometry.nodes;
    loaded->lights = geometry.lights;
    loaded->nodesPerModel = modelNodeCount(geometry);
    for (const NamedMaterial& material : geometry.materials) {
        loaded->materials.push_back(resources.find(ResourceType::Material, material.name));
    }
    for (const GeometryImage& image : geometry.images) {
        loaded->textures.push_back(resources.find(ResourceType::Texture, image.name));
    }
    return loaded;
}

std::uint64_t modelNodeCount(const GeometryDesc& geometry) {
    if (geometry.nodes.empty()) {
        return geometry.meshes.size();
    }
    std::uint64_t count = geometry.nodes.size();
    for (const GeometryNode& node : geometry.nodes) {
        count += node.mesh >= 0 && static_cast<std::size_t>(node.mesh) < geometry.meshes.size();
        count += node.light >= 0 && static_cast<std::size_t>(node.light) < geometry.lights.size();
    }
    return count;
}

namespace {

// The 16-bit indices, then the 32-bit ones from a 4-byte boundary at longStart.
std::vector<unsigned char> packedIndices(const GeometryDesc& geometry, GLintptr& longStart) {
    const std::size_t shortBytes = geometry.shortIndices.size() * sizeof(std::uint16_t);
    const std::size_t alignedShortBytes = (shortBytes + 3) / 4 * 4;
    const std::size_t longBytes = geometry.longIndices.size() * sizeof(std::uint32_t);
    std::vector<unsigned char> bytes(alignedShortBytes + longBytes, 0);
    if (shortBytes > 0) {
        std::memcpy(bytes.data(), geometry.shortIndices.data(), shortBytes);
    }
    if (longBytes > 0) {
        std::memcpy(bytes.data() + alignedShortBytes, geometry.longIndices.data(), longBytes);
    }
    longStart = static_cast<GLintptr>(alignedShortBytes);
    return bytes;
}

MeshRange meshRange(const GeometryMesh& mesh, GLintptr longStart, std::size_t vertexBytes) {
    MeshRange range;
    range.name = mesh.name;
    range.bounds = mesh.bounds;
    for (const GeometryPrimitive& primitive : mesh.primitives) {
        PrimitiveRange drawn;
        drawn.vertexOffset = static_cast<GLintptr>(primitive.firstVertex * vertexBytes);
        drawn.indexCount = static_cast<GLsizei>(primitive.indexCount);
        drawn.lastIndex = primitive.vertexCount - 1;
        drawn.indexType = primitive.wideIndices ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
        drawn.material = primitive.material;
        auto offsetOf = [&](std::uint32_t firstIndex) {
            return primitive.wideIndices
                       ? longStart + static_cast<GLintptr>(firstIndex * sizeof(std::uint32_t))
                       : static_cast<GLintptr>(firstIndex * sizeof(std::uint16_t));
        };
        drawn.indexOffset = offsetOf(primitive.firstIndex);
        for (const GeometryLevel& level : primitive.levels) {
            drawn.levels.push_back(
                {offsetOf(level.firstIndex), static_cast<GLsizei>(level.indexCount), level.error});
        }
        range.primitives.push_back(drawn);
        drawn.drawMode = drawModeOf(primitive.shape);
        const std::uint32_t elements =
            primitive.indexCount / GeometryDesc::cornersOf(primitive.shape);
        (primitive.shape == PrimitiveShape::Triangles ? range.triangleCount
         : primitive.shape == PrimitiveShape::Lines   ? range.lineCount
                                                      : range.pointCount) += elements;
        auto part = std::find_if(range.parts.begin(), range.parts.end(), [&](const MeshPart& each) {
            return each.material == drawn.material;
        });
        if (part == range.parts.end()) {
            part = range.parts.insert(range.parts.end(), MeshPart{drawn.material, {}, {}});
        }
        part->primitives.push_back(drawn);
        part->bounds.add(primitive.bounds);
    }
    return range;
}

GLenum drawModeOf(PrimitiveShape shape) {
    switch (shape) {
        case PrimitiveShape::Lines:
            return GL_LINES;
        case PrimitiveShape::Points:
            return GL_POINTS;
        case PrimitiveShape::Triangles:
            break;
    }
    return GL_TRIANGLES;
}

}  // namespace
}  // namespace engine
