#include "engine/formats/gltf_extensions.h"

#include <algorithm>
#include <string>

#include "engine/formats/format_error.h"
#include "engine/formats/gltf_draco.h"
#include "engine/formats/gltf_material_extensions.h"
#include "engine/formats/gltf_meshopt.h"

namespace engine {

void checkRequiredExtensions(const tinygltf::Model& model) {
    const std::string known[] = {"KHR_mesh_quantization",
                                 kMeshoptExtension,
                                 kDracoExtension,
                                 "KHR_materials_unlit",
                                 "KHR_materials_emissive_strength",
                                 "KHR_texture_transform",
                                 "KHR_lights_punctual",
                                 "EXT_texture_webp"};
    for (const std::string& required : model.extensionsRequired) {
        if (std::find(std::begin(known), std::end(known), required) == std::end(known) &&
            std::find(std::begin(kGltfSurfaceExtensions), std::end(kGltfSurfaceExtensions),
                      required) == std::end(kGltfSurfaceExtensions)) {
            throw FormatError("the file requires the extension " + required +
                              ", which the engine does not know");
        }
    }
}

}  // namespace engine
