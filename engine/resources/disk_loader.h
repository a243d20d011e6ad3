// Loads declared resources from the content directory: read, parse, declare what the file
// refers to, then hand the parsed description to the upload step.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "engine/base/message_log.h"
#include "engine/formats/parsed.h"
#include "engine/resources/resource_parser.h"
#include "engine/resources/resource_table.h"

namespace engine {

// Turns a parsed description into the resource's payload (for most types: OpenGL objects).
using UploadStep =
    std::function<Parsed<std::unique_ptr<ResourcePayload>>(const Resource&, ParsedContent&)>;

// Tries every unloaded resource once, including those declared while loading. A resource that
// fails stays unloaded with a message naming its file and the fault; the others go on. False
// when any failed.
bool loadResourcesFromDisk(ResourceTable& resources, std::string_view directory,
                           const UploadStep& upload, MessageLog& log);

}  // namespace engine
