// The upload half of loading: a parsed description becomes the resource's payload, with the
// OpenGL objects it needs (programs, textures). Needs the engine's context current.
#pragma once

#include <memory>

#include "engine/base/engine_options.h"
#include "engine/formats/parsed.h"
#include "engine/gpu/gl_capabilities.h"
#include "engine/resources/context_names.h"
#include "engine/resources/resource_parser.h"
#include "engine/resources/resource_table.h"

namespace engine {

struct UploadContext {
    const ResourceTable& resources;
    const EngineOptions& options;
    const GlCapabilities& capabilities;
    ContextNames& contextNames;
    // The flags the resource being uploaded was declared with.
    int resourceFlags = 0;
};

Parsed<std::unique_ptr<ResourcePayload>> uploadResource(ParsedContent& content,
                                                        const UploadContext& context);

}  // namespace engine
