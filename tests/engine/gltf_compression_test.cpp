// Compressed files, written with the encoders of the libraries the engine decodes with.
#include <gtest/gtest.h>

#include <draco/compression/decode.h>
#include <draco/compression/encode.h>
#include <draco/mesh/triangle_soup_mesh_builder.h>
#include <meshoptimizer.h>

#include "engine/formats/gltf_geometry.h"
#include "gltf_raw_file.h"
#include "gltf_side_files.h"
#include "gltf_test_files.h"

using namespace engine;
using gltf_test::RawFile;

namespace {

using gltf_test::kNoSideFiles;

// A square in the xy plane facing +z, as two triangles.
const std::vector<float> kCorners{-1, -1, 0, 1, -1, 0, 1, 1, 0, -1, 1, 0};
const std::vector<unsigned int> kIndices{0, 1, 2, 0, 2, 3};

// A view of compressed bytes whose fallback lies in buffer 1, which holds no data.
int addMeshoptView(RawFile& file, const std::string& compressed, std::size_t count,
                   std::size_t stride, const std::string& mode, const std::string& filter) {
    const std::size_t offset = file.buffer.size();
    file.buffer += compressed;
    while (file.buffer.size() % 4 != 0) {
        file.buffer.push_back('\0');
    }
    const std::string strideMember =
        mode == "ATTRIBUTES" ? ",\"byteStride\":" + std::to_string(stride) : "";
    file.views.push_back(
        "{\"buffer\":1,\"byteLength\":" + std::to_string(count * stride) + strideMember +
        ",\"extensions\":{\"EXT_meshopt_compression\":{\"buffer\":0,\"byteOffset\":" +
        std::to_string(offset) + ",\"byteLength\":" + std::to_string(compressed.size()) +
        ",\"byteStride\":" + std::to_string(stride) + ",\"count\":" + std::to_string(count) +
        ",\"mode\":\"" + mode + "\",\"filter\":\"" + filter + "\"}}}");
    return static_cast<int>(file.views.size() - 1);
}

std::string encodedVertices(const void* vertices, std::size_t count, std::size_t stride) {
    std::string encoded(meshopt_encodeVertexBufferBound(count, stride), '\0');
    encoded.resize(meshopt_encodeVertexBuffer(reinterpret_cast<unsigned char*>(encoded.data()),
                                              encoded.size(), vertices, count, stride));
    return encoded;
}

std::string encodedIndices(bool sequence) {
    std::string encoded(meshopt_encodeIndexBufferBound(kIndices.size(), 4), '\0');
    auto* out = reinterpret_cast<unsigned char*>(encoded.data());
    encoded.resize(
        sequence
            ? meshopt_encodeIndexSequence(out, encoded.size(), kIndices.data(), kIndices.size())
            : meshopt_encodeIndexBuffer(out, encoded.size(), kIndices.data(), kIndices.size()));
    return encoded;
}

// Positions through the exponential filter, normals through the octahedral one.
RawFile meshoptFile(bool indexSequence) {
    RawFile file;
    std::vector<std::uint32_t> exponential(12);
    meshopt_encodeFilterExp(exponential.data(), 4, 12, 15, kCorners.data());
    const std::vector<float> normals{0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::vector<std::int8_t> octahedral(16);
    meshopt_encodeFilterOct(octahedral.data(), 4, 4, 8, normals.data());
    const int positions =
        file.addAccessor(addMeshoptView(file, encodedVertices(exponential.data(), 4, 12), 4, 12,
                                        "ATTRIBUTES", "EXPONENTIAL"),
                         gltf_test::kFloat, 4, "VEC3");
    const int normalAccessor =
        file.addAccessor(addMeshoptView(file, encodedVertices(octahedral.data(), 4, 4), 4, 4,
                                        "ATTRIBUTES", "OCTAHEDRAL"),
                         gltf_test::kByte, 4, "VEC3", ",\"normalized\":true");
    const int indices =
        file.addAccessor(addMeshoptView(file, encodedIndices(indexSequence), 6, 2,
                                        indexSequence ? "INDICES" : "TRIANGLES", "NONE"),
                         gltf_test::kUnsignedShort, 6, "SCALAR");
    file.moreBuffers.push_back(
        "{\"byteLength\":1000,\"extensions\":{\"EXT_meshopt_compression\":{\"fallback\":true}}}");
    file.meshes = "[{\"name\":\"square\",\"primitives\":[{\"attributes\":{\"POSITION\":" +
                  std::to_string(positions) + ",\"NORMAL\":" + std::to_string(normalAccessor) +
                  "},\"indices\":" + std::to_string(indices) + "}]}]";
    file.nodes = "[{\"mesh\":0}]";
    file.members =
        ",\"extensionsUsed\":[\"EXT_meshopt_compression\",\"KHR_mesh_quantization\"],"
        "\"extensionsRequired\":[\"EXT_meshopt_compression\",\"KHR_mesh_quantization\"]";
    return file;
}

// Positions and texture coordinates compressed with draco; the accessors have no views.
RawFile dracoFile() {
    draco::TriangleSoupMeshBuilder builder;
    builder.Start(2);
    const int position =
        builder.AddAttribute(draco::GeometryAttribute::POSITION, 3, draco::DT_FLOAT32);
    const int texCoord =
        builder.AddAttribute(draco::GeometryAttribute::TEX_COORD, 2, draco::DT_FLOAT32);
    for (std::uint32_t face = 0; face < 2; ++face) {
        const unsigned int* corners = &kIndices[face * 3];
        float uvs[3][2];
        for (int corner = 0; corner < 3; ++corner) {
            uvs[corner][0] = kCorners[corners[corner] * 3] * 0.5f + 0.5f;
            uvs[corner][1] = kCorners[corners[corner] * 3 + 1] * 0.5f + 0.5f;
        }
        builder.SetAttributeValuesForFace(position, draco::FaceIndex(face),
                                          &kCorners[corners[0] * 3], &kCorners[corners[1] * 3],
                                          &kCorners[corners[2] * 3]);
        builder.SetAttributeValuesForFace(texCoord, draco::FaceIndex(face), uvs[0], uvs[1], uvs[2]);
    }
    std::unique_ptr<draco::Mesh> mesh = builder.Finalize();
    draco::Encoder encoder;
    draco::EncoderBuffer encoded;
    EXPECT_TRUE(encoder.EncodeMeshToBuffer(*mesh, &encoded).ok());
    // The accessors must state the decoded counts, which the encoder may reorder but keeps.
    draco::DecoderBuffer again;
    again.Init(encoded.data(), encoded.size());
    draco::Decoder decoder;
    std::unique_ptr<draco::Mesh> decoded = decoder.DecodeMeshFromBuffer(&again).value();
    RawFile file;
    const int view = file.addView(std::string(encoded.data(), encoded.size()));
    const std::size_t points = decoded->num_points();
    file.addAccessor(-1, gltf_test::kFloat, points, "VEC3");
    file.addAccessor(-1, gltf_test::kFloat, points, "VEC2");
    file.addAccessor(-1, gltf_test::kUnsignedInt, decoded->num_faces() * 3, "SCALAR");
    file.meshes =
        "[{\"name\":\"square\",\"primitives\":[{\"attributes\":{\"POSITION\":0,\"TEXCOORD_0\":1},"
        "\"indices\":2,\"extensions\":{\"KHR_draco_mesh_compression\":{\"bufferView\":" +
        std::to_string(view) +
        ",\"attributes\":{\"POSITION\":" + std::to_string(mesh->attribute(position)->unique_id()) +
        ",\"TEXCOORD_0\":" + std::to_string(mesh->attribute(texCoord)->unique_id()) + "}}}}]}]";
    file.members = ",\"extensionsRequired\":[\"KHR_draco_mesh_compression\"]";
    return file;
}

Parsed<GeometryDesc> parse(const std::string& bytes) {
    return parseGltfGeometry(bytes, kNoSideFiles);
}

GeometryDesc parsed(const std::string& bytes) {
    Parsed<GeometryDesc> geometry = parse(bytes);
    EXPECT_TRUE(geometry.ok()) << geometry.error();
    return geometry.ok() ? std::move(geometry.value()) : GeometryDesc();
}

std::string errorOf(const std::string& bytes) {
    Parsed<GeometryDesc> geometry = parse(bytes);
    EXPECT_FALSE(geometry.ok()) << "parsed although it should not";
    return geometry.ok() ? std::string() : geometry.error();
}

void expectTheSquare(const GeometryDesc& geometry) {
    ASSERT_EQ(geometry.meshes.size(), 1u);
    EXPECT_EQ(geometry.triangleCount(), 2u);
    const BoundingBox& bounds = geometry.meshes[0].bounds;
    EXPECT_NEAR(bounds.minimum.x, -1.0f, 1e-3f);
    EXPECT_NEAR(bounds.maximum.y, 1.0f, 1e-3f);
    // Every triangle still faces +z, corners in their first order.
    for (std::size_t first = 0; first < geometry.shortIndices.size() + geometry.longIndices.size();
         first += 3) {
        glm::vec3 corners[3];
        for (std::size_t corner = 0; corner < 3; ++corner) {
            const std::uint32_t index = geometry.shortIndices.empty()
                                            ? geometry.longIndices[first + corner]
                                            : geometry.shortIndices[first + corner];
            corners[corner] = geometry.vertices.at(index).position;
        }
        EXPECT_GT(glm::cross(corners[1] - corners[0], corners[2] - corners[0]).z, 0.0f);
    }
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(GltfCompression, MeshoptFilesLoadWithoutTheirFallbackData) {
    for (bool sequence : {false, true}) {
        GeometryDesc geometry = parsed(meshoptFile(sequence).glb());
        expectTheSquare(geometry);
        ASSERT_EQ(geometry.vertices.size(), 4u);
        EXPECT_NEAR(geometry.vertices[2].position.x, 1.0f, 1e-3f);
        EXPECT_NEAR(geometry.vertices[2].normal.z, 1.0f, 1e-2f);
    }
}

TEST(GltfCompression, DracoFilesLoad) {
    GeometryDesc geometry = parsed(dracoFile().glb());
    expectTheSquare(geometry);
    for (const GeometryVertex& vertex : geometry.vertices) {
        EXPECT_NEAR(vertex.texCoord.x, vertex.position.x * 0.5f + 0.5f, 1e-3f);
    }
}

TEST(GltfCompression, UnknownRequiredExtensionsFailTheFile) {
    RawFile file = meshoptFile(false);
    file.members += ",\"extensionsUsed\":[\"KHR_materials_volume\"]";
    file.members = replaced(file.members, "\"extensionsRequired\":[",
                            "\"extensionsRequired\":[\"EXT_teleport\",");
    EXPECT_NE(errorOf(file.glb()).find("requires the extension EXT_teleport"), std::string::npos);
}

TEST(GltfCompression, CorruptedAndLyingStreamsAreReported) {
    RawFile meshopt = meshoptFile(false);
    meshopt.views[0] = replaced(meshopt.views[0], "\"count\":4", "\"count\":400000000");
    EXPECT_NE(errorOf(meshopt.glb()).find("decodes to more bytes than its accessors use"),
              std::string::npos);

    RawFile scrambled = meshoptFile(false);
    for (std::size_t at = 1; at < 20; ++at) {
        scrambled.buffer[at] = static_cast<char>(0xA5);
    }
    EXPECT_NE(errorOf(scrambled.glb()).find("is not a valid meshopt stream"), std::string::npos);

    RawFile draco = dracoFile();
    for (std::size_t at = 8; at < draco.buffer.size(); at += 3) {
        draco.buffer[at] = static_cast<char>(~draco.buffer[at]);
    }
    EXPECT_NE(errorOf(draco.glb()).find("mesh 'square' primitive 0"), std::string::npos);

    RawFile miscounted = dracoFile();
    miscounted.accessors[2] = replaced(miscounted.accessors[2], "\"count\":6", "\"count\":9");
    EXPECT_NE(errorOf(miscounted.glb()).find("not what its accessors say"), std::string::npos);
}

TEST(GltfCompression, FilesCutShortFailAtEveryLength) {
    for (const std::string& whole : {meshoptFile(true).glb(), dracoFile().glb()}) {
        // The last few bytes are padding or a stream's unused tail, which a file can lose.
        for (std::size_t length = 0; length + 8 < whole.size(); length += 7) {
            EXPECT_FALSE(parse(whole.substr(0, length)).ok()) << length << " of " << whole.size();
        }
    }
}
