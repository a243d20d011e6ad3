#include "engine/formats/quoted_text.h"

namespace engine {
namespace {

void appendPrintable(unsigned char byte, std::string& out);

}  // namespace

std::string printableExcerpt(std::string_view text, std::size_t longest) {
    const bool cut = text.size() > longest;
    std::string_view kept = cut ? text.substr(0, longest) : text;
    std::string out;
    out.reserve(kept.size() + 3);
    for (char c : kept) {
        appendPrintable(static_cast<unsigned char>(c), out);
    }
    if (cut) {
        out += "...";
    }
    return out;
}

std::string quotedExcerpt(std::string_view text) {
    return "'" + printableExcerpt(text) + "'";
}

namespace {

void appendPrintable(unsigned char byte, std::string& out) {
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        case '\\':
            out += "\\\\";
            return;
        default:
            break;
    }
    // Bytes from 0x7f up are escaped too: some terminals take 0x9b as the start of a command.
    if (byte < 0x20 || byte >= 0x7f) {
        constexpr const char* kHexDigits = "0123456789abcdef";
        out += "\\x";
        out += kHexDigits[byte >> 4];
        out += kHexDigits[byte & 0xf];
        return;
    }
    out += static_cast<char>(byte);
}

}  // namespace
}  // namespace engine
