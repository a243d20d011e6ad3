// Runs the generator twice per test process, into two fresh temporary directories, and reads
// back what it wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "generator.h"

namespace content_tests {

struct GeneratedRuns {
    std::filesystem::path first;
    std::filesystem::path second;
    content::GenerationSummary summary;  // of the first run
};

// Generates on first use; the directories are removed when the process ends.
const GeneratedRuns& generatedRuns();

// A file of the first run.
std::vector<std::uint8_t> generatedFile(const std::string& name);

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;  // as stored in the file
    std::vector<std::uint8_t> pixels;

    const std::uint8_t* at(int x, int y) const {
        return pixels.data() + static_cast<std::size_t>((y * width + x) * channels);
    }
};

// Decodes a generated PNG; throws std::runtime_error if it does not decode.
DecodedImage generatedImage(const std::string& name);

}  // namespace content_tests
