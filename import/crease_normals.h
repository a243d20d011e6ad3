// Normals for triangle meshes whose file gives none (or unusable ones): smooth across an edge
// whose faces meet at less than the crease angle, sharp across the others.
#pragma once

#include <assimp/mesh.h>

// For meshes that list each triangle's corners as vertices of their own, so that a corner can
// take the normal of its own side of a crease; each corner averages, weighted by area, the
// faces around its position that lie within the angle of its own face.
void makeCreaseNormals(aiMesh& mesh, float creaseDegrees);
