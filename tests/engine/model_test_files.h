// Small model files of the formats read through the import helper, written by the tests.
#pragma once

#include <cstdint>
#include <string>

namespace model_test {

// A unit square facing +z whose material's texture is 2 by 1 pixels: red left, blue right.
// The .mtl names the texture by a Windows path, which is found by its file name in tex/.
struct TexturedObj {
    std::string obj;
    std::string mtl;
    std::string png;
};
TexturedObj texturedObj();

// A tetrahedron: four triangles.
std::string asciiStl();
// triangles facets in a row along x, each with its own three vertices, as STL keeps them.
std::string binaryStl(std::uint32_t triangles);
// Four points with colours (red, green, blue, white), binary little-endian.
std::string coloredPointCloudPly();
// A square of two triangles written as one four-cornered face.
std::string plyMesh();
// One triangle used by two nodes: "hand" below "arm" (moved up 2, then right 3), and "other".
std::string colladaHierarchy();
// One triangle on the node "body", skinned to the joint "bone" below "arm", which an animation
// moves from y = 2 to y = 3 in a second.
std::string colladaSkinnedAndAnimated();

}  // namespace model_test
