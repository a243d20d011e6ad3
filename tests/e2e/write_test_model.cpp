// Writes the small textured glTF file the open-model test opens: a green-textured crate on a red
// plinth with a lamp beside them. Usage: write-test-model FILE [--z-up] (standing on +Z). A
// FILE.glb holds its image; a FILE.gltf has its buffer and its image beside it, in FILE.bin and
// FILE.png.
//
// What it holds is fixed, so the test knows the summary line to expect:
// 2 meshes, 24 triangles, 2 materials, 1 texture, 1 light.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <stb_image_write.h>

namespace {

void appendBytes(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
}

struct Vertex {
    std::array<float, 3> position;
    std::array<float, 3> normal;
    std::array<float, 2> texCoord;
};

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<std::uint16_t> indices;
};

// Four corners a face, wound counter-clockwise seen from outside; each face shows the whole
// texture upright.
Mesh boxMesh(std::array<float, 3> centre, std::array<float, 3> half) {
    Mesh mesh;
    for (int axis = 0; axis < 3; ++axis) {
        for (float side : {1.0f, -1.0f}) {
            const int uAxis = (axis + 1) % 3;
            const int vAxis = (axis + 2) % 3;
            const auto first = static_cast<std::uint16_t>(mesh.vertices.size());
            for (auto [cu, cv] : {std::array<float, 2>{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
                Vertex vertex{};
                vertex.position[axis] = centre[axis] + side * half[axis];
                vertex.position[uAxis] = centre[uAxis] + side * cu * half[uAxis];
                vertex.position[vAxis] = centre[vAxis] + cv * half[vAxis];
                vertex.normal[axis] = side;
                vertex.texCoord = {(cu + 1) * 0.5f, 1 - (cv + 1) * 0.5f};
                mesh.vertices.push_back(vertex);
            }
            for (int corner : {0, 1, 2, 0, 2, 3}) {
                mesh.indices.push_back(static_cast<std::uint16_t>(first + corner));
            }
        }
    }
    return mesh;
}

// The crate stands on the plinth, its middle above the middle of their common box.
Mesh crateMesh() {
    return boxMesh({0, 0.6f, 0}, {0.5f, 0.5f, 0.5f});
}

Mesh plinthMesh() {
    return boxMesh({0, 0.05f, 0}, {0.8f, 0.05f, 0.8f});
}

// Bright green with darker lines every fourth texel: a colour the sky does not have.
std::string crateTexture() {
    const int side = 16;
    std::vector<unsigned char> pixels;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool line = x % 4 == 0 || y % 4 == 0;
            for (unsigned char channel : line ? std::array<unsigned char, 4>{20, 120, 40, 255}
                                              : std::array<unsigned char, 4>{40, 220, 70, 255}) {
                pixels.push_back(channel);
            }
        }
    }
    std::string png;
    stbi_write_png_to_func(appendBytes, &png, side, side, 4, pixels.data(), side * 4);
    return png;
}

