#include <filesystem>
#include <string>

#include "shell/shell.h"

std::string extractAppDir(const char* path) {
    const std::string programPath = path != nullptr ? path : "";
    // A forward slash anywhere wins over backslashes, even ones after it.
    std::string::size_type separator = programPath.rfind('/');
    if (separator == std::string::npos) {
        separator = programPath.rfind('\\');
    }
    if (separator == std::string::npos) {
        return std::string();
    }
    return programPath.substr(0, separator + 1);
}

// A program started through PATH has no folder in its name, and an installed one keeps its
// data under <prefix>/share/viewer rather than beside itself.
std::string findContentHome(const char* programPath) {
    std::string directory = extractAppDir(programPath);
    std::error_code error;
    if (directory.empty() && programPath != nullptr && *programPath != '\0') {
        const std::filesystem::path executable =
            std::filesystem::read_symlink("/proc/self/exe", error);
        if (!error) {
            directory = executable.parent_path().string() + "/";
        }
    }
    const bool dataBeside = std::filesystem::exists(directory + "/data", error);
    const std::string installed = directory + "../share/viewer";
    if (!directory.empty() && !dataBeside && std::filesystem::exists(installed + "/data", error)) {
        return installed;
    }
    return directory;
}
