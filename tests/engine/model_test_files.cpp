#include "model_test_files.h"

#include <array>
#include <cstring>
#include <vector>

#include <stb_image_write.h>

namespace model_test {
namespace {

void appendBytes(std::string& bytes, const void* data, std::size_t size) {
    bytes.append(static_cast<const char*>(data), size);
}

template <typename Value>
void appendValue(std::string& bytes, Value value) {
    appendBytes(bytes, &value, sizeof value);
}

std::string redBluePng() {
    const std::array<unsigned char, 8> pixels{255, 0, 0, 255, 0, 0, 255, 255};
    std::string bytes;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            appendBytes(*static_cast<std::string*>(context), data, static_cast<std::size_t>(size));
        },
        &bytes, 2, 1, 4, pixels.data(), 8);
    return bytes;
}

}  // namespace

TexturedObj texturedObj() {
    TexturedObj files;
    files.obj =
        "mtllib square.mtl\n"
        "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
        "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
        "vn 0 0 1\n"
        "usemtl painted\n"
        "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n";
    files.mtl =
        "newmtl painted\n"
        "Kd 1 1 1\nKe 0 0 0\nNs 10\nd 1\n"
        "map_Kd C:\\Users\\artist\\Textures\\RedBlue.PNG\n";
    files.png = redBluePng();
    return files;
}

std::string asciiStl() {
    return "solid tetrahedron\n"
           "facet normal 0 0 -1\nouter loop\nvertex 0 0 0\nvertex 0 1 0\nvertex 1 0 0\n"
           "endloop\nendfacet\n"
           "facet normal 0 -1 0\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 0 1\n"
           "endloop\nendfacet\n"
           "facet normal -1 0 0\nouter loop\nvertex 0 0 0\nvertex 0 0 1\nvertex 0 1 0\n"
           "endloop\nendfacet\n"
           "facet normal 0.577 0.577 0.577\nouter loop\nvertex 1 0 0\nvertex 0 1 0\n"
           "vertex 0 0 1\nendloop\nendfacet\n"
           "endsolid tetrahedron\n";
}

std::string binaryStl(std::uint32_t triangles) {
    std::string bytes(80, ' ');
    std::memcpy(bytes.data(), "binary stl written by the tests", 31);
    appendValue(bytes, triangles);
    for (std::uint32_t triangle = 0; triangle < triangles; ++triangle) {
        const float x = static_cast<float>(triangle);
        const float facet[12] = {0, 0, 1, x, 0, 0, x + 1, 0, 0, x, 1, 0};
        appendBytes(bytes, facet, sizeof facet);
        appendValue(bytes, std::uint16_t{0});
    }
    return bytes;
}

std::string coloredPointCloudPly() {
    std::string bytes =
        "ply\nformat binary_little_endian 1.0\nelement vertex 4\n"
        "property float x\nproperty float y\nproperty float z\n"
        "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n";
    const float positions[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    const unsigned char colors[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    for (int point = 0; point < 4; ++point) {
        appendBytes(bytes, positions[point], sizeof positions[point]);
        appendBytes(bytes, colors[point], sizeof colors[point]);
    }
    return bytes;
}

std::string plyMesh() {
    return "ply\nformat ascii 1.0\nelement vertex 4\n"
           "property float x\nproperty float y\nproperty float z\n"
           "element face 1\nproperty list uchar int vertex_indices\nend_header\n"
           "0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n";
}

// The start of a COLLADA file of one triangle, "tri", that the scenes below place.
const char* const kColladaTriangle = R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <asset><unit name="meter" meter="1"/><up_axis>Y_UP</up_axis></asset>
  <library_geometries>
    <geometry id="tri" name="tri"><mesh>
      <source id="tri-positions">
        <float_array id="tri-positions-array" count="9">0 0 0 1 0 0 0 1 0</float_array>
        <technique_common><accessor source="#tri-positions-array" count="3" stride="3">
          <param name="X" type="float"/><param name="Y" type="float"/>
          <param name="Z" type="float"/>
        </accessor></technique_common>
      </source>
      <vertices id="tri-vertices"><input semantic="POSITION" source="#tri-positions"/></vertices>
      <triangles count="1"><input semantic="VERTEX" source="#tri-vertices" offset="0"/>
        <p>0 1 2</p></triangles>
    </mesh></geometry>
  </library_geometries>
)";

std::string colladaHierarchy() {
    return std::string(kColladaTriangle) + R"(  <library_visual_scenes>
    <visual_scene id="scene">
      <node id="arm" name="arm"><translate>0 2 0</translate>
        <node id="hand" name="hand"><translate>3 0 0</translate>
          <instance_geometry url="#tri"/></node>
      </node>
      <node id="other" name="other"><instance_geometry url="#tri"/></node>
    </visual_scene>
  </library_visual_scenes>
  <scene><instance_visual_scene url="#scene"/></scene>
</COLLADA>
)";
}