class BufferWriter {
  public:
    // Appends the bytes as a buffer view (4-byte aligned) and returns its index.
    int addView(const void* data, std::size_t size) {
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back('\0');
        }
        views_ += std::string(views_.empty() ? "" : ",") +
                  "{\"buffer\":0,\"byteOffset\":" + std::to_string(bytes_.size()) +
                  ",\"byteLength\":" + std::to_string(size) + "}";
        bytes_.append(static_cast<const char*>(data), size);
        return viewCount_++;
    }
    // Adds the mesh's attributes and indices as accessors; returns its primitive's JSON.
    std::string addPrimitive(const Mesh& mesh, int material) {
        std::vector<float> positions, normals, texCoords;
        std::array<float, 3> minimum{1e30f, 1e30f, 1e30f}, maximum{-1e30f, -1e30f, -1e30f};
        for (const Vertex& vertex : mesh.vertices) {
            positions.insert(positions.end(), vertex.position.begin(), vertex.position.end());
            normals.insert(normals.end(), vertex.normal.begin(), vertex.normal.end());
            texCoords.insert(texCoords.end(), vertex.texCoord.begin(), vertex.texCoord.end());
            for (int axis = 0; axis < 3; ++axis) {
                minimum[axis] = std::min(minimum[axis], vertex.position[axis]);
                maximum[axis] = std::max(maximum[axis], vertex.position[axis]);
            }
        }
        const std::string count = std::to_string(mesh.vertices.size());
        const int position = addAccessor(positions, "VEC3", count,
                                         ",\"min\":" + list(minimum) + ",\"max\":" + list(maximum));
        const int normal = addAccessor(normals, "VEC3", count, "");
        const int texCoord = addAccessor(texCoords, "VEC2", count, "");
        const int view = addView(mesh.indices.data(), mesh.indices.size() * 2);
        const int index = addAccessorJson(
            "{\"bufferView\":" + std::to_string(view) + ",\"componentType\":5123,\"count\":" +
            std::to_string(mesh.indices.size()) + ",\"type\":\"SCALAR\"}");
        return "{\"attributes\":{\"POSITION\":" + std::to_string(position) +
               ",\"NORMAL\":" + std::to_string(normal) +
               ",\"TEXCOORD_0\":" + std::to_string(texCoord) +
               "},\"indices\":" + std::to_string(index) +
               ",\"material\":" + std::to_string(material) + "}";
    }

    std::string bytes() const { return bytes_; }
    std::string viewsJson() const { return "[" + views_ + "]"; }
    std::string accessorsJson() const { return "[" + accessors_ + "]"; }

  private:
    std::string bytes_;
    std::string views_;
    std::string accessors_;
    int viewCount_ = 0;
    int accessorCount_ = 0;

    static std::string list(const std::array<float, 3>& values) {
        return "[" + std::to_string(values[0]) + "," + std::to_string(values[1]) + "," +
               std::to_string(values[2]) + "]";
    }
    int addAccessor(const std::vector<float>& values, const char* type, const std::string& count,
                    const std::string& bounds) {
        const int view = addView(values.data(), values.size() * sizeof(float));
        return addAccessorJson("{\"bufferView\":" + std::to_string(view) +
                               ",\"componentType\":5126,\"count\":" + count + ",\"type\":\"" +
                               type + "\"" + bounds + "}");
    }
    int addAccessorJson(const std::string& json) {
        accessors_ += (accessors_.empty() ? "" : ",") + json;
        return accessorCount_++;
    }
};

std::string chunk(std::string data, char pad, std::uint32_t type) {
    while (data.size() % 4 != 0) {
        data.push_back(pad);
    }
    std::string header(8, '\0');
    const auto length = static_cast<std::uint32_t>(data.size());
    std::memcpy(&header[0], &length, 4);
    std::memcpy(&header[4], &type, 4);
    return header + data;
}

// The nodes as glTF has them (+Y up), or turned a quarter about x so that +Z is up, as CAD
// and scan files often have it.
std::string nodesJson(bool zUp) {
    const std::string turn = zUp ? ",\"rotation\":[0.70710678,0,0,0.70710678]" : "";
    const std::string lamp = zUp ? "[1.2,-1.4,1.6]" : "[1.2,1.6,1.4]";
    return "\"nodes\":[{\"name\":\"crate\",\"mesh\":0" + turn +
           "},{\"name\":\"plinth\",\"mesh\":1" + turn +
           "},{\"name\":\"lamp\",\"translation\":" + lamp +
           ",\"extensions\":{\"KHR_lights_punctual\":{\"light\":0}}}],";
}

