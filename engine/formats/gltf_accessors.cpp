#include "engine/formats/gltf_accessors.h"

#include <algorithm>
#include <cstring>

#include "engine/formats/format_error.h"

namespace engine {
namespace {

int componentCount(int type);
std::size_t componentSize(int componentType);
float readComponent(const unsigned char* source, int componentType, bool normalized);
std::uint32_t readUnsigned(const unsigned char* source, int componentType);
bool fits(std::size_t offset, std::size_t count, std::size_t elementSize, std::size_t stride,
          std::size_t length);
[[noreturn]] void fail(const std::string& what, const std::string& fault);

}  // namespace

std::size_t GltfAccessors::count(int accessor, std::initializer_list<int> types,
                                 const std::string& what) const {
    return accessorAt(accessor, types, what).count;
}

std::vector<glm::vec4> GltfAccessors::readVectors(int accessor, std::initializer_list<int> types,
                                                  const std::string& what) {
    const tinygltf::Accessor& source = accessorAt(accessor, types, what);
    if (componentSize(source.componentType) == 0) {
        fail(what, "has an unknown component type " + std::to_string(source.componentType));
    }
    const int components = componentCount(source.type);
    const std::size_t size = componentSize(source.componentType);
    const int componentType = source.componentType;
    const bool normalized = source.normalized;
    return readElements<glm::vec4>(source, what, [=](const unsigned char* element) {
        glm::vec4 value(0.0f, 0.0f, 0.0f, 1.0f);
        for (int component = 0; component < components; ++component) {
            value[component] = readComponent(element + static_cast<std::size_t>(component) * size,
                                             componentType, normalized);
        }
        return value;
    });
}

std::vector<glm::mat4> GltfAccessors::readMatrices(int accessor, const std::string& what) {
    const tinygltf::Accessor& source = accessorAt(accessor, {TINYGLTF_TYPE_MAT4}, what);
    if (source.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT) {
        fail(what, "must hold floats");
    }
    return readElements<glm::mat4>(source, what, [](const unsigned char* element) {
        glm::mat4 matrix;
        std::memcpy(&matrix, element, sizeof matrix);
        return matrix;
    });
}

std::vector<std::uint32_t> GltfAccessors::readIndices(int accessor, const std::string& what) {
    const tinygltf::Accessor& source = accessorAt(accessor, {TINYGLTF_TYPE_SCALAR}, what);
    const int componentType = source.componentType;
    if (componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE &&
        componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
        componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
        fail(what, "must hold unsigned bytes, shorts or ints");
    }
    return readElements<std::uint32_t>(source, what, [=](const unsigned char* element) {
        return readUnsigned(element, componentType);
    });
}

const tinygltf::Accessor& GltfAccessors::accessorAt(int accessor, std::initializer_list<int> types,
                                                    const std::string& what) const {
    if (accessor < 0 || static_cast<std::size_t>(accessor) >= model_.accessors.size()) {
        fail(what, "names accessor " + std::to_string(accessor) + ", which does not exist");
    }
    const tinygltf::Accessor& source = model_.accessors[static_cast<std::size_t>(accessor)];
    if (std::find(types.begin(), types.end(), source.type) == types.end()) {
        fail(what, "has the wrong element type");
    }
    if (source.count > kMaxAccessorElements) {
        fail(what, "has more than " + std::to_string(kMaxAccessorElements) + " elements");
    }
    return source;
}

// The accessor's elements from its view, or zeros without one, then its sparse substitutes.
template <typename Element, typename ReadElement>
std::vector<Element> GltfAccessors::readElements(const tinygltf::Accessor& source,
                                                 const std::string& what, ReadElement readElement) {
    const std::size_t elementSize =
        componentSize(source.componentType) * static_cast<std::size_t>(componentCount(source.type));
    std::vector<Element> values;
    if (source.bufferView < 0) {
        values.assign(source.count, readElement(std::vector<unsigned char>(elementSize, 0).data()));
    } else {
        const ViewBytes view = views_.bytes(source.bufferView, what);
        const std::size_t stride = view.stride != 0 ? view.stride : elementSize;
        if (stride < elementSize) {
            fail(what, "has a byte stride smaller than its elements");
        }
        if (!fits(source.byteOffset, source.count, elementSize, stride, view.size)) {
            fail(what, "reaches past the end of its buffer view");
        }
        values.reserve(source.count);
        const unsigned char* first = view.data + source.byteOffset;
        for (std::size_t index = 0; index < source.count; ++index) {
            values.push_back(readElement(first + index * stride));
        }
    }
    if (source.sparse.isSparse) {
        applySparse(source, what, elementSize, readElement, values);
    }
    return values;
}

template <typename Element, typename ReadElement>
void GltfAccessors::applySparse(const tinygltf::Accessor& source, const std::string& what,
                                std::size_t elementSize, ReadElement readElement,
                                std::vector<Element>& values) {
    const auto& sparse = source.sparse;
    if (sparse.count < 0 || static_cast<std::size_t>(sparse.count) > source.count) {
        fail(what, "has more sparse substitutes than elements");
    }
    const auto count = static_cast<std::size_t>(sparse.count);
    const int indexType = sparse.indices.componentType;
    const std::size_t indexSize = componentSize(indexType);
    if (indexType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE &&
        indexType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT &&
        indexType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
        fail(what, "has sparse indices that are not unsigned bytes, shorts or ints");
    }
    const ViewBytes indices = views_.bytes(sparse.indices.bufferView, what + " sparse indices");
    const ViewBytes substitutes = views_.bytes(sparse.values.bufferView, what + " sparse values");
    if (sparse.indices.byteOffset < 0 || sparse.values.byteOffset < 0 ||
        !fits(static_cast<std::size_t>(sparse.indices.byteOffset), count, indexSize, indexSize,
              indices.size) ||
        !fits(static_cast<std::size_t>(sparse.values.byteOffset), count, elementSize, elementSize,
              substitutes.size)) {
        fail(what, "has sparse data that reaches past the end of its buffer view");
    }
    const unsigned char* firstIndex =
        indices.data + static_cast<std::size_t>(sparse.indices.byteOffset);
    const unsigned char* firstValue =
        substitutes.data + static_cast<std::size_t>(sparse.values.byteOffset);
    for (std::size_t entry = 0; entry < count; ++entry) {
        const std::uint32_t index = readUnsigned(firstIndex + entry * indexSize, indexType);
        if (index >= values.size()) {
            fail(what, "has sparse index " + std::to_string(index) + ", out of range");
        }
        values[index] = readElement(firstValue + entry * elementSize);
    }
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
        case TINYGLTF_TYPE_MAT3:
            return 9;
        case TINYGLTF_TYPE_MAT4:
            return 16;
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

template <typename Integer>
Integer load(const unsigned char* source) {
    Integer value = 0;
    std::memcpy(&value, source, sizeof value);
    return value;
}

// Normalized signed integers reach -1 one step early; glTF clamps that step.
float readComponent(const unsigned char* source, int componentType, bool normalized) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_BYTE: {
            const auto value = static_cast<float>(load<std::int8_t>(source));
            return normalized ? std::max(value / 127.0f, -1.0f) : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE: {
            const auto value = static_cast<float>(load<std::uint8_t>(source));
            return normalized ? value / 255.0f : value;
        }
        case TINYGLTF_COMPONENT_TYPE_SHORT: {
            const auto value = static_cast<float>(load<std::int16_t>(source));
            return normalized ? std::max(value / 32767.0f, -1.0f) : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT: {
            const auto value = static_cast<float>(load<std::uint16_t>(source));
            return normalized ? value / 65535.0f : value;
        }
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT: {
            const auto value = static_cast<double>(load<std::uint32_t>(source));
            return static_cast<float>(normalized ? value / 4294967295.0 : value);
        }
        default:
            return load<float>(source);
    }
}

std::uint32_t readUnsigned(const unsigned char* source, int componentType) {
    switch (componentType) {
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_BYTE:
            return load<std::uint8_t>(source);
        case TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT:
            return load<std::uint16_t>(source);
        default:
            return load<std::uint32_t>(source);
    }
}

// Whether count elements of elementSize, stride apart from offset, lie within length bytes;
// written so that no sum can overflow, whatever sizes the file claims.
bool fits(std::size_t offset, std::size_t count, std::size_t elementSize, std::size_t stride,
          std::size_t length) {
    if (count == 0) {
        return offset <= length;
    }
    if (offset > length || length - offset < elementSize) {
        return false;
    }
    const std::size_t room = length - offset - elementSize;
    return count - 1 <= room / stride;
}

void fail(const std::string& what, const std::string& fault) {
    throw FormatError(what + " " + fault);
}

}  // namespace
}  // namespace engine
