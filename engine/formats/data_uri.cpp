#include "engine/formats/data_uri.h"

namespace engine {
namespace {

int sextet(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+' || c == '-') {
        return 62;
    }
    if (c == '/' || c == '_') {
        return 63;
    }
    return -1;
}

}  // namespace

std::optional<std::string> dataUriBytes(std::string_view uri) {
    constexpr std::string_view kBase64 = ";base64,";
    const std::size_t marker = uri.find(kBase64);
    if (uri.substr(0, 5) != "data:" || marker == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view payload = uri.substr(marker + kBase64.size());
    while (!payload.empty() && payload.back() == '=') {
        payload.remove_suffix(1);
    }
    std::string bytes;
    bytes.reserve(payload.size() / 4 * 3 + 2);
    unsigned bits = 0;
    int bitCount = 0;
    for (char c : payload) {
        const int value = sextet(c);
        if (value < 0) {
            return std::nullopt;
        }
        bits = (bits << 6) | static_cast<unsigned>(value);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes.push_back(static_cast<char>((bits >> bitCount) & 0xffu));
        }
    }
    return bytes;
}

}  // namespace engine
