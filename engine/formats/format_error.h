// Thrown inside the format parsers only; every public parse function turns it into a
// failed Parsed result, so it never leaves engine_formats.
#pragma once

#include <stdexcept>

namespace engine {

class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace engine
