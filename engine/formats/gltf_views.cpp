#include "engine/formats/gltf_views.h"

#include "engine/formats/format_error.h"

namespace engine {

ViewBytes GltfViews::bytes(int view, const std::string& what) {
    if (view < 0 || static_cast<std::size_t>(view) >= model_.bufferViews.size()) {
        throw FormatError(what + " names buffer view " + std::to_string(view) +
                          ", which does not exist");
    }
    const tinygltf::BufferView& bufferView = model_.bufferViews[static_cast<std::size_t>(view)];
    if (bufferView.buffer < 0 ||
        static_cast<std::size_t>(bufferView.buffer) >= model_.buffers.size()) {
        throw FormatError(what + " names buffer " + std::to_string(bufferView.buffer) +
                          ", which does not exist");
    }
    const std::vector<unsigned char>& data =
        model_.buffers[static_cast<std::size_t>(bufferView.buffer)].data;
    // Written so that no sum can overflow, whatever sizes the file claims.
    if (bufferView.byteOffset > data.size() ||
        bufferView.byteLength > data.size() - bufferView.byteOffset) {
        throw FormatError(what + " reaches past the end of its buffer");
    }
    return ViewBytes{data.data() + bufferView.byteOffset, bufferView.byteLength,
                     bufferView.byteStride};
}

}  // namespace engine
