// The import library's materials as glTF metallic-roughness ones: diffuse colour and texture
// become the base colour, shininess the roughness, emissive stays emissive, opacity below one
// blends; their textures are files inside the model's folder or images inside the model.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <assimp/material.h>
#include <assimp/scene.h>

#include "import/folder_files.h"
#include "import/glb_writer.h"

class MaterialWriter {
  public:
    MaterialWriter(const aiScene& scene, FolderFiles& folder, GlbWriter& glb,
                   std::vector<std::string>& notes)
        : scene_(scene), folder_(folder), glb_(glb), notes_(notes) {}

    // Writes every material of the scene, in its order.
    void writeAll();

  private:
    const aiScene& scene_;
    FolderFiles& folder_;
    GlbWriter& glb_;
    std::vector<std::string>& notes_;
    // Textures already written, by the path the material names; -1 for one that is missing.
    std::map<std::string, int> textures_;

    nlohmann::json material(const aiMaterial& source);
    // The glTF texture index of the material's first texture of that type; -1 for none.
    int texture(const aiMaterial& source, aiTextureType type);
    int embeddedImage(const aiTexture& texture);
};

// Phong shininess (the exponent) as glTF roughness: the GGX surface with the same highlight.
float roughnessOfShininess(float shininess);
