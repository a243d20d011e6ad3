// Runs every input file named, or found in the folders named, through a fuzz target once, so
// that the normal build checks the corpus and the regression inputs without libFuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsAt(const std::filesystem::path& path);
std::string fileBytes(const std::filesystem::path& path);

}  // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int argument = 1; argument < argc; ++argument) {
        const std::filesystem::path path(argv[argument]);
        if (!std::filesystem::exists(path)) {
            std::fprintf(stderr, "no input at %s\n", path.c_str());
            return 1;
        }
        for (const std::filesystem::path& input : inputsAt(path)) {
            // Named before it runs, so that a crash names its input.
            std::printf("%s\n", input.c_str());
            std::fflush(stdout);
            const std::string bytes = fileBytes(input);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++count;
        }
    }
    std::printf("%zu inputs ran\n", count);
    // No input at all means a wrong path, not a pass.
    return count == 0 ? 1 : 0;
}

namespace {

// A folder's files in name order; files starting with '.' (.gitkeep) are not inputs.
std::vector<std::filesystem::path> inputsAt(const std::filesystem::path& path) {
    if (!std::filesystem::is_directory(path)) {
        return {path};
    }
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
            inputs.push_back(entry.path());
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace
