#include "extreme/extreme_value.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "decimal/decimal_text.h"
#include "kernel/radix.h"
#include "kernel/roots.h"

namespace ovn::extreme {

namespace {

using kernel::Limb;

constexpr std::size_t kDigitsPerLimb = 4;
constexpr unsigned kBitsPerDigit = 8;
constexpr unsigned kBitsPerLimb = 32;

// value * 2^bits.
BinaryNatural ShiftBitsLeft(const BinaryNatural& value, std::size_t bits) {
  if (value.is_zero() || bits == 0) return value;
  const std::size_t limb_shift = bits / kBitsPerLimb;
  const unsigned bit_shift = bits % kBitsPerLimb;
  const auto source = value.limbs();
  std::vector<Limb> limbs(limb_shift + source.size() + 1, 0);
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::uint64_t wide = std::uint64_t{source[i]} << bit_shift;
    limbs[limb_shift + i] |= static_cast<Limb>(wide);
    limbs[limb_shift + i + 1] |= static_cast<Limb>(wide >> kBitsPerLimb);
  }
  return BinaryNatural::FromLimbs(std::move(limbs));
}

// value / 2^bits, truncated.
BinaryNatural ShiftBitsRight(const BinaryNatural& value, std::size_t bits) {
  const std::size_t limb_shift = bits / kBitsPerLimb;
  const auto source = value.limbs();
  if (limb_shift >= source.size()) return {};
  const unsigned bit_shift = bits % kBitsPerLimb;
  std::vector<Limb> limbs(source.size() - limb_shift);
  for (std::size_t i = 0; i < limbs.size(); ++i) {
    std::uint64_t wide = source[limb_shift + i];
    if (limb_shift + i + 1 < source.size()) wide |= std::uint64_t{source[limb_shift + i + 1]} << kBitsPerLimb;
    limbs[i] = static_cast<Limb>(wide >> bit_shift);
  }
  return BinaryNatural::FromLimbs(std::move(limbs));
}

// value mod 2^bits.
BinaryNatural LowBits(const BinaryNatural& value, std::size_t bits) {
  const auto source = value.limbs();
  const std::size_t whole_limbs = bits / kBitsPerLimb;
  if (whole_limbs >= source.size()) return value;
  std::vector<Limb> limbs(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(whole_limbs));
  const unsigned rest = bits % kBitsPerLimb;
  if (rest != 0) limbs.push_back(source[whole_limbs] & ((Limb{1} << rest) - 1));
  return BinaryNatural::FromLimbs(std::move(limbs));
}

// The number of zero digits at the low end of a non-zero value.
std::size_t TrailingZeroDigits(const BinaryNatural& value) {
  const auto limbs = value.limbs();
  std::size_t i = 0;
  while (limbs[i] == 0) ++i;
  std::size_t digits = i * kDigitsPerLimb;
  for (Limb low = limbs[i]; (low & 0xFF) == 0; low >>= kBitsPerDigit) ++digits;
  return digits;
}

// Exactly `width` digits of value (which must fit), most significant first.
std::string DigitsOfWidth(const BinaryNatural& value, std::size_t width) {
  std::string digits = DigitsFromNatural(value);
  digits.insert(0, width - digits.size(), '\0');
  return digits;
}

BinaryNatural PowerOfTen(std::size_t exponent) {
  return kernel::Pow(BinaryNatural{10}, exponent);
}

std::string DecimalDigits(const BinaryNatural& value, const kernel::StepHook& on_step) {
  return decimal::FormatDigits(kernel::ToDecimal(value, on_step));
}

// n written with exactly `width` decimal digits, leading zeros included.
std::string FixedDigits(const BinaryNatural& n, std::size_t width) {
  std::string digits = DecimalDigits(n, {});
  digits.insert(0, width - digits.size(), '0');
  return digits;
}

// The fraction digits of the shortest decimal in [f, f + 1) / 256^k, the smallest one of that length; ""
// when it needs more than max_places digits. d digits suffice when n = ceil(f 10^d / 256^k) still has
// n 256^k < (f + 1) 10^d; a length that suffices stays sufficient with one more digit, so the shortest is
// found by halving, between 1 and the length at which the interval is wider than 10^-d.
std::string ShortestFraction(const BinaryNatural& f, std::size_t k, std::size_t max_places) {
  const BinaryNatural unit = ShiftDigitsLeft(BinaryNatural{1}, k);
  const auto digits_at = [&](std::size_t d) -> std::optional<BinaryNatural> {
    const BinaryNatural power = PowerOfTen(d);
    const BinaryNatural scaled = f * power;
    BinaryNatural n = ShiftDigitsRight(scaled + unit - BinaryNatural{1}, k);
    if (ShiftDigitsLeft(n, k) < scaled + power) return n;
    return std::nullopt;
  };
  // 10^d >= 256^k from d = ceil(8k log10 2) on.
  const auto enough = static_cast<std::size_t>(std::ceil(static_cast<double>(k) * kBitsPerDigit * 0.30103)) + 1;
  std::size_t low = 1;
  std::size_t high = std::min(enough, max_places);
  if (!digits_at(high)) return "";
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (digits_at(middle)) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return FixedDigits(*digits_at(low), low);
}

}  // namespace

