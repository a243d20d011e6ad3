#include "engine/render/overlay_renderer.h"

#include <algorithm>
#include <cstddef>

#include "engine/gpu/blend_state.h"
#include "engine/render/material_state.h"
#include "engine/resources/loaded_font_metrics.h"
#include "engine/resources/loaded_shader.h"
#include "engine/resources/loaded_texture.h"

namespace engine {
namespace {

// The locations vertex_attributes.h binds vertexPosition, vertexTexCoord and vertexColor to.
constexpr GLuint kPositionLocation = 0;
constexpr GLuint kTexCoordLocation = 2;
constexpr GLuint kColorLocation = 4;

PixelSize currentViewport();
FontMetrics metricsOf(const LoadedMaterial& material, const ResourceTable& resources);
PixelSize atlasSizeOf(const LoadedMaterial& material, const FontMetrics& metrics,
                      const ResourceTable& resources);
GLuint programOf(const LoadedMaterial& material, const std::string& context,
                 const ResourceTable& resources);
void pointVertexArrays(bool enable);

}  // namespace

void OverlayRenderer::draw(const OverlayInputs& inputs, const std::string& context,
                           BlendMode blend) {
    const PixelSize viewport = currentViewport();
    if (inputs.queue.empty() || viewport.width <= 0 || viewport.height <= 0) {
        return;
    }
    collect(inputs, context, viewport);
    if (vertices_.empty()) {
        return;
    }
    upload();
    drawBatches(inputs, blend);
}

void OverlayRenderer::collect(const OverlayInputs& inputs, const std::string& context,
                              PixelSize viewport) {
    vertices_.clear();
    batches_.clear();
    for (const TextOverlay& text : inputs.queue.texts()) {
        const Resource* resource = inputs.resources.get(text.fontMaterial, ResourceType::Material);
        const auto* material =
            resource != nullptr ? resource->payloadAs<LoadedMaterial>() : nullptr;
        const GLuint program =
            material != nullptr ? programOf(*material, context, inputs.resources) : GLuint{0};
        if (program == 0) {
            continue;
        }
        const GLint first = static_cast<GLint>(vertices_.size());
        const FontMetrics metrics = metricsOf(*material, inputs.resources);
        layoutText(inputs.queue.textOf(text), text.placement, metrics,
                   atlasSizeOf(*material, metrics, inputs.resources), viewport, vertices_);
        const GLsizei count = static_cast<GLsizei>(vertices_.size()) - first;
        if (!batches_.empty() && batches_.back().material == material &&
            batches_.back().program == program) {
            batches_.back().count += count;
        } else if (count > 0) {
            batches_.push_back({text.fontMaterial, material, program, first, count});
        }
    }
}

void OverlayRenderer::upload() {
    if (!buffer_) {
        buffer_ = createBuffer();
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer_.get());
    const std::size_t bytes = vertices_.size() * sizeof(OverlayVertex);
    if (bytes > bufferBytes_) {
        // Grows by doubling, so a frame with a little more text does not reallocate again.
        bufferBytes_ = std::max(bytes, 2 * bufferBytes_);
    }
    // Orphaning the old storage lets the driver hand out fresh memory rather than wait for
    // the previous frame's draw to finish with it.
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bufferBytes_), nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), vertices_.data());
}

void OverlayRenderer::drawBatches(const OverlayInputs& inputs, BlendMode blend) {
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    applyBlend(blend);
    pointVertexArrays(true);
    for (const Batch& batch : batches_) {
        glUseProgram(batch.program);
        applyMaterialState(locations_.find(batch.materialHandle, *batch.material, batch.program),
                           *batch.material, inputs.resources, inputs.standIns);
        glDrawArrays(GL_TRIANGLES, batch.first, batch.count);
        inputs.stats.countDraw(static_cast<std::uint64_t>(batch.count / 3));
    }
    pointVertexArrays(false);
    glUseProgram(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

namespace {

PixelSize currentViewport() {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    return {viewport[2], viewport[3]};
}

FontMetrics metricsOf(const LoadedMaterial& material, const ResourceTable& resources) {
    const Resource* resource = resources.get(material.fontMetrics, ResourceType::FontMetrics);
    const auto* loaded = resource != nullptr ? resource->payloadAs<LoadedFontMetrics>() : nullptr;
    return loaded != nullptr ? loaded->metrics : FontMetrics();
}

// The atlas is the material's first 2D texture; without one loaded, the metrics' grid.
PixelSize atlasSizeOf(const LoadedMaterial& material, const FontMetrics& metrics,
                      const ResourceTable& resources) {
    const std::vector<MaterialTexture>& textures = material.desc.textures;
    auto flat = std::find_if(textures.begin(), textures.end(), [](const MaterialTexture& texture) {
        return texture.kind == TextureKind::Flat;
    });
    const auto entry = static_cast<std::size_t>(flat - textures.begin());
    const Resource* resource =
        entry < material.textures.size() ? resources.get(material.textures[entry]) : nullptr;
    const auto* texture = resource != nullptr ? resource->payloadAs<LoadedTexture>() : nullptr;
    if (texture != nullptr && texture->target == GL_TEXTURE_2D) {
        return {texture->width, texture->height};
    }
    return {metrics.columns * metrics.cellWidth, metrics.rows() * metrics.cellHeight};
}

GLuint programOf(const LoadedMaterial& material, const std::string& context,
                 const ResourceTable& resources) {
    const Resource* resource = resources.get(material.shader, ResourceType::Shader);
    const auto* shader = resource != nullptr ? resource->payloadAs<LoadedShader>() : nullptr;
    return shader != nullptr ? shader->program(context) : 0;
}

// The vertex buffer must be bound: the offsets point into it.
void pointVertexArrays(bool enable) {
    const struct {
        GLuint location;
        GLint components;
        std::size_t offset;
    } arrays[] = {{kPositionLocation, 2, offsetof(OverlayVertex, x)},
                  {kTexCoordLocation, 2, offsetof(OverlayVertex, u)},
                  {kColorLocation, 4, offsetof(OverlayVertex, r)}};
    for (const auto& array : arrays) {
        if (!enable) {
            glDisableVertexAttribArray(array.location);
            continue;
        }
        glEnableVertexAttribArray(array.location);
        glVertexAttribPointer(array.location, array.components, GL_FLOAT, GL_FALSE,
                              sizeof(OverlayVertex), reinterpret_cast<const void*>(array.offset));
    }
}

}  // namespace
}  // namespace engine
