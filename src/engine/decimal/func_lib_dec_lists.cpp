// Functions of a list of numbers: the index of the smallest and of the largest item, the sum, the
// arithmetic and geometric means, the greatest common divisor and the least common multiple.
//
// Each result is the one the operation's step-by-step definition gives, form included, without its
// slowness: the sum and the product run on exact scaled naturals and only their last step is left to
// SummIn or MuchIn, which write the form; the divisor and the multiple, which the definitions find by
// trial division, come from Lehmer's algorithm.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "decimal/decimal_text.h"
#include "decimal/double_text.h"
#include "decimal/engine_support.h"
#include "decimal/func_lib_dec.h"
#include "kernel/gcd.h"
#include "kernel/radix.h"

namespace ovn {

using decimal::kDigitsPerLimb;
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
using kernel::BinaryNatural;

namespace {

// The loops over the items yield every tenth item, every twentieth in machine doubles.
constexpr int kItemsPerYield = 10;
constexpr int kDoubleItemsPerYield = 20;

// Sets an operation flag for the length of one call: a list operation publishes the progress of the
// inner operation it runs under that operation's flag. The owner's value comes back afterwards.
class RaisedFlag {
 public:
  explicit RaisedFlag(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  RaisedFlag(const RaisedFlag&) = delete;
  RaisedFlag& operator=(const RaisedFlag&) = delete;
  ~RaisedFlag() { flag_ = before_; }

 private:
  bool& flag_;
  bool before_;
};

const std::string& ItemAt(const StringList& list, int index) {
  return list.Item(static_cast<std::int16_t>(index));
}

double Share(std::size_t done, std::size_t total) {
  return kProgressDone * static_cast<double>(done) / static_cast<double>(total);
}

// ---- Scaled numbers and the lengths of their texts ----

std::size_t DigitCount(const DecimalNatural& value) {
  if (value.is_zero()) return 0;
  std::size_t digits = kDigitsPerLimb * (value.size() - 1);
  for (kernel::Limb top = value.limbs().back(); top != 0; top /= 10) ++digits;
  return digits;
}

// The zeros at the end of the digits of a non-zero value, at most `limit` of them.
std::size_t TrailingZeros(const DecimalNatural& value, std::size_t limit) {
  std::size_t zeros = 0;
  for (kernel::Limb limb : value.limbs()) {
    if (limb != 0) {
      for (; limb % 10 == 0; limb /= 10) ++zeros;
      break;
    }
    zeros += kDigitsPerLimb;
    if (zeros >= limit) break;
  }
  return std::min(zeros, limit);
}

// Drops the zeros at the end of the fraction: the magnitude then has no more digits than the text.
void DropFractionZeros(ScaledNumber& number) {
  if (number.is_zero()) {
    number = ScaledNumber{};
    return;
  }
  const std::size_t zeros = TrailingZeros(number.magnitude, number.scale);
  if (zeros == 0) return;
  constexpr kernel::Limb kPowersOfTen[] = {1,       10,        100,        1'000,      10'000,
                                           100'000, 1'000'000, 10'000'000, 100'000'000};
  const DecimalNatural whole_limbs_dropped =
      kernel::ShiftLimbsRight(number.magnitude, zeros / kDigitsPerLimb);
  number.magnitude =
      kernel::DivMod(whole_limbs_dropped, DecimalNatural(kPowersOfTen[zeros % kDigitsPerLimb])).quotient;
  number.scale -= zeros;
}

// A text of the value that SummIn and MuchIn read back exactly: no leading zeros, no final fraction
// zeros ("-.5"); zero is "0".
std::string PlainText(const ScaledNumber& number) {
  if (number.is_zero()) return "0";
  std::string whole, fraction;
  FormatFixed(number.magnitude, number.scale, whole, fraction);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  std::string text = number.negative ? "-" : "";
  text += whole;
  if (!fraction.empty()) text.append(".").append(fraction);
  return text;
}

// Whether SummIn's text of the sum (whole digits, and the fraction without its final zeros) fits the
// length limit. Those zeros are counted only when the text could not fit with them.
bool SumTextFits(const ScaledNumber& sum) {
  if (sum.is_zero()) return true;
  const std::size_t digits = DigitCount(sum.magnitude);
  const std::size_t sign_and_whole = (sum.negative ? 1 : 0) + (digits > sum.scale ? digits - sum.scale : 0);
  if (sign_and_whole + 1 + sum.scale <= FuncLibDec::kMaxTextLength) return true;
  const std::size_t fraction = sum.scale - TrailingZeros(sum.magnitude, sum.scale);
  return sign_and_whole + (fraction > 0 ? 1 + fraction : 0) <= FuncLibDec::kMaxTextLength;
}

// The length of MuchIn's text of a non-zero product without final fraction zeros: the sign, the whole
// digits, or "0" where the form writes one ("0.25", "-0.05", but "-.25"), the point and the fraction.
std::size_t ProductTextLength(const ScaledNumber& product) {
  const std::size_t digits = DigitCount(product.magnitude);
  const std::size_t whole = digits > product.scale ? digits - product.scale : 0;
  const bool zero_before_point = whole == 0 && (!product.negative || digits < product.scale);
  return (product.negative ? 1 : 0) + whole + (zero_before_point ? 1 : 0) +
         (product.scale > 0 ? 1 + product.scale : 0);
}

void Accumulate(ScaledNumber& sum, ScaledNumber term) {
  AlignScales(sum, term);
  if (sum.negative == term.negative) {
    sum.magnitude = sum.magnitude + term.magnitude;
  } else if (sum.magnitude >= term.magnitude) {
    sum.magnitude = sum.magnitude - term.magnitude;
  } else {
    sum.magnitude = term.magnitude - sum.magnitude;
    sum.negative = term.negative;
  }
  if (sum.is_zero()) sum.negative = false;
}

// A double as the machine-double paths write it: the platform's text with the exponent written out.
std::string ExpandedDouble(const FuncLibDec& engine, double value) {
  std::string text = DoubleToText(value);
  return engine.ToExtNum(engine.ToPoint(text));
}

// ---- Divisors ----

// The checks of a divisor operation's items. First every item must be a number (6 past the length
// limit, 13 otherwise), as the trial search compared them all first; then 5 for an empty list and for an
// item that is not a positive whole number ("12.0" is one). Calls `yield` every few items.
void RequirePositiveWholeItems(const FuncLibDec& engine, const StringList& list, const char* source,
                               const std::function<void()>& yield) {
  const int count = list.Count();
  for (int i = 1; i <= count; ++i) {
    if (!engine.IsNumber(ItemAt(list, i)))
      Raise(ErrorNumber::kTypeMismatch, source, "an item is not a number");
    if (i % kItemsPerYield == 0) yield();
  }
  if (count == 0) Raise(ErrorNumber::kInvalidArgument, source, "the list is empty");
  for (int i = 1; i <= count; ++i) {
    const NumberParts parts = SplitNumber(ItemAt(list, i));
    if (parts.negative || parts.whole.find_first_not_of('0') == std::string_view::npos ||
        parts.fraction.find_first_not_of('0') != std::string_view::npos) {
      Raise(ErrorNumber::kInvalidArgument, source, "an item is not a positive whole number");
    }
  }
}

// The whole digits of a checked item without leading zeros.
std::string_view WholeDigits(std::string_view item) {
  const std::string_view whole = SplitNumber(item).whole;
  return whole.substr(whole.find_first_not_of('0'));
}

// A checked item's value in radix 2^32, where Lehmer's algorithm runs fastest.
BinaryNatural WholeValue(std::string_view item) {
  return kernel::ToBinary(ParseDigits(WholeDigits(item)));
}

// True when the value has more decimal digits than a text may hold for certain: 2^(bits - 1) <= value.
// Near the limit the caller counts the digits themselves.
bool CertainlyPastTheLimit(const BinaryNatural& value) {
  if (value.is_zero()) return false;
  const std::size_t bits =
      32 * (value.size() - 1) + static_cast<std::size_t>(std::bit_width(value.limbs().back()));
  return static_cast<double>(bits - 1) * std::log10(2.0) > FuncLibDec::kMaxTextLength + 1;
}

// The digits of a whole number, as a search that counts candidates up with SummIn writes them.
std::string WholeText(const BinaryNatural& value, const char* source) {
  std::string text = FormatDigits(kernel::ToDecimal(value));
  if (text.size() > FuncLibDec::kMaxTextLength) {
    Raise(ErrorNumber::kOverflow, source, "result longer than 32767 characters");
  }
  return text;
}

std::int16_t ExtremeIndex(FuncLibDec& engine, const StringList& list, std::uint8_t beats,
                          const char* source) {
  if (list.Count() == 0) Raise(ErrorNumber::kInvalidArgument, source, "the list is empty");
  int index = 1;
  for (int i = 2; i <= list.Count(); ++i) {
    if (engine.CompareIt(ItemAt(list, i), ItemAt(list, index)) == beats) index = i;
  }
  return static_cast<std::int16_t>(index);
}

}  // namespace

// ---- Smallest and largest item: the first of equal ones ----

std::int16_t FuncLibDec::MinNumIn(const StringList& List, bool /*ResumeCalc*/) {
  return ExtremeIndex(*this, List, 0, "MinNumIn");
}

std::int16_t FuncLibDec::MaxNumIn(const StringList& List, bool /*ResumeCalc*/) {
  return ExtremeIndex(*this, List, 2, "MaxNumIn");
}

// ---- Sum and arithmetic mean ----

std::string FuncLibDec::SummAll(const StringList& List, bool /*ResumeCalc*/) {
  const int count = List.Count();
  if (iTypeNum == 0) {
    // Every partial sum is a double written as text and read back, as the machine-double mode writes.
    std::string sum = "0";
    for (int i = 1; i <= count; ++i) {
      sum = ExpandedDouble(*this, TextToDouble(sum) + TextToDouble(ItemAt(List, i)));
      if (i % kDoubleItemsPerYield == 0) Yield();
    }
    return sum;
  }
  if (iTypeNum != 1) return "0";

  const RaisedFlag raised(iSumm);
  // The partial sums "0" + item 1 + ... exactly, each checked against the length limit as SummIn checks
  // its result; SummIn itself adds the last item and writes the form.
  ScaledNumber sum;
  for (int i = 1; i < count; ++i) {
    const std::string& item = ItemAt(List, i);
    RequireNumber(item, "SummAll");
    Accumulate(sum, ParseScaled(item));
    if (!SumTextFits(sum)) Raise(ErrorNumber::kOverflow, "SummAll", "sum longer than 32767 characters");
    Progress(iSumm, Share(static_cast<std::size_t>(i), static_cast<std::size_t>(count)));
    if (i % kItemsPerYield == 0) Yield();
  }
  if (count == 0) return "0";
  return SummIn(PlainText(sum), ItemAt(List, count));
}

std::string FuncLibDec::MidIn(const StringList& List) {
  if (iTypeNum != 0 && iTypeNum != 1) return "";
  if (List.Count() == 0)
    Raise(ErrorNumber::kInvalidArgument, "MidIn", "the mean of no numbers does not exist");
  const std::string sum = SummAll(List);
  if (iTypeNum == 1) {
    const RaisedFlag raised(iDev);
    return DevideIn(sum, std::to_string(List.Count()), DevExact());
  }
  // The mean was written, read back and written again; 15 digits survive a double's round trip, so one
  // writing gives the same text.
  return ExpandedDouble(*this, TextToDouble(sum) / List.Count());
}

// ---- Geometric mean ----

std::string FuncLibDec::GeoMIDIn(const StringList& List, bool /*ResumeCalc*/) {
  const int count = List.Count();
  // The product is exact; the root does not depend on how its radicand is written.
  ScaledNumber product{false, DecimalNatural(1), 0};
  for (int i = 1; i <= count; ++i) {
    const std::string& item = ItemAt(List, i);
    RequireNumber(item, "GeoMIDIn");
    const ScaledNumber factor = ParseScaled(item);
    product = ScaledNumber{product.negative != factor.negative, product.magnitude * factor.magnitude,
                           product.scale + factor.scale};
    DropFractionZeros(product);
    if (!product.is_zero() && ProductTextLength(product) > kMaxTextLength) {
      Raise(ErrorNumber::kOverflow, "GeoMIDIn", "product longer than 32767 characters");
    }
    Yield();
  }
  const RaisedFlag raised(iRadical);
  return RadicalIn(PlainText(product), std::to_string(count), RadExact());
}

// ---- Greatest common divisor and least common multiple ----

std::string FuncLibDec::CalcNODIn(const StringList& List, bool /*ResumeCalc*/) {
  RequirePositiveWholeItems(*this, List, "CalcNODIn", [this] { Yield(); });
  const int count = List.Count();
  BinaryNatural divisor = WholeValue(ItemAt(List, 1));
  for (int i = 2; i <= count; ++i) {
    Yield();
    divisor = kernel::Gcd(divisor, WholeValue(ItemAt(List, i)));
    Progress(ipNOD, Share(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(count - 1)));
  }
  return WholeText(divisor, "CalcNODIn");
}

std::string FuncLibDec::CalcNOCIn(const StringList& List, bool /*ResumeCalc*/) {
  RequirePositiveWholeItems(*this, List, "CalcNOCIn", [this] { Yield(); });
  const int count = List.Count();
  BinaryNatural multiple = WholeValue(ItemAt(List, 1));
  for (int i = 2; i <= count; ++i) {
    Yield();
    const BinaryNatural item = WholeValue(ItemAt(List, i));
    // The item, not the multiple so far, is divided: the shorter quotient of the two.
    multiple = multiple * kernel::DivMod(item, kernel::Gcd(multiple, item)).quotient;
    if (CertainlyPastTheLimit(multiple)) {
      Raise(ErrorNumber::kOverflow, "CalcNOCIn", "result longer than 32767 characters");
    }
    Progress(ipNOC, Share(static_cast<std::size_t>(i - 1), static_cast<std::size_t>(count - 1)));
  }
  return WholeText(multiple, "CalcNOCIn");
}

}  // namespace ovn