std::string colladaSkinnedAndAnimated() {
    return std::string(kColladaTriangle) + R"(  <library_controllers>
    <controller id="skin"><skin source="#tri">
      <bind_shape_matrix>1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1</bind_shape_matrix>
      <source id="skin-joints"><Name_array id="skin-joints-array" count="1">bone</Name_array>
        <technique_common><accessor source="#skin-joints-array" count="1" stride="1">
          <param name="JOINT" type="name"/></accessor></technique_common></source>
      <source id="skin-binds"><float_array id="skin-binds-array" count="16">1 0 0 0 0 1 0 -2 0 0 1 0 0 0 0 1</float_array>
        <technique_common><accessor source="#skin-binds-array" count="1" stride="16">
          <param name="TRANSFORM" type="float4x4"/></accessor></technique_common></source>
      <source id="skin-weights"><float_array id="skin-weights-array" count="1">1</float_array>
        <technique_common><accessor source="#skin-weights-array" count="1" stride="1">
          <param name="WEIGHT" type="float"/></accessor></technique_common></source>
      <joints><input semantic="JOINT" source="#skin-joints"/>
        <input semantic="INV_BIND_MATRIX" source="#skin-binds"/></joints>
      <vertex_weights count="3"><input semantic="JOINT" source="#skin-joints" offset="0"/>
        <input semantic="WEIGHT" source="#skin-weights" offset="1"/>
        <vcount>1 1 1</vcount><v>0 0 0 0 0 0</v></vertex_weights>
    </skin></controller>
  </library_controllers>
  <library_animations>
    <animation id="wave">
      <source id="wave-times"><float_array id="wave-times-array" count="2">0 1</float_array>
        <technique_common><accessor source="#wave-times-array" count="2" stride="1">
          <param name="TIME" type="float"/></accessor></technique_common></source>
      <source id="wave-values"><float_array id="wave-values-array" count="6">0 2 0 0 3 0</float_array>
        <technique_common><accessor source="#wave-values-array" count="2" stride="3">
          <param name="X" type="float"/><param name="Y" type="float"/>
          <param name="Z" type="float"/></accessor></technique_common></source>
      <source id="wave-kinds"><Name_array id="wave-kinds-array" count="2">LINEAR LINEAR</Name_array>
        <technique_common><accessor source="#wave-kinds-array" count="2" stride="1">
          <param name="INTERPOLATION" type="name"/></accessor></technique_common></source>
      <sampler id="wave-sampler">
        <input semantic="INPUT" source="#wave-times"/>
        <input semantic="OUTPUT" source="#wave-values"/>
        <input semantic="INTERPOLATION" source="#wave-kinds"/>
      </sampler>
      <channel source="#wave-sampler" target="arm/location"/>
    </animation>
  </library_animations>
  <library_visual_scenes>
    <visual_scene id="scene">
      <node id="arm" name="arm" sid="arm"><translate sid="location">0 2 0</translate>
        <node id="bone" name="bone" sid="bone" type="JOINT"/></node>
      <node id="body" name="body"><instance_controller url="#skin">
        <skeleton>#bone</skeleton></instance_controller></node>
    </visual_scene>
  </library_visual_scenes>
  <scene><instance_visual_scene url="#scene"/></scene>
</COLLADA>
)";
}

}  // namespace model_test
