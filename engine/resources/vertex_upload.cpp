#include "engine/resources/vertex_upload.h"

#include <algorithm>
#include <vector>

#include "engine/gpu/buffer_upload.h"

namespace engine {

namespace {

std::vector<PlainVertex> plainVertices(const GeometryVertex* vertices, std::size_t count) {
    std::vector<PlainVertex> plain(count);
    std::transform(vertices, vertices + count, plain.begin(), [](const GeometryVertex& vertex) {
        return PlainVertex{vertex.position, vertex.normal, vertex.texCoord};
    });
    return plain;
}

}  // namespace

UploadedVertices uploadVertices(const GeometryVertex* vertices, std::size_t count) {
    UploadedVertices uploaded;
    if (!std::all_of(vertices, vertices + count, hasDefaultExtras)) {
        uploaded.buffer =
            uploadStaticBuffer(GL_ARRAY_BUFFER, vertices, count * sizeof(GeometryVertex));
        return uploaded;
    }
    std::vector<PlainVertex> plain = plainVertices(vertices, count);
    uploaded.layout = VertexLayout::Plain;
    uploaded.buffer =
        uploadStaticBuffer(GL_ARRAY_BUFFER, plain.data(), plain.size() * sizeof(PlainVertex));
    return uploaded;
}

void refillVertices(GlBuffer& buffer, const GeometryVertex* vertices, std::size_t count,
                    VertexLayout layout) {
    if (layout == VertexLayout::Full) {
        refillStreamBuffer(GL_ARRAY_BUFFER, buffer, vertices, count * sizeof(GeometryVertex));
        return;
    }
    std::vector<PlainVertex> plain = plainVertices(vertices, count);
    refillStreamBuffer(GL_ARRAY_BUFFER, buffer, plain.data(), plain.size() * sizeof(PlainVertex));
}

void readVertices(const LoadedGeometry& geometry, GLintptr offset, std::size_t count,
                  GeometryVertex* destination) {
    if (geometry.vertexLayout == VertexLayout::Full) {
        readBufferBytes(GL_ARRAY_BUFFER, geometry.vertexBuffer, offset,
                        count * sizeof(GeometryVertex), destination);
        return;
    }
    std::vector<PlainVertex> plain(count);
    readBufferBytes(GL_ARRAY_BUFFER, geometry.vertexBuffer, offset, count * sizeof(PlainVertex),
                    plain.data());
    std::transform(plain.begin(), plain.end(), destination, [](const PlainVertex& read) {
        GeometryVertex vertex;
        vertex.position = read.position;
        vertex.normal = read.normal;
        vertex.texCoord = read.texCoord;
        return vertex;
    });
}

}  // namespace engine
