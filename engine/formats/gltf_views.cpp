#include "engine/formats/gltf_views.h"

#include <algorithm>

#include "engine/formats/format_error.h"
#include "engine/formats/gltf_meshopt.h"

namespace engine {
namespace {

// Accessors claiming more elements are refused when read, so they raise no demand here.
constexpr std::size_t kMostDemandedElements = std::size_t{1} << 25;

void addDemand(std::vector<std::size_t>& demand, int view, std::size_t offset, std::size_t count,
               std::size_t elementSize);

}  // namespace

ViewBytes GltfViews::bytes(int view, const std::string& what) {
    if (view < 0 || static_cast<std::size_t>(view) >= model_.bufferViews.size()) {
        throw FormatError(what + " names buffer view " + std::to_string(view) +
                          ", which does not exist");
    }
    const tinygltf::BufferView& bufferView = model_.bufferViews[static_cast<std::size_t>(view)];
    if (isMeshoptCompressed(bufferView)) {
        auto found = decoded_.find(view);
        if (found == decoded_.end()) {
            found = decoded_
                        .emplace(view, decodeMeshoptView(
                                           model_, bufferView, demandOf(view),
                                           what + " (buffer view " + std::to_string(view) + ")"))
                        .first;
        }
        return ViewBytes{found->second.data(), found->second.size(), bufferView.byteStride};
    }
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

std::size_t GltfViews::demandOf(int view) {
    if (demand_.empty()) {
        demand_.assign(model_.bufferViews.size(), 0);
        for (const tinygltf::Accessor& accessor : model_.accessors) {
            const int components = tinygltf::GetNumComponentsInType(accessor.type);
            const int size = tinygltf::GetComponentSizeInBytes(accessor.componentType);
            if (components <= 0 || size <= 0) {
                continue;
            }
            std::size_t elementSize = static_cast<std::size_t>(components * size);
            if (accessor.bufferView >= 0 &&
                static_cast<std::size_t>(accessor.bufferView) < model_.bufferViews.size()) {
                elementSize = std::max(
                    elementSize,
                    model_.bufferViews[static_cast<std::size_t>(accessor.bufferView)].byteStride);
            }
            addDemand(demand_, accessor.bufferView, accessor.byteOffset, accessor.count,
                      elementSize);
            if (accessor.sparse.isSparse && accessor.sparse.count > 0) {
                const auto count = static_cast<std::size_t>(accessor.sparse.count);
                const int indexSize =
                    tinygltf::GetComponentSizeInBytes(accessor.sparse.indices.componentType);
                addDemand(demand_, accessor.sparse.indices.bufferView,
                          static_cast<std::size_t>(std::max(accessor.sparse.indices.byteOffset, 0)),
                          count, static_cast<std::size_t>(std::max(indexSize, 0)));
                addDemand(demand_, accessor.sparse.values.bufferView,
                          static_cast<std::size_t>(std::max(accessor.sparse.values.byteOffset, 0)),
                          count, static_cast<std::size_t>(components * size));
            }
        }
    }
    return demand_[static_cast<std::size_t>(view)];
}

namespace {

void addDemand(std::vector<std::size_t>& demand, int view, std::size_t offset, std::size_t count,
               std::size_t elementSize) {
    if (view < 0 || static_cast<std::size_t>(view) >= demand.size() ||
        count > kMostDemandedElements || offset > kMostDemandedElements * 256) {
        return;
    }
    // Both factors are bounded, so neither the product nor the sum can overflow.
    const std::size_t reach = offset + count * std::min<std::size_t>(elementSize, 256);
    demand[static_cast<std::size_t>(view)] =
        std::max(demand[static_cast<std::size_t>(view)], reach);
}

}  // namespace
}  // namespace engine
