// Factorials, combinatorics, progressions and the functions of several operands of the extreme engine.
//
// Every combinatorial count is a ratio of factorials and a whole number: it is built from products of
// machine words in a balanced tree (the kernel's ProductOfWords) and one exact division, never from
// factorials that cancel. Greatest common divisors come from Lehmer's algorithm, not from trial division.
// Means, progression sums and the geometric mean are exact up to their one division or root, which is cut
// off after DevExact (divisions) or RadExact (roots) base-256 fraction digits.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "extreme/extreme_powers.h"
#include "extreme/func_lib_orvane_lite.h"
#include "kernel/gcd.h"
#include "kernel/products.h"

namespace ovn {
namespace {

using kernel::LegendreExponent;
using kernel::PrimesUpTo;

using extreme::BinaryNatural;
using extreme::ExtremeValue;
using kernel::StepHook;

constexpr double kLog10Of2 = 0.30102999566398120;
// The item loops yield every this many items.
constexpr std::size_t kItemsPerYield = 10;
// A list operation's progress up to the end of reading its items, in thousandths.
constexpr double kReadEnd = 250.0;
// Up to this top a factorial ratio is built from its prime factorisation (a sieve of this size takes about
// 0.1 ms); a ratio with more factors than this is at least 2^(kPrimeLimit - 1), far past any text.
constexpr std::uint64_t kPrimeLimit = std::uint64_t{1} << 17;
// Double factorials past this argument have more than 32,767 digits (40,000!! has about 87,000).
constexpr std::uint64_t kMaxDoubleFactorialArgument = 40'000;

[[noreturn]] void Fail(ErrorNumber number, const char* source, const char* description) {
  throw RuntimeError(number, std::string("FuncLibOrvaneLite.") + source, description);
}

// The value of a whole argument of at least 0; a factorial's argument is counted in 32 bits.
std::uint64_t WholeArgument(const ExtremeValue& value, const char* source) {
  const ExtremeValue v = extreme::Normalized(value);
  if (v.places > 0 || (v.negative && !v.is_zero())) {
    Fail(ErrorNumber::kInvalidArgument, source, "the argument is not a whole number of 0 or more");
  }
  if (v.magnitude.size() > 1) Fail(ErrorNumber::kOverflow, source, "the argument is past the 32-bit range");
  return v.magnitude.low_u64();
}

double Log10Factorial(std::uint64_t n) {
  return std::lgamma(static_cast<double>(n) + 1.0) / std::numbers::ln10;
}

// Refuses a whole result of about 10^log10_value that no text can hold, before it is computed.
void RequireDigits(double log10_value, const char* source) {
  if (log10_value > static_cast<double>(FuncLibOrvaneLite::kMaxTextLength) + 1) {
    Fail(ErrorNumber::kOverflow, source, "result longer than 32767 characters");
  }
}

// low+1 * ... * high; no terms give 1.
BinaryNatural RangeProduct(std::uint64_t low, std::uint64_t high, const StepHook& on_step) {
  std::vector<std::uint64_t> words;
  for (std::uint64_t x = low + 1; x <= high; ++x) words.push_back(x);
  return kernel::ProductOfWords<kernel::kBinaryBase>(words, on_step);
}

// top! / (parts_1! parts_2! ...) * 2^twos, which the caller knows to be whole. Up to kPrimeLimit it is
// built from its prime factorisation: odd prime powers by squarings, the power of two as a shift. Above,
// only ratios with few factors are short enough to be asked for: the range above the largest part, divided
// by the other parts' factorials.
BinaryNatural FactorialRatio(std::uint64_t top, std::vector<std::uint64_t> parts, std::int64_t twos,
                             const StepHook& on_step) {
  if (top > kPrimeLimit) {
    const auto largest = std::max_element(parts.begin(), parts.end());
    const std::uint64_t cancelled = largest == parts.end() ? 0 : *largest;
    if (largest != parts.end()) parts.erase(largest);
    std::vector<BinaryNatural> divisors;
    for (const std::uint64_t part : parts) divisors.push_back(FactorialRatio(part, {}, 0, {}));
    return kernel::DivMod(RangeProduct(cancelled, top, on_step), kernel::ProductOf(std::move(divisors)))
        .quotient;
  }
  const std::vector<std::uint64_t> primes = PrimesUpTo(std::max<std::uint64_t>(top, 2));
  std::vector<kernel::WordPower> powers;
  for (const std::uint64_t p : primes) {
    auto exponent = static_cast<std::int64_t>(LegendreExponent(p, top));
    for (const std::uint64_t part : parts) exponent -= static_cast<std::int64_t>(LegendreExponent(p, part));
    if (p == 2) {
      twos += exponent;
    } else if (exponent > 0) {
      powers.push_back({p, static_cast<std::uint64_t>(exponent)});
    }
  }
  const BinaryNatural odd = kernel::ProductOfPowers<kernel::kBinaryBase>(powers, on_step);
  return extreme::ShiftBitsLeft(odd, static_cast<std::size_t>(twos));
}

BinaryNatural Factorial(std::uint64_t n, const StepHook& on_step) {
  return FactorialRatio(n, {}, 0, on_step);
}

ExtremeValue Whole(BinaryNatural magnitude) {
  return {false, std::move(magnitude), 0};
}

// n (n - 2) (n - 4) ... down to 1 or 2; 0!! and 1!! are 1.
ExtremeValue DoubleFactorial(const ExtremeValue& argument, const StepHook& on_step, const char* source) {
  const std::uint64_t n = WholeArgument(argument, source);
  if (n > kMaxDoubleFactorialArgument)
    Fail(ErrorNumber::kOverflow, source, "result longer than 32767 characters");
  // (2m)!! = 2^m m!, (2m + 1)!! = (2m + 1)! / (2^m m!).
  const std::uint64_t m = n / 2;
  const double log10_even = static_cast<double>(m) * kLog10Of2 + Log10Factorial(m);
  RequireDigits(n % 2 == 0 ? log10_even : Log10Factorial(n) - log10_even, source);
  const auto twos = static_cast<std::int64_t>(m);
  return Whole(n % 2 == 0 ? FactorialRatio(m, {}, twos, on_step) : FactorialRatio(n, {m}, -twos, on_step));
}

// n! / (k! (n - k)!); 0 when k > n.
BinaryNatural Combinations(std::uint64_t n, std::uint64_t k, const StepHook& on_step, const char* source) {
  if (k > n) return {};
  RequireDigits(Log10Factorial(n) - Log10Factorial(k) - Log10Factorial(n - k), source);
  return FactorialRatio(n, {k, n - k}, 0, on_step);
}

void RequireThreeItems(const StringList& List, const char* source) {
  if (List.Count() != 3)
    Fail(ErrorNumber::kInvalidArgument, source, "a progression takes exactly three numbers");
}

std::size_t PlacesFrom(std::int16_t places) {
  return places > 0 ? static_cast<std::size_t>(places) : 0;
}

// The items of a divisor operation: at least one, each a whole number above zero.
std::vector<BinaryNatural> PositiveWholeItems(const std::vector<ExtremeValue>& items, const char* source) {
  if (items.empty()) Fail(ErrorNumber::kInvalidArgument, source, "the list is empty");
  std::vector<BinaryNatural> values;
  for (const ExtremeValue& item : items) {
    const ExtremeValue v = extreme::Normalized(item);
    if (v.places > 0 || v.negative || v.is_zero()) {
      Fail(ErrorNumber::kInvalidArgument, source, "an item is not a positive whole number");
    }
    values.push_back(v.magnitude);
  }
  return values;
}

BinaryNatural GreatestCommonDivisor(const std::vector<ExtremeValue>& items, const char* source,
                                    const StepHook& on_item) {
  const std::vector<BinaryNatural> values = PositiveWholeItems(items, source);
  BinaryNatural divisor = values.front();
  for (std::size_t i = 1; i < values.size(); ++i) {
    divisor = kernel::Gcd(divisor, values[i]);
    on_item(static_cast<double>(i) / static_cast<double>(values.size() - 1));
  }
  return divisor;
}

}  // namespace

// ---- Factorials and combinatorics ----

std::string FuncLibOrvaneLite::FactorialIn(std::string_view Num, bool /*ResumeCalc*/) {
  const std::uint64_t n = WholeArgument(Operand(Num, "FactorialIn"), "FactorialIn");
  RequireDigits(Log10Factorial(n), "FactorialIn");
  const ExtremeValue factorial = Whole(Factorial(n, StepHookFor(iFactorial)));
  Progress(iFactorial, 1000.0);
  return Result(factorial, "FactorialIn");
}

std::string FuncLibOrvaneLite::FactorialDBLIn(std::string_view Num, bool ResumeCalc) {
  const auto product = FactorialDBLInBin(*ConvertExtNum(Num), ResumeCalc);
  return Result(extreme::FromExtremNum(*product), "FactorialDBLIn");
}

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::FactorialDBLInBin(const ExtremNum& n, bool /*ResumeCalc*/) {
  const ExtremeValue product =
      DoubleFactorial(extreme::FromExtremNum(n), StepHookFor(iFactorDBL), "FactorialDBLIn");
  Progress(iFactorDBL, 1000.0);
  return extreme::ToExtremNum(product);
}

std::string FuncLibOrvaneLite::CountCombinationIn() {
  const std::uint64_t n = WholeArgument(Operand(FirstNum(), "CountCombinationIn"), "CountCombinationIn");
  const std::uint64_t k = WholeArgument(Operand(SecondNum(), "CountCombinationIn"), "CountCombinationIn");
  const ExtremeValue count = Whole(Combinations(n, k, StepHookFor(iCountCombination), "CountCombinationIn"));
  Progress(iCountCombination, 1000.0);
  return Result(count, "CountCombinationIn");
}

// n! / (n - k)!, so PerestIn(n, n) is n!; none when k > n.
std::string FuncLibOrvaneLite::PerestIn() {
  const std::uint64_t n = WholeArgument(Operand(FirstNum(), "PerestIn"), "PerestIn");
  const std::uint64_t k = WholeArgument(Operand(SecondNum(), "PerestIn"), "PerestIn");
  if (k > n) return Result({}, "PerestIn");
  RequireDigits(Log10Factorial(n) - Log10Factorial(n - k), "PerestIn");
  const ExtremeValue arrangements = Whole(FactorialRatio(n, {n - k}, 0, StepHookFor(iFactorial)));
  Progress(iFactorial, 1000.0);
  return Result(arrangements, "PerestIn");
}

// (k1 + ... + kn)! / (k1! ... kn!).
std::string FuncLibOrvaneLite::MultinomIn(const StringList& List) {
  std::vector<std::uint64_t> parts;
  std::uint64_t top = 0;
  for (const ExtremeValue& item : Operands(List, "MultinomIn", iMultinom, kReadEnd)) {
    parts.push_back(WholeArgument(item, "MultinomIn"));
    top += parts.back();
    if (top > 0xFFFFFFFFu) Fail(ErrorNumber::kOverflow, "MultinomIn", "the sum is past the 32-bit range");
  }
  double log10_value = Log10Factorial(top);
  for (const std::uint64_t part : parts) log10_value -= Log10Factorial(part);
  RequireDigits(log10_value, "MultinomIn");
  const ExtremeValue coefficient =
      Whole(FactorialRatio(top, std::move(parts), 0, StepHookFor(iMultinom, kReadEnd, 1000.0)));
  Progress(iMultinom, 1000.0);
  return Result(coefficient, "MultinomIn");
}

// ---- Means ----

std::string FuncLibOrvaneLite::MidIn(const StringList& List) {
  const std::vector<ExtremeValue> items = Operands(List, "MidIn", iSumm, kReadEnd);
  if (items.empty()) Raise(ErrorNumber::kInvalidArgument, "MidIn", "the mean of no numbers does not exist");
  ExtremeValue sum;
  for (std::size_t i = 0; i < items.size(); ++i) {
    sum = extreme::Add(std::move(sum), items[i]);
    if ((i + 1) % kItemsPerYield == 0) Yield();
    Progress(iSumm,
             kReadEnd + (1000.0 - kReadEnd) * static_cast<double>(i + 1) / static_cast<double>(items.size()));
  }
  const ExtremeValue count = extreme::FromInteger(static_cast<std::int64_t>(items.size()));
  return Result(extreme::TruncatedQuotient(sum, count, PlacesFrom(DevExact())), "MidIn");
}

std::string FuncLibOrvaneLite::GeoMIDIn(const StringList& List) {
  const std::vector<ExtremeValue> items = Operands(List, "GeoMIDIn", iRadical, kReadEnd);
  double bits = 0;
  for (const ExtremeValue& item : items) bits += static_cast<double>(extreme::BitLength(item.magnitude));
  if (bits > static_cast<double>(extreme::kMaxWorkBits)) {
    Raise(ErrorNumber::kOverflow, "GeoMIDIn", "the product grows too long");
  }
  // The magnitudes multiply in a balanced tree: a running product times one item after another costs the
  // square of the count (seconds for a list of 32,766 numbers).
  ExtremeValue product;
  std::vector<BinaryNatural> magnitudes;
  for (const ExtremeValue& item : items) {
    product.negative = product.negative != item.negative;
    product.places += item.places;
    product.cut = product.cut || item.cut;
    magnitudes.push_back(item.magnitude);
  }
  product.magnitude = kernel::ProductOf(std::move(magnitudes), StepHookFor(iRadical, kReadEnd, 750.0));
  const ExtremeValue degree = extreme::FromInteger(static_cast<std::int64_t>(items.size()));
  const ExtremeValue root = extreme::Root(product, degree, PlacesFrom(RadExact()),
                                          StepHookFor(iRadical, 750.0, 1000.0), "GeoMIDIn");
  Progress(iRadical, 1000.0);
  return Result(root, "GeoMIDIn");
}

// ---- Progressions ----

// a + d (n - 1) for the items a, d, n.
std::string FuncLibOrvaneLite::ArifmeticProgrecyNum(const StringList& List) {
  RequireThreeItems(List, "ArifmeticProgrecyNum");
  const std::vector<ExtremeValue> v = Operands(List, "ArifmeticProgrecyNum");
  const ExtremeValue steps = extreme::Subtract(v[2], extreme::FromInteger(1));
  return Result(extreme::Add(v[0], extreme::Multiply(v[1], steps)), "ArifmeticProgrecyNum");
}

// b q^(n - 1) for the items b, q, n; the power cut off as StepIn cuts it.
std::string FuncLibOrvaneLite::GeometricProgrecyNum(const StringList& List) {
  RequireThreeItems(List, "GeometricProgrecyNum");
  const std::vector<ExtremeValue> v = Operands(List, "GeometricProgrecyNum");
  const ExtremeValue steps = extreme::Subtract(v[2], extreme::FromInteger(1));
  const ExtremeValue factor = extreme::Power(v[1], steps, {PlacesFrom(RadExact()), PlacesFrom(DevExact())},
                                             StepHookFor(iStep), "GeometricProgrecyNum");
  return Result(extreme::Multiply(v[0], factor), "GeometricProgrecyNum");
}

// (a + l) n / 2 for the items a, l, n, cut off after DevExact digits.
std::string FuncLibOrvaneLite::ArifmeticProgrecySum(const StringList& List) {
  RequireThreeItems(List, "ArifmeticProgrecySum");
  const std::vector<ExtremeValue> v = Operands(List, "ArifmeticProgrecySum");
  const ExtremeValue twice = extreme::Multiply(extreme::Add(v[0], v[1]), v[2]);
  return Result(extreme::TruncatedQuotient(twice, extreme::FromInteger(2), PlacesFrom(DevExact())),
                "ArifmeticProgrecySum");
}

// (l q - b) / (q - 1) for the items b, l, q, cut off after DevExact digits; a ratio of 1 raises 11.
std::string FuncLibOrvaneLite::GeometricProgrecySum(const StringList& List) {
  RequireThreeItems(List, "GeometricProgrecySum");
  const std::vector<ExtremeValue> v = Operands(List, "GeometricProgrecySum");
  const ExtremeValue numerator = extreme::Subtract(extreme::Multiply(v[1], v[2]), v[0]);
  const ExtremeValue denominator = extreme::Subtract(v[2], extreme::FromInteger(1));
  if (denominator.is_zero()) Raise(ErrorNumber::kDivisionByZero, "GeometricProgrecySum", "the ratio is 1");
  return Result(extreme::TruncatedQuotient(numerator, denominator, PlacesFrom(DevExact())),
                "GeometricProgrecySum");
}

// ---- Divisors and multiples ----

std::string FuncLibOrvaneLite::CalcNOCIn(const StringList& List) {
  const std::vector<BinaryNatural> values =
      PositiveWholeItems(Operands(List, "CalcNOCIn", ipNOC, kReadEnd), "CalcNOCIn");
  BinaryNatural multiple = values.front();
  for (std::size_t i = 1; i < values.size(); ++i) {
    Yield();
    // The item, not the multiple so far, is divided: the shorter quotient of the two.
    multiple = multiple * kernel::DivMod(values[i], kernel::Gcd(multiple, values[i])).quotient;
    RequireDigits(static_cast<double>(extreme::BitLength(multiple) - 1) * kLog10Of2, "CalcNOCIn");
    Progress(ipNOC, kReadEnd + (1000.0 - kReadEnd) * static_cast<double>(i) /
                                   static_cast<double>(values.size() - 1));
  }
  return Result(Whole(multiple), "CalcNOCIn");
}

std::string FuncLibOrvaneLite::CalcNODIn(const StringList& List) {
  // Read straight into values: a detour through ExtremNum objects took 0.1 s without a yield for a list of
  // 32,766 numbers.
  return Result(Whole(GreatestCommonDivisor(Operands(List, "CalcNODIn", ipNOD, kReadEnd), "CalcNODIn",
                                            StepHookFor(ipNOD, kReadEnd, 1000.0))),
                "CalcNODIn");
}

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::CalcNODInBin(const ExtremNumList& List, bool /*ResumeCalc*/) {
  std::vector<ExtremeValue> items;
  for (int i = 1; i <= List.Count(); ++i) {  // an int: a 16-bit counter wraps after the 32,767th item
    const auto item = List.Item(static_cast<std::int16_t>(i));
    items.push_back(item ? extreme::FromExtremNum(*item) : ExtremeValue{});
  }
  return extreme::ToExtremNum(Whole(GreatestCommonDivisor(items, "CalcNODIn", StepHookFor(ipNOD))));
}

}  // namespace ovn
