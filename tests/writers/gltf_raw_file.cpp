#include "gltf_raw_file.h"

#include "gltf_test_files.h"

namespace gltf_test {
namespace {

std::string joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ",") + item;
    }
    return "[" + text + "]";
}

}  // namespace

int RawFile::addView(const std::string& bytes, const std::string& extra) {
    const std::size_t offset = buffer.size();
    buffer += bytes;
    while (buffer.size() % 4 != 0) {
        buffer.push_back('\0');
    }
    views.push_back("{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                    ",\"byteLength\":" + std::to_string(bytes.size()) + extra + "}");
    return static_cast<int>(views.size() - 1);
}

int RawFile::addAccessor(int view, int componentType, std::size_t count, const std::string& type,
                         const std::string& extra) {
    std::string json = "{";
    if (view >= 0) {
        json += "\"bufferView\":" + std::to_string(view) + ",";
    }
    accessors.push_back(json + "\"componentType\":" + std::to_string(componentType) +
                        ",\"count\":" + std::to_string(count) + ",\"type\":\"" + type + "\"" +
                        extra + "}");
    return static_cast<int>(accessors.size() - 1);
}

std::string RawFile::json() const {
    std::vector<std::string> buffers{"{\"byteLength\":" + std::to_string(buffer.size()) + "}"};
    buffers.insert(buffers.end(), moreBuffers.begin(), moreBuffers.end());
    std::string text = "{\"asset\":{\"version\":\"2.0\"},\"meshes\":" + meshes +
                       ",\"nodes\":" + nodes + ",\"accessors\":" + joined(accessors) +
                       ",\"bufferViews\":" + joined(views) + ",\"buffers\":" + joined(buffers);
    if (scenes != "[]") {
        text += ",\"scenes\":" + scenes;
    }
    return text + members + "}";
}

std::string RawFile::glb() const {
    return glbFrom(json(), buffer);
}

}  // namespace gltf_test
