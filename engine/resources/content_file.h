// Where a resource's file lies in the content directory, and reading it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/formats/resource_names.h"

namespace engine {

// directory + "/" + name, without doubled separators; name alone when directory is empty.
std::string contentPath(std::string_view directory, std::string_view name);
// Far beyond any content file; a larger one is refused before it is read.
inline constexpr std::uintmax_t kMaximumContentFileBytes = std::uintmax_t{2} << 30;

// The file's bytes; nothing, with the reason in error, when it cannot be read or is larger
// than kMaximumContentFileBytes.
std::optional<std::string> readContentFile(const std::string& path, std::string& error);

// Up to count bytes from the file's start; fewer, or none, when it is shorter or unreadable.
std::string contentFileStart(const std::string& path, std::size_t count = 256);

}  // namespace engine
