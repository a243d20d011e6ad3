// Vertex buffers in the smallest layout that holds their vertices, and their vertices read back
// as whole records whatever the layout.
#pragma once

#include <cstddef>

#include "engine/gpu/gl_object.h"
#include "engine/resources/loaded_geometry.h"

namespace engine {

struct UploadedVertices {
    GlBuffer buffer;
    VertexLayout layout = VertexLayout::Full;
};

// Needs the engine's context current.
UploadedVertices uploadVertices(const GeometryVertex* vertices, std::size_t count);
// Replaces the buffer's vertices with these, in the layout given (see refillStreamBuffer).
void refillVertices(GlBuffer& buffer, const GeometryVertex* vertices, std::size_t count,
                    VertexLayout layout);
// Reads count vertices from the byte offset of the geometry's vertex buffer into destination;
// a plain vertex's missing attributes get their defaults.
void readVertices(const LoadedGeometry& geometry, GLintptr offset, std::size_t count,
                  GeometryVertex* destination);

}  // namespace engine
