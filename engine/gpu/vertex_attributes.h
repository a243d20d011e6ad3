// The vertex attribute names shader programs use, bound to fixed locations before linking so
// that every program reads the same vertex layout.
#pragma once

#include <epoxy/gl.h>

namespace engine {

struct VertexAttribute {
    GLuint location;
    const char* name;
};

inline constexpr VertexAttribute kVertexAttributes[] = {
    {0, "vertexPosition"}, {1, "vertexNormal"},    {2, "vertexTexCoord"}, {3, "vertexTangent"},
    {4, "vertexColor"},    {5, "vertexTexCoord1"}, {6, "vertexJoints"},   {7, "vertexWeights"},
    {8, "vertexJoints1"},  {9, "vertexWeights1"},
};

}  // namespace engine
