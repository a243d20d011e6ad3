// The import of other model formats: the input's first byte picks the format (.obj, .stl, .ply,
// .fbx, .dae, .3ds, .off, .3mf), the rest is the file. It goes through the model-import helper
// beside this program and then the engine's glTF reader, as a geometry resource does. Whatever
// the import library does with it, the engine gets a model or a message, never a crash; and
// what the helper hands over is glTF the engine reads.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/formats/gltf_geometry.h"
#include "engine/resources/model_import.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

const char* const kExtensions[] = {".obj", ".stl", ".ply", ".fbx", ".dae", ".3ds", ".off", ".3mf"};
// Far less than a real import may take: a fuzzing input that runs this long counts as a hang
// of the helper, which the engine survives.
constexpr int kFuzzImportSeconds = 5;

std::string scratchFolder() {
    static const std::string folder = [] {
        std::string pattern = "/tmp/model-import-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern.data());
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return folder;
}

std::optional<std::string> noSideFile(const std::string&, std::string& error) {
    error = "no side files while fuzzing";
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string path = scratchFolder() + "/input" + kExtensions[data[0] % 8];
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    const engine::Parsed<engine::ImportedModel> imported = engine::importModelFile(
        path, engine::ImportHelper{engine::importHelperPath(), kFuzzImportSeconds});
    std::remove(path.c_str());
    if (!imported.ok()) {
        fuzz::require(!imported.error().empty(), "a failed import says why");
        return 0;
    }
    const engine::Parsed<engine::GeometryDesc> parsed =
        engine::parseGltfGeometry(imported.value().glb, noSideFile);
    fuzz::require(parsed.ok() || !parsed.error().empty(), "a failure says why");
    return 0;
}
