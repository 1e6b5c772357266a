// What every part of the decimal engine shares: its error raising, its length limit, the size of a limb
// in decimal digits and the end value of progress.
#pragma once

#include <cstddef>
#include <string_view>

#include "ovnliblt/runtime_error.h"

namespace ovn::decimal {

inline constexpr std::size_t kDigitsPerLimb = 9;  // one limb of DecimalNatural
inline constexpr double kProgressDone = 1000.0;   // StepCalculate when an operation is complete

// Raises the engine's error; the source names the method ("DevideIn" becomes "FuncLibDec.DevideIn").
[[noreturn]] void Raise(ErrorNumber number, std::string_view source, std::string_view description);
// Raises kOverflow for a text past the engine's length limit of 32,767 characters.
void CheckLength(std::string_view text, std::string_view source);

}  // namespace ovn::decimal
