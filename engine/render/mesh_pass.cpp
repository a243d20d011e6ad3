#include "engine/render/mesh_pass.h"

#include <algorithm>

#include <glm/gtc/type_ptr.hpp>

#include "engine/formats/gltf_geometry.h"
#include "engine/gpu/blend_state.h"
#include "engine/render/detail_level.h"
#include "engine/render/material_state.h"

namespace engine {
namespace {

constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kNormalAttribute = 1;
constexpr GLuint kTexCoordAttribute = 2;
constexpr GLuint kTangentAttribute = 3;
constexpr GLuint kColorAttribute = 4;
constexpr GLuint kTexCoord1Attribute = 5;
constexpr GLuint kJointsAttribute = 6;
constexpr GLuint kWeightsAttribute = 7;
constexpr GLuint kJoints1Attribute = 8;
constexpr GLuint kWeights1Attribute = 9;

// Points of point primitives are squares of this many pixels, however far away.
constexpr GLfloat kPointSizePixels = 3.0f;

enum class Culling { Unset, None, BackFaces, FrontFaces };
enum class Winding { Unset, CounterClockwise, Clockwise };

// What the previous draw left bound, so that the next one changes only what differs.
struct BoundState {
    GLuint program = 0;
    H3DRes material = -1;
    const LoadedGeometry* geometry = nullptr;
    GLuint vertexBuffer = 0;
    GLintptr vertexOffset = -1;
    // Where the skin arrays point; -1 while they are off.
    GLintptr skinOffset = -1;
    int skinArrays = 0;
    VertexLayout layout = VertexLayout::Full;
    Culling culling = Culling::Unset;
    Winding frontFaces = Winding::Unset;
};

void enableVertexArrays(bool enable);
void pointVertexArrays(GLintptr vertexOffset, VertexLayout layout, BoundState& bound);
void pointSkinArrays(const MeshDraw& mesh, const PrimitiveRange& primitive, BoundState& bound);
void applyCulling(const MeshDraw& mesh, FaceSide culled, BoundState& bound);

}  // namespace

void MeshPass::draw(const std::vector<MeshDraw>& meshes, DrawContexts contexts,
                    const Frustum* frustum, FaceSide culled, const PassUniforms& pass,
                    MeshPassTools& tools) {
    gather(meshes, contexts, frustum, pass.lights);
    if (entries_.empty()) {
        return;
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        if (a.layer != b.layer) {
            return a.layer < b.layer;
        }
        if (a.layer == Layer::Blended) {
            return a.mesh->cameraDistance > b.mesh->cameraDistance;
        }
        if (a.program != b.program) {
            return a.program < b.program;
        }
        if (a.mesh->materialHandle != b.mesh->materialHandle) {
            return a.mesh->materialHandle < b.mesh->materialHandle;
        }
        return a.mesh->cameraDistance < b.mesh->cameraDistance;
    });
    drawEntries(culled, pass, tools);
}

void MeshPass::gather(const std::vector<MeshDraw>& meshes, DrawContexts contexts,
                      const Frustum* frustum, const LightSet* lights) {
    entries_.clear();
    for (const MeshDraw& mesh : meshes) {
        const bool visible = frustum != nullptr ? mesh.material->desc.frustumCulled &&
                                                      frustum->mayContain(mesh.worldBox)
                                                : mesh.inView;
        if (!visible) {
            continue;
        }
        ContextProgram* program = nullptr;
        // A mesh the key light cannot reach skips its per-pixel lighting and shadow lookup.
        if (contexts.fillOnlyContext >= 0 && lights != nullptr &&
            !keyLightMayReach(*lights, mesh.worldBox)) {
            program = mesh.shader->find(contexts.fillOnlyContext, mesh.shaderVariant);
        }
        if (program == nullptr) {
            program = mesh.shader->find(contexts.context, mesh.shaderVariant);
        }
        if (program != nullptr) {
            const Layer layer = !contexts.blendsMaterials                           ? Layer::Opaque
                                : mesh.material->desc.blend == MaterialBlend::Alpha ? Layer::Blended
                                : mesh.material->seesSceneBehind ? Layer::Transmissive
                                                                 : Layer::Opaque;
            entries_.push_back({program, &mesh, layer});
        }
    }
}