// The document's JSON; imageJson and bufferJson say where the image and the buffer lie.
std::string documentJson(BufferWriter& buffer, const std::string& crate, const std::string& plinth,
                         const std::string& imageJson, const std::string& bufferJson, bool zUp) {
    return "{\"asset\":{\"version\":\"2.0\",\"generator\":\"write-test-model\"},"
           "\"extensionsUsed\":[\"KHR_lights_punctual\"],"
           "\"extensions\":{\"KHR_lights_punctual\":{\"lights\":[{\"name\":\"lamp\",\"type\":"
           "\"point\",\"color\":[1.0,0.9,0.8],\"intensity\":2.0,\"range\":6.0}]}},"
           "\"scene\":0,\"scenes\":[{\"nodes\":[0,1,2]}]," +
           nodesJson(zUp) + "\"meshes\":[{\"name\":\"crate\",\"primitives\":[" + crate +
           "]},{\"name\":\"plinth\",\"primitives\":[" + plinth +
           "]}],"
           "\"materials\":[{\"name\":\"crateSkin\",\"pbrMetallicRoughness\":{\"baseColorTexture\":"
           "{\"index\":0},\"metallicFactor\":0.0,\"roughnessFactor\":0.8}},"
           "{\"name\":\"plinthPaint\",\"pbrMetallicRoughness\":{\"baseColorFactor\":"
           "[0.8,0.1,0.1,1.0],\"metallicFactor\":0.0}}],"
           "\"textures\":[{\"source\":0,\"sampler\":0}],\"samplers\":[{}],"
           "\"images\":[" +
           imageJson + "],\"accessors\":" + buffer.accessorsJson() +
           ",\"bufferViews\":" + buffer.viewsJson() + ",\"buffers\":[" + bufferJson + "]}";
}

// One .glb holding everything.
std::string glbFile(bool zUp) {
    BufferWriter buffer;
    const std::string crate = buffer.addPrimitive(crateMesh(), 0);
    const std::string plinth = buffer.addPrimitive(plinthMesh(), 1);
    const std::string png = crateTexture();
    const int imageView = buffer.addView(png.data(), png.size());
    const std::string json = documentJson(
        buffer, crate, plinth,
        "{\"bufferView\":" + std::to_string(imageView) + ",\"mimeType\":\"image/png\"}",
        "{\"byteLength\":" + std::to_string(buffer.bytes().size()) + "}", zUp);

    const std::string body =
        chunk(json, ' ', 0x4E4F534Au) + chunk(buffer.bytes(), '\0', 0x004E4942u);
    std::string header = "glTF";
    header.append(8, '\0');
    const std::uint32_t version = 2;
    const auto total = static_cast<std::uint32_t>(12 + body.size());
    std::memcpy(&header[4], &version, 4);
    std::memcpy(&header[8], &total, 4);
    return header + body;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return static_cast<bool>(file);
}

// A .gltf with its buffer and its image in files beside it, named after it (crate.bin,
// crate.png).
bool writeGltfWithSideFiles(const std::string& path, bool zUp) {
    const std::string stem = path.substr(0, path.size() - 5);
    const std::string name = stem.substr(stem.find_last_of('/') + 1);
    BufferWriter buffer;
    const std::string crate = buffer.addPrimitive(crateMesh(), 0);
    const std::string plinth = buffer.addPrimitive(plinthMesh(), 1);
    const std::string json = documentJson(buffer, crate, plinth, "{\"uri\":\"" + name + ".png\"}",
                                          "{\"uri\":\"" + name + ".bin\",\"byteLength\":" +
                                              std::to_string(buffer.bytes().size()) + "}",
                                          zUp);
    return writeFile(path, json) && writeFile(stem + ".bin", buffer.bytes()) &&
           writeFile(stem + ".png", crateTexture());
}

}  // namespace

int main(int argc, char** argv) {
    const bool zUp = argc == 3 && std::string(argv[2]) == "--z-up";
    if (argc != 2 && !zUp) {
        std::fputs("usage: write-test-model FILE [--z-up]\n", stderr);
        return 1;
    }
    const std::string path = argv[1];
    const bool text = path.size() > 5 && path.compare(path.size() - 5, 5, ".gltf") == 0;
    return (text ? writeGltfWithSideFiles(path, zUp) : writeFile(path, glbFile(zUp))) ? 0 : 1;
}