BinaryNatural NaturalFromDigits(std::string_view digits) {
  std::vector<Limb> limbs((digits.size() + kDigitsPerLimb - 1) / kDigitsPerLimb, 0);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const auto digit = static_cast<unsigned char>(digits[digits.size() - 1 - i]);
    limbs[i / kDigitsPerLimb] |= Limb{digit} << (kBitsPerDigit * (i % kDigitsPerLimb));
  }
  return BinaryNatural::FromLimbs(std::move(limbs));
}

std::string DigitsFromNatural(const BinaryNatural& value) {
  const auto limbs = value.limbs();
  std::string digits;
  digits.reserve(limbs.size() * kDigitsPerLimb);
  for (std::size_t i = limbs.size(); i-- > 0;) {
    for (unsigned shift = kBitsPerLimb; shift > 0;) {
      shift -= kBitsPerDigit;
      const auto digit = static_cast<char>((limbs[i] >> shift) & 0xFF);
      if (!digits.empty() || digit != '\0') digits.push_back(digit);
    }
  }
  return digits;
}

BinaryNatural ShiftDigitsLeft(const BinaryNatural& value, std::size_t count) {
  return ShiftBitsLeft(value, count * kBitsPerDigit);
}

BinaryNatural ShiftDigitsRight(const BinaryNatural& value, std::size_t count) {
  return ShiftBitsRight(value, count * kBitsPerDigit);
}

ExtremeValue FromExtremNum(const ExtremNum& e) {
  return {!e.Sign(), NaturalFromDigits(e.IntNum() + e.Devided()), e.Devided().size()};
}

std::shared_ptr<ExtremNum> ToExtremNum(const ExtremeValue& value, bool normal_form) {
  const ExtremeValue digits = normal_form ? Normalized(value) : value;
  auto e = std::make_shared<ExtremNum>();
  e->Sign(!digits.negative || digits.is_zero());
  std::string whole = DigitsFromNatural(ShiftDigitsRight(digits.magnitude, digits.places));
  if (whole.empty() && !normal_form) whole.push_back('\0');
  e->IntNum(std::move(whole));
  if (digits.places > 0) {
    e->Devided(DigitsOfWidth(LowBits(digits.magnitude, digits.places * kBitsPerDigit), digits.places));
  }
  return e;
}

ExtremeValue ParseDecimal(std::string_view text, std::size_t max_places, const kernel::StepHook& on_step) {
  const decimal::NumberParts parts = decimal::SplitNumber(text);
  ExtremeValue value{parts.negative, kernel::ToBinary(decimal::ParseDigits(parts.whole), on_step), 0};
  if (parts.fraction.empty()) return value;
  // digits = floor(fraction * 256^n) for n = max_places; when nothing is left over the expansion ended at
  // or before digit n, so its trailing zero digits were never produced (a zero fraction keeps one digit).
  std::size_t places = std::max<std::size_t>(max_places, 1);
  const BinaryNatural fraction = kernel::ToBinary(decimal::ParseDigits(parts.fraction));
  auto [digits, rest] = kernel::DivMod(ShiftDigitsLeft(fraction, places), PowerOfTen(parts.fraction.size()));
  // That division is long at many places: a list of such operands yields between them.
  if (on_step) on_step(1.0);
  if (rest.is_zero() && !digits.is_zero()) {
    const std::size_t unused = std::min(TrailingZeroDigits(digits), places - 1);
    digits = ShiftDigitsRight(digits, unused);
    places -= unused;
  } else if (rest.is_zero()) {
    places = 1;
  }
  value.magnitude = ShiftDigitsLeft(value.magnitude, places) + digits;
  value.places = places;
  value.cut = !rest.is_zero();
  return value;
}

std::string FormatDecimal(const ExtremeValue& written, std::size_t max_decimal_places,
                          const kernel::StepHook& on_step) {
  // k counts the digits of the normal form: a zero digit at the end (a factor 1.0) narrows nothing.
  const ExtremeValue value = Normalized(written);
  const BinaryNatural whole = ShiftDigitsRight(value.magnitude, value.places);
  std::string text = whole.is_zero() ? "0" : DecimalDigits(whole, on_step);
  const BinaryNatural fraction = LowBits(value.magnitude, value.places * kBitsPerDigit);
  if (!fraction.is_zero()) {
    std::string places = value.cut ? ShortestFraction(fraction, value.places, max_decimal_places)
                                   : std::string();
    if (places.empty()) {
      // fraction / 256^m has exactly 8m decimal places; the first `shown` of them, cut off.
      const std::size_t shown = std::min(max_decimal_places, value.places * kBitsPerDigit);
      places = FixedDigits(ShiftDigitsRight(fraction * PowerOfTen(shown), value.places), shown);
    }
    places.erase(places.find_last_not_of('0') + 1);
    if (!places.empty()) text += "." + places;
  }
  if (value.negative && !value.is_zero()) text.insert(0, 1, '-');
  return text;
}

