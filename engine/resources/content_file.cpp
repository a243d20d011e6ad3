#include "engine/resources/content_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace engine {
namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

}  // namespace

std::string contentPath(std::string_view directory, std::string_view name) {
    std::string joined(directory);
    if (!joined.empty()) {
        joined.push_back('/');
    }
    joined.append(name);
    // "dir/" + "/name" and "app//data" both read as one separator.
    std::string path;
    for (char c : joined) {
        if (c == '/' && !path.empty() && isSeparator(path.back())) {
            continue;
        }
        path.push_back(c);
    }
    return path;
}

std::optional<std::string> readContentFile(const std::string& path, std::string& error) {
    std::error_code code;
    std::filesystem::file_status status = std::filesystem::status(path, code);
    if (!std::filesystem::exists(status)) {
        error = "file not found";
        return std::nullopt;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "not a regular file";
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (!code && size > kMaximumContentFileBytes) {
        error =
            "the file is larger than " + std::to_string(kMaximumContentFileBytes >> 20) + " MiB";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open the file";
        return std::nullopt;
    }
    // Read in one piece at its known size: growing a string byte by byte would briefly take
    // twice the file's size.
    std::string bytes(code ? 0 : static_cast<std::size_t>(size), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    // A file that grew since its size was taken is read to its end.
    bytes.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad() || bytes.size() > kMaximumContentFileBytes) {
        error = file.bad() ? "cannot read the file" : "the file grew beyond the size limit";
        return std::nullopt;
    }
    return bytes;
}

std::string contentFileStart(const std::string& path, std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(count, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(file ? count : static_cast<std::size_t>(file.gcount()));
    return bytes;
}

}  // namespace engine
