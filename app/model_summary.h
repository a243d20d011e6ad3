// The line open-model prints once a file has loaded: what the engine made of it.
#pragma once

#include <string>

struct ModelFigures {
    int meshes = 0;
    int triangles = 0;
    int materials = 0;
    int textures = 0;
    int lights = 0;
    int points = 0;
    int lines = 0;
    int animations = 0;
};

// "robot.glb: 3 meshes, 12040 triangles, 2 materials, 4 textures, 1 light"; points and lines
// follow the triangles when the file has any ("scan.ply: 1 mesh, 0 triangles, 1250000 points,
// ..."), and ", 2 animations" the lights.
std::string modelSummary(const std::string& fileName, const ModelFigures& figures);
