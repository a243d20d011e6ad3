#include "import/model_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include "import/confined_io_system.h"
#include "import/corner_joining.h"
#include "import/crease_normals.h"
#include "import/folder_files.h"
#include "import/ply_size_check.h"
#include "import/scene_to_gltf.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned kReadSteps = aiProcess_Triangulate | aiProcess_SortByPType |
                                aiProcess_ValidateDataStructure | aiProcess_FlipUVs |
                                aiProcess_RemoveRedundantMaterials | aiProcess_LimitBoneWeights;

std::string libraryComplaint(const Assimp::Importer& importer);
bool markPointClouds(const aiScene& scene);
bool hasUnusableNormals(const aiMesh& mesh);
bool sharesNoCorners(const aiMesh& mesh);

}  // namespace

ConvertedModel convertModelFile(const std::string& path) {
    std::error_code error;
    const fs::path file = fs::weakly_canonical(path, error);
    if (error || !fs::is_regular_file(file, error)) {
        throw std::runtime_error("file not found");
    }
    if (fs::file_size(file, error) > kMostModelFileBytes) {
        throw std::runtime_error("the file is larger than " +
                                 std::to_string(kMostModelFileBytes >> 20) + " MiB");
    }
    if (std::optional<std::string> fault = plySizeFault(file.string())) {
        throw std::runtime_error(*fault);
    }
    ConvertedModel converted;
    FolderFiles folder(file.parent_path());
    Assimp::Importer importer;
    importer.SetIOHandler(new ConfinedIoSystem(file.string(), folder, converted.notes));
    importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, kCreaseAngleDegrees);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    if (scene == nullptr) {
        throw std::runtime_error(libraryComplaint(importer));
    }
    // Point clouds come as meshes without faces, which the library's own steps refuse; they
    // need none of them.
    if (!markPointClouds(*scene)) {
        scene = importer.ApplyPostProcessing(kReadSteps);
        if (scene == nullptr) {
            throw std::runtime_error(libraryComplaint(importer));
        }
    }
    // Normals that are missing, zero or not numbers are made again from the faces: here for
    // meshes of separate corners, which it does fastest, and by the library for the others.
    bool remakeSharedNormals = false;
    for (unsigned index = 0; index < scene->mNumMeshes; ++index) {
        aiMesh& mesh = *scene->mMeshes[index];
        if ((mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) == 0 || !hasUnusableNormals(mesh)) {
            continue;
        }
        if (sharesNoCorners(mesh)) {
            makeCreaseNormals(mesh, kCreaseAngleDegrees);
        } else {
            delete[] mesh.mNormals;
            mesh.mNormals = nullptr;
            remakeSharedNormals = true;
        }
    }
    if (remakeSharedNormals) {
        scene = importer.ApplyPostProcessing(aiProcess_GenSmoothNormals);
        if (scene == nullptr) {
            throw std::runtime_error(libraryComplaint(importer));
        }
    }
    // Skinned meshes keep their vertices, which their bones' weights name.
    for (unsigned index = 0; index < scene->mNumMeshes; ++index) {
        if (sharesNoCorners(*scene->mMeshes[index]) && scene->mMeshes[index]->mNumBones == 0) {
            joinIdenticalCorners(*scene->mMeshes[index]);
        }
    }
    converted.glb = gltfOfScene(*scene, folder, converted.notes);
    return converted;
}

namespace {

std::string libraryComplaint(const Assimp::Importer& importer) {
    const std::string reason = importer.GetErrorString();
    return reason.empty() ? "the import library cannot read it" : reason;
}

// Whether any mesh has vertices but no faces; those are marked as points.
bool markPointClouds(const aiScene& scene) {
    bool found = false;
    for (unsigned index = 0; index < scene.mNumMeshes; ++index) {
        aiMesh& mesh = *scene.mMeshes[index];
        if (mesh.mNumFaces == 0 && mesh.mNumVertices > 0) {
            mesh.mPrimitiveTypes = aiPrimitiveType_POINT;
            found = true;
        }
    }
    return found;
}

bool hasUnusableNormals(const aiMesh& mesh) {
    if (mesh.mNormals == nullptr) {
        return true;
    }
    for (unsigned vertex = 0; vertex < mesh.mNumVertices; ++vertex) {
        const aiVector3D& normal = mesh.mNormals[vertex];
        const float length = normal.SquareLength();
        if (!std::isfinite(length) || length == 0.0f) {
            return true;
        }
    }
    return false;
}

// Whether a triangle mesh lists each corner as a vertex of its own (OBJ, STL), which draws
// with far fewer vertices once equal corners are joined.
bool sharesNoCorners(const aiMesh& mesh) {
    return (mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) != 0 && mesh.mNumFaces > 0 &&
           mesh.mNumVertices >= std::uint64_t{mesh.mNumFaces} * 3;
}

}  // namespace
