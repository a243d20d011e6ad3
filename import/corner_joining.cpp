#include "import/corner_joining.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::uint32_t kNone = ~0u;

// The attributes a vertex is compared by, as bytes.
class CornerBytes {
  public:
    explicit CornerBytes(const aiMesh& mesh) : mesh_(mesh) {}

    std::uint64_t hash(unsigned vertex) const {
        std::uint64_t value = 1469598103934665603ull;
        forEachPart(vertex, [&value](const void* data, std::size_t size) {
            const auto* bytes = static_cast<const unsigned char*>(data);
            for (std::size_t at = 0; at < size; ++at) {
                value = (value ^ bytes[at]) * 1099511628211ull;
            }
        });
        return value;
    }

    bool equal(unsigned a, unsigned b) const {
        bool same = true;
        forEachPair(a, b, [&same](const void* first, const void* second, std::size_t size) {
            same = same && std::memcmp(first, second, size) == 0;
        });
        return same;
    }

  private:
    const aiMesh& mesh_;

    template <typename Visit>
    void forEachPart(unsigned vertex, Visit visit) const {
        forEachPair(vertex, vertex, [&visit](const void* data, const void*, std::size_t size) {
            visit(data, size);
        });
    }

    template <typename Visit>
    void forEachPair(unsigned a, unsigned b, Visit visit) const {
        visit(&mesh_.mVertices[a], &mesh_.mVertices[b], sizeof(aiVector3D));
        if (mesh_.mNormals != nullptr) {
            visit(&mesh_.mNormals[a], &mesh_.mNormals[b], sizeof(aiVector3D));
        }
        for (unsigned set = 0; set < 2; ++set) {
            if (mesh_.mTextureCoords[set] != nullptr) {
                visit(&mesh_.mTextureCoords[set][a], &mesh_.mTextureCoords[set][b],
                      sizeof(aiVector3D));
            }
        }
        if (mesh_.mColors[0] != nullptr) {
            visit(&mesh_.mColors[0][a], &mesh_.mColors[0][b], sizeof(aiColor4D));
        }
    }
};

// The array with only the kept vertices, in their new order; the old one is freed.
template <typename Value>
void keepOnly(Value*& values, const std::vector<unsigned>& kept) {
    if (values == nullptr) {
        return;
    }
    auto* compact = new Value[kept.size()];
    for (std::size_t index = 0; index < kept.size(); ++index) {
        compact[index] = values[kept[index]];
    }
    delete[] values;
    values = compact;
}

}  // namespace

void joinIdenticalCorners(aiMesh& mesh) {
    const CornerBytes corners(mesh);
    std::vector<unsigned> kept;
    std::vector<std::uint32_t> nextWithSameHash;
    std::vector<std::uint32_t> newIndex(mesh.mNumVertices);
    std::unordered_map<std::uint64_t, std::uint32_t> firstWithHash;
    firstWithHash.reserve(mesh.mNumVertices);
    for (unsigned vertex = 0; vertex < mesh.mNumVertices; ++vertex) {
        const std::uint64_t hash = corners.hash(vertex);
        auto [first, added] = firstWithHash.emplace(hash, static_cast<std::uint32_t>(kept.size()));
        std::uint32_t found = kNone;
        for (std::uint32_t candidate = added ? kNone : first->second; candidate != kNone;
             candidate = nextWithSameHash[candidate]) {
            if (corners.equal(kept[candidate], vertex)) {
                found = candidate;
                break;
            }
        }
        if (found == kNone) {
            found = static_cast<std::uint32_t>(kept.size());
            nextWithSameHash.push_back(added ? kNone : first->second);
            first->second = found;
            kept.push_back(vertex);
        }
        newIndex[vertex] = found;
    }
    if (kept.size() == mesh.mNumVertices) {
        return;
    }
    for (unsigned face = 0; face < mesh.mNumFaces; ++face) {
        for (unsigned corner = 0; corner < mesh.mFaces[face].mNumIndices; ++corner) {
            unsigned& index = mesh.mFaces[face].mIndices[corner];
            index = index < mesh.mNumVertices ? newIndex[index] : 0;
        }
    }
    keepOnly(mesh.mVertices, kept);
    keepOnly(mesh.mNormals, kept);
    for (unsigned set = 0; set < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++set) {
        keepOnly(mesh.mTextureCoords[set], kept);
    }
    for (unsigned set = 0; set < AI_MAX_NUMBER_OF_COLOR_SETS; ++set) {
        keepOnly(mesh.mColors[set], kept);
    }
    keepOnly(mesh.mTangents, kept);
    keepOnly(mesh.mBitangents, kept);
    mesh.mNumVertices = static_cast<unsigned>(kept.size());
}
