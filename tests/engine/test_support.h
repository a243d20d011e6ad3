// Helpers shared by the engine tests: scratch content directories and the message queue.
#pragma once

#include <string>
#include <vector>

#include <glm/vec4.hpp>

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }
    void write(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};

// The text of a content file, as laid out in the build's data directory.
std::string placeholderContent(const std::string& name);
// The build's data directory: content/ laid out with the generated files.
std::string placeholderContentDirectory();

// The colour a content pipeline last clears the given target ("screen" included) to; -1 in
// every channel when it never clears it.
glm::vec4 clearColorOf(const std::string& pipelineFile, const std::string& target);

// Takes every queued engine message, oldest first.
std::vector<std::string> takeMessages();
// The queued messages joined, for failure output.
std::string joined(const std::vector<std::string>& messages);
bool anyContains(const std::vector<std::string>& messages, const std::string& part);
bool contains(const std::string& text, const std::string& part);
// The error of a scene file that must not parse; a test failure when it parses.
std::string sceneError(const std::string& xml);
