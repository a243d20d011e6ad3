#include "engine/formats/xml_source.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "engine/formats/format_error.h"
#include "engine/formats/number_text.h"
#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

bool isListed(const char* name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(),
                       [name](const char* listed) { return std::strcmp(name, listed) == 0; });
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

XmlSource::XmlSource(std::string_view bytes, const char* rootName) : bytes_(bytes) {
    pugi::xml_parse_result result = document_.load_buffer(bytes_.data(), bytes_.size());
    if (!result) {
        throw FormatError("line " + std::to_string(lineAtOffset(result.offset)) +
                          ": malformed XML: " + result.description());
    }
    root_ = document_.document_element();
    if (!root_) {
        throw FormatError("no root element");
    }
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
    auto end = bytes_.begin() + std::clamp<std::ptrdiff_t>(offset, 0, bytes_.size());
    return 1 + static_cast<int>(std::count(bytes_.begin(), end, '\n'));
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
