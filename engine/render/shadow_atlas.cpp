#include "engine/render/shadow_atlas.h"

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

#include "engine/gpu/engine_uniforms.h"

namespace engine {
namespace {

constexpr int kColumns = 3;
constexpr int kRows = 2;

// The view of each cube face: +x, -x, +y, -y, +z, -z, with cube-map up vectors.
struct FaceView {
    glm::vec3 direction;
    glm::vec3 up;
};
const FaceView kFaceViews[6] = {
    {{1, 0, 0}, {0, -1, 0}},  {{-1, 0, 0}, {0, -1, 0}}, {{0, 1, 0}, {0, 0, 1}},
    {{0, -1, 0}, {0, 0, -1}}, {{0, 0, 1}, {0, -1, 0}},  {{0, 0, -1}, {0, -1, 0}},
};

glm::mat4 faceViewProjection(const SceneLight& light, int face);
glm::mat4 faceToAtlas(int face);

}  // namespace

bool ShadowAtlas::update(const SceneLight& light, const ShadowKey& key,
                         const std::vector<MeshDraw>& meshes, MeshPass& pass, MeshPassTools& tools,
                         std::uint64_t& passStamp) {
    if (drawn_ && drawnFor_ == key) {
        return false;
    }
    prepare(key.faceSize);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, kColumns * faceSize_, kRows * faceSize_);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_BLEND);
    // Slope-scaled offset keeps steep surfaces from shadowing themselves.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.5f, 4.0f);
    for (int face = 0; face < 6; ++face) {
        glViewport((face % kColumns) * faceSize_, (face / kColumns) * faceSize_, faceSize_,
                   faceSize_);
        PassUniforms uniforms;
        uniforms.stamp = ++passStamp;
        uniforms.viewProjection = faceViewProjection(light, face);
        uniforms.cameraPosition = light.position;
        atlasMatrices_[static_cast<std::size_t>(face)] =
            faceToAtlas(face) * uniforms.viewProjection;
        const Frustum faceFrustum(uniforms.viewProjection);
        pass.draw(meshes, DrawContexts{key.contextId, -1}, &faceFrustum, FaceSide::Front, uniforms,
                  tools);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    drawn_ = true;
    drawnFor_ = key;
    return true;
}

void ShadowAtlas::bind() const {
    glActiveTexture(GL_TEXTURE0 + kShadowMapUnit);
    glBindTexture(GL_TEXTURE_2D, depth_.get());
    glActiveTexture(GL_TEXTURE0);
}

glm::vec2 ShadowAtlas::texelSize() const {
    const float side = static_cast<float>(faceSize_ > 0 ? faceSize_ : 1);
    return glm::vec2(1.0f / (kColumns * side), 1.0f / (kRows * side));
}

bool ShadowAtlas::prepare(int faceSize) {
    if (faceSize_ == faceSize && depth_) {
        return false;
    }
    faceSize_ = faceSize;
    drawn_ = false;
    depth_ = createTexture();
    glBindTexture(GL_TEXTURE_2D, depth_.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, kColumns * faceSize, kRows * faceSize, 0,
                 GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, nullptr);
    // Linear filtering of a compared depth texture averages four comparisons: a 2x2 PCF.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
    glBindTexture(GL_TEXTURE_2D, 0);
    framebuffer_ = createFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth_.get(), 0);
    // A depth-only framebuffer is complete only without colour buffers to draw or read.
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    // Until the first light draws it, the atlas reads as "lit everywhere".
    glViewport(0, 0, kColumns * faceSize, kRows * faceSize);
    glDisable(GL_SCISSOR_TEST);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    return true;
}

namespace {

glm::mat4 faceViewProjection(const SceneLight& light, int face) {
    const FaceView& view = kFaceViews[face];
    const float farDistance = std::max(light.radius, 0.01f);
    const float nearDistance = farDistance * 0.005f;
    const glm::mat4 projection =
        glm::perspective(glm::radians(90.0f), 1.0f, nearDistance, farDistance);
    return projection * glm::lookAt(light.position, light.position + view.direction, view.up);
}

// Clip space of a face to its cell of the atlas, and depth from -1..1 to 0..1.
glm::mat4 faceToAtlas(int face) {
    const float column = static_cast<float>(face % kColumns);
    const float row = static_cast<float>(face / kColumns);
    glm::mat4 matrix(1.0f);
    matrix =
        glm::translate(matrix, glm::vec3((column + 0.5f) / kColumns, (row + 0.5f) / kRows, 0.5f));
    return glm::scale(matrix, glm::vec3(0.5f / kColumns, 0.5f / kRows, 0.5f));
}

}  // namespace
}  // namespace engine
