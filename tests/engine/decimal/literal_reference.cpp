#include "literal_reference.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "ovnliblt/runtime_error.h"

namespace ovn::literal {
namespace {

constexpr std::size_t kMaxText = 32767;

[[noreturn]] void Fail(ErrorNumber number, const char* source) {
  const char* description = number == ErrorNumber::kOverflow         ? "Overflow"
                            : number == ErrorNumber::kDivisionByZero ? "Division by zero"
                                                                     : "Type mismatch";
  throw RuntimeError(number, source, description);
}

void CheckLength(std::string_view text, const char* source) {
  if (text.size() > kMaxText) Fail(ErrorNumber::kOverflow, source);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
int DigitOf(char c) {
  return c - '0';
}
char CharOf(int digit) {
  return static_cast<char>('0' + digit);
}
std::string Zeros(std::size_t count) {
  return std::string(count, '0');
}
bool IsNegative(std::string_view text) {
  return !text.empty() && text.front() == '-';
}

// "", "-", ".", "-0.00": nothing but zeros and points after an optional minus sign.
bool IsZeroValue(std::string_view text) {
  if (IsNegative(text)) text.remove_prefix(1);
  for (char c : text) {
    if (c != '0' && c != '.') return false;
  }
  return true;
}

// A zero value never carries a minus sign: "-0.00" becomes "0.00", "-" becomes "".
std::string WithoutNegativeZero(std::string result) {
  if (IsNegative(result) && IsZeroValue(result)) result.erase(0, 1);
  return result;
}

std::string StripLeadingZeros(std::string digits) {
  std::size_t count = 0;
  while (count < digits.size() && digits[count] == '0') ++count;
  return digits.erase(0, count);
}

// Adds one to a digit string from its last digit, the carry running left; a carry out of the first
// digit writes a new "1" in front ("" gives "1", "099" gives "100").
std::string IncrementDigits(std::string digits) {
  for (std::size_t i = digits.size(); i > 0; --i) {
    if (digits[i - 1] != '9') {
      ++digits[i - 1];
      return digits;
    }
    digits[i - 1] = '0';
  }
  return "1" + digits;
}

// The 11 by 11 table of single-digit products; row and column 0 stay zero.
const std::array<std::array<int, 11>, 11>& ProductTable() {
  static const auto table = [] {
    std::array<std::array<int, 11>, 11> cells{};
    for (int i = 1; i <= 10; ++i) {
      for (int j = 1; j <= 10; ++j) cells[i][j] = i * j;
    }
    return cells;
  }();
  return table;
}

// The rules themselves. Only operands and results are held to the length limit, so the steps call these
// versions, which leave their own intermediate texts unchecked.
namespace unchecked {

std::string ASign(std::string_view number) {
  if (IsNegative(number)) return std::string(number.substr(1));
  std::string negated = "-";
  return negated.append(number);
}

std::string AbsIn(std::string_view number) {
  if (IsNegative(number)) return std::string(number.substr(1));
  return std::string(number);
}

bool PointIs(std::string_view number) {
  std::size_t points = 0;
  for (char c : number) points += c == '.' ? 1 : 0;
  return points > 0;
}

std::string PointLeft(std::string_view number) {
  std::string left;
  for (char c : number) {
    if (c == '.') break;
    left += c;
  }
  return left;
}

std::string PointRight(std::string_view number) {
  if (!number.empty() && number.back() == '.') number.remove_suffix(1);
  const std::size_t point = number.find('.');
  if (point == std::string_view::npos) return "";
  return std::string(number.substr(point + 1));
}

bool IsNumber(std::string_view text) {
  std::size_t count = 0;
  bool point_seen = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsDigit(text[i])) {
      ++count;
    } else if (i == 0 && text[i] == '-') {
      ++count;
    } else if (text[i] == '.' && !point_seen) {
      point_seen = true;
      ++count;
    }
  }
  return count == text.size();
}

std::string DelNull(std::string_view number) {
  std::string text(number);
  if (text.empty()) return text;
  std::size_t leading = 0;
  while (leading < text.size() && text[leading] == '0') ++leading;
  text.erase(0, leading);
  if (!PointRight(text).empty()) {
    std::size_t trailing = 0;
    while (trailing + 1 < text.size() && text[text.size() - 1 - trailing] == '0') ++trailing;
    text.erase(text.size() - trailing);
  }
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

int CompareIt(std::string_view fNum, std::string_view sNum);
std::string SummIn(std::string_view first, std::string_view second);
std::string MinusIn(std::string_view minuend, std::string_view subtrahend);
std::string DevideIn(const std::string& dividend, const std::string& divisor, int exact);

// ---- CompareIt ----

std::string PrepareForCompare(std::string_view number) {
  std::string text(number);
  if (!text.empty() && text.front() == '.') text.insert(0, "0");
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

// Integer parts by length (leading zeros not counted), then integer part and padded fraction digit by digit.
int CompareMagnitudes(std::string_view a, std::string_view b) {
  const std::string whole_a = StripLeadingZeros(PointLeft(a));
  const std::string whole_b = StripLeadingZeros(PointLeft(b));
  if (whole_a.size() != whole_b.size()) return whole_a.size() > whole_b.size() ? 2 : 0;
  std::string fraction_a = PointRight(a);
  std::string fraction_b = PointRight(b);
  if (fraction_a.size() < fraction_b.size()) fraction_a += Zeros(fraction_b.size() - fraction_a.size());
  if (fraction_b.size() < fraction_a.size()) fraction_b += Zeros(fraction_a.size() - fraction_b.size());
  const std::string digits_a = whole_a + fraction_a;
  const std::string digits_b = whole_b + fraction_b;
  for (std::size_t i = 0; i < digits_a.size(); ++i) {
    if (digits_a[i] != digits_b[i]) return digits_a[i] > digits_b[i] ? 2 : 0;
  }
  return 1;
}

// ---- SummIn ----

// A head of up to 6 characters takes the carry as a small whole number, a longer one digit by digit.
std::string AddCarryToHead(const std::string& head, int carry) {
  if (head.empty()) return carry == 1 ? "1" : "";
  if (head.size() <= 6) return std::to_string(std::stoi(head) + carry);
  return carry == 1 ? IncrementDigits(head) : head;
}

std::string SumSteps(std::string_view first, std::string_view second) {
  const bool first_negative = IsNegative(first);
  const bool second_negative = IsNegative(second);
  if (first_negative && !second_negative) return MinusIn(second, AbsIn(first));
  if (!first_negative && second_negative) return MinusIn(first, AbsIn(second));
  if (first_negative && second_negative) return "-" + SummIn(AbsIn(first), AbsIn(second));

  const std::string a = DelNull(first);
  const std::string b = DelNull(second);
  if (a.empty() && b.empty()) return "";
  if (a.empty()) return b;
  if (b.empty()) return a;

  std::string fraction_a = PointRight(a);
  std::string fraction_b = PointRight(b);
  if (!fraction_a.empty() || !fraction_b.empty()) {
    if (fraction_a.size() < fraction_b.size()) fraction_a += Zeros(fraction_b.size() - fraction_a.size());
    if (fraction_b.size() < fraction_a.size()) fraction_b += Zeros(fraction_a.size() - fraction_b.size());
  }
  const std::size_t places = fraction_a.size();
  const std::string digits_a = PointLeft(a) + fraction_a;
  const std::string digits_b = PointLeft(b) + fraction_b;
  const std::string& longer = digits_a.size() >= digits_b.size() ? digits_a : digits_b;
  const std::string& shorter = digits_a.size() >= digits_b.size() ? digits_b : digits_a;
  const std::size_t n = shorter.size();
  const std::string head = longer.substr(0, longer.size() - n);

  std::string sum(n, '0');
  int carry = 0;
  for (std::size_t k = 1; k <= n; ++k) {
    const int s = DigitOf(longer[longer.size() - k]) + DigitOf(shorter[n - k]) + carry;
    sum[n - k] = CharOf(s % 10);
    carry = s / 10;
  }
  std::string text = AddCarryToHead(head, carry) + sum;
  if (places > 0) text.insert(text.size() - places, ".");
  return DelNull(text);
}

// ---- MinusIn ----

// Pads the shorter fraction with zeros, writing a point first where the text has none.
void PadFraction(std::string& text, std::size_t places) {
  if (!PointIs(text)) text += ".";
  text += Zeros(places);
}

std::string DifferenceSteps(std::string_view minuend, std::string_view subtrahend) {
  std::string a(minuend);
  std::string b(subtrahend);
  const std::size_t places_a = PointRight(a).size();
  const std::size_t places_b = PointRight(b).size();
  if (places_a < places_b) PadFraction(a, places_b - places_a);
  if (places_b < places_a) PadFraction(b, places_a - places_b);

  if (IsNegative(b)) return SummIn(a, AbsIn(b));
  if (IsNegative(a)) return ASign(SummIn(b, AbsIn(a)));

  const std::size_t whole_a = PointLeft(a).size();
  const std::size_t whole_b = PointLeft(b).size();
  if (whole_a < whole_b) a.insert(0, Zeros(whole_b - whole_a));
  if (whole_b < whole_a) b.insert(0, Zeros(whole_a - whole_b));

  std::string sign;
  if (CompareIt(a, b) == 0) {
    std::swap(a, b);
    sign = "-";
  }
  const std::size_t places = PointRight(a).size();
  const std::string digits_a = PointLeft(a) + PointRight(a);
  const std::string digits_b = PointLeft(b) + PointRight(b);
  const std::size_t n = digits_a.size();
  std::string difference(n, '0');
  int borrow = 0;
  for (std::size_t k = 1; k <= n; ++k) {
    int d = DigitOf(digits_a[n - k]) - DigitOf(digits_b[n - k]) - borrow;
    borrow = d < 0 ? 1 : 0;
    if (d < 0) d += 10;
    difference[n - k] = CharOf(d);
  }
  if (places > 0) difference.insert(difference.size() - places, ".");
  return sign + DelNull(difference);
}

// ---- MuchIn ----

std::string PrepareFactor(std::string_view number) {
  std::string text(number);
  if (text.rfind("-.", 0) == 0) text.insert(1, "0");
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (text.empty()) text = "0";
  return text;
}

// The multiplicand times one digit, from its last digit, through the product table.
std::string MultiplyByDigit(const std::string& multiplicand, int digit) {
  std::string product;
  int carry = 0;
  for (std::size_t i = multiplicand.size(); i > 0; --i) {
    const int p = ProductTable()[digit][DigitOf(multiplicand[i - 1])] + carry;
    product.insert(product.begin(), CharOf(p % 10));
    carry = p / 10;
  }
  if (carry != 0) product.insert(product.begin(), CharOf(carry));
  return product;
}

std::string ProductSteps(std::string_view first, std::string_view second) {
  std::string a = PrepareFactor(first);
  std::string b = PrepareFactor(second);
  if (a == "0" || b == "0") return "0";
  if (PointLeft(DelNull(a)).size() < PointLeft(DelNull(b)).size()) std::swap(a, b);
  a = DelNull(a);
  b = DelNull(b);
  if (b == "1") return a;  // the shortcut keeps the multiplicand's own form ("-007", "-0.5")

  int negatives = 0;
  for (std::string* factor : {&a, &b}) {
    if (IsNegative(*factor)) {
      factor->erase(0, 1);
      ++negatives;
    }
  }
  const std::size_t places = PointRight(a).size() + PointRight(b).size();
  const std::string digits_a = DelNull(PointLeft(a) + PointRight(a));
  const std::string digits_b = DelNull(PointLeft(b) + PointRight(b));
  const std::string& multiplicand = digits_a.size() >= digits_b.size() ? digits_a : digits_b;
  const std::string& multiplier = digits_a.size() >= digits_b.size() ? digits_b : digits_a;

  std::array<std::string, 10> cache;  // the products by 2..9, each computed at most once
  std::string sum;
  const std::size_t n = multiplier.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int digit = DigitOf(multiplier[n - 1 - i]);
    std::string partial;
    if (digit == 0) {
      partial = "0";
    } else if (digit == 1) {
      partial = multiplicand;
    } else {
      if (cache[digit].empty()) cache[digit] = MultiplyByDigit(multiplicand, digit);
      partial = cache[digit];
    }
    sum = SummIn(sum, partial + Zeros(i));
  }

  if (sum.size() >= places) {
    sum.insert(sum.size() - places, ".");
  } else {
    sum = "0." + Zeros(places - sum.size()) + sum;
  }
  if (negatives == 1) sum.insert(0, "-");
  if (!sum.empty() && sum.back() == '.') sum.pop_back();
  sum = DelNull(sum);
  if (!sum.empty() && sum.back() == '.') sum.pop_back();
  if (!sum.empty() && sum.front() == '.') sum.insert(0, "0");
  return sum;
}

// ---- DevideIn and ModIn ----

// In this order, so that "." becomes "0": a leading "." gets a "0" in front, a trailing "." goes, then
// the spaces around.
std::string PrepareDivision(std::string_view number) {
  std::string text(number);
  if (!text.empty() && text.front() == '.') text.insert(0, "0");
  if (!text.empty() && text.back() == '.') text.pop_back();
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The pair with both points moved right until the divisor is whole.
struct ScaledPair {
  std::string divisor;   // integer part and fraction digits, leading zeros kept ("0.5" -> "05")
  std::string whole;     // the dividend's whole part after the move
  std::string fraction;  // the fraction digits the dividend keeps
  std::size_t scale;     // places both points moved
  std::size_t shift;     // how much shorter the whole part's text is than the divisor's
};

ScaledPair ScaleToWholeDivisor(const std::string& dividend, const std::string& divisor) {
  ScaledPair pair;
  pair.scale = PointRight(divisor).size();
  pair.divisor = PointLeft(divisor) + PointRight(divisor);
  std::string fraction = PointRight(dividend);
  if (fraction.size() < pair.scale) fraction += Zeros(pair.scale - fraction.size());
  pair.whole = PointLeft(dividend) + fraction.substr(0, pair.scale);
  pair.fraction = fraction.substr(pair.scale);
  pair.shift = pair.divisor.size() > pair.whole.size() ? pair.divisor.size() - pair.whole.size() : 0;
  return pair;
}

// Schoolbook long division by a whole divisor, one brought-down digit at a time.
class LongDivision {
 public:
  explicit LongDivision(const std::string& divisor) {
    multiples_[1] = divisor;
    for (int k = 2; k <= 9; ++k) multiples_[k] = SummIn(multiples_[k - 1], divisor);
  }

  void BringDown(char digit) {
    remainder_ += digit;
    if (remainder_ == "0") remainder_.clear();
    int k = 1;
    while (k < 9 && CompareIt(multiples_[k], remainder_) == 0) ++k;
    const int quotient_digit = CompareIt(multiples_[k], remainder_) == 2 ? k - 1 : k;
    if (quotient_digit > 0) remainder_ = MinusIn(remainder_, multiples_[quotient_digit]);
    quotient_ += CharOf(quotient_digit);
  }

  bool RemainderIsZero() const { return remainder_.empty(); }
  const std::string& Remainder() const { return remainder_; }
  const std::string& Quotient() const { return quotient_; }

 private:
  std::array<std::string, 10> multiples_;
  std::string remainder_;
  std::string quotient_;
};

// The quotient digits with the point before the last `places` of them; a zero whole part is one "0".
std::string PlaceQuotient(const std::string& digits, std::size_t places) {
  std::string whole = StripLeadingZeros(digits.substr(0, digits.size() - places));
  if (whole.empty()) whole = "0";
  if (places == 0) return whole;
  return whole + "." + digits.substr(digits.size() - places);
}

std::string QuotientSteps(const std::string& dividend, const std::string& divisor, int exact) {
  if (IsNegative(dividend)) return ASign(DevideIn(PrepareDivision(AbsIn(dividend)), divisor, exact));
  if (IsNegative(divisor)) return ASign(DevideIn(dividend, PrepareDivision(AbsIn(divisor)), exact));
  const ScaledPair pair = ScaleToWholeDivisor(dividend, divisor);
  LongDivision division(pair.divisor);
  // The shift moves the point through the kept fraction first; zeros make up only what it lacks.
  const std::size_t appended = pair.shift > pair.fraction.size() ? pair.shift - pair.fraction.size() : 0;
  for (char digit : pair.whole + pair.fraction + Zeros(appended)) division.BringDown(digit);
  std::size_t places = std::max(pair.fraction.size(), pair.shift);
  for (int further = 0; further < exact && !division.RemainderIsZero(); ++further) {
    division.BringDown('0');
    ++places;
  }
  return PlaceQuotient(division.Quotient(), places);
}

// Remainder and whole quotient of two non-negative operands.
std::pair<std::string, std::string> RemainderSteps(const std::string& dividend, const std::string& divisor) {
  const ScaledPair pair = ScaleToWholeDivisor(dividend, divisor);
  LongDivision division(pair.divisor);
  for (char digit : pair.whole) division.BringDown(digit);
  std::string quotient = StripLeadingZeros(division.Quotient());
  if (quotient.empty()) quotient = "0";

  std::string remainder = division.Remainder() + pair.fraction;
  const std::size_t places = pair.fraction.size() + pair.scale;
  if (remainder.size() < places) remainder.insert(0, Zeros(places - remainder.size()));
  if (places > 0) remainder.insert(remainder.size() - places, ".");
  remainder = DelNull(remainder);
  if (remainder.empty()) remainder = CompareIt(dividend, divisor) == 2 ? "0" : "";
  return {remainder, quotient};
}

// ---- CircleIn ----

std::string RoundFraction(const std::string& whole, const std::string& fraction, int exact) {
  const auto places = static_cast<std::size_t>(exact);
  if (fraction.size() <= places) return whole + "." + fraction;
  std::string kept = fraction.substr(0, places);
  std::string new_whole = whole;
  if (DigitOf(fraction[places]) >= 5) {
    kept = IncrementDigits(kept);
    if (kept.size() > places) {  // the carry left the kept digits: they are all "0" now
      kept.erase(0, 1);
      new_whole = IncrementDigits(whole);
    }
  }
  return new_whole + "." + kept;
}

std::string RoundWhole(const std::string& whole, int magnitude) {
  const auto e = static_cast<std::size_t>(magnitude);
  if (e > whole.size()) return "0";
  std::string kept = whole.substr(0, whole.size() - e);
  if (DigitOf(whole[whole.size() - e]) >= 5) kept = IncrementDigits(kept);
  if (kept.empty()) return "0";
  return kept + Zeros(e);
}

// ---- ToExtNum ----

// A signed whole number of at most 16 bits: "+20", "-03", "7".
int ParseExponent(std::string_view text) {
  int sign = 1;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    sign = text.front() == '-' ? -1 : 1;
    text.remove_prefix(1);
  }
  if (text.empty()) Fail(ErrorNumber::kTypeMismatch, "ToExtNum");
  long value = 0;
  for (char c : text) {
    if (!IsDigit(c)) Fail(ErrorNumber::kTypeMismatch, "ToExtNum");
    value = value * 10 + DigitOf(c);
    if (value > static_cast<long>(kMaxText)) Fail(ErrorNumber::kOverflow, "ToExtNum");
  }
  return sign * static_cast<int>(value);
}

std::string MovePointRight(const std::string& mantissa, std::size_t places) {
  const std::string fraction = PointRight(mantissa);
  if (fraction.size() < places) return PointLeft(mantissa) + fraction + Zeros(places - fraction.size());
  const std::string rest = fraction.substr(places);
  return PointLeft(mantissa) + fraction.substr(0, places) + (rest.empty() ? "" : "." + rest);
}

std::string MovePointLeft(const std::string& mantissa, std::size_t places) {
  const std::string magnitude = AbsIn(mantissa);
  const std::string whole = PointLeft(magnitude);
  const std::string digits = whole + PointRight(magnitude);
  const std::string sign = IsNegative(mantissa) ? "-" : "";
  if (places >= whole.size()) return sign + "0." + Zeros(places - whole.size()) + digits;
  const std::size_t point = whole.size() - places;  // a mantissa with more than one whole digit
  return sign + digits.substr(0, point) + "." + digits.substr(point);
}

int CompareIt(std::string_view fNum, std::string_view sNum) {
  std::string first = PrepareForCompare(fNum);
  std::string second = PrepareForCompare(sNum);
  first = WithoutNegativeZero(first);  // a negative zero counts as zero
  second = WithoutNegativeZero(second);
  const bool first_negative = IsNegative(first);
  const bool second_negative = IsNegative(second);
  if (!first_negative && second_negative) return 2;
  if (first_negative && !second_negative) return 0;
  const int magnitude = CompareMagnitudes(AbsIn(first), AbsIn(second));
  return first_negative ? 2 - magnitude : magnitude;
}

std::string SummIn(std::string_view first, std::string_view second) {
  return WithoutNegativeZero(SumSteps(first, second));
}

std::string MinusIn(std::string_view minuend, std::string_view subtrahend) {
  return WithoutNegativeZero(DifferenceSteps(minuend, subtrahend));
}

std::string MuchIn(std::string_view first, std::string_view second) {
  const std::string product = ProductSteps(first, second);
  return IsZeroValue(product) ? "0" : product;
}

// Operands already prepared with PrepareDivision.
std::string DevideIn(const std::string& dividend, const std::string& divisor, int exact) {
  if (divisor == "1") return WithoutNegativeZero(dividend);
  if (IsZeroValue(divisor)) Fail(ErrorNumber::kDivisionByZero, "DevideIn");
  return WithoutNegativeZero(QuotientSteps(dividend, divisor, exact));
}

std::string ModIn(std::string_view dividend, std::string_view divisor, std::string& mod_dev_int) {
  if (IsZeroValue(divisor)) Fail(ErrorNumber::kDivisionByZero, "ModIn");
  if (dividend == divisor) {
    mod_dev_int = "1";
    return "0";
  }
  auto [remainder, quotient] =
      RemainderSteps(PrepareDivision(AbsIn(dividend)), PrepareDivision(AbsIn(divisor)));
  // The remainder takes the dividend's sign; the quotient is negative when exactly one operand is.
  if (IsNegative(dividend) && !IsZeroValue(remainder)) remainder.insert(0, "-");
  if (IsNegative(dividend) != IsNegative(divisor) && quotient != "0") quotient.insert(0, "-");
  mod_dev_int = quotient;
  return remainder;
}

std::string CircleIn(std::string_view number, int& exact) {
  const std::string sign = IsNegative(number) ? "-" : "";
  const std::string magnitude = AbsIn(number);
  const std::string whole = PointLeft(magnitude);
  std::string rounded;
  if (exact == 0) {
    rounded = whole;
  } else if (exact > 0) {
    rounded = RoundFraction(whole, PointRight(magnitude), exact);
  } else {
    exact = -exact;
    rounded = RoundWhole(whole, exact);
  }
  return WithoutNegativeZero(sign + rounded);
}

std::string ToExtNum(std::string_view text) {
  if (text.empty()) return "";
  const std::size_t e = text.find_first_of("Ee");
  if (e == std::string_view::npos) return std::string(text);
  const std::string mantissa(text.substr(0, e));
  // A mantissa needs at least one digit: "E3" or "-.E3" is no number in exponent notation.
  const bool has_digit = mantissa.find_first_of("0123456789") != std::string::npos;
  if (!IsNumber(mantissa) || !has_digit) Fail(ErrorNumber::kTypeMismatch, "ToExtNum");
  const int exponent = ParseExponent(text.substr(e + 1));
  if (exponent > 0) return MovePointRight(mantissa, static_cast<std::size_t>(exponent));
  if (exponent < 0) return MovePointLeft(mantissa, static_cast<std::size_t>(-exponent));
  return mantissa;
}

}  // namespace unchecked

void CheckOperand(std::string_view text, const char* source) {
  CheckLength(text, source);
  if (!unchecked::IsNumber(text)) Fail(ErrorNumber::kTypeMismatch, source);
}

std::string CheckResult(std::string result, const char* source) {
  CheckLength(result, source);
  return result;
}

}  // namespace

std::string DelNull(std::string_view number) {
  CheckLength(number, "DelNull");
  return unchecked::DelNull(number);
}

std::string ASign(std::string_view number) {
  CheckLength(number, "ASign");
  return unchecked::ASign(number);
}

std::string AbsIn(std::string_view number) {
  CheckLength(number, "AbsIn");
  return unchecked::AbsIn(number);
}

bool PointIs(std::string_view number) {
  CheckLength(number, "PointIs");
  return unchecked::PointIs(number);
}

std::string PointLeft(std::string_view number) {
  CheckLength(number, "PointLeft");
  return unchecked::PointLeft(number);
}

std::string PointRight(std::string_view number) {
  CheckLength(number, "PointRight");
  return unchecked::PointRight(number);
}

bool IsNumber(std::string_view text) {
  CheckLength(text, "IsNumber");
  return unchecked::IsNumber(text);
}

std::string ToPoint(std::string& text) {
  CheckLength(text, "ToPoint");  // before the caller's variable is touched
  const std::size_t first = text.find_first_not_of(' ');
  std::string result =
      first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') - first + 1);
  for (char& c : result) {
    if (c == ',') c = '.';
  }
  text = result;
  return result;
}

int CompareIt(std::string_view fNum, std::string_view sNum) {
  CheckOperand(fNum, "CompareIt");
  CheckOperand(sNum, "CompareIt");
  return unchecked::CompareIt(fNum, sNum);
}

std::string SummIn(std::string_view first, std::string_view second) {
  CheckOperand(first, "SummIn");
  CheckOperand(second, "SummIn");
  return CheckResult(unchecked::SummIn(first, second), "SummIn");
}

std::string MinusIn(std::string_view minuend, std::string_view subtrahend) {
  CheckOperand(minuend, "MinusIn");
  CheckOperand(subtrahend, "MinusIn");
  return CheckResult(unchecked::MinusIn(minuend, subtrahend), "MinusIn");
}

std::string MuchIn(std::string_view first, std::string_view second) {
  CheckOperand(first, "MuchIn");
  CheckOperand(second, "MuchIn");
  return CheckResult(unchecked::MuchIn(first, second), "MuchIn");
}

std::string DevideIn(std::string_view dividend, std::string_view divisor, int Exact) {
  CheckOperand(dividend, "DevideIn");
  CheckOperand(divisor, "DevideIn");
  const std::string quotient =
      unchecked::DevideIn(unchecked::PrepareDivision(dividend), unchecked::PrepareDivision(divisor), Exact);
  return CheckResult(quotient, "DevideIn");
}

std::string ModIn(std::string_view dividend, std::string_view divisor, std::string& mod_dev_int) {
  CheckOperand(dividend, "ModIn");
  CheckOperand(divisor, "ModIn");
  return CheckResult(unchecked::ModIn(dividend, divisor, mod_dev_int), "ModIn");
}

std::string CircleIn(std::string_view number, int& Exact) {
  CheckOperand(number, "CircleIn");
  return CheckResult(unchecked::CircleIn(number, Exact), "CircleIn");
}

std::string ToExtNum(std::string_view text) {
  CheckLength(text, "ToExtNum");
  return CheckResult(unchecked::ToExtNum(text), "ToExtNum");
}

}  // namespace ovn::literal
