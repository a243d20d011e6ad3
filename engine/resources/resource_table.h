// Every declared resource, by handle and by type and name. A resource is loaded once it holds
// a payload: the uploaded form of its file.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "engine/base/handle_table.h"
#include "engine/resources/resource_type.h"

namespace engine {

// The loaded form of a resource; each type derives its own.
struct ResourcePayload {
    virtual ~ResourcePayload() = default;
};

struct Resource {
    ResourceType type = ResourceType::SceneGraph;
    std::string name;
    int flags = 0;
    std::unique_ptr<ResourcePayload> payload;

    bool loaded() const { return payload != nullptr; }
    template <typename Payload>
    Payload* payloadAs() const {
        return dynamic_cast<Payload*>(payload.get());
    }
};

class ResourceTable {
  public:
    // The handle of the resource with this type and name, declared now if it is new; the
    // flags of the first declaration stay. 0 when the handle range is used up.
    int add(ResourceType type, std::string_view name, int flags);
    int find(ResourceType type, std::string_view name) const;
    Resource* get(int handle) const { return resources_.find(handle); }
    // Nothing when the handle is not a resource of that type.
    Resource* get(int handle, ResourceType type) const;
    // The payload of a loaded resource of the payload's type, found by name.
    template <typename Payload>
    Payload* loadedPayload(ResourceType type, std::string_view name) const {
        Resource* resource = get(find(type, name));
        return resource != nullptr ? resource->payloadAs<Payload>() : nullptr;
    }

    int endHandle() const { return resources_.endHandle(); }
    void clear();

    // Grows whenever a resource gains its payload, so that what caches pointers into payloads
    // (the renderer's list of drawable meshes) can tell when to look again.
    std::uint64_t payloadsVersion() const { return payloadsVersion_; }
    void notePayloadChanged() { ++payloadsVersion_; }

  private:
    HandleTable<Resource> resources_;
    std::uint64_t payloadsVersion_ = 0;
    std::map<std::pair<ResourceType, std::string>, int> handlesByName_;
};

}  // namespace engine
