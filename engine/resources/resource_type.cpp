#include "engine/resources/resource_type.h"

namespace engine {

bool isResourceType(int type) {
    switch (type) {
        case H3DResTypes::SceneGraph:
        case H3DResTypes::Geometry:
        case H3DResTypes::Material:
        case H3DResTypes::Shader:
        case H3DResTypes::Texture:
        case H3DResTypes::Pipeline:
            return true;
        default:
            return false;
    }
}

const char* resourceTypeName(ResourceType type) {
    switch (type) {
        case ResourceType::SceneGraph:
            return "scene";
        case ResourceType::Geometry:
            return "geometry";
        case ResourceType::Material:
            return "material";
        case ResourceType::Shader:
            return "shader";
        case ResourceType::Texture:
            return "texture";
        case ResourceType::Pipeline:
            return "pipeline";
        case ResourceType::FontMetrics:
            return "font metrics";
    }
    return "resource";
}

}  // namespace engine
