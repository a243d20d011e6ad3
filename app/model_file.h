// The file open-model is asked to show: whether it can be a glTF file at all, checked before any
// window opens, and how the engine names and finds it.
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

// Why the file cannot be a glTF file ("'notes.txt' is not a glTF file: ..."), or nothing when it
// can be read and starts as binary glTF or as a JSON object. Whether it is valid glTF only the
// engine's load tells.
std::optional<std::string> modelFileFault(const std::string& path);
ModelFile locateModelFile(const std::string& path);
