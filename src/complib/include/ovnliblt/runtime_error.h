// The one error type of the whole system: raised by the component library and the engines, caught by the
// controller, which shows the message that belongs to the number.
#pragma once

#include <stdexcept>
#include <string>

#include "ovnliblt/export.h"

namespace ovn {

// The closed set of error numbers (the classic run-time error numbers).
enum class ErrorNumber : int {
  kInvalidArgument = 5,   // no result exists (logarithm of zero, a bad split length)
  kOverflow = 6,          // a text or count past 32,767
  kIndexOutOfRange = 9,   // a list index that names no item
  kDivisionByZero = 11,
  kTypeMismatch = 13,     // a text that is not a number
  kCancelled = 18,        // the user cancelled the calculation
};

class OVNLIBLT_API RuntimeError : public std::runtime_error {
 public:
  RuntimeError(ErrorNumber number, std::string source, std::string description);

  ErrorNumber Number() const noexcept { return number_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  ErrorNumber number_;
  std::string source_;
  std::string description_;
};

}  // namespace ovn
