#include "import/crease_normals.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

// Each vertex's position as a number shared by every vertex at that position.
std::vector<std::uint32_t> positionNumbers(const aiMesh& mesh, std::uint32_t& count) {
    struct PositionKey {
        float x, y, z;
        bool operator==(const PositionKey& other) const {
            return std::memcmp(this, &other, sizeof *this) == 0;
        }
    };
    struct PositionHash {
        std::size_t operator()(const PositionKey& key) const {
            std::uint32_t words[3];
            std::memcpy(words, &key, sizeof words);
            return (static_cast<std::size_t>(words[0]) * 73856093u) ^
                   (static_cast<std::size_t>(words[1]) * 19349663u) ^
                   (static_cast<std::size_t>(words[2]) * 83492791u);
        }
    };
    std::unordered_map<PositionKey, std::uint32_t, PositionHash> numbers;
    numbers.reserve(mesh.mNumVertices);
    std::vector<std::uint32_t> numberOf(mesh.mNumVertices);
    for (unsigned vertex = 0; vertex < mesh.mNumVertices; ++vertex) {
        const aiVector3D& position = mesh.mVertices[vertex];
        const auto found = numbers.emplace(PositionKey{position.x, position.y, position.z},
                                           static_cast<std::uint32_t>(numbers.size()));
        numberOf[vertex] = found.first->second;
    }
    count = static_cast<std::uint32_t>(numbers.size());
    return numberOf;
}

}  // namespace

void makeCreaseNormals(aiMesh& mesh, float creaseDegrees) {
    std::uint32_t positions = 0;
    const std::vector<std::uint32_t> positionOf = positionNumbers(mesh, positions);
    // Area-weighted face normals (the cross product's length is twice the area).
    std::vector<aiVector3D> weighted(mesh.mNumFaces);
    std::vector<aiVector3D> unit(mesh.mNumFaces);
    // The faces around each position, in one array with offsets.
    std::vector<std::uint32_t> firstFace(positions + 1, 0);
    for (unsigned face = 0; face < mesh.mNumFaces; ++face) {
        const aiFace& corners = mesh.mFaces[face];
        if (corners.mNumIndices != 3) {
            continue;
        }
        const aiVector3D& a = mesh.mVertices[corners.mIndices[0]];
        weighted[face] =
            (mesh.mVertices[corners.mIndices[1]] - a) ^ (mesh.mVertices[corners.mIndices[2]] - a);
        const float length = weighted[face].Length();
        unit[face] =
            std::isfinite(length) && length > 0.0f ? weighted[face] / length : aiVector3D();
        for (unsigned corner = 0; corner < 3; ++corner) {
            ++firstFace[positionOf[corners.mIndices[corner]] + 1];
        }
    }
    for (std::uint32_t position = 0; position < positions; ++position) {
        firstFace[position + 1] += firstFace[position];
    }
    std::vector<std::uint32_t> facesAround(firstFace[positions]);
    std::vector<std::uint32_t> filled(firstFace.begin(), firstFace.end() - 1);
    for (unsigned face = 0; face < mesh.mNumFaces; ++face) {
        if (mesh.mFaces[face].mNumIndices == 3) {
            for (unsigned corner = 0; corner < 3; ++corner) {
                facesAround[filled[positionOf[mesh.mFaces[face].mIndices[corner]]]++] = face;
            }
        }
    }
    delete[] mesh.mNormals;
    mesh.mNormals = new aiVector3D[mesh.mNumVertices];
    const float smoothest = std::cos(creaseDegrees * 3.14159265f / 180.0f);
    for (unsigned face = 0; face < mesh.mNumFaces; ++face) {
        if (mesh.mFaces[face].mNumIndices != 3) {
            continue;
        }
        for (unsigned corner = 0; corner < 3; ++corner) {
            const unsigned vertex = mesh.mFaces[face].mIndices[corner];
            const std::uint32_t position = positionOf[vertex];
            // Summed in the same order for every corner at the position, so that corners on one
            // side of a crease get bit-equal normals and are joined afterwards.
            aiVector3D sum;
            for (std::uint32_t at = firstFace[position]; at < firstFace[position + 1]; ++at) {
                const std::uint32_t other = facesAround[at];
                if (other == face || unit[face] * unit[other] >= smoothest) {
                    sum += weighted[other];
                }
            }
            const float length = sum.Length();
            mesh.mNormals[vertex] =
                length > 0.0f && std::isfinite(length) ? sum / length : unit[face];
        }
    }
}
