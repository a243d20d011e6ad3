// Reads glTF accessors into plain arrays: every component type, normalized or not, strided
// views, accessors without a view (zeros) and sparse accessors on top of either. Every index,
// offset and length is checked against the buffers first, so that a broken file is reported
// instead of read out of bounds. Faults throw FormatError (caught by the geometry parser).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include <tiny_gltf.h>
#include <glm/mat4x4.hpp>
#include <glm/vec4.hpp>

#include "engine/formats/gltf_views.h"

namespace engine {

// More elements than this in one accessor are refused, so that an accessor without a view
// (which costs the file nothing) cannot ask for unbounded memory.
constexpr std::size_t kMaxAccessorElements = std::size_t{1} << 25;

class GltfAccessors {
  public:
    explicit GltfAccessors(const tinygltf::Model& model) : model_(model), views_(model) {}

    // The accessor's element count, checked against the limit; types lists the element types
    // (TINYGLTF_TYPE_VEC3, ...) the caller takes.
    std::size_t count(int accessor, std::initializer_list<int> types,
                      const std::string& what) const;
    // Elements of any component type as floats, normalized integers mapped to [0, 1] or
    // [-1, 1]; components the element type lacks are 0, and 1 for w.
    std::vector<glm::vec4> readVectors(int accessor, std::initializer_list<int> types,
                                       const std::string& what);
    // MAT4 elements of floats, column by column.
    std::vector<glm::mat4> readMatrices(int accessor, const std::string& what);
    // Unsigned 8-, 16- or 32-bit SCALAR elements (indices).
    std::vector<std::uint32_t> readIndices(int accessor, const std::string& what);
    GltfViews& views() { return views_; }

  private:
    const tinygltf::Model& model_;
    GltfViews views_;

    const tinygltf::Accessor& accessorAt(int accessor, std::initializer_list<int> types,
                                         const std::string& what) const;
    template <typename Element, typename ReadElement>
    std::vector<Element> readElements(const tinygltf::Accessor& source, const std::string& what,
                                      ReadElement readElement);
    template <typename Element, typename ReadElement>
    void applySparse(const tinygltf::Accessor& source, const std::string& what,
                     std::size_t elementSize, ReadElement readElement,
                     std::vector<Element>& values);
};

}  // namespace engine
