#include "ovnliblt/runtime_error.h"

#include <utility>

namespace ovn {

RuntimeError::RuntimeError(ErrorNumber number, std::string source, std::string description)
    : std::runtime_error(source + ": " + description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

}  // namespace ovn
