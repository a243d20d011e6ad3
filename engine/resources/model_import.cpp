#include "engine/resources/model_import.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/formats/quoted_text.h"

extern char** environ;

namespace engine {
namespace {

constexpr const char* kHelperName = "model-import";
// A converted model larger than this is refused rather than held.
constexpr std::size_t kMostConvertedBytes = std::size_t{3} << 30;
constexpr std::size_t kMostFaultBytes = 64 * 1024;
constexpr int kOutOfMemoryStatus = 3;
constexpr std::size_t kLongestComplaint = 300;

// A pipe's two ends, closed when it goes.
class Pipe {
  public:
    Pipe() {
        if (pipe2(ends_, O_CLOEXEC) != 0) {
            ends_[0] = ends_[1] = -1;
        }
    }
    ~Pipe() {
        closeEnd(0);
        closeEnd(1);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool ok() const { return ends_[0] >= 0; }
    int readEnd() const { return ends_[0]; }
    int writeEnd() const { return ends_[1]; }
    void closeEnd(int end) {
        if (ends_[end] >= 0) {
            close(ends_[end]);
            ends_[end] = -1;
        }
    }

  private:
    int ends_[2];
};

// What the helper wrote and how it ended.
struct HelperRun {
    std::string output;
    std::string errors;
    int status = 0;
    bool timedOut = false;
    bool outputTooLarge = false;
};

bool spawnHelper(const std::string& helper, const std::string& path, Pipe& output, Pipe& errors,
                 pid_t& child, std::string& fault);
void collect(pid_t child, int seconds, Pipe& output, Pipe& errors, HelperRun& run);
Parsed<ImportedModel> outcomeOf(HelperRun run, int seconds);
std::string lastLine(const std::string& text);
std::vector<std::string> notesIn(const std::string& errors);

}  // namespace

Parsed<ImportedModel> importModelFile(const std::string& path, const ImportHelper& helper) {
    if (access(helper.program.c_str(), X_OK) != 0) {
        return Parsed<ImportedModel>::failure("the import helper '" + helper.program +
                                              "' is missing");
    }
    Pipe output;
    Pipe errors;
    if (!output.ok() || !errors.ok()) {
        return Parsed<ImportedModel>::failure("cannot start the import helper: no pipes left");
    }
    pid_t child = 0;
    std::string fault;
    if (!spawnHelper(helper.program, path, output, errors, child, fault)) {
        return Parsed<ImportedModel>::failure(fault);
    }
    output.closeEnd(1);
    errors.closeEnd(1);
    HelperRun run;
    collect(child, helper.seconds, output, errors, run);
    return outcomeOf(std::move(run), helper.seconds);
}

std::string importHelperPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(kHelperName) : (self.parent_path() / kHelperName).string();
}

namespace {

bool spawnHelper(const std::string& helper, const std::string& path, Pipe& output, Pipe& errors,
                 pid_t& child, std::string& fault) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output.writeEnd(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors.writeEnd(), STDERR_FILENO);
    std::string helperArgument = helper;
    std::string pathArgument = path;
    char* arguments[] = {helperArgument.data(), pathArgument.data(), nullptr};
    const int started = posix_spawn(&child, helper.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        fault = std::string("cannot start the import helper: ") + std::strerror(started);
        return false;
    }
    return true;
}

// Reads both pipes until the helper closes them, then waits for it; past the deadline, or when
// it writes more than any model converts to, it is killed.
void collect(pid_t child, int seconds, Pipe& output, Pipe& errors, HelperRun& run) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    pollfd watched[2] = {{output.readEnd(), POLLIN, 0}, {errors.readEnd(), POLLIN, 0}};
    std::string* into[2] = {&run.output, &run.errors};
    const std::size_t most[2] = {kMostConvertedBytes, kMostFaultBytes};
    std::vector<char> chunk(1 << 16);
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.timedOut = true;
            break;
        }
        const int ready = poll(watched, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        for (int stream = 0; stream < 2 && ready > 0; ++stream) {
            if (watched[stream].fd < 0 || watched[stream].revents == 0) {
                continue;
            }
            const ssize_t got = read(watched[stream].fd, chunk.data(), chunk.size());
            if (got > 0) {
                if (into[stream]->size() + static_cast<std::size_t>(got) > most[stream]) {
                    run.outputTooLarge = stream == 0;
                    open = 0;
                    break;
                }
                into[stream]->append(chunk.data(), static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                watched[stream].fd = -1;
                --open;
            }
        }
    }
    if (open > 0 || run.outputTooLarge) {
        kill(child, SIGKILL);
    }
    while (waitpid(child, &run.status, 0) < 0 && errno == EINTR) {
    }
}

Parsed<ImportedModel> outcomeOf(HelperRun run, int seconds) {
    if (run.timedOut) {
        return Parsed<ImportedModel>::failure("the import took longer than " +
                                              std::to_string(seconds) + " seconds and was stopped");
    }
    if (run.outputTooLarge) {
        return Parsed<ImportedModel>::failure("the converted model is too large");
    }
    if (WIFSIGNALED(run.status)) {
        const int signal = WTERMSIG(run.status);
        if (signal == SIGXCPU) {
            return Parsed<ImportedModel>::failure("the import took too much processor time");
        }
        const char* name = sigabbrev_np(signal);
        return Parsed<ImportedModel>::failure(
            std::string("the import library crashed on it (signal ") +
            (name != nullptr ? std::string("SIG") + name : std::to_string(signal)) +
            "); nothing of it is shown");
    }
    const int status = WIFEXITED(run.status) ? WEXITSTATUS(run.status) : -1;
    if (status == kOutOfMemoryStatus) {
        return Parsed<ImportedModel>::failure("the import ran out of memory");
    }
    if (status != 0) {
        // The import library's complaint may quote the file: it is shown as printable text.
        const std::string reason = printableExcerpt(lastLine(run.errors), kLongestComplaint);
        return Parsed<ImportedModel>::failure(
            reason.empty() ? "the import failed (status " + std::to_string(status) + ")" : reason);
    }
    ImportedModel imported{std::move(run.output), notesIn(run.errors)};
    return Parsed<ImportedModel>::success(std::move(imported));
}

std::string lastLine(const std::string& text) {
    std::size_t end = text.find_last_not_of("\r\n");
    if (end == std::string::npos) {
        return {};
    }
    const std::size_t start = text.find_last_of('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1,
                       end + 1 - (start == std::string::npos ? 0 : start + 1));
}

std::vector<std::string> notesIn(const std::string& errors) {
    static const std::string kNote = "note: ";
    std::vector<std::string> notes;
    std::size_t start = 0;
    while (start < errors.size()) {
        std::size_t end = errors.find('\n', start);
        if (end == std::string::npos) {
            end = errors.size();
        }
        if (errors.compare(start, kNote.size(), kNote) == 0) {
            notes.push_back(
                printableExcerpt(errors.substr(start + kNote.size(), end - start - kNote.size()),
                                 kLongestComplaint));
        }
        start = end + 1;
    }
    return notes;
}

}  // namespace
}  // namespace engine
