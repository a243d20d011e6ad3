// The outcome of turning bytes into a plain description: the value, or the fault that stopped it.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace engine {

template <typename T>
class Parsed {
  public:
    static Parsed success(T value) {
        Parsed result;
        result.value_.emplace(std::move(value));
        return result;
    }
    static Parsed failure(std::string error) {
        Parsed result;
        result.error_ = std::move(error);
        return result;
    }

    bool ok() const { return value_.has_value(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    const std::string& error() const { return error_; }

  private:
    Parsed() = default;

    std::optional<T> value_;
    std::string error_;
};

}  // namespace engine
