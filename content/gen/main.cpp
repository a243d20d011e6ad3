// content_gen <output directory> [font file]: writes every generated asset of the world.
#include <chrono>
#include <cstdio>
#include <exception>

#include "generator.h"

namespace {

void printSummary(const content::GenerationSummary& summary, double seconds) {
    for (const content::GeneratedFile& file : summary.files) {
        std::printf("%-22s %9zu bytes %7zu triangles\n", file.name.c_str(), file.bytes,
                    file.triangles);
    }
    std::printf("%zu files, %zu bytes, %zu triangles placed in the world, %.2f s\n",
                summary.files.size(), summary.totalBytes, summary.worldTriangles, seconds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output directory> [font file]\n", argv[0]);
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        const auto font = argc == 3 ? std::filesystem::path(argv[2]) : content::defaultFontFile();
        const content::GenerationSummary summary = content::generateContent(argv[1], font);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        printSummary(summary, elapsed.count());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "content_gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
