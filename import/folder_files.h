// Files a model names beside itself, found only inside the folder it was opened from and its
// subfolders: a downloaded file must not read whatever "../../" or "/etc/..." leads to.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class FolderFiles {
  public:
    explicit FolderFiles(const std::filesystem::path& folder);

    // The file a path written in the model stands for, relative to the folder; nothing when it
    // leads outside the folder or cannot be found. A path written on another machine (absolute,
    // with backslashes) or in another letter case is looked up by its file name in the folder
    // tree, with a note.
    std::optional<std::string> find(const std::string& written, std::vector<std::string>& notes);
    const std::filesystem::path& folder() const { return folder_; }

  private:
    std::filesystem::path folder_;
    // The folder tree's files by lower-case file name, listed on the first lookup by name.
    std::vector<std::pair<std::string, std::string>> byName_;
    bool listed_ = false;

    bool isFileInside(const std::string& relative) const;
    std::optional<std::string> findByName(const std::string& fileName);
    void listFolderTree();
};

// "wood grain.png" as a URI: "wood%20grain.png".
std::string uriOfPath(const std::string& relative);
