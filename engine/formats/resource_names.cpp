#include "engine/formats/resource_names.h"

#include <cctype>
#include <vector>

namespace engine {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool writtenElsewhere(std::string_view path) {
    const bool driveLetter =
        path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
    return driveLetter || path.find('\\') != std::string_view::npos ||
           (!path.empty() && path[0] == '/');
}

// "a/./b/../c" as "a/c"; false when it climbs above its start.
bool withoutDots(std::string_view path, std::string& normal) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (parts.empty()) {
                return false;
            }
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    normal.clear();
    for (std::string_view part : parts) {
        normal += normal.empty() ? "" : "/";
        normal += part;
    }
    return true;
}

}  // namespace

SiblingPath confinedSibling(std::string_view resourceName, std::string_view path) {
    SiblingPath sibling;
    std::string inside;
    if (writtenElsewhere(path)) {
        sibling.kind = SiblingPath::Kind::ByFileName;
        const std::size_t slash = path.find_last_of("/\\");
        inside = std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
        if (inside.empty() || inside == "..") {
            sibling.kind = SiblingPath::Kind::Outside;
            return sibling;
        }
    } else if (!withoutDots(path, inside) || inside.empty()) {
        sibling.kind = SiblingPath::Kind::Outside;
        return sibling;
    }
    sibling.name = siblingName(resourceName, inside);
    return sibling;
}

std::string siblingName(std::string_view resourceName, std::string_view uri) {
    std::size_t slash = resourceName.find_last_of("/\\");
    std::string name(slash == std::string_view::npos ? std::string_view()
                                                     : resourceName.substr(0, slash + 1));
    return name.append(uri);
}

std::string percentDecoded(std::string_view uri) {
    std::string decoded;
    decoded.reserve(uri.size());
    for (std::size_t at = 0; at < uri.size(); ++at) {
        const int high = at + 2 < uri.size() && uri[at] == '%' ? hexValue(uri[at + 1]) : -1;
        const int low = high >= 0 ? hexValue(uri[at + 2]) : -1;
        if (low >= 0) {
            decoded.push_back(static_cast<char>(high * 16 + low));
            at += 2;
        } else {
            decoded.push_back(uri[at]);
        }
    }
    return decoded;
}

}  // namespace engine
