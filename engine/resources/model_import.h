// Models of other formats than glTF are read by the model-import helper, a program beside the
// running one, in a process of its own: the import library is large and has crashed on
// malformed files before, and a crash, hang or runaway allocation there must end in a message,
// not take the viewer with it. The helper hands back binary glTF, which the engine's own
// glTF reader then checks like any file.
#pragma once

#include <string>
#include <vector>

#include "engine/formats/parsed.h"

namespace engine {

// How long the helper may take before it is stopped.
inline constexpr int kImportSeconds = 120;

struct ImportedModel {
    std::string glb;
    // What the helper left out or found elsewhere, one line each.
    std::vector<std::string> notes;
};

// Where the helper is looked for: "model-import" in the running program's folder.
std::string importHelperPath();

struct ImportHelper {
    std::string program = importHelperPath();
    int seconds = kImportSeconds;
};

// Runs the helper on the file; the fault says what went wrong (a crash, a timeout, running out of
// memory, or the import library's own complaint).
Parsed<ImportedModel> importModelFile(const std::string& path, const ImportHelper& helper = {});

}  // namespace engine
