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
