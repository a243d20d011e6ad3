// Start-up of open-model: the command line is read and every file checked before any window
// opens; then either one picture is rendered off-screen, or the files are shown in the window.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/model_file.h"
#include "app/model_options.h"
#include "shell/open_model.h"
#include "shell/shell.h"

namespace {

int refuse(const std::string& reason) {
    std::fprintf(stderr, "open-model: %s\n", reason.c_str());
    return 1;
}

}  // namespace

int runOpenModel(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedOptions parsed = parseModelOptions(arguments);
    const ModelOptions& options = parsed.options;
    if (!parsed.fault.empty()) {
        return refuse(parsed.fault);
    }
    if (options.help) {
        std::fputs(modelHelpText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("open-model %s\n", VIEWER_VERSION);
        return 0;
    }
    for (const std::string& path : options.files) {
        if (const std::optional<std::string> fault = modelFileFault(path)) {
            return refuse(*fault);
        }
    }
    const std::string contentHome = findContentHome(argc > 0 ? argv[0] : nullptr);
    if (!options.outputPath.empty()) {
        return renderModelPicture(options, contentHome);
    }

    return showModelsInWindow(options, contentHome);
}