void MeshPass::drawEntries(FaceSide culled, const PassUniforms& pass, MeshPassTools& tools) const {
    BoundState bound;
    bool blending = false;
    bool sceneCopied = false;
    enableVertexArrays(true);
    glPointSize(kPointSizePixels);
    for (const Entry& entry : entries_) {
        const MeshDraw& mesh = *entry.mesh;
        // Blended glass sees the scene behind too, as far as it is drawn by then.
        if (mesh.material->seesSceneBehind && entry.layer != Layer::Opaque && !sceneCopied &&
            tools.sceneBehind != nullptr) {
            sceneCopied = true;
            tools.sceneBehind->capture();
        }
        if (entry.layer == Layer::Blended && !blending) {
            blending = true;
            applyBlend(BlendMode::Alpha);
            glDepthMask(GL_FALSE);
        }
        if (entry.program->program.get() != bound.program) {
            bound.program = entry.program->program.get();
            glUseProgram(bound.program);
            applyPassUniforms(*entry.program, pass);
            bound.material = -1;
        }
        if (mesh.materialHandle != bound.material) {
            bound.material = mesh.materialHandle;
            applyMaterialState(
                tools.locations.find(mesh.materialHandle, *mesh.material, bound.program),
                *mesh.material, tools.resources, tools.standIns);
        }
        applyCulling(mesh, culled, bound);
        const EngineUniforms& uniforms = entry.program->uniforms;
        glUniformMatrix4fv(uniforms.worldMatrix, 1, GL_FALSE, glm::value_ptr(*mesh.worldMatrix));
        glUniformMatrix3fv(uniforms.normalMatrix, 1, GL_FALSE, glm::value_ptr(mesh.normalMatrix));
        if (mesh.jointRows != nullptr && uniforms.jointRows >= 0) {
            glUniform4fv(uniforms.jointRows, static_cast<GLsizei>(mesh.jointRows->size()),
                         glm::value_ptr(mesh.jointRows->front()));
        }
        if (mesh.geometry != bound.geometry) {
            bound.geometry = mesh.geometry;
            bound.skinOffset = -1;
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.geometry->indexBuffer.get());
        }
        if (mesh.vertexBuffer != bound.vertexBuffer) {
            bound.vertexBuffer = mesh.vertexBuffer;
            bound.vertexOffset = -1;
            glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
        }
        for (const PrimitiveRange& primitive : *mesh.primitives) {
            const GLintptr vertexOffset = primitive.vertexOffset - mesh.vertexBase;
            if (vertexOffset != bound.vertexOffset) {
                bound.vertexOffset = vertexOffset;
                pointVertexArrays(vertexOffset, mesh.geometry->vertexLayout, bound);
            }
            pointSkinArrays(mesh, primitive, bound);
            // A far-away mesh draws a simplified level from the same vertices.
            const DetailLevelRange* level = chosenLevel(primitive, mesh.allowedDetailError);
            const GLsizei indexCount = level != nullptr ? level->indexCount : primitive.indexCount;
            const GLintptr indexOffset =
                level != nullptr ? level->indexOffset : primitive.indexOffset;
            glDrawRangeElements(primitive.drawMode, 0, primitive.lastIndex, indexCount,
                                primitive.indexType, reinterpret_cast<const void*>(indexOffset));
            tools.stats.countDraw(static_cast<std::uint64_t>(
                primitive.drawMode == GL_TRIANGLES ? indexCount / 3 : 0));
        }
    }
    enableVertexArrays(false);
    for (GLuint attribute :
         {kJointsAttribute, kWeightsAttribute, kJoints1Attribute, kWeights1Attribute}) {
        glDisableVertexAttribArray(attribute);
    }
    if (blending) {
        applyBlend(BlendMode::Replace);
        glDepthMask(GL_TRUE);
    }
    glFrontFace(GL_CCW);
    // A program still in use would outlive its deletion when the engine is released.
    glUseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

