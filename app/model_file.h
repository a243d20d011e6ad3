// The file open-model is asked to show: whether it can be a model file at all, checked before
// any window opens, and how the engine names and finds it.
#pragma once

#include <optional>
#include <string>

struct ModelFile {
    // What the user sees: the file's own name ("robot.glb").
    std::string displayName;
    // The engine loads resourceName from contentDirectory. The name keeps the file's folder
    // ("models/robot.glb" from "/home/me"), so that neither the file nor the images it names
    // beside itself can take the name of a shipped resource, which all lie flat in one folder.
    std::string contentDirectory;
    std::string resourceName;
};

// Why the file cannot be a model ("'notes.txt' is not a model file open-model reads: ..."), or
// nothing when it can be read and starts as binary glTF or as a JSON object, or has the
// extension of another format the engine reads. Whether it is valid only the engine's load
// tells.
std::optional<std::string> modelFileFault(const std::string& path);
// "glTF (.glb, .gltf), .obj, .stl, ...".
std::string supportedModelFormats();
ModelFile locateModelFile(const std::string& path);
