// The engine's options: every value is validated on the way in, so the rest of the engine can
// use them as they are.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace engine {

class EngineOptions {
  public:
    EngineOptions();

    // False with a reason in error for an unknown option or a value it does not take.
    bool set(int option, float value, std::string& error);
    std::optional<float> get(int option) const;

    int maxLogLevel() const;
    int maxMessageCount() const;
    bool trilinearFiltering() const;
    int maxAnisotropy() const;
    bool loadTextures() const;
    int shadowMapSize() const;

  private:
    std::map<int, float> values_;
};

}  // namespace engine
