// A .glb of one square with a look of its own: the test writes the materials, textures,
// samplers and lights as glTF JSON, and images go into the binary chunk.
#pragma once

#include <string>

#include "gltf_raw_file.h"

namespace gltf_test {

class LookFile {
  public:
    // The square: side 2 in the xy plane, facing +z, centred on the origin, its texture
    // coordinates running from (0, 0) at the top left to (1, 1) at the bottom right, its one
    // primitive drawn with material 0.
    LookFile();

    // The image's index.
    int addImage(const std::string& encoded, const std::string& mimeType = "image/png");
    // Adds the PNG image as texture 0, magnified without filtering so that each texel shows
    // whole.
    void addNearestTexture(const std::string& png);

    std::string materials = "[]";
    std::string textures = "[]";
    std::string samplers = "[]";
    // KHR_lights_punctual's "lights" array; left out when empty.
    std::string lights;
    std::string nodes = "[{\"mesh\":0}]";
    // Images listed after those added, as JSON objects ("{\"uri\":\"wood.png\"}").
    std::string moreImages;
    // More members of the top object (",\"extensionsUsed\":[...]").
    std::string members;

    std::string glb() const;

  private:
    RawFile raw_;
    std::string images_;
    int imageCount_ = 0;
};

}  // namespace gltf_test
