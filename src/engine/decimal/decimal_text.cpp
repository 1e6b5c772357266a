#include "decimal/decimal_text.h"
#include "decimal/engine_support.h"

#include <algorithm>
#include <array>
#include <vector>

namespace ovn::decimal {
namespace {


constexpr std::array<kernel::Limb, kDigitsPerLimb + 1> kPowersOfTen = {
    1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};

kernel::Limb ChunkValue(std::string_view chunk) {
  kernel::Limb value = 0;
  for (char c : chunk) value = value * 10 + static_cast<kernel::Limb>(c - '0');
  return value;
}

}  // namespace

NumberParts SplitNumber(std::string_view number) {
  NumberParts parts;
  if (!number.empty() && number.front() == '-') {
    parts.negative = true;
    number.remove_prefix(1);
  }
  const std::size_t point = number.find('.');
  parts.whole = number.substr(0, point);
  if (point != std::string_view::npos) parts.fraction = number.substr(point + 1);
  return parts;
}

ScaledNumber ParseScaled(std::string_view number) {
  const NumberParts parts = SplitNumber(number);
  std::string digits;
  digits.reserve(parts.whole.size() + parts.fraction.size());
  digits.append(parts.whole).append(parts.fraction);
  return ScaledNumber{parts.negative, ParseDigits(digits), parts.fraction.size()};
}

DecimalNatural ParseDigits(std::string_view digits) {
  std::vector<kernel::Limb> limbs;
  limbs.reserve(digits.size() / kDigitsPerLimb + 1);
  std::size_t end = digits.size();
  while (end > 0) {
    const std::size_t begin = end > kDigitsPerLimb ? end - kDigitsPerLimb : 0;
    limbs.push_back(ChunkValue(digits.substr(begin, end - begin)));
    end = begin;
  }
  return DecimalNatural::FromLimbs(std::move(limbs));
}

std::string FormatDigits(const DecimalNatural& value) {
  const auto limbs = value.limbs();
  if (limbs.empty()) return {};
  std::string text = std::to_string(limbs.back());
  text.reserve(text.size() + (limbs.size() - 1) * kDigitsPerLimb);
  for (std::size_t i = limbs.size() - 1; i-- > 0;) {
    char chunk[kDigitsPerLimb];
    kernel::Limb limb = limbs[i];
    for (std::size_t k = kDigitsPerLimb; k-- > 0;) {
      chunk[k] = static_cast<char>('0' + limb % 10);
      limb /= 10;
    }
    text.append(chunk, kDigitsPerLimb);
  }
  return text;
}

void FormatFixed(const DecimalNatural& value, std::size_t places, std::string& whole, std::string& fraction) {
  std::string digits = FormatDigits(value);
  if (digits.size() < places) digits.insert(0, places - digits.size(), '0');
  const std::size_t whole_length = digits.size() - places;
  fraction = digits.substr(whole_length);
  digits.resize(whole_length);
  whole = std::move(digits);
}

DecimalNatural TimesPowerOfTen(const DecimalNatural& value, std::size_t exponent) {
  if (value.is_zero() || exponent == 0) return value;
  const DecimalNatural scaled = kernel::MulSmall(value, kPowersOfTen[exponent % kDigitsPerLimb]);
  return kernel::ShiftLimbsLeft(scaled, exponent / kDigitsPerLimb);
}

void AlignScales(ScaledNumber& a, ScaledNumber& b) {
  if (a.scale < b.scale) {
    a.magnitude = TimesPowerOfTen(a.magnitude, b.scale - a.scale);
    a.scale = b.scale;
  } else if (b.scale < a.scale) {
    b.magnitude = TimesPowerOfTen(b.magnitude, a.scale - b.scale);
    b.scale = a.scale;
  }
}

}  // namespace ovn::decimal
