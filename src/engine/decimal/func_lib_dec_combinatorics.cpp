// Factorials and the counts of combinatorics. Every one of them is a ratio of factorials,
// top! / (part_1! part_2! ...), a whole number, so all five share one worker: while `top` is small enough
// to sieve, the prime factorisation by Legendre's formula and a product of prime powers by squarings;
// above that, the range (largest part, top] with the other parts' factorials divided out of its factors.
// The results are the exact whole numbers the long way gives (its quotients are exact, so DevideIn prints
// them as plain digits), computed without ever forming a factorial that cancels.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include "decimal/decimal_text.h"
#include "decimal/engine_support.h"
#include "decimal/func_lib_dec.h"
#include "kernel/products.h"

namespace ovn {
namespace {

using kernel::LegendreExponent;
using kernel::PrimesUpTo;

using decimal::DecimalNatural;
using decimal::Raise;
using kernel::StepHook;
using kernel::Within;
using kernel::WordPower;

// Up to this `top` the primes are sieved and the result is built from its factorisation (a sieve of this
// size takes about 0.1 ms); above it the range of factors is multiplied out. It also bounds the range:
// a ratio with more factors than this is at least 2^(kPrimeLimit - 1) > 10^39000.
constexpr std::uint64_t kPrimeLimit = std::uint64_t{1} << 17;
// The longest result, in digits.
constexpr double kMaxDigits = static_cast<double>(FuncLibDec::kMaxTextLength);
// Results whose estimated length (by logarithms, exact to far better than this) is above the limit by
// more than this margin are refused before any product is formed; the rest are counted exactly.
constexpr double kEstimateMargin = 0.5;

[[noreturn]] void RaiseTooLong(const char* source) {
  Raise(ErrorNumber::kOverflow, source, "result longer than 32767 characters");
}

// The value of a whole, non-negative argument ("", "-0" and "7.00" included); any other number has no
// factorial.
DecimalNatural WholeArgument(std::string_view number, const char* source) {
  const decimal::NumberParts parts = decimal::SplitNumber(number);
  DecimalNatural value = decimal::ParseDigits(parts.whole);
  const bool fractional = parts.fraction.find_first_not_of('0') != std::string_view::npos;
  if (fractional || (parts.negative && !value.is_zero())) {
    Raise(ErrorNumber::kInvalidArgument, source, "the argument is not a whole number of 0 or more");
  }
  return value;
}

// Naturals of at most two limbs are below 10^18 and are held in a machine word.
bool FitsWord(const DecimalNatural& value) {
  return value.size() <= 2;
}
std::uint64_t WordValue(const DecimalNatural& value) {
  return value.low_u64();
}

// log10 of a value of two limbs or more, from its top two limbs.
double Log10(const DecimalNatural& value) {
  const auto limbs = value.limbs();
  const std::size_t n = limbs.size();
  const double top = static_cast<double>(limbs[n - 1]) * 1e9 + static_cast<double>(limbs[n - 2]);
  return std::log10(top) + 9.0 * static_cast<double>(n - 2);
}

double Log10Factorial(std::uint64_t n) {
  return std::lgamma(static_cast<double>(n) + 1.0) / std::numbers::ln10;
}

// The factorisation of (prod over `over` of m!) / (prod over `under` of m!) * 2^twos, which the caller
// knows to be whole. Every argument is at most kPrimeLimit.
std::vector<WordPower> FactorialQuotientPrimes(std::span<const std::uint64_t> over,
                                               std::span<const std::uint64_t> under, std::int64_t twos) {
  const std::uint64_t largest =
      std::max<std::uint64_t>(2, over.empty() ? 0 : *std::max_element(over.begin(), over.end()));
  const std::vector<std::uint64_t> primes = PrimesUpTo(largest);
  std::vector<std::int64_t> exponents(primes.size(), 0);
  exponents[0] = twos;
  const auto add = [&](std::uint64_t m, std::int64_t sign) {
    for (std::size_t i = 0; i < primes.size() && primes[i] <= m; ++i) {
      exponents[i] += sign * static_cast<std::int64_t>(LegendreExponent(primes[i], m));
    }
  };
  for (const std::uint64_t m : over) add(m, 1);
  for (const std::uint64_t m : under) add(m, -1);
  std::vector<WordPower> powers;
  for (std::size_t i = 0; i < primes.size(); ++i) {
    if (exponents[i] > 0) powers.push_back({primes[i], static_cast<std::uint64_t>(exponents[i])});
  }
  return powers;
}

double Log10OfPowers(std::span<const WordPower> powers) {
  double digits = 0.0;
  for (const WordPower& power : powers) {
    digits += static_cast<double>(power.exponent) * std::log10(static_cast<double>(power.word));
  }
  return digits;
}

// The product of the prime powers. Pairs of 2 and 5 make the trailing zeros, which cost nothing in radix
// 10^9: they are taken out of the product and appended as zeros.
DecimalNatural ProductOfPrimePowers(std::vector<WordPower> powers, const StepHook& on_step) {
  const auto exponent_of = [&](std::uint64_t prime) -> std::uint64_t* {
    for (WordPower& power : powers) {
      if (power.word == prime) return &power.exponent;
    }
    return nullptr;
  };
  std::uint64_t tens = 0;
  if (std::uint64_t* twos = exponent_of(2), *fives = exponent_of(5); twos != nullptr && fives != nullptr) {
    tens = std::min(*twos, *fives);
    *twos -= tens;
    *fives -= tens;
  }
  return decimal::TimesPowerOfTen(kernel::ProductOfPowers<kernel::kDecimalBase>(powers, on_step), tens);
}

// top! / (parts_1! parts_2! ... ) * 2^twos, a whole number; the parts sum to at most top.
struct FactorialRatio {
  DecimalNatural top;
  std::vector<DecimalNatural> parts;
  std::int64_t twos = 0;
};

std::vector<std::uint64_t> SmallValues(std::span<const DecimalNatural> values) {
  std::vector<std::uint64_t> small;
  small.reserve(values.size());
  for (const DecimalNatural& value : values) small.push_back(WordValue(value));
  return small;
}

DecimalNatural RatioByPrimes(const FactorialRatio& ratio, const StepHook& on_step, const char* source) {
  const std::uint64_t top = WordValue(ratio.top);
  const std::vector<WordPower> powers =
      FactorialQuotientPrimes(std::span(&top, 1), SmallValues(ratio.parts), ratio.twos);
  if (Log10OfPowers(powers) > kMaxDigits + kEstimateMargin) RaiseTooLong(source);
  return ProductOfPrimePowers(powers, on_step);
}

// The factors top, top - 1, ..., top - count + 1 with the denominator's primes divided out of them, one
// multiple of p after another: the range is divisible by the denominator, so one pass uses up every
// prime's exponent, and the product of the words is the quotient itself.
std::vector<std::uint64_t> CancelledRange(std::uint64_t top, std::uint64_t count,
                                          std::span<const WordPower> denominator) {
  std::vector<std::uint64_t> words(count);
  for (std::uint64_t i = 0; i < count; ++i) words[i] = top - i;
  for (const WordPower& power : denominator) {
    std::uint64_t left = power.exponent;
    for (std::uint64_t i = top % power.word; left > 0 && i < count; i += power.word) {
      while (left > 0 && words[i] % power.word == 0) {
        words[i] /= power.word;
        --left;
      }
    }
  }
  return words;
}

// Above kPrimeLimit: the largest part's factorial cancels the bottom of top!, leaving the range
// (largest, top], which the other parts' factorials divide exactly. Only used without powers of two.
DecimalNatural RatioByRange(const FactorialRatio& ratio, const StepHook& on_step, const char* source) {
  std::vector<DecimalNatural> rest = ratio.parts;
  DecimalNatural largest;
  if (!rest.empty()) {
    const auto it = std::max_element(rest.begin(), rest.end());
    largest = *it;
    rest.erase(it);
  }
  // The value is at least 2^(count - 1): the multinomial coefficient of the parts (count of them
  // outside the largest) is at least 2^count, and a range of count factors at least count!.
  const DecimalNatural range = ratio.top - largest;
  if (!FitsWord(range) || WordValue(range) > kPrimeLimit) RaiseTooLong(source);
  const std::uint64_t count = WordValue(range);
  const std::vector<std::uint64_t> under = SmallValues(rest);  // each at most count

  double digits = 0.0;
  for (const std::uint64_t m : under) digits -= Log10Factorial(m);
  if (FitsWord(ratio.top) && WordValue(ratio.top) <= (std::uint64_t{1} << 53)) {
    for (std::uint64_t i = 0; i < count; ++i)
      digits += std::log10(static_cast<double>(WordValue(ratio.top) - i));
  } else {
    // The factors differ from top by less than one part in 10^10: their logarithms are all log top.
    digits += static_cast<double>(count) * Log10(ratio.top);
  }
  if (digits > kMaxDigits + kEstimateMargin) RaiseTooLong(source);

  const std::vector<WordPower> denominator = FactorialQuotientPrimes(under, {}, 0);
  if (FitsWord(ratio.top)) {
    return kernel::ProductOfWords<kernel::kDecimalBase>(
        CancelledRange(WordValue(ratio.top), count, denominator), on_step);
  }
  // Past 10^18 a range that fits has at most some 2,300 factors (the value is at least (top / count)^count),
  // so the denominator is short: one exact division.
  std::vector<DecimalNatural> factors;
  factors.reserve(count);
  for (std::uint64_t i = 0; i < count; ++i) factors.push_back(ratio.top - DecimalNatural(i));
  DecimalNatural numerator = kernel::ProductOf(std::move(factors), Within(on_step, 0.0, 0.8));
  if (denominator.empty()) return numerator;
  return kernel::DivMod(numerator, ProductOfPrimePowers(denominator, Within(on_step, 0.8, 0.9))).quotient;
}

// The ratio's digits, refused with error 6 when they are more than the longest text.
std::string RatioText(const FactorialRatio& ratio, const StepHook& on_step, const char* source) {
  const bool by_primes = FitsWord(ratio.top) && WordValue(ratio.top) <= kPrimeLimit;
  const StepHook work = Within(on_step, 0.0, 0.95);
  const DecimalNatural value =
      by_primes ? RatioByPrimes(ratio, work, source) : RatioByRange(ratio, work, source);
  std::string digits = decimal::FormatDigits(value);
  if (digits.size() > FuncLibDec::kMaxTextLength) RaiseTooLong(source);
  return digits;
}

}  // namespace

std::string FuncLibDec::FactorialIn(std::string_view Num, bool /*ResumeCalc*/) {
  RequireNumber(Num, "FactorialIn");
  Yield();
  const FactorialRatio ratio{WholeArgument(Num, "FactorialIn"), {}, 0};
  const StepHook on_step = [this](double done) {
    Yield();
    Progress(iFactorial, 1000.0 * done);
  };
  std::string factorial = RatioText(ratio, on_step, "FactorialIn");
  Progress(iFactorial, 1000.0);
  return factorial;
}

// n (n - 2) (n - 4) ... down to 2 or 1: 2^m m! for n = 2m, (2m + 1)! / (2^m m!) for n = 2m + 1.
std::string FuncLibDec::FactorialDBLIn(std::string_view Num, bool /*ResumeCalc*/) {
  RequireNumber(Num, "FactorialDBLIn");
  Yield();
  const DecimalNatural n = WholeArgument(Num, "FactorialDBLIn");
  // 131,072!! alone has some 300,000 digits.
  if (!FitsWord(n) || WordValue(n) > kPrimeLimit) RaiseTooLong("FactorialDBLIn");
  const std::uint64_t m = WordValue(n) / 2;
  const auto twos = static_cast<std::int64_t>(m);
  const FactorialRatio ratio = WordValue(n) % 2 == 0 ? FactorialRatio{DecimalNatural(m), {}, twos}
                                                     : FactorialRatio{n, {DecimalNatural(m)}, -twos};
  const StepHook on_step = [this](double done) {
    Yield();
    Progress(iFactorDBL, 1000.0 * done);
  };
  std::string product = RatioText(ratio, on_step, "FactorialDBLIn");
  Progress(iFactorDBL, 1000.0);
  return product;
}

std::string FuncLibDec::CountCombinationIn(std::string_view Num, std::string_view Count,
                                           bool /*ResumeCalc*/) {
  RequireNumber(Num, "CountCombinationIn");
  RequireNumber(Count, "CountCombinationIn");
  Yield();
  const DecimalNatural n = WholeArgument(Num, "CountCombinationIn");
  const DecimalNatural k = WholeArgument(Count, "CountCombinationIn");
  if (k > n) return "0";  // no way to choose more things than there are
  const FactorialRatio ratio{n, {k, n - k}, 0};
  // The long way computes the three factorials (progress under iFactorial) and then sets iDev for its
  // division.
  const StepHook on_step = [this](double done) {
    Yield();
    Progress(iFactorial, 1000.0 * done);
  };
  std::string combinations = RatioText(ratio, on_step, "CountCombinationIn");
  iDev = true;
  Progress(iDev, 1000.0);
  return combinations;
}

std::string FuncLibDec::PerestIn(std::string_view Num, std::string_view Count, bool /*ResumeCalc*/) {
  RequireNumber(Num, "PerestIn");
  RequireNumber(Count, "PerestIn");
  Yield();
  const DecimalNatural n = WholeArgument(Num, "PerestIn");
  const DecimalNatural k = WholeArgument(Count, "PerestIn");
  if (k > n) return {};  // the operation's result for more places than things
  // The long way sets these flags for its factorials, its difference and its division; they stay set.
  iFactorial = true;
  iMinus = true;
  iDev = true;
  const FactorialRatio ratio{n, {n - k}, 0};
  const StepHook on_step = [this](double done) {
    Yield();
    Progress(iFactorial, 1000.0 * done);
  };
  std::string arrangements = RatioText(ratio, on_step, "PerestIn");
  Progress(iDev, 1000.0);
  return arrangements;
}

std::string FuncLibDec::MultinomIn(const StringList& List, bool /*ResumeCalc*/) {
  FactorialRatio ratio;
  for (int i = 1; i <= List.Count(); ++i) {  // an int: a 16-bit counter wraps after the 32,767th item
    const std::string& item = List.Item(static_cast<std::int16_t>(i));
    RequireNumber(item, "MultinomIn");
    ratio.parts.push_back(WholeArgument(item, "MultinomIn"));
    ratio.top = ratio.top + ratio.parts.back();
  }
  Yield();
  if (List.Count() == 1) return "1";
  const StepHook on_step = [this](double done) {
    Yield();
    Progress(iMultinom, 1000.0 * done);
  };
  std::string coefficient = RatioText(ratio, on_step, "MultinomIn");
  Progress(iMultinom, 1000.0);
  return coefficient;
}

}  // namespace ovn
