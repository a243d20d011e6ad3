#include "engine/resources/image_lookup.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "engine/resources/content_file.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

// A folder tree larger than this is searched only in part: a lookup must stay quick.
constexpr std::size_t kMostListedEntries = 100000;
constexpr int kDeepestListedFolder = 8;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string fileNameOf(const std::string& name) {
    const std::size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// The folder tree's files by lower-case file name, nearer ones first, as resource names.
std::multimap<std::string, std::string> filesByName(const std::string& directory,
                                                    const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> found;
    std::error_code error;
    const fs::path root = fs::path(contentPath(directory, folder));
    fs::recursive_directory_iterator entries(root, fs::directory_options::skip_permission_denied,
                                             error);
    std::size_t seen = 0;
    for (; !error && entries != fs::recursive_directory_iterator() && seen < kMostListedEntries;
         entries.increment(error), ++seen) {
        if (entries.depth() >= kDeepestListedFolder) {
            entries.disable_recursion_pending();
        }
        if (entries->is_regular_file(error)) {
            const std::string relative = entries->path().lexically_relative(root).generic_string();
            found.emplace_back(lowerCase(entries->path().filename().string()),
                               folder.empty() ? relative : folder + "/" + relative);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::count(a.second.begin(), a.second.end(), '/') <
               std::count(b.second.begin(), b.second.end(), '/');
    });
    return std::multimap<std::string, std::string>(found.begin(), found.end());
}

}  // namespace

void findMisplacedImages(GeometryDesc& geometry, const std::string& directory,
                         const std::string& resourceName) {
    const std::size_t slash = resourceName.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : resourceName.substr(0, slash);
    std::multimap<std::string, std::string> files;
    bool listed = false;
    for (GeometryImage& image : geometry.images) {
        std::error_code error;
        if (image.embeddedBytes != nullptr ||
            fs::is_regular_file(contentPath(directory, image.name), error)) {
            continue;
        }
        if (!listed) {
            files = filesByName(directory, folder);
            listed = true;
        }
        const auto found = files.find(lowerCase(fileNameOf(image.name)));
        if (found == files.end()) {
            continue;
        }
        const std::string written = image.name;
        image.name = found->second;
        for (NamedMaterial& material : geometry.materials) {
            for (MaterialTexture& texture : material.desc.textures) {
                if (texture.file == written) {
                    texture.file = image.name;
                }
            }
        }
        geometry.warnings.push_back("image '" + written + "' is read as '" + image.name +
                                    "', found by its file name in the model's folder");
    }
}

}  // namespace engine
