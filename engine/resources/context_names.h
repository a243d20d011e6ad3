// Shader context names ("lit", "shadow", "final", ...) as small numbers, given out when shaders
// and pipelines load, so that drawing finds a material's program without comparing strings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace engine {

class ContextNames {
  public:
    // The name's number, given out now if the name is new; -1 for an empty name.
    int idOf(std::string_view name) {
        if (name.empty()) {
            return -1;
        }
        for (std::size_t index = 0; index < names_.size(); ++index) {
            if (names_[index] == name) {
                return static_cast<int>(index);
            }
        }
        names_.emplace_back(name);
        return static_cast<int>(names_.size() - 1);
    }

  private:
    std::vector<std::string> names_;
};

}  // namespace engine
