// Generates every asset of the nervous-system world into one directory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace content {

struct GeneratedFile {
    std::string name;
    std::size_t bytes = 0;
    std::size_t triangles = 0;  // zero for files without geometry
};

struct GenerationSummary {
    std::vector<GeneratedFile> files;
    std::size_t totalBytes = 0;
    // Triangles of every instance the layout places, with the statue, pedestal and sky.
    std::size_t worldTriangles = 0;
};

// Throws std::runtime_error when a file cannot be written or the font cannot be read.
GenerationSummary generateContent(const std::filesystem::path& outputDirectory,
                                  const std::filesystem::path& fontFile);

// The font baked into the atlas unless another is given.
std::filesystem::path defaultFontFile();

}  // namespace content
