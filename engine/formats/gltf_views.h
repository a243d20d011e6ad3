// The bytes of glTF buffer views, checked against their buffers.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include <tiny_gltf.h>

namespace engine {

struct ViewBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    // 0 when the view leaves it to its accessors.
    std::size_t stride = 0;
};

class GltfViews {
  public:
    explicit GltfViews(const tinygltf::Model& model) : model_(model) {}

    // The view's bytes; a view that reaches past its buffer or does not exist throws
    // FormatError naming what.
    ViewBytes bytes(int view, const std::string& what);

  private:
    const tinygltf::Model& model_;
};

}  // namespace engine
