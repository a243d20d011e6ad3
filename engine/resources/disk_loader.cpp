#include "engine/resources/disk_loader.h"

#include <future>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "engine/formats/model_formats.h"
#include "engine/formats/quoted_text.h"
#include "engine/resources/content_file.h"
#include "engine/resources/decoded_image_budget.h"
#include "engine/resources/image_lookup.h"
#include "engine/resources/model_import.h"

namespace engine {
namespace {

// What reading and parsing one resource's file gave: the parsed content, or the fault.
struct ParseOutcome {
    std::string path;
    std::optional<ParsedContent> content;
    std::string fault;
    // Held until the outcome is uploaded and dropped, as the decoded pixels live that long.
    DecodedImageBudget::Reservation decodedBytes;
};

// What a referring file supplied of a resource in place of its own file.
struct Supplied {
    std::shared_ptr<const ParsedContent> content;
    std::shared_ptr<const std::string> bytes;
};
using SuppliedResources = std::map<int, Supplied>;

// Reads and parses files on worker threads from the moment they are declared: decoding images
// (and averaging their mipmaps) and glTF takes most of the loading time and needs no OpenGL,
// while uploads stay on the calling thread, which owns the context. Workers see copies of what
// they need, never the resource table.
class ParseAhead {
  public:
    ParseAhead(const ResourceTable& resources, const SuppliedResources& supplied,
               std::string_view directory)
        : resources_(resources),
          supplied_(supplied),
          directory_(directory),
          budget_(kDecodedImageBudget) {}
    ParseAhead(const ParseAhead&) = delete;
    ParseAhead& operator=(const ParseAhead&) = delete;
    // Threads still waiting for the budget go on, so that their futures can finish.
    ~ParseAhead() { budget_.stopWaiting(); }

    // Enough to start every file of the shipped content as soon as it is declared, few enough
    // that a content directory of thousands of files does not start thousands of threads.
    static constexpr std::size_t kMostInFlight = 32;

    // Starts parsing the unloaded resources from this handle on, up to kMostInFlight at once.
    void startFrom(int handle);
    // Waits for the resource's outcome; startFrom must have been called for its handle.
    ParseOutcome take(int handle);

