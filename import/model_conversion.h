// Reads a model file of another format with the import library and writes it as binary glTF.
#pragma once

#include <string>
#include <vector>

struct ConvertedModel {
    std::string glb;
    // What was left out or found elsewhere, one line each.
    std::vector<std::string> notes;
};

// Normals the file lacks are made smooth across edges whose faces meet at less than this angle
// and sharp across the others.
constexpr float kCreaseAngleDegrees = 45.0f;
// Larger files are refused before they are read.
constexpr unsigned long long kMostModelFileBytes = 2ull << 30;

// Throws std::runtime_error with the reason when the file cannot be read.
ConvertedModel convertModelFile(const std::string& path);
