#include "engine/formats/xml_source.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/formats/format_error.h"
#include "engine/formats/number_text.h"
#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

bool isListed(const char* name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(),
                       [name](const char* listed) { return std::strcmp(name, listed) == 0; });
}

// Offsets fit 32 bits, as larger files are refused.
std::vector<std::uint32_t> lineStartsOf(std::string_view bytes) {
    std::vector<std::uint32_t> starts{0};
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos;
         at = bytes.find('\n', at + 1)) {
        starts.push_back(static_cast<std::uint32_t>(at + 1));
    }
    return starts;
}

// Element names come from the file, so they are quoted like any other file text.
std::string tagOf(pugi::xml_node node) {
    return "<" + printableExcerpt(node.name()) + ">";
}

std::string formatNumber(float value) {
    std::string text = std::to_string(value);
    // to_string writes six decimals; trailing zeros only clutter a message.
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

}  // namespace

XmlSource::XmlSource(std::string_view bytes, const char* rootName) {
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw FormatError("the file is larger than 4 GiB");
    }
    lineStarts_ = lineStartsOf(bytes);
    pugi::xml_parse_result result = document_.load_buffer(bytes.data(), bytes.size());
    if (!result) {
        throw FormatError("line " + std::to_string(lineAtOffset(result.offset)) +
                          ": malformed XML: " + result.description());
    }
    root_ = document_.document_element();
    if (!root_) {
        throw FormatError("no root element");
    }
    checkTreeSize();
    if (std::strcmp(root_.name(), rootName) != 0) {
        fail(root_,
             std::string("the root element must be <") + rootName + ">, not " + tagOf(root_));
    }
}

void XmlSource::fail(pugi::xml_node node, const std::string& fault) const {
    throw FormatError("line " + std::to_string(lineOf(node)) + ": " + fault);
}

int XmlSource::lineOf(pugi::xml_node node) const {
    return lineAtOffset(node.offset_debug());
}

int XmlSource::lineAtOffset(std::ptrdiff_t offset) const {
    const auto at = static_cast<std::uint32_t>(
        std::clamp<std::ptrdiff_t>(offset, 0, std::numeric_limits<std::uint32_t>::max()));
    // The first line starts at 0, so at least one start lies at or before any offset.
    auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), at);
    return static_cast<int>(after - lineStarts_.begin());
}

// Walks the tree without recursion, by parent and sibling links, so that depth costs no stack.
void XmlSource::checkTreeSize() const {
    std::size_t elements = 0;
    int depth = 1;
    pugi::xml_node node = root_;
    while (node) {
        if (node.type() == pugi::node_element) {
            if (++elements > kMostXmlElements) {
                fail(node,
                     "the file holds more than " + std::to_string(kMostXmlElements) + " elements");
            }
            if (depth > kDeepestXmlNesting) {
                fail(node,
                     "elements nest deeper than " + std::to_string(kDeepestXmlNesting) + " levels");
            }
        }
        if (node.first_child()) {
            node = node.first_child();
            ++depth;
            continue;
        }
        while (node && node != root_ && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        node = node == root_ ? pugi::xml_node() : node.next_sibling();
    }
}

void XmlSource::allowAttributes(pugi::xml_node node,
                                std::initializer_list<const char*> names) const {
    for (pugi::xml_attribute attribute : node.attributes()) {
        if (!isListed(attribute.name(), names)) {
            fail(node, tagOf(node) + " has no attribute " + quotedExcerpt(attribute.name()));
        }
    }
}

std::vector<pugi::xml_node> XmlSource::childElements(
    pugi::xml_node node, std::initializer_list<const char*> names) const {
    std::vector<pugi::xml_node> elements;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            fail(child, "unexpected text inside " + tagOf(node));
        }
        if (child.type() != pugi::node_element) {
            continue;
        }
        if (!isListed(child.name(), names)) {
            fail(child, "unknown element " + tagOf(child) + " inside " + tagOf(node));
        }
        elements.push_back(child);
    }
    return elements;
}

std::string XmlSource::requiredText(pugi::xml_node node, const char* attribute) const {
    pugi::xml_attribute found = node.attribute(attribute);
    if (!found) {
        fail(node, tagOf(node) + " needs a " + quotedExcerpt(attribute) + " attribute");
    }
    std::string text = found.value();
    if (text.empty()) {
        fail(node, tagOf(node) + " has an empty " + quotedExcerpt(attribute));
    }
    return text;
}

std::string XmlSource::optionalText(pugi::xml_node node, const char* attribute,
                                    const std::string& fallback) const {
    pugi::xml_attribute found = node.attribute(attribute);
    return found ? std::string(found.value()) : fallback;
}

float XmlSource::number(pugi::xml_node node, const char* attribute, float fallback, float minimum,
                        float maximum) const {
    pugi::xml_attribute found = node.attribute(attribute);
    if (!found) {
        return fallback;
    }
    std::optional<float> value = parseNumber(found.value());
    if (!value) {
        fail(node,
             quotedExcerpt(attribute) + " must be a number, not " + quotedExcerpt(found.value()));
    }
    if (*value < minimum || *value > maximum) {
        fail(node, quotedExcerpt(attribute) + " must lie between " + formatNumber(minimum) +
                       " and " + formatNumber(maximum));
    }
    return *value;
}

int XmlSource::integer(pugi::xml_node node, const char* attribute, int fallback, int minimum,
                       int maximum) const {
    float value = number(node, attribute, static_cast<float>(fallback), static_cast<float>(minimum),
                         static_cast<float>(maximum));
    if (value != std::floor(value)) {
        fail(node, quotedExcerpt(attribute) + " must be a whole number");
    }
    return static_cast<int>(value);
}

bool XmlSource::flag(pugi::xml_node node, const char* attribute, bool fallback) const {
    pugi::xml_attribute found = node.attribute(attribute);
    if (!found) {
        return fallback;
    }
    std::string text = found.value();
    if (text == "true" || text == "1") {
        return true;
    }
    if (text == "false" || text == "0") {
        return false;
    }
    fail(node, quotedExcerpt(attribute) + " must be true or false, not " + quotedExcerpt(text));
}

glm::vec3 XmlSource::vector3(pugi::xml_node node, const char* attribute, glm::vec3 fallback) const {
    if (!node.attribute(attribute)) {
        return fallback;
    }
    std::vector<float> values = numbers(node, attribute, 3, 3);
    return glm::vec3(values[0], values[1], values[2]);
}

std::vector<float> XmlSource::numbers(pugi::xml_node node, const char* attribute,
                                      std::size_t minimumCount, std::size_t maximumCount) const {
    std::string text = requiredText(node, attribute);
    std::optional<std::vector<float>> values = parseNumberList(text);
    if (!values) {
        fail(node, quotedExcerpt(attribute) + " must hold numbers, not " + quotedExcerpt(text));
    }
    if (values->size() < minimumCount || values->size() > maximumCount) {
        std::string count = minimumCount == maximumCount ? std::to_string(minimumCount)
                                                         : std::to_string(minimumCount) + " to " +
                                                               std::to_string(maximumCount);
        fail(node, quotedExcerpt(attribute) + " must hold " + count + " numbers, not " +
                       std::to_string(values->size()));
    }
    return *values;
}

bool isPlainName(const std::string& name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](unsigned char c) {
        return std::isspace(c) != 0 || std::iscntrl(c) != 0;
    });
}

bool isGlslIdentifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front())) != 0) {
        return false;
    }
    return std::all_of(name.begin(), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0 || c == '_'; });
}

}  // namespace engine