// With q = estimate.places and m its magnitude, x lies in [m, m + 1) / 256^q, and so does a finer cut v of
// it, a multiple of 256^-k for k >= q (v's digit at place q is the estimate's last one, not zero).
// FormatDecimal writes v exactly or as a decimal in [v, v + 256^-k), below the next multiple of 256^-k: all
// in [m, m + 1) / 256^q. When no multiple of 10^-d (d = max_decimal_places) lies above m / 256^q in it, no
// decimal of d places or fewer is written: v's expansion is cut after d places, the same multiple of 10^-d
// for all v.
std::optional<std::string> FormatDecimalOfFinerCut(const ExtremeValue& estimate,
                                                   std::size_t max_decimal_places) {
  if (estimate.is_zero() || Normalized(estimate).places != estimate.places) return std::nullopt;
  const BinaryNatural power = PowerOfTen(max_decimal_places);
  const BinaryNatural below = ShiftDigitsRight(estimate.magnitude * power, estimate.places);
  const BinaryNatural above =
      ShiftDigitsRight((estimate.magnitude + BinaryNatural{1}) * power - BinaryNatural{1}, estimate.places);
  if (below != above || below.is_zero()) return std::nullopt;
  std::string whole, fraction;
  decimal::FormatFixed(kernel::ToDecimal(below), max_decimal_places, whole, fraction);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  std::string text = (estimate.negative ? "-" : "") + (whole.empty() ? "0" : whole);
  return fraction.empty() ? text : text + "." + fraction;
}

ExtremeValue Normalized(ExtremeValue value) {
  if (value.is_zero()) {
    value.places = 0;
    return value;
  }
  const std::size_t zeros = std::min(TrailingZeroDigits(value.magnitude), value.places);
  value.magnitude = ShiftDigitsRight(value.magnitude, zeros);
  value.places -= zeros;
  return value;
}

void AlignPlaces(ExtremeValue& a, ExtremeValue& b) {
  ExtremeValue& shorter = a.places < b.places ? a : b;
  const std::size_t places = std::max(a.places, b.places);
  shorter.magnitude = ShiftDigitsLeft(shorter.magnitude, places - shorter.places);
  shorter.places = places;
}

int CompareValues(const ExtremeValue& a, const ExtremeValue& b) {
  const bool a_negative = a.negative && !a.is_zero();
  const bool b_negative = b.negative && !b.is_zero();
  if (a_negative != b_negative) return a_negative ? -1 : 1;
  ExtremeValue left = a;
  ExtremeValue right = b;
  AlignPlaces(left, right);
  const auto order = left.magnitude <=> right.magnitude;
  const int magnitude_order = order < 0 ? -1 : (order > 0 ? 1 : 0);
  return a_negative ? -magnitude_order : magnitude_order;
}

ExtremeValue Add(ExtremeValue a, ExtremeValue b) {
  AlignPlaces(a, b);
  a.cut = b.cut = a.cut || b.cut;
  if (a.negative == b.negative) {
    a.magnitude = a.magnitude + b.magnitude;
    return a;
  }
  if (a.magnitude < b.magnitude) std::swap(a, b);
  a.magnitude = a.magnitude - b.magnitude;
  return a;
}

ExtremeValue Subtract(const ExtremeValue& a, ExtremeValue b) {
  b.negative = !b.negative;
  return Add(a, std::move(b));
}

ExtremeValue Multiply(const ExtremeValue& a, const ExtremeValue& b) {
  return {a.negative != b.negative, a.magnitude * b.magnitude, a.places + b.places, a.cut || b.cut};
}

ExtremeValue TruncatedQuotient(const ExtremeValue& a, const ExtremeValue& b, std::size_t places) {
  // A divisor of magnitude one (256^places / 256^places) hands the dividend back whole, never cut.
  if (ShiftDigitsLeft(BinaryNatural{1}, b.places) == b.magnitude)
    return {a.negative != b.negative, a.magnitude, a.places, a.cut};
  // a / b * 256^places = A * 256^(Pb + places - Pa) / B; a negative shift truncates the dividend first,
  // which floor(floor(x / y) / z) = floor(x / (y z)) allows.
  const std::size_t up = b.places + places;
  const BinaryNatural dividend = up >= a.places ? ShiftDigitsLeft(a.magnitude, up - a.places)
                                                : ShiftDigitsRight(a.magnitude, a.places - up);
  auto [quotient, remainder] = kernel::DivMod(dividend, b.magnitude);
  const bool cut = a.cut || b.cut || !remainder.is_zero() || up < a.places;
  return {a.negative != b.negative, std::move(quotient), places, cut};
}

ExtremeValue TruncatedRemainder(const ExtremeValue& a, const ExtremeValue& b) {
  ExtremeValue dividend = a;
  ExtremeValue divisor = b;
  AlignPlaces(dividend, divisor);
  dividend.magnitude = kernel::DivMod(dividend.magnitude, divisor.magnitude).remainder;
  return dividend;
}

ExtremeValue FromInteger(std::int64_t value) {
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return {value < 0, BinaryNatural{magnitude}, 0};
}

}  // namespace ovn::extreme
