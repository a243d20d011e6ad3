// Files that list each triangle's corners as vertices of their own (OBJ, STL) draw with far
// fewer vertices once equal corners are one: joined here by hashing, in one pass.
#pragma once

#include <assimp/mesh.h>

// Makes corners equal in position, normal, both texture coordinate sets and colour one vertex,
// and points the faces at it.
void joinIdenticalCorners(aiMesh& mesh);
