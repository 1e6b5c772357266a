// The extreme engine's working form, shared by all its operation files: a signed binary fixed-point value
// magnitude / 256^places. A base-256 digit string is just the bytes of a binary number, so an ExtremNum
// becomes one BinaryNatural plus a count of fraction digits, and the kernel does the arithmetic.
// Internal to the engine: the public interface stays ExtremNum and decimal text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "kernel/natural.h"
#include "kernel/step_hook.h"
#include "ovnliblt/extrem_num.h"

namespace ovn::extreme {

using kernel::BinaryNatural;
using kernel::DecimalNatural;

// (negative ? -1 : 1) * magnitude / 256^places. A zero may carry either sign; every function here treats
// it as zero.
struct ExtremeValue {
  bool negative = false;
  BinaryNatural magnitude;
  std::size_t places = 0;
  // The value was cut off after `places` digits (a quotient, a root, a decimal fraction read in), so its
  // exact binary expansion is mostly noise; it is written as the shortest decimal that cuts to it.
  bool cut = false;

  bool is_zero() const noexcept { return magnitude.is_zero(); }
};

// ---- Digit strings ----
// A base-256 digit string (most significant first, leading zeros allowed) as a natural.
BinaryNatural NaturalFromDigits(std::string_view digits);
// The digits of value without leading zero digits; zero gives "".
std::string DigitsFromNatural(const BinaryNatural& value);
// value * 256^count and value / 256^count (truncated).
BinaryNatural ShiftDigitsLeft(const BinaryNatural& value, std::size_t count);
BinaryNatural ShiftDigitsRight(const BinaryNatural& value, std::size_t count);

// ---- ExtremNum ----
ExtremeValue FromExtremNum(const ExtremNum& e);
// A new ExtremNum. In normal form: no leading integer zero digits, no trailing fraction zero digits, zero
// has both strings empty. Otherwise as ConvertExtNum builds it: a zero integer part is one zero digit and
// the fraction has exactly value.places digits. An integer part past 32,767 digits raises error 6.
std::shared_ptr<ExtremNum> ToExtremNum(const ExtremeValue& value, bool normal_form = true);

// ---- Decimal text ----
// A decimal number text ("-12.5", ".5", "", already checked as a number) as ConvertExtNum reads it: the
// whole part exactly, the fraction cut off after max_places base-256 digits, fewer when it ends sooner
// (one digit at least when the text has a fraction). `places` is the number of fraction digits produced.
ExtremeValue ParseDecimal(std::string_view text, std::size_t max_places,
                          const kernel::StepHook& on_step = {});
// The decimal text ConvertDecNum writes: "0" for zero, "-" only before a non-zero value, no trailing zeros.
// An exact value is written exactly; a cut one (k = places without trailing zero digits) as the shortest decimal D with
// value <= D < value + 256^-k, the smallest of that length. Either is cut at max_decimal_places.
std::string FormatDecimal(const ExtremeValue& value, std::size_t max_decimal_places,
                          const kernel::StepHook& on_step = {});
// What FormatDecimal writes for x cut off toward zero after any number of places above estimate.places, told
// from `estimate`, x cut off after estimate.places: a value known to far more places than are written is
// written the same whatever its digits past the text's last place, unless it lies near a text of
// max_decimal_places places. std::nullopt when it does, or when the estimate is zero or ends in a zero digit.
std::optional<std::string> FormatDecimalOfFinerCut(const ExtremeValue& estimate,
                                                   std::size_t max_decimal_places);

// ---- Arithmetic, exact unless said ----
// The same value with its trailing zero fraction digits dropped (fewest places).
ExtremeValue Normalized(ExtremeValue value);
// Brings both to the larger number of places, so that magnitudes can be added and compared.
void AlignPlaces(ExtremeValue& a, ExtremeValue& b);
// -1, 0, 1 by value; zeros of either sign are equal.
int CompareValues(const ExtremeValue& a, const ExtremeValue& b);
// A result is cut when an operand was.
ExtremeValue Add(ExtremeValue a, ExtremeValue b);
ExtremeValue Subtract(const ExtremeValue& a, ExtremeValue b);
ExtremeValue Multiply(const ExtremeValue& a, const ExtremeValue& b);
// a / b cut off toward zero after `places` base-256 fraction digits; a b of magnitude one gives a whole,
// uncut. Requires b non-zero.
ExtremeValue TruncatedQuotient(const ExtremeValue& a, const ExtremeValue& b, std::size_t places);
// a - b * trunc(a / b): exact, with the sign of a. Requires b non-zero.
ExtremeValue TruncatedRemainder(const ExtremeValue& a, const ExtremeValue& b);
// A whole value from a machine integer.
ExtremeValue FromInteger(std::int64_t value);

}  // namespace ovn::extreme
