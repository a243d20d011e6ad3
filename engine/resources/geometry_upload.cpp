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
std::shared_ptr<const BendableMesh> bendableMesh(const GeometryDesc& geometry,
                                                 const GeometryMesh& mesh);
void findMotionSlots(LoadedGeometry& loaded);
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

    if (!geometry.skinVertices.empty()) {
        loaded->skinBuffer = uploadStaticBuffer(GL_ARRAY_BUFFER, geometry.skinVertices.data(),
                                                geometry.skinVertices.size() * sizeof(SkinVertex));
    }
    for (const GeometryMesh& mesh : geometry.meshes) {
        loaded->meshes.push_back(meshRange(mesh, longStart, vertexSize(loaded->vertexLayout)));
        loaded->meshes.back().bendable = bendableMesh(geometry, mesh);
    }
    loaded->nodes = geometry.nodes;
    loaded->skins = geometry.skins;
    loaded->animations = geometry.animations;
    findMotionSlots(*loaded);
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
    range.morphWeights = mesh.weights;
    if (!mesh.primitives.empty()) {
        range.firstVertexOffset =
            static_cast<GLintptr>(mesh.primitives.front().firstVertex * vertexBytes);
    }
    for (const GeometryPrimitive& primitive : mesh.primitives) {
        PrimitiveRange drawn;
        drawn.vertexOffset = static_cast<GLintptr>(primitive.firstVertex * vertexBytes);
        if (primitive.firstSkinVertex >= 0) {
            drawn.skinOffset = static_cast<GLintptr>(
                static_cast<std::size_t>(primitive.firstSkinVertex) * sizeof(SkinVertex));
        }
        drawn.eightInfluences = primitive.eightInfluences;
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

// Only meshes with a skin or targets keep a copy of their vertices.
std::shared_ptr<const BendableMesh> bendableMesh(const GeometryDesc& geometry,
                                                 const GeometryMesh& mesh) {
    if (!mesh.skinned() && mesh.weights.empty()) {
        return nullptr;
    }
    auto bendable = std::make_shared<BendableMesh>();
    for (const GeometryPrimitive& primitive : mesh.primitives) {
        bendable->primitives.push_back(
            {static_cast<std::uint32_t>(bendable->vertices.size()), primitive.targets});
        const auto first = geometry.vertices.begin() + primitive.firstVertex;
        bendable->vertices.insert(bendable->vertices.end(), first, first + primitive.vertexCount);
        if (primitive.firstSkinVertex >= 0) {
            const auto skinFirst = geometry.skinVertices.begin() + primitive.firstSkinVertex;
            bendable->skinVertices.insert(bendable->skinVertices.end(), skinFirst,
                                          skinFirst + primitive.vertexCount);
        }
    }
    return bendable;
}

void findMotionSlots(LoadedGeometry& loaded) {
    loaded.motionSlots.assign(loaded.nodes.size(), MotionSlots{});
    for (const GeometryAnimation& animation : loaded.animations) {
        for (const AnimationChannel& channel : animation.channels) {
            MotionSlots& slots = loaded.motionSlots[static_cast<std::size_t>(channel.node)];
            if (channel.property != AnimatedProperty::Weights && slots.pose < 0) {
                slots.pose = static_cast<int>(loaded.posedNodes.size());
                loaded.posedNodes.push_back(channel.node);
            }
            if (channel.property == AnimatedProperty::Weights && slots.morph < 0) {
                slots.morph = static_cast<int>(loaded.morphedNodes.size());
                loaded.morphedNodes.push_back(channel.node);
            }
        }
    }
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
