// Reads the XML content formats: a parsed document that names the line of every fault, and
// typed, validated access to attributes. Faults throw FormatError (caught by the parsers).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec3.hpp>
#include <pugixml.hpp>

namespace engine {

// Far above any real content file, low enough that walking the tree recursively and keeping
// its nodes stays cheap; both are checked before any reader walks the tree.
inline constexpr int kDeepestXmlNesting = 256;
inline constexpr std::size_t kMostXmlElements = 1000000;

class XmlSource {
  public:
    // Throws FormatError when bytes are not well-formed XML, the root element is not rootName,
    // or the elements nest deeper than kDeepestXmlNesting or number more than kMostXmlElements.
    XmlSource(std::string_view bytes, const char* rootName);
    XmlSource(const XmlSource&) = delete;
    XmlSource& operator=(const XmlSource&) = delete;

    pugi::xml_node root() const { return root_; }

    [[noreturn]] void fail(pugi::xml_node node, const std::string& fault) const;
    int lineOf(pugi::xml_node node) const;

    // Every attribute of node must be one of names; catches misspelt attributes.
    void allowAttributes(pugi::xml_node node, std::initializer_list<const char*> names) const;
    // The element children of node, each checked to be one of names; text is not allowed.
    std::vector<pugi::xml_node> childElements(pugi::xml_node node,
                                              std::initializer_list<const char*> names) const;

    std::string requiredText(pugi::xml_node node, const char* attribute) const;
    std::string optionalText(pugi::xml_node node, const char* attribute,
                             const std::string& fallback) const;
    float number(pugi::xml_node node, const char* attribute, float fallback, float minimum,
                 float maximum) const;
    int integer(pugi::xml_node node, const char* attribute, int fallback, int minimum,
                int maximum) const;
    bool flag(pugi::xml_node node, const char* attribute, bool fallback) const;
    glm::vec3 vector3(pugi::xml_node node, const char* attribute, glm::vec3 fallback) const;
    // Between minimumCount and maximumCount numbers; the attribute must be present.
    std::vector<float> numbers(pugi::xml_node node, const char* attribute, std::size_t minimumCount,
                               std::size_t maximumCount) const;

  private:
    // The offset of every line's first byte, so that finding a node's line is a binary search.
    std::vector<std::uint32_t> lineStarts_;
    pugi::xml_document document_;
    pugi::xml_node root_;

    int lineAtOffset(std::ptrdiff_t offset) const;
    void checkTreeSize() const;
};

// A name the content refers to (file, sampler, context): non-empty, without blanks.
bool isPlainName(const std::string& name);
// A GLSL identifier: a letter or '_' followed by letters, digits or '_'.
bool isGlslIdentifier(const std::string& name);

}  // namespace engine
