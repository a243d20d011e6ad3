// Loading resources from the content directory.
#include "engine/api/api_guard.h"
#include "engine/base/freed_memory.h"
#include "engine/h3dut.h"
#include "engine/resources/disk_loader.h"
#include "engine/resources/resource_uploader.h"
#include "engine/resources/shader_variants.h"

using namespace engine;

bool h3dutLoadResourcesFromDisk(const char* contentDirectory) {
    return withEngine("h3dutLoadResourcesFromDisk", false, [&](Engine& engine) {
        if (!presentOrReport("h3dutLoadResourcesFromDisk", contentDirectory, "directory")) {
            return false;
        }
        UploadContext context{engine.resources, engine.options, engine.renderer.capabilities(),
                              engine.renderer.contextNames(), 0};
        UploadStep upload = [&context](const Resource& resource, ParsedContent& content) {
            context.resourceFlags = resource.flags;
            return uploadResource(content, context);
        };
        const bool loaded =
            loadResourcesFromDisk(engine.resources, contentDirectory, upload, messageLog());
        buildPendingVariants(engine.resources, engine.renderer.contextNames(), messageLog());
        returnFreedMemory();
        return loaded;
    });
}
