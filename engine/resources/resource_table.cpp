#include "engine/resources/resource_table.h"

namespace engine {

int ResourceTable::add(ResourceType type, std::string_view name, int flags) {
    if (int existing = find(type, name); existing != 0) {
        return existing;
    }
    auto resource = std::make_unique<Resource>();
    resource->type = type;
    resource->name = std::string(name);
    resource->flags = flags;
    int handle = resources_.add(std::move(resource));
    if (handle != 0) {
        handlesByName_.emplace(std::make_pair(type, std::string(name)), handle);
    }
    return handle;
}

int ResourceTable::find(ResourceType type, std::string_view name) const {
    auto found = handlesByName_.find(std::make_pair(type, std::string(name)));
    return found == handlesByName_.end() ? 0 : found->second;
}

Resource* ResourceTable::get(int handle, ResourceType type) const {
    Resource* resource = get(handle);
    return resource != nullptr && resource->type == type ? resource : nullptr;
}

void ResourceTable::clear() {
    handlesByName_.clear();
    resources_.clear();
    ++payloadsVersion_;
}

}  // namespace engine
