// The files the import library opens besides the model itself (an OBJ's .mtl, say), reached only
// through FolderFiles, so that a file cannot make it read outside the model's folder.
#pragma once

#include <string>
#include <vector>

#include <assimp/DefaultIOSystem.h>

#include "import/folder_files.h"

class ConfinedIoSystem : public Assimp::DefaultIOSystem {
  public:
    ConfinedIoSystem(const std::string& modelPath, FolderFiles& folder,
                     std::vector<std::string>& notes)
        : modelPath_(modelPath), folder_(folder), notes_(notes) {}

    bool Exists(const char* path) const override;
    Assimp::IOStream* Open(const char* path, const char* mode = "rb") override;

  private:
    std::string modelPath_;
    FolderFiles& folder_;
    std::vector<std::string>& notes_;

    // The path inside the folder that the library's path stands for; empty for none.
    std::string confined(const char* path) const;
};
