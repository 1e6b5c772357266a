// Conversions between decimal digit texts and kernel numbers, and the pieces of a number text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "kernel/natural.h"

namespace ovn::decimal {

using kernel::DecimalNatural;

// A number text taken apart without copying: sign, whole digits, fraction digits.
// "-12.50" gives (true, "12", "50"); ".5" gives (false, "", "5"); "5." gives (false, "5", "").
struct NumberParts {
  bool negative = false;
  std::string_view whole;
  std::string_view fraction;
};
NumberParts SplitNumber(std::string_view number);

// An exact value: magnitude / 10^scale, with a sign.
struct ScaledNumber {
  bool negative = false;
  DecimalNatural magnitude;
  std::size_t scale = 0;

  bool is_zero() const noexcept { return magnitude.is_zero(); }
};
ScaledNumber ParseScaled(std::string_view number);

// Digits only ("0" to "9"), leading zeros allowed; "" is zero.
DecimalNatural ParseDigits(std::string_view digits);
// The digits without leading zeros; zero gives "".
std::string FormatDigits(const DecimalNatural& value);
// The digits of value / 10^places with exactly `places` fraction digits: whole part without leading zeros
// ("" when zero) and the fraction, each returned through its own string.
void FormatFixed(const DecimalNatural& value, std::size_t places, std::string& whole, std::string& fraction);

DecimalNatural TimesPowerOfTen(const DecimalNatural& value, std::size_t exponent);
// Brings both numbers to the larger scale, so that their magnitudes can be added and compared.
void AlignScales(ScaledNumber& a, ScaledNumber& b);

}  // namespace ovn::decimal
