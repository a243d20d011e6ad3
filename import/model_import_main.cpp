// model-import FILE: the viewer's helper that reads a model of another format and writes it as
// binary glTF to standard output. Each note (something left out or found elsewhere) is a line
// on standard error; a failure is a last line there and exit status 1 (3: out of memory). The
// viewer runs it as a process of its own, so that a crash or hang in the import library costs
// only this process.
#include <cstdio>
#include <new>
#include <set>
#include <stdexcept>
#include <string>

#include "import/model_conversion.h"
#include "import/process_limits.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kOutOfMemory = 3;

bool writeAll(const std::string& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
           std::fflush(stdout) == 0;
}

}  // namespace

// In sanitizer builds: the import library keeps some allocations until the process ends, which
// leak checking at exit would report and turn into a failed import.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: model-import FILE  (writes it as binary glTF to stdout)\n");
        return kUsage;
    }
    limitThisProcess();
    try {
        const ConvertedModel converted = convertModelFile(argv[1]);
        std::set<std::string> written;
        for (const std::string& note : converted.notes) {
            if (written.insert(note).second) {
                std::fprintf(stderr, "note: %s\n", note.c_str());
            }
        }
        if (!writeAll(converted.glb)) {
            std::fprintf(stderr, "cannot write the converted model\n");
            return kFailed;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "out of memory\n");
        return kOutOfMemory;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return kFailed;
    }
}
