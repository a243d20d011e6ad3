#include "import/ply_size_check.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// A header longer than this is left to the library.
constexpr std::size_t kLongestHeader = 1 << 20;

struct Element {
    std::uint64_t count = 0;
    // Bytes of one element in a binary file, the lists counted as empty: a lower bound.
    std::uint64_t leastBytes = 0;
};

int bytesOfType(const std::string& type) {
    if (type == "char" || type == "uchar" || type == "int8" || type == "uint8") {
        return 1;
    }
    if (type == "short" || type == "ushort" || type == "int16" || type == "uint16") {
        return 2;
    }
    if (type == "int" || type == "uint" || type == "float" || type == "int32" || type == "uint32" ||
        type == "float32") {
        return 4;
    }
    if (type == "double" || type == "float64") {
        return 8;
    }
    return 0;
}

enum class Header { Read, Unended, Malformed, Unfollowed };

// The elements the header declares.
Header readHeader(std::istream& file, bool& binary, std::vector<Element>& elements) {
    std::string line;
    std::size_t read = 0;
    while (std::getline(file, line) && read < kLongestHeader) {
        read += line.size() + 1;
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "format") {
            std::string format;
            words >> format;
            binary = format != "ascii";
        } else if (keyword == "element") {
            std::string name;
            Element element;
            if (!(words >> name >> element.count)) {
                return Header::Malformed;
            }
            elements.push_back(element);
        } else if (keyword == "property" && !elements.empty()) {
            std::string type;
            words >> type;
            if (type == "list") {
                std::string countType;
                words >> countType;
                type = countType;
            }
            const int bytes = bytesOfType(type);
            if (bytes == 0) {
                return Header::Unfollowed;
            }
            elements.back().leastBytes += static_cast<std::uint64_t>(bytes);
        } else if (keyword == "end_header") {
            return Header::Read;
        }
    }
    return read < kLongestHeader ? Header::Unended : Header::Unfollowed;
}

}  // namespace

std::optional<std::string> plySizeFault(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    if (!std::getline(file, magic) || magic.compare(0, 3, "ply") != 0) {
        return std::nullopt;
    }
    bool binary = false;
    std::vector<Element> elements;
    const Header header = readHeader(file, binary, elements);
    if (header == Header::Unended) {
        return std::string("its header has no end; it may have been cut short");
    }
    if (header == Header::Malformed) {
        return std::string("an element of its header has no name or count");
    }
    if (header == Header::Unfollowed) {
        return std::nullopt;
    }
    std::uint64_t needed = 0;
    for (const Element& element : elements) {
        needed += binary ? element.count * element.leastBytes : element.count;
    }
    std::uint64_t held = 0;
    if (binary) {
        const std::streamoff start = file.tellg();
        file.seekg(0, std::ios::end);
        held = static_cast<std::uint64_t>(file.tellg() - start);
    } else {
        std::string line;
        while (held < needed && std::getline(file, line)) {
            held += line.find_first_not_of(" \t\r") != std::string::npos;
        }
    }
    if (held < needed) {
        return std::string("it is shorter than its header says (") +
               (binary
                    ? std::to_string(held) + " bytes of data for at least " + std::to_string(needed)
                    : std::to_string(held) + " lines of data for " + std::to_string(needed)) +
               "); it may have been cut short";
    }
    return std::nullopt;
}
