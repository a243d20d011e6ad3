#include "engine/formats/resource_names.h"

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

}  // namespace

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
