// The parse half of loading: a resource file's bytes become its plain description, which
// names the further resources it refers to. Needs no OpenGL.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/formats/cube_faces.h"
#include "engine/formats/equirect_cube.h"
#include "engine/formats/font_metrics.h"
#include "engine/formats/gltf_geometry.h"
#include "engine/formats/hdr_image.h"
#include "engine/formats/material_format.h"
#include "engine/formats/parsed.h"
#include "engine/formats/pipeline_format.h"
#include "engine/formats/scene_format.h"
#include "engine/formats/shader_format.h"
#include "engine/formats/texture_image.h"
#include "engine/resources/resource_type.h"

namespace engine {

// A texture is an 8-bit image or cube (ImageData, CubeFaces) or, from a high-dynamic-range
// file, a floating-point one (HdrImage, HdrCubeFaces made from the file's panorama).
using ParsedContent = std::variant<SceneDesc, MaterialDesc, ShaderDesc, PipelineDesc, ImageData,
                                   CubeFaces, HdrImage, HdrCubeFaces, GeometryDesc, FontMetrics>;

struct ResourceReference {
    ResourceType type;
    std::string name;
    int flags = 0;
    // What the referring file holds of the resource itself, taken instead of reading a file of
    // that name: its description (a glTF file's materials) or its bytes (images inside a glTF
    // file). Empty for resources of their own files.
    std::shared_ptr<const ParsedContent> content = nullptr;
    std::shared_ptr<const std::string> bytes = nullptr;
};

// readSideFile reaches the files a resource names beside itself (a .gltf's buffers); name is
// the resource's, which names what its file holds of other resources.
Parsed<ParsedContent> parseResourceContent(ResourceType type, int flags, std::string_view name,
                                           std::string_view bytes,
                                           const SideFileReader& readSideFile);
// The bytes that parsing a texture file will hold once decoded (with mipmaps and cube faces),
// read from its header; 0 for other types and for files whose header is unreadable.
std::size_t decodedBytesOf(ResourceType type, int flags, std::string_view bytes);
// The resources a parsed file names, in the order it names them.
std::vector<ResourceReference> referencesOf(const ParsedContent& content);
// What the parser left out of a file that still loads.
std::vector<std::string> warningsOf(const ParsedContent& content);

}  // namespace engine
