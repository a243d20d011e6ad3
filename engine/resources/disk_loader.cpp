#include "engine/resources/disk_loader.h"

#include <optional>
#include <string>
#include <utility>

#include "engine/resources/content_file.h"

namespace engine {
namespace {

bool loadResource(ResourceTable& resources, int handle, std::string_view directory,
                  const UploadStep& upload, MessageLog& log);

}  // namespace

bool loadResourcesFromDisk(ResourceTable& resources, std::string_view directory,
                           const UploadStep& upload, MessageLog& log) {
    bool allLoaded = true;
    // Handles only grow, so resources declared while loading come up later in this same loop.
    for (int handle = 1; handle < resources.endHandle(); ++handle) {
        const Resource* resource = resources.get(handle);
        if (resource == nullptr || resource->loaded()) {
            continue;
        }
        if (!loadResource(resources, handle, directory, upload, log)) {
            allLoaded = false;
        }
    }
    return allLoaded;
}

namespace {

void reportFailure(const Resource& resource, const std::string& path, const std::string& fault,
                   MessageLog& log) {
    log.error(std::string("cannot load ") + resourceTypeName(resource.type) + " '" + resource.name +
              "' from '" + path + "': " + fault);
}

bool loadResource(ResourceTable& resources, int handle, std::string_view directory,
                  const UploadStep& upload, MessageLog& log) {
    // The table owns each resource separately, so this reference survives new declarations.
    Resource& resource = *resources.get(handle);
    const std::string path = contentPath(directory, resource.name);
    std::string fault;
    std::optional<std::string> bytes = readContentFile(path, fault);
    if (!bytes) {
        reportFailure(resource, path, fault, log);
        return false;
    }
    SideFileReader readSideFile = [&resource, directory](const std::string& uri,
                                                         std::string& error) {
        return readContentFile(contentPath(directory, siblingName(resource.name, uri)), error);
    };
    Parsed<ParsedContent> parsed =
        parseResourceContent(resource.type, resource.flags, *bytes, readSideFile);
    if (!parsed.ok()) {
        reportFailure(resource, path, parsed.error(), log);
        return false;
    }
    for (const ResourceReference& reference : referencesOf(parsed.value())) {
        resources.add(reference.type, reference.name, reference.flags);
    }
    Parsed<std::unique_ptr<ResourcePayload>> payload = upload(resource, parsed.value());
    if (!payload.ok()) {
        reportFailure(resource, path, payload.error(), log);
        return false;
    }
    resource.payload = std::move(payload.value());
    return true;
}

}  // namespace
}  // namespace engine
