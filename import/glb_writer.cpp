#include "import/glb_writer.h"

#include <cstring>
#include <stdexcept>

namespace {

constexpr std::uint32_t kGlbMagic = 0x46546C67;  // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;
constexpr std::uint32_t kBinaryChunk = 0x004E4942;

void appendWord(std::string& bytes, std::uint32_t value) {
    char word[4];
    std::memcpy(word, &value, 4);
    bytes.append(word, 4);
}

void padTo4(std::string& bytes, char padding) {
    while (bytes.size() % 4 != 0) {
        bytes.push_back(padding);
    }
}

}  // namespace

GlbWriter::GlbWriter() {
    document_["asset"] = {{"version", "2.0"}, {"generator", "model-import"}};
}

int GlbWriter::addView(const void* data, std::size_t size, int target) {
    padTo4(binary_, '\0');
    nlohmann::json view = {{"buffer", 0}, {"byteOffset", binary_.size()}, {"byteLength", size}};
    if (target != 0) {
        view["target"] = target;
    }
    binary_.append(static_cast<const char*>(data), size);
    return append("bufferViews", std::move(view));
}

int GlbWriter::addAccessor(int view, int componentType, std::size_t count, const char* type,
                           bool normalized) {
    nlohmann::json accessor = {
        {"bufferView", view}, {"componentType", componentType}, {"count", count}, {"type", type}};
    if (normalized) {
        accessor["normalized"] = true;
    }
    return append("accessors", std::move(accessor));
}

int GlbWriter::append(const char* array, nlohmann::json object) {
    nlohmann::json& list = document_[array];
    list.push_back(std::move(object));
    return static_cast<int>(list.size()) - 1;
}

std::string GlbWriter::finish() {
    padTo4(binary_, '\0');
    if (!binary_.empty()) {
        document_["buffers"] = nlohmann::json::array({{{"byteLength", binary_.size()}}});
    }
    std::string json = document_.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    padTo4(json, ' ');
    const std::size_t total = 12 + 8 + json.size() + (binary_.empty() ? 0 : 8 + binary_.size());
    if (total > 0xFFFFFFFFu) {
        throw std::length_error("the converted model is larger than a .glb file can hold");
    }
    std::string glb;
    glb.reserve(total);
    appendWord(glb, kGlbMagic);
    appendWord(glb, 2);
    appendWord(glb, static_cast<std::uint32_t>(total));
    appendWord(glb, static_cast<std::uint32_t>(json.size()));
    appendWord(glb, kJsonChunk);
    glb += json;
    if (!binary_.empty()) {
        appendWord(glb, static_cast<std::uint32_t>(binary_.size()));
        appendWord(glb, kBinaryChunk);
        glb += binary_;
        std::string().swap(binary_);
    }
    return glb;
}
