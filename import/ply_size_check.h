// A PLY file cut short makes the import library's PLY reader loop without end, so the bytes
// its header promises are counted before the library sees the file.
#pragma once

#include <optional>
#include <string>

// Why the PLY file cannot hold what its header declares ("it is shorter than its header says"),
// or nothing when it may. Files that are not PLY, or whose header this check does not follow,
// pass.
std::optional<std::string> plySizeFault(const std::string& path);
