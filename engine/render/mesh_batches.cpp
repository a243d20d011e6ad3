#include "engine/render/mesh_batches.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <unordered_map>

#include <glm/geometric.hpp>

#include "engine/gpu/buffer_upload.h"
#include "engine/render/scene_collector.h"
#include "engine/resources/vertex_upload.h"

namespace engine {

struct MeshBatches::Batch {
    LoadedGeometry geometry;
    MeshDraw draw;
};

namespace {

const glm::mat4 kIdentity(1.0f);

// A mesh's vertices and triangles as its buffers hold them, each primitive's indices made to
// count from the mesh's first vertex.
struct LocalMesh {
    std::vector<GeometryVertex> vertices;
    std::vector<std::uint32_t> indices;
};

LocalMesh readMesh(const LoadedGeometry& geometry, const std::vector<PrimitiveRange>& primitives);
void appendTransformed(const LocalMesh& local, const MeshDraw& mesh, LocalMesh& merged);
std::unique_ptr<MeshBatches::Batch> upload(const LocalMesh& merged, const MeshDraw& first,
                                           const BoundingBox& box);

std::uint32_t triangleCount(const std::vector<PrimitiveRange>& primitives) {
    std::uint32_t triangles = 0;
    for (const PrimitiveRange& primitive : primitives) {
        triangles += static_cast<std::uint32_t>(primitive.indexCount / 3);
    }
    return triangles;
}

// Meshes that may share a batch: the same program and material.
using Group = std::tuple<const LoadedShader*, int, H3DRes>;

struct GroupedMesh {
    Group group;
    std::size_t mesh;
    bool operator<(const GroupedMesh& other) const {
        return std::tie(group, mesh) < std::tie(other.group, other.mesh);
    }
};

Group groupOf(const MeshDraw& mesh) {
    return Group{mesh.shader, mesh.shaderVariant, mesh.materialHandle};
}

bool onlyTriangles(const std::vector<PrimitiveRange>& primitives) {
    return std::all_of(primitives.begin(), primitives.end(), [](const PrimitiveRange& primitive) {
        return primitive.drawMode == GL_TRIANGLES;
    });
}

// Blended meshes are drawn back to front one by one, so they stay apart; points and lines are
// few meshes and are drawn as they are.
bool mergeable(const MeshDraw& mesh) {
    return !mesh.moving && onlyTriangles(*mesh.primitives) && mesh.material->desc.frustumCulled &&
           mesh.material->desc.blend != MaterialBlend::Alpha && !mesh.worldBox.empty() &&
           triangleCount(*mesh.primitives) <= MeshBatches::kMostMergedTriangles;
}

}  // namespace

MeshBatches::MeshBatches() = default;
MeshBatches::~MeshBatches() = default;

const MeshDraw& MeshBatches::draw(int batch) const {
    return batches_[static_cast<std::size_t>(batch)]->draw;
}

void MeshBatches::clear() {
    batches_.clear();
    batchOfMesh_.clear();
}

void MeshBatches::dissolve(const std::vector<bool>& doomed) {
    for (int& owner : batchOfMesh_) {
        if (owner >= 0 && doomed[static_cast<std::size_t>(owner)]) {
            owner = -1;
        }
    }
    // The slots stay, so that the other batches keep their numbers.
    for (std::size_t batch = 0; batch < batches_.size(); ++batch) {
        if (doomed[batch]) {
            batches_[batch]->geometry.vertexBuffer.reset();
            batches_[batch]->geometry.indexBuffer.reset();
        }
    }
}

void MeshBatches::build(const std::vector<MeshDraw>& meshes, const MeshHierarchy& hierarchy) {
    clear();
    batchOfMesh_.assign(meshes.size(), -1);
    // Read back once per mesh however many nodes draw it.
    std::unordered_map<const std::vector<PrimitiveRange>*, LocalMesh> localMeshes;
    const auto localMeshOf = [&](const MeshDraw& mesh) -> const LocalMesh& {
        auto known = localMeshes.find(mesh.primitives);
        if (known == localMeshes.end()) {
            known = localMeshes.emplace(mesh.primitives, readMesh(*mesh.geometry, *mesh.primitives))
                        .first;
        }
        return known->second;
    };
    // Reused from batch to batch, so that merging 100,000 meshes allocates a few times, not
    // once per mesh.
    std::vector<GroupedMesh> leafMeshes;
    LocalMesh merged;
    hierarchy.forEachLeaf([&](const std::size_t* items, std::size_t count) {
        leafMeshes.clear();
        for (std::size_t index = 0; index < count; ++index) {
            const MeshDraw& mesh = meshes[items[index]];
            if (mergeable(mesh)) {
                leafMeshes.push_back({groupOf(mesh), items[index]});
            }
        }
        std::sort(leafMeshes.begin(), leafMeshes.end());
        for (std::size_t first = 0, end = 0; first < leafMeshes.size(); first = end) {
            end = first + 1;
            while (end < leafMeshes.size() && leafMeshes[end].group == leafMeshes[first].group) {
                ++end;
            }
            if (end - first < 2) {
                continue;
            }
            std::size_t vertexCount = 0;
            std::size_t indexCount = 0;
            for (std::size_t member = first; member < end; ++member) {
                const LocalMesh& local = localMeshOf(meshes[leafMeshes[member].mesh]);
                vertexCount += local.vertices.size();
                indexCount += local.indices.size();
            }
            merged.vertices.clear();
            merged.indices.clear();
            merged.vertices.reserve(vertexCount);
            merged.indices.reserve(indexCount);
            BoundingBox box;
            for (std::size_t member = first; member < end; ++member) {
                const MeshDraw& mesh = meshes[leafMeshes[member].mesh];
                appendTransformed(localMeshOf(mesh), mesh, merged);
                box.add(mesh.worldBox);
                batchOfMesh_[leafMeshes[member].mesh] = static_cast<int>(batches_.size());
            }
            batches_.push_back(upload(merged, meshes[leafMeshes[first].mesh], box));
        }
    });
}

namespace {

LocalMesh readMesh(const LoadedGeometry& geometry, const std::vector<PrimitiveRange>& primitives) {
    LocalMesh local;
    for (const PrimitiveRange& primitive : primitives) {
        const std::size_t base = local.vertices.size();
        const std::size_t vertexCount = static_cast<std::size_t>(primitive.lastIndex) + 1;
        local.vertices.resize(base + vertexCount);
        readVertices(geometry, primitive.vertexOffset, vertexCount, &local.vertices[base]);
        const auto indexCount = static_cast<std::size_t>(primitive.indexCount);
        if (primitive.indexType == GL_UNSIGNED_INT) {
            std::vector<std::uint32_t> indices(indexCount);
            readBufferBytes(GL_ELEMENT_ARRAY_BUFFER, geometry.indexBuffer, primitive.indexOffset,
                            indexCount * sizeof(std::uint32_t), indices.data());
            for (std::uint32_t index : indices) {
                local.indices.push_back(static_cast<std::uint32_t>(base) + index);
            }
        } else {
            std::vector<std::uint16_t> indices(indexCount);
            readBufferBytes(GL_ELEMENT_ARRAY_BUFFER, geometry.indexBuffer, primitive.indexOffset,
                            indexCount * sizeof(std::uint16_t), indices.data());
            for (std::uint16_t index : indices) {
                local.indices.push_back(static_cast<std::uint32_t>(base + index));
            }
        }
    }
    return local;
}

// Vertices into world space as the shader would put them; a mirrored mesh's triangles are
// turned round, so that the merged mesh winds counter-clockwise throughout.
void appendTransformed(const LocalMesh& local, const MeshDraw& mesh, LocalMesh& merged) {
    const auto base = static_cast<std::uint32_t>(merged.vertices.size());
    const glm::mat4& world = *mesh.worldMatrix;
    const glm::mat3 linear(world);
    for (GeometryVertex vertex : local.vertices) {
        vertex.position = glm::vec3(world * glm::vec4(vertex.position, 1.0f));
        vertex.normal = mesh.normalMatrix * vertex.normal;
        const glm::vec3 tangent = linear * glm::vec3(vertex.tangent);
        vertex.tangent = glm::vec4(tangent, mesh.mirrored ? -vertex.tangent.w : vertex.tangent.w);
        merged.vertices.push_back(vertex);
    }
    for (std::size_t corner = 0; corner + 2 < local.indices.size(); corner += 3) {
        const std::uint32_t a = local.indices[corner];
        const std::uint32_t b = local.indices[corner + (mesh.mirrored ? 2 : 1)];
        const std::uint32_t c = local.indices[corner + (mesh.mirrored ? 1 : 2)];
        merged.indices.insert(merged.indices.end(), {base + a, base + b, base + c});
    }
}

std::unique_ptr<MeshBatches::Batch> upload(const LocalMesh& merged, const MeshDraw& first,
                                           const BoundingBox& box) {
    auto batch = std::make_unique<MeshBatches::Batch>();
    LoadedGeometry& geometry = batch->geometry;
    UploadedVertices vertices = uploadVertices(merged.vertices.data(), merged.vertices.size());
    geometry.vertexBuffer = std::move(vertices.buffer);
    geometry.vertexLayout = vertices.layout;
    // Most batches have few vertices: 16-bit indices halve what their index buffers hold.
    const bool shortIndices = merged.vertices.size() <= 65536;
    if (shortIndices) {
        const std::vector<std::uint16_t> narrowed(merged.indices.begin(), merged.indices.end());
        geometry.indexBuffer = uploadStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, narrowed.data(),
                                                  narrowed.size() * sizeof(std::uint16_t));
    } else {
        geometry.indexBuffer = uploadStaticBuffer(GL_ELEMENT_ARRAY_BUFFER, merged.indices.data(),
                                                  merged.indices.size() * sizeof(std::uint32_t));
    }
    MeshRange range;
    range.bounds = box;
    PrimitiveRange primitive;
    primitive.indexCount = static_cast<GLsizei>(merged.indices.size());
    primitive.lastIndex = static_cast<GLuint>(merged.vertices.size() - 1);
    primitive.indexType = shortIndices ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
    range.primitives.push_back(primitive);
    range.triangleCount = static_cast<std::uint32_t>(merged.indices.size() / 3);
    geometry.meshes.push_back(range);

    MeshDraw& draw = batch->draw;
    draw = first;
    draw.worldMatrix = &kIdentity;
    draw.normalMatrix = glm::mat3(1.0f);
    draw.mirrored = false;
    draw.geometry = &geometry;
    draw.vertexBuffer = geometry.vertexBuffer.get();
    draw.vertexBase = 0;
    draw.primitives = &geometry.meshes.front().primitives;
    draw.worldBox = box;
    return batch;
}

}  // namespace
}  // namespace engine