  private:
    const ResourceTable& resources_;
    const SuppliedResources& supplied_;
    std::string directory_;
    // Declared before the futures, which wait for their threads when destroyed.
    DecodedImageBudget budget_;
    std::map<int, std::future<ParseOutcome>> inFlight_;
};

ParseOutcome readAndParse(ResourceType type, int flags, const std::string& name,
                          const std::string& directory, std::shared_ptr<const std::string> bytes,
                          int handle, DecodedImageBudget* budget);
ParseOutcome importAndParse(const std::string& name, const std::string& directory,
                            ParseOutcome outcome);
SideFileReader confinedSideFiles(const std::string& name, const std::string& directory);
bool finishLoading(ResourceTable& resources, int handle, ParseOutcome outcome,
                   const UploadStep& upload, SuppliedResources& supplied, MessageLog& log);

}  // namespace

bool loadResourcesFromDisk(ResourceTable& resources, std::string_view directory,
                           const UploadStep& upload, MessageLog& log) {
    bool allLoaded = true;
    SuppliedResources supplied;
    ParseAhead parser(resources, supplied, directory);
    // Handles only grow, so resources declared while loading come up later in this same loop.
    for (int handle = 1; handle < resources.endHandle(); ++handle) {
        const Resource* resource = resources.get(handle);
        if (resource == nullptr || resource->loaded()) {
            continue;
        }
        parser.startFrom(handle);
        if (!finishLoading(resources, handle, parser.take(handle), upload, supplied, log)) {
            allLoaded = false;
        }
    }
    return allLoaded;
}

namespace {

void ParseAhead::startFrom(int handle) {
    for (int next = handle; next < resources_.endHandle() && inFlight_.size() < kMostInFlight;
         ++next) {
        const Resource* resource = resources_.get(next);
        if (resource == nullptr || resource->loaded() || inFlight_.count(next) != 0) {
            continue;
        }
        auto found = supplied_.find(next);
        const Supplied* supply = found != supplied_.end() ? &found->second : nullptr;
        if (supply != nullptr && supply->content != nullptr) {
            // Already parsed: nothing for a thread to do.
            std::promise<ParseOutcome> ready;
            ParseOutcome outcome;
            outcome.path = contentPath(directory_, resource->name);
            outcome.content = *supply->content;
            ready.set_value(std::move(outcome));
            inFlight_.emplace(next, ready.get_future());
            continue;
        }
        inFlight_.emplace(
            next, std::async(std::launch::async, readAndParse, resource->type, resource->flags,
                             resource->name, directory_,
                             supply != nullptr ? supply->bytes : nullptr, next, &budget_));
    }
}

ParseOutcome ParseAhead::take(int handle) {
    auto found = inFlight_.find(handle);
    budget_.awaitResource(handle);
    ParseOutcome outcome = found->second.get();
    inFlight_.erase(found);
    return outcome;
}

ParseOutcome readAndParse(ResourceType type, int flags, const std::string& name,
                          const std::string& directory, std::shared_ptr<const std::string> supplied,
                          int handle, DecodedImageBudget* budget) {
    ParseOutcome outcome;
    outcome.path = contentPath(directory, name);
    if (type == ResourceType::Geometry && supplied == nullptr && isImportedModelName(name) &&
        !startsAsGltf(contentFileStart(outcome.path))) {
        return importAndParse(name, directory, std::move(outcome));
    }
    std::optional<std::string> read;
    if (supplied == nullptr) {
        read = readContentFile(outcome.path, outcome.fault);
        if (!read) {
            return outcome;
        }
    }
    const std::string_view bytes = supplied != nullptr ? *supplied : *read;
    outcome.decodedBytes = budget->reserve(decodedBytesOf(type, flags, bytes), handle);
    const SideFileReader readSideFile = confinedSideFiles(name, directory);
    Parsed<ParsedContent> parsed = parseResourceContent(type, flags, name, bytes, readSideFile);
    if (!parsed.ok()) {
        outcome.fault = parsed.error();
        return outcome;
    }
    if (auto* geometry = std::get_if<GeometryDesc>(&parsed.value())) {
        findMisplacedImages(*geometry, directory, name);
    }
    outcome.content = std::move(parsed.value());
    return outcome;
}

// A model of another format reaches the engine as the binary glTF the import helper makes of it.
ParseOutcome importAndParse(const std::string& name, const std::string& directory,
                            ParseOutcome outcome) {
    Parsed<ImportedModel> imported = importModelFile(outcome.path);
    if (!imported.ok()) {
        outcome.fault = imported.error();
        return outcome;
    }
    Parsed<ParsedContent> parsed = parseResourceContent(
        ResourceType::Geometry, 0, name, imported.value().glb, confinedSideFiles(name, directory));
    if (!parsed.ok()) {
        outcome.fault = parsed.error();
        return outcome;
    }
    auto& geometry = std::get<GeometryDesc>(parsed.value());
    geometry.warnings.insert(geometry.warnings.begin(), imported.value().notes.begin(),
                             imported.value().notes.end());
    outcome.content = std::move(parsed.value());
    return outcome;
}

// A file names its side files relative to itself, and reaches none outside its own folder.
SideFileReader confinedSideFiles(const std::string& name, const std::string& directory) {
    return [name, directory](const std::string& uri, std::string& error) {
        const SiblingPath sibling = confinedSibling(name, uri);
        if (sibling.kind == SiblingPath::Kind::Outside) {
            error = "'" + printableExcerpt(uri) + "' leads outside the model's folder";
            return std::optional<std::string>();
        }
        return readContentFile(contentPath(directory, sibling.name), error);
    };
}

void reportFailure(const Resource& resource, const std::string& path, const std::string& fault,
                   MessageLog& log) {
    log.error(std::string("cannot load ") + resourceTypeName(resource.type) + " '" + resource.name +
              "' from '" + path + "': " + fault);
}

bool finishLoading(ResourceTable& resources, int handle, ParseOutcome outcome,
                   const UploadStep& upload, SuppliedResources& supplied, MessageLog& log) {
    // The table owns each resource separately, so this reference survives new declarations.
    Resource& resource = *resources.get(handle);
    if (!outcome.content) {
        reportFailure(resource, outcome.path, outcome.fault, log);
        return false;
    }
    for (const std::string& warning : warningsOf(*outcome.content)) {
        log.warning(std::string(resourceTypeName(resource.type)) + " '" + resource.name +
                    "' from '" + outcome.path + "': " + warning);
    }
    for (const ResourceReference& reference : referencesOf(*outcome.content)) {
        const int added = resources.add(reference.type, reference.name, reference.flags);
        const Resource* declared = resources.get(added);
        if ((reference.content != nullptr || reference.bytes != nullptr) && declared != nullptr &&
            !declared->loaded()) {
            supplied.emplace(added, Supplied{reference.content, reference.bytes});
        }
    }
    supplied.erase(handle);
    Parsed<std::unique_ptr<ResourcePayload>> payload = upload(resource, *outcome.content);
    if (!payload.ok()) {
        reportFailure(resource, outcome.path, payload.error(), log);
        return false;
    }
    resource.payload = std::move(payload.value());
    resources.notePayloadChanged();
    return true;
}

}  // namespace
}  // namespace engine
