#include "decimal/double_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdlib>

#include "ovnliblt/runtime_error.h"

namespace ovn {
namespace {

constexpr std::size_t kSignificantDigits = 15;
// Decimal exponents written as plain digits: 1E-4 <= |value| < 1E15.
constexpr int kLowestPlainExponent = -4;
constexpr int kHighestPlainExponent = 14;
// Places after the first digit that hold the exact expansion of every double (767 significant digits
// at most).
constexpr int kExactPlaces = 770;

// |value| = d.ddd... * 10^exponent, digits without the point.
struct Scientific {
  std::string digits;
  int exponent = 0;
};

Scientific ToScientific(double magnitude, int places) {
  std::string buffer(static_cast<std::size_t>(places) + 16, '\0');
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                     std::chars_format::scientific, places);
  buffer.resize(static_cast<std::size_t>(written.ptr - buffer.data()));
  const std::size_t e = buffer.find('e');
  Scientific number;
  number.digits = buffer.substr(0, 1) + (e > 1 ? buffer.substr(2, e - 2) : std::string{});
  number.exponent = std::atoi(buffer.c_str() + e + 1);
  return number;
}

// The 15 significant digits of |value| rounded half away from zero, trailing zeros dropped. 17 correctly
// rounded digits decide, unless their last two are "50": only the exact expansion then tells a tie from
// a value just below it.
Scientific RoundedDigits(double magnitude) {
  Scientific number = ToScientific(magnitude, kSignificantDigits + 1);
  if (number.digits.compare(kSignificantDigits, 2, "50") == 0) number = ToScientific(magnitude, kExactPlaces);
  const bool up = number.digits[kSignificantDigits] >= '5';
  number.digits.resize(kSignificantDigits);
  if (up) {
    std::size_t i = kSignificantDigits;
    while (i > 0 && number.digits[i - 1] == '9') number.digits[--i] = '0';
    if (i > 0) {
      ++number.digits[i - 1];
    } else {  // 999...9 became 1000...0
      number.digits.front() = '1';
      ++number.exponent;
    }
  }
  number.digits.erase(number.digits.find_last_not_of('0') + 1);
  return number;
}

std::string PlainForm(const Scientific& number) {
  if (number.exponent < 0) {
    return "0." + std::string(static_cast<std::size_t>(-number.exponent - 1), '0') + number.digits;
  }
  const auto whole = static_cast<std::size_t>(number.exponent) + 1;
  std::string digits = number.digits;
  if (digits.size() <= whole) return digits.append(whole - digits.size(), '0');
  return digits.insert(whole, ".");
}

std::string ExponentForm(const Scientific& number) {
  std::string text = number.digits.substr(0, 1);
  if (number.digits.size() > 1) text.append(".").append(number.digits, 1);
  const std::string exponent = std::to_string(std::abs(number.exponent));
  return text.append(number.exponent < 0 ? "E-" : "E+")
      .append(exponent.size() < 2 ? "0" : "")
      .append(exponent);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::size_t DigitsFrom(std::string_view text, std::size_t i) {
  std::size_t end = i;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - i;
}

// The decimal exponent of the first significant digit of the mantissa "digits.digits" times 10^exponent,
// plus one: positive from 1 up. Only its sign is used, to tell overflow from underflow.
long MagnitudeOrder(std::string_view whole, std::string_view fraction, long exponent) {
  const std::size_t first = whole.find_first_not_of('0');
  if (first != std::string_view::npos) return exponent + static_cast<long>(whole.size() - first);
  return exponent - static_cast<long>(std::min(fraction.find_first_not_of('0'), fraction.size()));
}

// The value of an exponent's digits, held at a size no double exponent reaches.
long ExponentValue(std::string_view digits) {
  long value = 0;
  for (char c : digits) value = std::min(value * 10 + (c - '0'), 100'000L);
  return value;
}

}  // namespace

std::string DoubleToText(double value) {
  if (!std::isfinite(value)) throw RuntimeError(ErrorNumber::kOverflow, "DoubleToText", "overflow");
  if (value == 0) return "0";
  const Scientific number = RoundedDigits(std::fabs(value));
  const bool plain = number.exponent >= kLowestPlainExponent && number.exponent <= kHighestPlainExponent;
  return (value < 0 ? "-" : "") + (plain ? PlainForm(number) : ExponentForm(number));
}

double TextToDouble(std::string_view text) {
  std::size_t i = std::min(text.find_first_not_of(' '), text.size());
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  const std::size_t begin = i;
  const std::string_view whole = text.substr(i, DigitsFrom(text, i));
  i += whole.size();
  std::string_view fraction;
  if (i < text.size() && text[i] == '.') {
    fraction = text.substr(i + 1, DigitsFrom(text, i + 1));
    i += 1 + fraction.size();
  }
  if (whole.empty() && fraction.empty()) return 0.0;
  long exponent = 0;
  if (i + 1 < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    const std::size_t sign = text[i + 1] == '-' || text[i + 1] == '+' ? 1 : 0;
    const std::size_t digits = DigitsFrom(text, i + 1 + sign);
    if (digits > 0) {
      exponent = ExponentValue(text.substr(i + 1 + sign, digits)) * (text[i + 1] == '-' ? -1 : 1);
      i += 1 + sign + digits;
    }
  }
  double magnitude = 0.0;
  const auto read = std::from_chars(text.data() + begin, text.data() + i, magnitude);
  if (read.ec == std::errc::result_out_of_range) {
    if (MagnitudeOrder(whole, fraction, exponent) > 0) {
      throw RuntimeError(ErrorNumber::kOverflow, "TextToDouble", "the number is too large for a double");
    }
    magnitude = 0.0;
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace ovn