namespace {

void enableVertexArrays(bool enable) {
    for (GLuint attribute : {kPositionAttribute, kNormalAttribute, kTexCoordAttribute,
                             kTangentAttribute, kColorAttribute, kTexCoord1Attribute}) {
        if (enable) {
            glEnableVertexAttribArray(attribute);
        } else {
            glDisableVertexAttribArray(attribute);
        }
    }
}

// Where one attribute lies in a vertex of a layout.
struct AttributeArray {
    GLuint attribute;
    GLint components;
    std::size_t offset;
};

constexpr AttributeArray kFullArrays[] = {
    {kPositionAttribute, 3, offsetof(GeometryVertex, position)},
    {kNormalAttribute, 3, offsetof(GeometryVertex, normal)},
    {kTexCoordAttribute, 2, offsetof(GeometryVertex, texCoord)},
    {kTangentAttribute, 4, offsetof(GeometryVertex, tangent)},
    {kColorAttribute, 4, offsetof(GeometryVertex, color)},
    {kTexCoord1Attribute, 2, offsetof(GeometryVertex, texCoord1)},
};
constexpr AttributeArray kPlainArrays[] = {
    {kPositionAttribute, 3, offsetof(PlainVertex, position)},
    {kNormalAttribute, 3, offsetof(PlainVertex, normal)},
    {kTexCoordAttribute, 2, offsetof(PlainVertex, texCoord)},
};

// Switches the arrays that only full vertices hold on or off; a plain vertex's draws read the
// attributes' defaults instead.
void useLayout(VertexLayout layout, BoundState& bound) {
    if (layout == bound.layout) {
        return;
    }
    bound.layout = layout;
    for (GLuint attribute : {kTangentAttribute, kColorAttribute, kTexCoord1Attribute}) {
        if (layout == VertexLayout::Full) {
            glEnableVertexAttribArray(attribute);
        } else {
            glDisableVertexAttribArray(attribute);
        }
    }
    if (layout == VertexLayout::Plain) {
        glVertexAttrib4f(kTangentAttribute, 1.0f, 0.0f, 0.0f, 1.0f);
        glVertexAttrib4f(kColorAttribute, 1.0f, 1.0f, 1.0f, 1.0f);
        glVertexAttrib4f(kTexCoord1Attribute, 0.0f, 0.0f, 0.0f, 1.0f);
    }
}

void pointVertexArrays(GLintptr vertexOffset, VertexLayout layout, BoundState& bound) {
    useLayout(layout, bound);
    const bool plain = layout == VertexLayout::Plain;
    const auto stride = static_cast<GLsizei>(plain ? sizeof(PlainVertex) : sizeof(GeometryVertex));
    const auto point = [&](const auto& arrays) {
        for (const AttributeArray& array : arrays) {
            glVertexAttribPointer(
                array.attribute, array.components, GL_FLOAT, GL_FALSE, stride,
                reinterpret_cast<const void*>(vertexOffset + static_cast<GLintptr>(array.offset)));
        }
    };
    if (plain) {
        point(kPlainArrays);
    } else {
        point(kFullArrays);
    }
}

// Joints and weights come from the geometry's skin buffer, four or eight a vertex; a program
// for four reads only the first set. Joint indices stay whole numbers, weights are 0..1.
void pointSkinArrays(const MeshDraw& mesh, const PrimitiveRange& primitive, BoundState& bound) {
    const bool skinned = mesh.jointRows != nullptr && primitive.skinOffset >= 0;
    const int arrays = !skinned ? 0 : mesh.eightInfluences ? 4 : 2;
    const GLuint skinAttributes[] = {kJointsAttribute, kWeightsAttribute, kJoints1Attribute,
                                     kWeights1Attribute};
    for (int index = 0; index < 4; ++index) {
        const bool wanted = index < arrays;
        if (wanted != (index < bound.skinArrays)) {
            if (wanted) {
                glEnableVertexAttribArray(skinAttributes[index]);
            } else {
                glDisableVertexAttribArray(skinAttributes[index]);
            }
        }
    }
    bound.skinArrays = arrays;
    if (!skinned || primitive.skinOffset == bound.skinOffset) {
        bound.skinOffset = skinned ? bound.skinOffset : -1;
        return;
    }
    bound.skinOffset = primitive.skinOffset;
    constexpr auto stride = static_cast<GLsizei>(sizeof(SkinVertex));
    glBindBuffer(GL_ARRAY_BUFFER, mesh.geometry->skinBuffer.get());
    for (int set = 0; set < arrays / 2; ++set) {
        const GLintptr joints =
            primitive.skinOffset + static_cast<GLintptr>(offsetof(SkinVertex, joints) + set * 8);
        const GLintptr weights =
            primitive.skinOffset + static_cast<GLintptr>(offsetof(SkinVertex, weights) + set * 8);
        glVertexAttribPointer(skinAttributes[set * 2], 4, GL_UNSIGNED_SHORT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(joints));
        glVertexAttribPointer(skinAttributes[set * 2 + 1], 4, GL_UNSIGNED_SHORT, GL_TRUE, stride,
                              reinterpret_cast<const void*>(weights));
    }
    glBindBuffer(GL_ARRAY_BUFFER, bound.vertexBuffer);
}

void applyCulling(const MeshDraw& mesh, FaceSide culled, BoundState& bound) {
    const Culling culling = !mesh.material->desc.cullsBackFaces ? Culling::None
                            : culled == FaceSide::Back          ? Culling::BackFaces
                                                                : Culling::FrontFaces;
    if (culling != bound.culling) {
        bound.culling = culling;
        if (culling == Culling::None) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
            glCullFace(culling == Culling::BackFaces ? GL_BACK : GL_FRONT);
        }
    }
    const Winding frontFaces = mesh.mirrored ? Winding::Clockwise : Winding::CounterClockwise;
    if (frontFaces != bound.frontFaces) {
        bound.frontFaces = frontFaces;
        glFrontFace(mesh.mirrored ? GL_CW : GL_CCW);
    }
}

}  // namespace
}  // namespace engine
