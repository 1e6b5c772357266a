// FuncLibOrvaneLite: state, the conversions between decimal text and extreme numbers, and the operations
// on single extreme numbers.
#include "extreme/func_lib_orvane_lite.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovn {

namespace {

using extreme::ExtremeValue;

// ConvertDecNum publishes at most this much, so that a finished conversion never reads as a finished
// operation.
constexpr double kConversionProgressEnd = 999.0;

// Base-256 places that can settle a text of kMaxDecimalPlaces places (256^-416 < 10^-1001) and 16 more, so
// that only a value within 10^-1040 of a multiple of 10^-1001 needs all the places asked for.
constexpr std::size_t kDecidingPlaces = 432;

// The number of fraction digits ConvertExtNum produces at most: MaxDevConv + 1, at least one.
std::size_t ConversionPlaces(std::int16_t max_dev_conv) {
  return static_cast<std::size_t>(std::max<int>(max_dev_conv, 0)) + 1;
}

std::string StripLeadingZeroDigits(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('\0');
  return first == std::string_view::npos ? std::string{} : std::string(digits.substr(first));
}

std::string StripTrailingZeroDigits(std::string_view digits) {
  const std::size_t last = digits.find_last_not_of('\0');
  return last == std::string_view::npos ? std::string{} : std::string(digits.substr(0, last + 1));
}

}  // namespace

FuncLibOrvaneLite::FuncLibOrvaneLite() = default;

// ---- Shared by the operation files ----

void FuncLibOrvaneLite::Raise(ErrorNumber number, const char* source, const char* description) {
  throw RuntimeError(number, std::string("FuncLibOrvaneLite.") + source, description);
}

void FuncLibOrvaneLite::Yield() const {
  if (yield_hook_) yield_hook_();
}

void FuncLibOrvaneLite::Progress(bool flag, double thousandths) {
  if (flag) StepCalculate(static_cast<std::int16_t>(std::lround(thousandths)));
}

kernel::StepHook FuncLibOrvaneLite::StepHookFor(bool flag, double from, double to) {
  return [this, flag, from, to](double done) {
    Yield();
    Progress(flag, from + (to - from) * done);
  };
}

ExtremeValue FuncLibOrvaneLite::Operand(std::string_view text, const char* source) {
  if (text.size() > kMaxTextLength)
    Raise(ErrorNumber::kOverflow, source, "text longer than 32767 characters");
  if (!decimal_.IsNumber(text)) Raise(ErrorNumber::kTypeMismatch, source, "the operand is not a number");
  return extreme::ParseDecimal(text, ConversionPlaces(max_dev_conv_), StepHookFor(false));
}

std::vector<ExtremeValue> FuncLibOrvaneLite::Operands(const StringList& List, const char* source, bool flag,
                                                      double read_end) {
  std::vector<ExtremeValue> values;
  const int count = std::max<int>(List.Count(), 0);
  values.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    values.push_back(Operand(List.Item(static_cast<std::int16_t>(i)), source));
    Progress(flag, read_end * i / count);
  }
  return values;
}

std::string FuncLibOrvaneLite::Result(const ExtremeValue& value, const char* source) {
  return CheckedLength(extreme::FormatDecimal(value, kMaxDecimalPlaces, StepHookFor(false)), source);
}

std::string FuncLibOrvaneLite::ResultCutAt(std::size_t places, const char* source,
                                           const std::function<ExtremeValue(std::size_t)>& compute) {
  if (places > kDecidingPlaces) {
    const ExtremeValue estimate = compute(kDecidingPlaces);
    // An exact value ends before the cut and is the same for any number of places.
    if (!estimate.cut && extreme::Normalized(estimate).places < kDecidingPlaces)
      return Result(estimate, source);
    if (estimate.places == kDecidingPlaces) {
      if (auto text = extreme::FormatDecimalOfFinerCut(estimate, kMaxDecimalPlaces)) {
        return CheckedLength(std::move(*text), source);
      }
    }
  }
  return Result(compute(places), source);
}

std::string FuncLibOrvaneLite::CheckedLength(std::string text, const char* source) {
  if (text.size() > kMaxTextLength)
    Raise(ErrorNumber::kOverflow, source, "result longer than 32767 characters");
  return text;
}

// ---- Conversions ----

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::ConvertExtNum(std::string_view Num) {
  return extreme::ToExtremNum(Operand(Num, "ConvertExtNum"), false);
}

std::string FuncLibOrvaneLite::ConvertDecNum(const ExtremNum& e) {
  return extreme::FormatDecimal(extreme::FromExtremNum(e), kMaxDecimalPlaces,
                                StepHookFor(true, 0.0, kConversionProgressEnd));
}

std::shared_ptr<ExtremNumList> FuncLibOrvaneLite::ConvertExtremNumList(const StringList& List) {
  auto list = std::make_shared<ExtremNumList>();
  for (int i = 1; i <= List.Count(); ++i) list->Add(ConvertExtNum(List.Item(static_cast<std::int16_t>(i))));
  return list;
}

std::string FuncLibOrvaneLite::DelNullString(std::string_view s) const {
  return StripLeadingZeroDigits(s);
}

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::OnlyInt(std::shared_ptr<ExtremNum> e) const {
  e->Devided(std::string{});
  return e;
}

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::OnlyDevided(std::shared_ptr<ExtremNum> e) const {
  e->IntNum(std::string{});
  return e;
}

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::ConvertExtNumBin(double x) const {
  if (!std::isfinite(x)) Raise(ErrorNumber::kInvalidArgument, "ConvertExtNumBin", "not a finite number");
  // |x| = mantissa * 2^exponent exactly, with a 53-bit whole mantissa; a binary fraction of b bits ends
  // after ceil(b / 8) base-256 digits.
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(x), &exponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  exponent -= 53;
  ExtremeValue value{x < 0, {}, 0};
  if (exponent >= 0) {
    value.magnitude = extreme::ShiftDigitsLeft(kernel::BinaryNatural{mantissa << (exponent % 8)},
                                               static_cast<std::size_t>(exponent / 8));
  } else {
    value.places = static_cast<std::size_t>((-exponent + 7) / 8);
    value.magnitude = kernel::BinaryNatural{mantissa << (8 * static_cast<int>(value.places) + exponent)};
  }
  return extreme::ToExtremNum(extreme::Normalized(std::move(value)), false);
}

// ---- Single extreme numbers ----

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::ASign(std::shared_ptr<ExtremNum> e) const {
  e->Sign(!e->Sign());
  return e;
}

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::DelNull(std::shared_ptr<ExtremNum> e) const {
  if (e->IntNum().empty() && e->Devided().empty()) return std::make_shared<ExtremNum>();
  if (!e->IntNum().empty()) e->IntNum(StripLeadingZeroDigits(e->IntNum()));
  if (!e->Devided().empty()) e->Devided(StripTrailingZeroDigits(e->Devided()));
  return e;
}

std::uint8_t FuncLibOrvaneLite::CompareIt(const ExtremNum& a, const ExtremNum& b, bool /*ResumeCalc*/) {
  Yield();
  return static_cast<std::uint8_t>(
      1 + extreme::CompareValues(extreme::FromExtremNum(a), extreme::FromExtremNum(b)));
}

}  // namespace ovn
