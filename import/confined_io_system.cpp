#include "import/confined_io_system.h"

#include <cstring>

bool ConfinedIoSystem::Exists(const char* path) const {
    return !confined(path).empty();
}

Assimp::IOStream* ConfinedIoSystem::Open(const char* path, const char* mode) {
    // Nothing is written: the helper only reads.
    if (mode == nullptr || std::strchr(mode, 'w') != nullptr || std::strchr(mode, 'a') != nullptr) {
        return nullptr;
    }
    const std::string file = confined(path);
    return file.empty() ? nullptr : DefaultIOSystem::Open(file.c_str(), mode);
}

std::string ConfinedIoSystem::confined(const char* path) const {
    if (path == nullptr) {
        return {};
    }
    const std::string asked = path;
    if (asked == modelPath_) {
        return asked;
    }
    // The library names side files by joining the model's folder and what the file wrote.
    std::string written = asked;
    const std::string folder = folder_.folder().generic_string() + "/";
    const std::string modelFolder =
        std::filesystem::path(modelPath_).parent_path().generic_string() + "/";
    for (const std::string& prefix : {modelFolder, folder}) {
        if (prefix.size() > 1 && written.compare(0, prefix.size(), prefix) == 0) {
            written = written.substr(prefix.size());
            break;
        }
    }
    std::optional<std::string> found = folder_.find(written, notes_);
    return found ? (folder_.folder() / *found).string() : std::string();
}
