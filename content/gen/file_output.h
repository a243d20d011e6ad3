// Writes generated files into the output directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace content {

// Throws std::runtime_error when the file cannot be written.
void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void writeTextFile(const std::filesystem::path& path, const std::string& text);

}  // namespace content
