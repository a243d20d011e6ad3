#include "gltf_look_file.h"

#include <cstdint>
#include <vector>

namespace gltf_test {

LookFile::LookFile() {
    const std::vector<float> positions{-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
    const std::vector<float> normals{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    const std::vector<float> texCoords{0, 1, 1, 1, 1, 0, 0, 0};
    const std::vector<std::uint16_t> indices{0, 1, 2, 0, 2, 3};
    const int position = raw_.addAccessor(raw_.addView(bytesOf(positions)), kFloat, 4, "VEC3",
                                          ",\"min\":[-1,-1,0],\"max\":[1,1,0]");
    const int normal = raw_.addAccessor(raw_.addView(bytesOf(normals)), kFloat, 4, "VEC3");
    const int texCoord = raw_.addAccessor(raw_.addView(bytesOf(texCoords)), kFloat, 4, "VEC2");
    const int index = raw_.addAccessor(raw_.addView(bytesOf(indices)), 5123, 6, "SCALAR");
    raw_.meshes = "[{\"name\":\"square\",\"primitives\":[{\"attributes\":{\"POSITION\":" +
                  std::to_string(position) + ",\"NORMAL\":" + std::to_string(normal) +
                  ",\"TEXCOORD_0\":" + std::to_string(texCoord) +
                  "},\"indices\":" + std::to_string(index) + ",\"material\":0}]}]";
}

int LookFile::addImage(const std::string& encoded, const std::string& mimeType) {
    const int view = raw_.addView(encoded);
    const int image = imageCount_++;
    images_ += (images_.empty() ? "" : ",") + std::string("{\"bufferView\":") +
               std::to_string(view) + ",\"mimeType\":\"" + mimeType + "\"}";
    return image;
}

void LookFile::addNearestTexture(const std::string& png) {
    samplers = "[{\"magFilter\":9728}]";
    textures = "[{\"source\":" + std::to_string(addImage(png)) + ",\"sampler\":0}]";
}

std::string LookFile::glb() const {
    RawFile file = raw_;
    file.nodes = nodes;
    file.members = ",\"materials\":" + materials + ",\"textures\":" + textures +
                   ",\"samplers\":" + samplers + ",\"images\":[" + images_ +
                   (images_.empty() || moreImages.empty() ? "" : ",") + moreImages + "]" + members;
    if (!lights.empty()) {
        file.members += ",\"extensions\":{\"KHR_lights_punctual\":{\"lights\":" + lights + "}}";
    }
    return file.glb();
}

}  // namespace gltf_test
