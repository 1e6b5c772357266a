// The whole part of a number in base 16: one conversion of the digits to radix 2^32 (divide and conquer,
// kernel/radix.h), after which every binary limb is eight hexadecimal digits. The long way divides the
// whole number by 16 once per hexadecimal digit, which is quadratic in the length.
#include <algorithm>
#include <string>

#include "decimal/decimal_text.h"
#include "decimal/func_lib_dec.h"
#include "kernel/radix.h"

namespace ovn {
namespace {

std::string HexDigits(const kernel::BinaryNatural& value) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(8 * value.size());
  const auto limbs = value.limbs();
  for (auto limb = limbs.rbegin(); limb != limbs.rend(); ++limb) {
    for (int shift = 28; shift >= 0; shift -= 4) text += kHexDigits[(*limb >> shift) & 0xF];
  }
  return text.substr(std::min(text.find_first_not_of('0'), text.size()));
}

}  // namespace

std::string FuncLibDec::ToHex(std::string_view Num) {
  RequireNumber(Num, "ToHex");
  Yield();
  // The sign is dropped and the fraction ignored; a whole part of zero is written "0".
  const decimal::DecimalNatural whole = decimal::ParseDigits(decimal::SplitNumber(Num).whole);
  if (whole.is_zero()) return "0";
  // The progress is written whatever the flags, as the long way always did.
  const kernel::StepHook on_step = [this](double done) {
    Yield();
    StepCalculate(static_cast<float>(1000.0 * done));
  };
  std::string hex = HexDigits(kernel::ToBinary(whole, on_step));
  StepCalculate(1000.0F);
  return hex;
}

}  // namespace ovn
