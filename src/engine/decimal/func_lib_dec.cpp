#include "decimal/func_lib_dec.h"

#include <algorithm>
#include <utility>

#include "decimal/decimal_text.h"
#include "decimal/engine_support.h"

namespace ovn {

using decimal::CheckLength;
using decimal::kProgressDone;
using decimal::Raise;
using decimal::AlignScales;
using decimal::DecimalNatural;
using decimal::FormatDigits;
using decimal::FormatFixed;
using decimal::NumberParts;
using decimal::ParseDigits;
using decimal::ParseScaled;
using decimal::ScaledNumber;
using decimal::SplitNumber;
using decimal::TimesPowerOfTen;

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Joins texts in one allocation (GCC 12 warns falsely on chains of operator+ with std::string).
std::string Concat(std::initializer_list<std::string_view> pieces) {
  std::size_t length = 0;
  for (std::string_view piece : pieces) length += piece.size();
  std::string text;
  text.reserve(length);
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

std::string_view WithoutTrailingZeros(std::string_view digits) {
  const std::size_t last = digits.find_last_not_of('0');
  return last == std::string_view::npos ? std::string_view{} : digits.substr(0, last + 1);
}

bool IsZeroText(std::string_view number) {
  return number.find_first_not_of("-0.") == std::string_view::npos;
}

// A value of zero never carries a minus sign: "-", "-0", "-0.00" become "", "0", "0.00".
std::string DropMinusOfZero(std::string text) {
  if (!text.empty() && text.front() == '-' && IsZeroText(text)) text.erase(0, 1);
  return text;
}

std::string JoinNumber(bool negative, std::string_view whole, std::string_view fraction) {
  std::string text;
  text.reserve(1 + whole.size() + 1 + fraction.size());
  if (negative) text += '-';
  text.append(whole);
  if (!fraction.empty()) text.append(".").append(fraction);
  return text;
}

// The normalised form: no leading zeros, no trailing fraction zeros, ".5" below one, zero as "".
std::string NormalForm(const ScaledNumber& number) {
  if (number.is_zero()) return {};
  std::string whole, fraction;
  FormatFixed(number.magnitude, number.scale, whole, fraction);
  return JoinNumber(number.negative, whole, WithoutTrailingZeros(fraction));
}

// The product's form: "0" for zero, "0.25" below one, but "-.25" for a negative value whose first
// fraction digit is not zero and "-0.05" for one whose first fraction digit is zero.
std::string ProductForm(const ScaledNumber& product) {
  if (product.is_zero()) return "0";
  std::string whole, fraction;
  FormatFixed(product.magnitude, product.scale, whole, fraction);
  const std::string_view kept = WithoutTrailingZeros(fraction);
  if (whole.empty() && (!product.negative || kept.front() == '0')) whole = "0";
  return JoinNumber(product.negative, whole, kept);
}

// The quotient's form: exactly `places` fraction digits, "0" before the point when the whole part is zero.
std::string FixedForm(const DecimalNatural& value, std::size_t places) {
  std::string whole, fraction;
  FormatFixed(value, places, whole, fraction);
  if (whole.empty()) whole = "0";
  return JoinNumber(false, whole, fraction);
}

ScaledNumber AddSigned(ScaledNumber a, ScaledNumber b) {
  AlignScales(a, b);
  ScaledNumber sum;
  sum.scale = a.scale;
  if (a.negative == b.negative) {
    sum.magnitude = a.magnitude + b.magnitude;
    sum.negative = a.negative;
  } else if (a.magnitude >= b.magnitude) {
    sum.magnitude = a.magnitude - b.magnitude;
    sum.negative = a.negative;
  } else {
    sum.magnitude = b.magnitude - a.magnitude;
    sum.negative = b.negative;
  }
  if (sum.is_zero()) sum.negative = false;
  return sum;
}

// Compares |a| and |b| as values: leading zeros and trailing fraction zeros do not count.
int CompareMagnitudes(const NumberParts& a, const NumberParts& b) {
  const std::string_view a_whole = WithoutLeadingZeros(a.whole);
  const std::string_view b_whole = WithoutLeadingZeros(b.whole);
  if (a_whole.size() != b_whole.size()) return a_whole.size() < b_whole.size() ? -1 : 1;
  if (const int order = a_whole.compare(b_whole); order != 0) return order < 0 ? -1 : 1;
  const int order = WithoutTrailingZeros(a.fraction).compare(WithoutTrailingZeros(b.fraction));
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool IsZeroParts(const NumberParts& parts) {
  return WithoutLeadingZeros(parts.whole).empty() && WithoutTrailingZeros(parts.fraction).empty();
}

// The shared first step of division and remainder: ".5" becomes "0.5" and a trailing point goes.
std::string PrepareDivisionOperand(std::string_view number) {
  std::string text = number.starts_with('.') ? Concat({"0", number}) : std::string(number);
  if (text.ends_with('.')) text.pop_back();
  return text;
}

// The first step of multiplication: "-.5" becomes "-0.5", a trailing point goes, "" becomes "0".
std::string PrepareFactor(std::string_view number) {
  std::string text(number);
  if (text.starts_with("-.")) text.insert(1, "0");
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text.empty()) text = "0";
  return text;
}

// The digits of a non-negative number text scaled by 10^shift (the point moved right), as an integer and
// the digits that stay after the point.
struct ShiftedDividend {
  std::string whole_digits;
  std::string_view fraction_rest;
};
ShiftedDividend ShiftPointRight(const NumberParts& parts, std::size_t shift) {
  ShiftedDividend shifted;
  shifted.whole_digits.reserve(parts.whole.size() + shift);
  shifted.whole_digits.append(parts.whole);
  const std::size_t moved = std::min(shift, parts.fraction.size());
  shifted.whole_digits.append(parts.fraction.substr(0, moved));
  shifted.whole_digits.append(shift - moved, '0');
  shifted.fraction_rest = parts.fraction.substr(moved);
  return shifted;
}

// Adds one unit in the last place of a digit string, keeping its length; returns the carry out.
bool IncrementDigits(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

std::string IncrementedWhole(std::string whole) {
  return IncrementDigits(whole) ? Concat({"1", whole}) : whole;
}

std::string Negated(std::string_view number) {
  return number.starts_with('-') ? std::string(number.substr(1)) : Concat({"-", number});
}

// Long division as on paper. When the dividend's whole part is written w digits shorter than the divisor,
// its point moves w places right, through its own fraction digits first and into appended zeros only
// where it has fewer than w; so the quotient has max(kept fraction digits, w) places before at most Exact
// further ones, stopping as soon as the division comes out even. Cut off, never rounded.
std::string DividePositive(const NumberParts& a, const NumberParts& b, std::int16_t Exact) {
  const DecimalNatural divisor = ParseDigits(std::string(b.whole).append(b.fraction));
  if (divisor.is_zero()) Raise(ErrorNumber::kDivisionByZero, "DevideIn", "division by zero");

  const std::size_t fb = b.fraction.size();
  const std::size_t kept_places = a.fraction.size() > fb ? a.fraction.size() - fb : 0;
  const std::size_t w = b.whole.size() > a.whole.size() ? b.whole.size() - a.whole.size() : 0;
  const ShiftedDividend shifted = ShiftPointRight(a, fb);
  std::string all_digits = shifted.whole_digits;
  all_digits.append(shifted.fraction_rest).append(w > kept_places ? w - kept_places : 0, '0');
  const std::size_t first_places = std::max(kept_places, w);

  const std::size_t further = Exact > 0 ? static_cast<std::size_t>(Exact) : 0;
  const std::size_t result_budget = FuncLibDec::kMaxTextLength + 1;
  if (first_places + further > result_budget) {
    Raise(ErrorNumber::kOverflow, "DevideIn", "quotient longer than 32767 characters");
  }
  auto [quotient, remainder] = kernel::DivMod(TimesPowerOfTen(ParseDigits(all_digits), further), divisor);
  std::size_t places = first_places + further;
  if (remainder.is_zero() && further > 0) {
    // The division came out even before all further places were needed: drop the places it never wrote.
    std::string whole, fraction;
    FormatFixed(quotient, further, whole, fraction);
    const std::size_t unused = fraction.size() - WithoutTrailingZeros(fraction).size();
    places -= unused;
    quotient = ParseDigits(whole + fraction.substr(0, further - unused));
  }
  return FixedForm(quotient, places);
}

std::string DivideSigned(std::string_view dividend, std::string_view divisor, std::int16_t Exact) {
  const std::string a = PrepareDivisionOperand(dividend);
  const std::string b = PrepareDivisionOperand(divisor);
  // A divisor of one returns the dividend as it came.
  if (b == "1") return a;
  if (a.starts_with('-')) return Negated(DivideSigned(a.substr(1), b, Exact));
  if (b.starts_with('-')) return Negated(DivideSigned(a, b.substr(1), Exact));
  return DividePositive(SplitNumber(a), SplitNumber(b), Exact);
}

// Rounds half away from zero to `places` fraction digits; the digits beyond are dropped, a number with
// fewer digits keeps them and gets its point ("5" to two places is "5.").
std::string RoundToPlaces(std::string_view whole, std::string_view fraction, std::size_t places) {
  if (places == 0) return std::string(whole);
  if (fraction.size() <= places) return Concat({whole, ".", fraction});
  std::string kept(fraction.substr(0, places));
  std::string new_whole(whole);
  if (fraction[places] >= '5' && IncrementDigits(kept)) new_whole = IncrementedWhole(std::move(new_whole));
  return Concat({new_whole, ".", kept});
}

// Rounds half away from zero to a multiple of 10^tens; the fraction is dropped.
std::string RoundToTens(std::string_view whole, std::size_t tens) {
  if (tens > whole.size()) return "0";
  if (tens == whole.size()) return whole.front() >= '5' ? Concat({"1", std::string(tens, '0')}) : "0";
  std::string kept(whole.substr(0, whole.size() - tens));
  if (whole[kept.size()] >= '5') kept = IncrementedWhole(std::move(kept));
  return kept.append(tens, '0');
}

bool IsExponent(std::string_view text) {
  if (text.starts_with('+') || text.starts_with('-')) text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// The exponent's value, held at a magnitude that no text of the allowed length can use up.
long ParseExponent(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (text.starts_with('+') || negative) text.remove_prefix(1);
  long value = 0;
  for (char c : text) value = std::min(value * 10 + (c - '0'), 1'000'000L);
  return negative ? -value : value;
}

}  // namespace

FuncLibDec::FuncLibDec() = default;

void FuncLibDec::Yield() const {
  if (yield_hook_) yield_hook_();
}

void FuncLibDec::Progress(bool flag, double thousandths) {
  if (flag) StepCalculate(static_cast<float>(thousandths));
}

void FuncLibDec::RequireNumber(std::string_view operand, const char* source) const {
  CheckLength(operand, source);
  if (!IsNumber(operand)) Raise(ErrorNumber::kTypeMismatch, source, "the operand is not a number");
}

// ---- Text functions ----

std::string FuncLibDec::DelNull(std::string_view number) const {
  CheckLength(number, "DelNull");
  std::string text(number.substr(std::min(number.find_first_not_of('0'), number.size())));
  if (!PointRight(text).empty()) {
    while (!text.empty() && text.back() == '0') text.pop_back();
  }
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string FuncLibDec::ASign(std::string_view number) const {
  CheckLength(number, "ASign");
  return number.starts_with('-') ? std::string(number.substr(1)) : Concat({"-", number});
}

std::string FuncLibDec::AbsIn(std::string_view number) const {
  CheckLength(number, "AbsIn");
  if (!number.empty() && number.front() == '-') number.remove_prefix(1);
  return std::string(number);
}

bool FuncLibDec::PointIs(std::string_view number) const {
  CheckLength(number, "PointIs");
  return number.find('.') != std::string_view::npos;
}

std::string FuncLibDec::PointLeft(std::string_view number) const {
  CheckLength(number, "PointLeft");
  return std::string(number.substr(0, number.find('.')));
}

std::string FuncLibDec::PointRight(std::string_view number) const {
  CheckLength(number, "PointRight");
  if (!number.empty() && number.back() == '.') number.remove_suffix(1);
  const std::size_t point = number.find('.');
  return point == std::string_view::npos ? std::string{} : std::string(number.substr(point + 1));
}

bool FuncLibDec::IsNumber(std::string_view text) const {
  CheckLength(text, "IsNumber");
  const auto digits = static_cast<std::size_t>(std::count_if(text.begin(), text.end(), IsDigit));
  const std::size_t sign = text.starts_with('-') ? 1 : 0;
  const std::size_t point = text.find('.') != std::string_view::npos ? 1 : 0;
  return digits + sign + point == text.size();
}

bool FuncLibDec::IsWord(std::string_view text) const {
  CheckLength(text, "IsWord");
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

std::string FuncLibDec::ToPoint(std::string& text) const {
  CheckLength(text, "ToPoint");
  const std::size_t first = text.find_first_not_of(' ');
  std::string trimmed =
      first == std::string::npos ? std::string{} : text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::replace(trimmed.begin(), trimmed.end(), ',', '.');
  text = trimmed;
  return trimmed;
}

// ---- Comparison, sum, difference ----

std::uint8_t FuncLibDec::CompareIt(std::string_view fNum, std::string_view sNum, bool /*ResumeCalc*/) {
  RequireNumber(fNum, "CompareIt");
  RequireNumber(sNum, "CompareIt");
  Yield();
  const NumberParts a = SplitNumber(fNum);
  const NumberParts b = SplitNumber(sNum);
  const bool a_negative = a.negative && !IsZeroParts(a);
  const bool b_negative = b.negative && !IsZeroParts(b);
  int order;
  if (a_negative != b_negative) {
    order = a_negative ? -1 : 1;
  } else {
    order = CompareMagnitudes(a, b);
    if (a_negative) order = -order;
  }
  return static_cast<std::uint8_t>(order + 1);
}

std::string FuncLibDec::SummIn(std::string_view first, std::string_view second, bool /*ResumeCalc*/,
                               bool /*NoDellNull*/) {
  RequireNumber(first, "SummIn");
  RequireNumber(second, "SummIn");
  Yield();
  std::string sum = NormalForm(AddSigned(ParseScaled(first), ParseScaled(second)));
  CheckLength(sum, "SummIn");
  Progress(iSumm, kProgressDone);
  return sum;
}

std::string FuncLibDec::MinusIn(std::string_view minuend, std::string_view subtrahend, bool /*ResumeCalc*/) {
  RequireNumber(minuend, "MinusIn");
  RequireNumber(subtrahend, "MinusIn");
  Yield();
  ScaledNumber negated = ParseScaled(subtrahend);
  negated.negative = !negated.negative;
  std::string difference = NormalForm(AddSigned(ParseScaled(minuend), std::move(negated)));
  CheckLength(difference, "MinusIn");
  Progress(iMinus, kProgressDone);
  return difference;
}

// ---- Product ----

std::string FuncLibDec::MuchIn(std::string_view first, std::string_view second, bool /*ResumeCalc*/) {
  RequireNumber(first, "MuchIn");
  RequireNumber(second, "MuchIn");
  Yield();
  std::string a = PrepareFactor(first);
  std::string b = PrepareFactor(second);
  if (a == "0" || b == "0") return "0";
  // A factor of one returns the other factor as written (normalised), the one whose whole part is
  // written longer.
  if (PointLeft(DelNull(a)).size() < PointLeft(DelNull(b)).size()) std::swap(a, b);
  a = DelNull(a);
  if (DelNull(b) == "1") return IsZeroText(a) ? "0" : a;

  const ScaledNumber x = ParseScaled(a);
  const ScaledNumber y = ParseScaled(b);
  const ScaledNumber product{x.negative != y.negative, x.magnitude * y.magnitude, x.scale + y.scale};
  std::string text = ProductForm(product);
  CheckLength(text, "MuchIn");
  Progress(iMuch, kProgressDone);
  return text;
}

// ---- Quotient and remainder ----

std::string FuncLibDec::DevideIn(std::string_view dividend, std::string_view divisor, std::int16_t Exact,
                                 bool /*ResumeCalc*/) {
  RequireNumber(dividend, "DevideIn");
  RequireNumber(divisor, "DevideIn");
  Yield();
  std::string quotient = DropMinusOfZero(DivideSigned(dividend, divisor, Exact));
  CheckLength(quotient, "DevideIn");
  Progress(iDev, kProgressDone);
  return quotient;
}

std::string FuncLibDec::ModIn(std::string_view dividend, std::string_view divisor, bool /*ResumeCalc*/) {
  RequireNumber(dividend, "ModIn");
  RequireNumber(divisor, "ModIn");
  Yield();
  const std::string a_text = PrepareDivisionOperand(dividend);
  const std::string b_text = PrepareDivisionOperand(divisor);
  const NumberParts a = SplitNumber(a_text);
  const NumberParts b = SplitNumber(b_text);
  if (IsZeroParts(b)) Raise(ErrorNumber::kDivisionByZero, "ModIn", "division by zero");
  if (dividend == divisor) {
    ModDevInt("1");
    return "0";
  }
  // Both scaled by the divisor's places; the dividend may keep fraction digits, which the remainder keeps.
  const std::size_t fb = b.fraction.size();
  const ShiftedDividend shifted = ShiftPointRight(a, fb);
  const auto [quotient, remainder] =
      kernel::DivMod(ParseDigits(shifted.whole_digits), ParseDigits(std::string(b.whole).append(b.fraction)));
  // The quotient is truncated toward zero and the remainder takes the dividend's sign.
  const std::string quotient_digits = FormatDigits(quotient);
  ModDevInt(quotient_digits.empty() ? "0" : (a.negative != b.negative ? "-" : "") + quotient_digits);

  const std::size_t rest_places = shifted.fraction_rest.size();
  const ScaledNumber rest{a.negative,
                          TimesPowerOfTen(remainder, rest_places) + ParseDigits(shifted.fraction_rest),
                          fb + rest_places};
  Progress(iMod, kProgressDone);
  // A zero remainder is "0" when the dividend is the larger, "" otherwise.
  if (rest.is_zero()) return CompareMagnitudes(a, b) > 0 ? "0" : "";
  return NormalForm(rest);
}

// ---- Rounding and exponent notation ----

std::string FuncLibDec::CircleIn(std::string_view number, std::int16_t& Exact, bool /*ResumeCalc*/) {
  RequireNumber(number, "CircleIn");
  Yield();
  if (number.ends_with('.')) number.remove_suffix(1);  // "5." rounds as "5"
  const NumberParts parts = SplitNumber(number);
  std::string rounded;
  if (Exact >= 0) {
    rounded = RoundToPlaces(parts.whole, parts.fraction, static_cast<std::size_t>(Exact));
  } else {
    const std::size_t tens = static_cast<std::size_t>(-static_cast<int>(Exact));
    // The caller's variable receives the magnitude (the one magnitude past 16 bits is held at the limit).
    Exact = static_cast<std::int16_t>(std::min<std::size_t>(tens, kMaxTextLength));
    rounded = RoundToTens(parts.whole, tens);
  }
  std::string text = DropMinusOfZero(Concat({parts.negative ? "-" : "", rounded}));
  CheckLength(text, "CircleIn");
  return text;
}

std::string FuncLibDec::ToExtNum(std::string_view text) const {
  CheckLength(text, "ToExtNum");
  const std::size_t e = text.find_first_of("Ee");
  if (e == std::string_view::npos) return std::string(text);
  const std::string_view mantissa = text.substr(0, e);
  const std::string_view exponent_text = text.substr(e + 1);
  if (!IsNumber(mantissa) || mantissa.find_first_of("0123456789") == std::string_view::npos ||
      !IsExponent(exponent_text)) {
    Raise(ErrorNumber::kTypeMismatch, "ToExtNum", "not a number in exponent notation");
  }
  const long exponent = ParseExponent(exponent_text);
  if (exponent == 0) return std::string(mantissa);
  const NumberParts parts = SplitNumber(mantissa);
  const std::string digits = std::string(parts.whole).append(parts.fraction);
  const long point = static_cast<long>(parts.whole.size()) + exponent;
  if (std::labs(point) > static_cast<long>(kMaxTextLength)) {
    Raise(ErrorNumber::kOverflow, "ToExtNum", "text longer than 32767 characters");
  }
  std::string plain = parts.negative ? "-" : "";
  if (point >= static_cast<long>(digits.size())) {
    plain.append(digits).append(static_cast<std::size_t>(point) - digits.size(), '0');
  } else if (point <= 0) {
    plain.append("0.").append(static_cast<std::size_t>(-point), '0').append(digits);
  } else {
    plain.append(digits, 0, static_cast<std::size_t>(point)).append(".").append(digits, static_cast<std::size_t>(point));
  }
  CheckLength(plain, "ToExtNum");
  return plain;
}

}  // namespace ovn
