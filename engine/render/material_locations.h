// Where a material's uniforms and samplers (and a quad's input samplers) sit in a program,
// looked up the first time the pair is drawn and kept, so that frames look up no names.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include <epoxy/gl.h>

#include "engine/formats/pipeline_format.h"
#include "engine/h3d.h"
#include "engine/resources/loaded_material.h"

namespace engine {

struct MaterialProgramLocations {
    // One per entry of the material's uniforms and textures; -1 for names the program lacks.
    std::vector<GLint> uniforms;
    std::vector<GLint> samplers;
    // One per input of the quad command, when the pair is drawn by one.
    std::vector<GLint> inputs;
};

class MaterialLocations {
  public:
    // quad: the drawQuad command whose inputs the program samples, or nothing.
    const MaterialProgramLocations& find(H3DRes materialHandle, const LoadedMaterial& material,
                                         GLuint program, const PipelineCommand* quad = nullptr);
    void clear() { entries_.clear(); }

  private:
    struct Key {
        H3DRes material;
        GLuint program;
        const PipelineCommand* quad;
        bool operator==(const Key& other) const {
            return material == other.material && program == other.program && quad == other.quad;
        }
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };

    std::unordered_map<Key, MaterialProgramLocations, KeyHash> entries_;
};

}  // namespace engine
