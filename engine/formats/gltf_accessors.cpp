#include "engine/formats/gltf_accessors.h"

#include <cstring>

#include "engine/formats/format_error.h"

namespace engine {
namespace {

int componentCount(int type);
std::size_t componentSize(int componentType);
float readComponent(const unsigned char* source, int componentType, bool normalized);
bool fitsInView(const tinygltf::Accessor& accessor, std::size_t viewLength, std::size_t elementSize,
                std::size_t stride);
[[noreturn]] void fail(const std::string& what, const std::string& fault);

}  // namespace

std::vector<glm::vec3> GltfAccessors::readVec3(int accessor, const std::string& what) const {
    Layout layout = checkedLayout(accessor, TINYGLTF_TYPE_VEC3, what);
    if (layout.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT) {
        fail(what, "must hold floats");
    }
    std::vector<glm::vec3> values(layout.count);
    for (std::size_t index = 0; index < layout.count; ++index) {
        std::memcpy(&values[index], layout.first + index * layout.stride, sizeof(glm::vec3));
    }
    return values;
}

std::vector<glm::vec2> GltfAccessors::readVec2(int accessor, const std::string& what) const {
    Layout layout = checkedLayout(accessor, TINYGLTF_TYPE_VEC2, what);
    bool normalizedInteger =
        layout.normalized && (layout.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE ||
                              layout.componentType == TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
    if (layout.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT && !normalizedInteger) {
        fail(what, "must hold floats or normalized unsigned bytes or shorts");
    }
    const std::size_t size = componentSize(layout.componentType);
    std::vector<glm::vec2> values(layout.count);
    for (std::size_t index = 0; index < layout.count; ++index) {
        const unsigned char* element = layout.first + index * layout.stride;
        values[index] = glm::vec2(readComponent(element, layout.componentType, true),
                                  readComponent(element + size, layout.componentType, true));
    }
    return values;
}

std::vector<std::uint32_t> GltfAccessors::readIndices(int accessor, const std::string& what) const {
    Layout layout = checkedLayout(accessor, TINYGLTF_TYPE_SCALAR, what);
    std::vector<std::uint32_t> values(layout.count);
    for (std::size_t index = 0; index < layout.count; ++index) {
        const unsigned char* element = layout.first + index * layout.stride;
        switch (layout.componentType) {
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
                values[index] = *element;
                break;
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
                std::uint16_t value = 0;
                std::memcpy(&value, element, sizeof value);
                values[index] = value;
                break;
            }
            case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
                std::memcpy(&values[index], element, sizeof(std::uint32_t));
                break;
            default:
                fail(what, "must hold unsigned bytes, shorts or ints");
        }
    }
    return values;
}

GltfAccessors::Layout GltfAccessors::checkedLayout(int accessor, int type,
                                                   const std::string& what) const {
    if (accessor < 0 || static_cast<std::size_t>(accessor) >= model_.accessors.size()) {
        fail(what, "names accessor " + std::to_string(accessor) + ", which does not exist");
    }
    const tinygltf::Accessor& source = model_.accessors[static_cast<std::size_t>(accessor)];
    if (source.sparse.isSparse) {
        fail(what, "uses a sparse accessor, which is not supported");
    }
    if (source.type != type) {
        fail(what, "has the wrong element type");
    }
    const int view = source.bufferView;
    if (view < 0 || static_cast<std::size_t>(view) >= model_.bufferViews.size()) {
        fail(what, "names buffer view " + std::to_string(view) + ", which does not exist");
    }
    const tinygltf::BufferView& bufferView = model_.bufferViews[static_cast<std::size_t>(view)];
    if (bufferView.buffer < 0 ||
        static_cast<std::size_t>(bufferView.buffer) >= model_.buffers.size()) {
        fail(what, "names buffer " + std::to_string(bufferView.buffer) + ", which does not exist");
    }
    const std::vector<unsigned char>& data =
        model_.buffers[static_cast<std::size_t>(bufferView.buffer)].data;
    const std::size_t size = componentSize(source.componentType);
    if (size == 0) {
        fail(what, "has an unknown component type " + std::to_string(source.componentType));
    }
    const std::size_t elementSize = size * static_cast<std::size_t>(componentCount(type));
    const std::size_t stride = bufferView.byteStride != 0 ? bufferView.byteStride : elementSize;
    if (stride < elementSize) {
        fail(what, "has a byte stride smaller than its elements");
    }
    // Written so that no sum can overflow, whatever sizes the file claims.
    const bool viewFits = bufferView.byteOffset <= data.size() &&
                          bufferView.byteLength <= data.size() - bufferView.byteOffset;
    const bool accessorFits =
        source.count == 0 || fitsInView(source, bufferView.byteLength, elementSize, stride);
    if (!viewFits || !accessorFits) {
        fail(what, "reaches past the end of its buffer");
    }
    Layout layout;
    layout.first = data.data() + bufferView.byteOffset + source.byteOffset;
    layout.stride = stride;
    layout.count = source.count;
    layout.componentType = source.componentType;
    layout.normalized = source.normalized;
    return layout;
}

namespace {

int componentCount(int type) {
    switch (type) {
        case TINYGLTF_TYPE_SCALAR:
            return 1;
        case TINYGLTF_TYPE_VEC2:
            return 2;
        case TINYGLTF_TYPE_VEC3:
            return 3;
        default:
            return 4;
    }
}

std::size_t componentSize(int componentType) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_BYTE:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return 1;
        case TINYGLTF_COMPONENT_TYPE_SHORT:
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
            return 2;
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT:
        case TINYGLTF_COMPONENT_TYPE_FLOAT:
            return 4;
        default:
            return 0;
    }
}

float readComponent(const unsigned char* source, int componentType, bool normalized) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return normalized ? static_cast<float>(*source) / 255.0f : static_cast<float>(*source);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
            std::uint16_t value = 0;
            std::memcpy(&value, source, sizeof value);
            return normalized ? static_cast<float>(value) / 65535.0f : static_cast<float>(value);
        }
        default: {
            float value = 0.0f;
            std::memcpy(&value, source, sizeof value);
            return value;
        }
    }
}

bool fitsInView(const tinygltf::Accessor& accessor, std::size_t viewLength, std::size_t elementSize,
                std::size_t stride) {
    if (accessor.byteOffset > viewLength || viewLength - accessor.byteOffset < elementSize) {
        return false;
    }
    const std::size_t room = viewLength - accessor.byteOffset - elementSize;
    return accessor.count - 1 <= room / stride;
}

void fail(const std::string& what, const std::string& fault) {
    throw FormatError(what + " " + fault);
}

}  // namespace
}  // namespace engine
