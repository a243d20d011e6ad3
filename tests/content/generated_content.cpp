#include "generated_content.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

#include <stb_image.h>

namespace content_tests {
namespace {

std::filesystem::path scratchRoot() {
    return std::filesystem::temp_directory_path() /
           ("content_tests_" + std::to_string(static_cast<long>(getpid())));
}

// Owns the scratch directory for the life of the process.
class ScratchRuns {
  public:
    ScratchRuns() {
        const std::filesystem::path root = scratchRoot();
        std::filesystem::remove_all(root);
        runs_.first = root / "first";
        runs_.second = root / "second";
        runs_.summary = content::generateContent(runs_.first, content::defaultFontFile());
        content::generateContent(runs_.second, content::defaultFontFile());
    }
    ~ScratchRuns() {
        std::error_code ignored;
        std::filesystem::remove_all(scratchRoot(), ignored);
    }
    ScratchRuns(const ScratchRuns&) = delete;
    ScratchRuns& operator=(const ScratchRuns&) = delete;

    const GeneratedRuns& runs() const { return runs_; }

  private:
    GeneratedRuns runs_;
};

}  // namespace

const GeneratedRuns& generatedRuns() {
    static const ScratchRuns scratch;
    return scratch.runs();
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> generatedFile(const std::string& name) {
    return readBytes(generatedRuns().first / name);
}

DecodedImage generatedImage(const std::string& name) {
    const std::vector<std::uint8_t> bytes = generatedFile(name);
    DecodedImage image;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()),
                                            &image.width, &image.height, &image.channels, 0);
    if (pixels == nullptr) {
        throw std::runtime_error(name + " does not decode as an image");
    }
    image.pixels.assign(pixels, pixels + image.width * image.height * image.channels);
    stbi_image_free(pixels);
    return image;
}

}  // namespace content_tests
