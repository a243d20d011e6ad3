// Content for the rendering tests, written into scratch directories: glTF shapes, a flat
// shader that draws each material in its own colour (times a texture), materials, scenes and
// small pipelines; and reading back what was drawn.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include "engine/h3d.h"
#include "gltf_test_files.h"
#include "test_support.h"

namespace render_test {

// flat.shader: context "flat" draws surfaceColor times the surfaceMap texture, unlit.
void writeFlatShader(const ScratchDirectory& directory);
// A material of flat.shader in one colour; texture is a file in the directory, or "" for a
// white one written alongside.
void writeFlatMaterial(const ScratchDirectory& directory, const std::string& name, glm::vec4 color,
                       const std::string& texture = "", const std::string& extraAttributes = "");
// A material of the shipped model.shader with a white texture.
void writeLitMaterial(const ScratchDirectory& directory, const std::string& name, glm::vec3 albedo,
                      glm::vec3 emission = glm::vec3(0.0f));
// Copies shipped content files (shaders, materials, pipelines) into the directory.
void copyShippedFiles(const ScratchDirectory& directory, const std::vector<std::string>& names);
// With the shipped model.shader, which the file's own (default) material needs.
void writeGltf(const ScratchDirectory& directory, const std::string& name,
               const gltf_test::Mesh& mesh);
// flat.pipeline.xml: clears the screen to black and draws the "flat" context; with
// offscreen, through a full-size target that a copy quad puts on the screen.
void writeFlatPipeline(const ScratchDirectory& directory, bool offscreen = false);
std::string pngOf(int width, int height, const std::vector<std::array<unsigned char, 4>>& pixels);

// Declares the scene file, loads everything from the directory and adds its nodes.
H3DNode loadScene(const ScratchDirectory& directory, const std::string& sceneFile,
                  bool expectSuccess = true);
// A camera at the origin looking along -z over a viewport of the given size.
H3DNode addCamera(H3DRes pipeline, int width, int height, float fieldOfView = 60.0f);
void setViewport(H3DNode camera, H3DRes pipeline, int width, int height, float fieldOfView);
void renderFrame(H3DNode camera);

// The back buffer's RGBA bytes, rows bottom first.
class Picture {
  public:
    Picture(int width, int height);
    std::array<int, 4> at(int x, int y) const;
    int brightness(int x, int y) const;
    // How many pixels of the row or column are brighter than threshold (a sum of channels).
    int brightAlongRow(int y, int threshold) const;
    int brightAlongColumn(int x, int threshold) const;

  private:
    int width_;
    int height_;
    std::vector<unsigned char> bytes_;
};

}  // namespace render_test
