// The bytes of a base64 data URI ("data:image/webp;base64,...").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Nothing when the URI is not a base64 data URI or its payload is not valid base64.
std::optional<std::string> dataUriBytes(std::string_view uri);

}  // namespace engine
