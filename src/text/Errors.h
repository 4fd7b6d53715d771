#pragma once
// The runtime errors that end a command. They carry the exact message the user sees;
// only the application's error display (window) or the command line's main catches them.
#include <stdexcept>
#include <string>

namespace sorvanta::text {

class RuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "'%s' is not a valid integer value"
class ConversionError : public RuntimeError {
 public:
  using RuntimeError::RuntimeError;
};

// "Cannot create file %s"
class FileCreateError : public RuntimeError {
 public:
  using RuntimeError::RuntimeError;
};

}  // namespace sorvanta::text
