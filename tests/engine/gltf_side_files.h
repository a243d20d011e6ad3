// For parsing glTF files in tests that have no files beside them.
#pragma once

#include <optional>
#include <string>

#include "engine/formats/gltf_geometry.h"

namespace gltf_test {

inline const engine::SideFileReader kNoSideFiles = [](const std::string& uri, std::string& error) {
    error = "no side file '" + uri + "' in this test";
    return std::optional<std::string>();
};

}  // namespace gltf_test
