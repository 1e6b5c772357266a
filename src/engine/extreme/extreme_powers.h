// Powers and roots of extreme values, shared by the power, root and tower operations, the geometric
// progression and the geometric mean. Whole powers are exact; every other result is the true value cut off
// toward zero after a given number of base-256 fraction digits, so every digit it has is true.
#pragma once

#include <cstddef>
#include <cstdint>

#include "extreme/extreme_value.h"
#include "kernel/step_hook.h"

namespace ovn::extreme {

// Intermediate numbers may have this many bits (about a second of work); a power or root that needs more
// is refused with error 6.
inline constexpr std::size_t kMaxWorkBits = std::size_t{1} << 24;

// The places a power is cut off at, in base-256 fraction digits.
struct PowerPlaces {
  std::size_t fractional = 0;  // a fractional exponent (the engine's RadExact)
  std::size_t reciprocal = 0;  // a negative exponent (the engine's DevExact)
};

// base^exponent. Zero to a positive power is zero; zero to a negative power raises 11; a negative base to
// a fractional power raises 5; a result too long for a text raises 6. `source` names the operation in the
// errors.
ExtremeValue Power(const ExtremeValue& base, const ExtremeValue& exponent, PowerPlaces places,
                   const kernel::StepHook& on_step, const char* source);

// The degree-th root of radicand, cut off toward zero after `places` base-256 fraction digits, for any
// non-zero degree (a negative one gives the reciprocal of the root, a fractional one degree = D / 2^k the
// root of degree D of radicand^(2^k)). Degree 0 and an even root of a negative number raise 5.
ExtremeValue Root(const ExtremeValue& radicand, const ExtremeValue& degree, std::size_t places,
                  const kernel::StepHook& on_step, const char* source);

// The number of bits of value (0 for zero).
std::size_t BitLength(const BinaryNatural& value);
// The number of zero bits below the lowest one bit of value; 0 for zero.
std::size_t TrailingZeroBits(const BinaryNatural& value);
// value * 2^bits.
BinaryNatural ShiftBitsLeft(const BinaryNatural& value, std::size_t bits);
// value / 2^bits, truncated.
BinaryNatural ShiftBitsRight(const BinaryNatural& value, std::size_t bits);
// log2 |value| to a few significant digits; a very negative number for zero.
double Log2(const ExtremeValue& value);
// Raises 6 when a value of log2 about `log2_value` has a whole part too long for a decimal text.
void RequireTextLength(double log2_value, const char* source);

}  // namespace ovn::extreme
