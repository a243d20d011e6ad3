#include "import/folder_files.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A folder tree larger than this is searched only in part: a lookup by name must stay quick.
constexpr std::size_t kMostListedEntries = 100000;
constexpr int kDeepestListedFolder = 8;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool writtenElsewhere(const std::string& written) {
    const bool driveLetter = written.size() >= 2 &&
                             std::isalpha(static_cast<unsigned char>(written[0])) &&
                             written[1] == ':';
    return written.find('\\') != std::string::npos || driveLetter ||
           (!written.empty() && written[0] == '/');
}

std::string fileNameOf(const std::string& written) {
    const std::size_t slash = written.find_last_of("/\\");
    return slash == std::string::npos ? written : written.substr(slash + 1);
}

}  // namespace

FolderFiles::FolderFiles(const fs::path& folder) {
    std::error_code error;
    folder_ = fs::weakly_canonical(folder, error);
    if (error) {
        folder_ = folder.lexically_normal();
    }
}

std::optional<std::string> FolderFiles::find(const std::string& written,
                                             std::vector<std::string>& notes) {
    if (written.empty()) {
        return std::nullopt;
    }
    if (!writtenElsewhere(written)) {
        const std::string relative = fs::path(written).lexically_normal().generic_string();
        if (relative == ".." || relative.rfind("../", 0) == 0) {
            notes.push_back("'" + written + "' leads outside the model's folder and is not read");
            return std::nullopt;
        }
        if (isFileInside(relative)) {
            return relative;
        }
    }
    std::optional<std::string> found = findByName(fileNameOf(written));
    if (found) {
        notes.push_back("'" + written + "' is read as '" + *found +
                        "', found by its file name in the model's folder");
    }
    return found;
}

bool FolderFiles::isFileInside(const std::string& relative) const {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(folder_ / relative, error);
    if (error || !fs::is_regular_file(resolved, error)) {
        return false;
    }
    // A link inside the folder that points out of it is outside.
    const std::string folder = folder_.generic_string();
    const std::string path = resolved.generic_string();
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           (folder.back() == '/' || path[folder.size()] == '/');
}

std::optional<std::string> FolderFiles::findByName(const std::string& fileName) {
    if (fileName.empty() || fileName == "." || fileName == "..") {
        return std::nullopt;
    }
    listFolderTree();
    const std::string wanted = lowerCase(fileName);
    for (const auto& [name, relative] : byName_) {
        if (name == wanted && isFileInside(relative)) {
            return relative;
        }
    }
    return std::nullopt;
}

void FolderFiles::listFolderTree() {
    if (listed_) {
        return;
    }
    listed_ = true;
    std::error_code error;
    fs::recursive_directory_iterator entries(folder_, fs::directory_options::skip_permission_denied,
                                             error);
    std::size_t seen = 0;
    for (; !error && entries != fs::recursive_directory_iterator() && seen < kMostListedEntries;
         entries.increment(error), ++seen) {
        if (entries.depth() >= kDeepestListedFolder) {
            entries.disable_recursion_pending();
        }
        if (entries->is_regular_file(error)) {
            const fs::path relative = entries->path().lexically_relative(folder_);
            byName_.emplace_back(lowerCase(entries->path().filename().string()),
                                 relative.generic_string());
        }
    }
    // Nearer files first: "wood.png" beside the model before "old/wood.png".
    std::stable_sort(byName_.begin(), byName_.end(), [](const auto& a, const auto& b) {
        return std::count(a.second.begin(), a.second.end(), '/') <
               std::count(b.second.begin(), b.second.end(), '/');
    });
}

std::string uriOfPath(const std::string& relative) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string uri;
    for (unsigned char c : relative) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            uri.push_back(static_cast<char>(c));
        } else {
            uri.push_back('%');
            uri.push_back(kHex[c >> 4]);
            uri.push_back(kHex[c & 15]);
        }
    }
    return uri;
}
