// The bytes of glTF buffer views, checked against their buffers; views compressed with
// EXT_meshopt_compression are decoded once, on first use.
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

    // The view's bytes; a view that reaches past its buffer, does not exist or does not
    // decode throws FormatError naming what.
    ViewBytes bytes(int view, const std::string& what);

  private:
    const tinygltf::Model& model_;
    std::map<int, std::vector<unsigned char>> decoded_;
    // For each view, how many bytes its accessors reach: what a compressed view may decode to.
    std::vector<std::size_t> demand_;

    std::size_t demandOf(int view);
};

}  // namespace engine
