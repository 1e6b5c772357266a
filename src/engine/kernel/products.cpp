#include "kernel/products.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace ovn::kernel {
namespace {

// Each level of a product tree over factors of similar length costs about 1.5 times the level below
// it (twice the length, Karatsuba's 3 multiplications for 4, half as many products).
constexpr double kTreeLevelGrowth = 1.5;
// Each squaring step of ProductOfPowers costs about 3 times the step before (the length doubles).
constexpr double kSquaringGrowth = 3.0;
// Products shorter than this many limbs are too quick to report one by one.
constexpr std::size_t kReportedProductLimbs = 16;

// The share of a computation done after `steps` of `total` steps whose costs grow geometrically.
double GeometricShare(double growth, std::size_t steps, std::size_t total) {
  return (std::pow(growth, static_cast<double>(steps)) - 1.0) /
         (std::pow(growth, static_cast<double>(total)) - 1.0);
}

}  // namespace

template <std::uint64_t Base>
Natural<Base> ProductOf(std::vector<Natural<Base>> factors, const StepHook& on_step) {
  if (factors.empty()) return Natural<Base>(1);
  const auto levels = static_cast<std::size_t>(std::bit_width(factors.size() - 1));
  for (std::size_t level = 0; factors.size() > 1; ++level) {
    const std::size_t pairs = factors.size() / 2;
    const double level_start = GeometricShare(kTreeLevelGrowth, level, levels);
    const double level_end = GeometricShare(kTreeLevelGrowth, level + 1, levels);
    for (std::size_t i = 0; i < pairs; ++i) {
      factors[i] = factors[2 * i] * factors[2 * i + 1];
      if (on_step && (factors[i].size() >= kReportedProductLimbs || i + 1 == pairs)) {
        on_step(level_start +
                (level_end - level_start) * static_cast<double>(i + 1) / static_cast<double>(pairs));
      }
    }
    if (factors.size() % 2 != 0) factors[pairs] = std::move(factors.back());
    factors.resize(factors.size() - pairs);
  }
  return std::move(factors.front());
}

template <std::uint64_t Base>
Natural<Base> ProductOfWords(std::span<const std::uint64_t> words, const StepHook& on_step) {
  std::vector<Natural<Base>> factors;
  std::uint64_t run = 1;  // always below Base, so run * word below Base^2 <= 2^64
  for (const std::uint64_t word : words) {
    if (word == 0) return {};
    if (word >= Base) {
      factors.emplace_back(word);
    } else if (run * word >= Base) {
      factors.emplace_back(run);
      run = word;
    } else {
      run *= word;
    }
  }
  if (run > 1) factors.emplace_back(run);
  return ProductOf(std::move(factors), on_step);
}

template <std::uint64_t Base>
Natural<Base> ProductOfPowers(std::span<const WordPower> powers, const StepHook& on_step) {
  std::size_t bits = 0;
  for (const WordPower& power : powers) bits = std::max<std::size_t>(bits, std::bit_width(power.exponent));
  Natural<Base> product(1);
  std::vector<std::uint64_t> words;
  for (std::size_t step = 0; step < bits; ++step) {
    const std::size_t bit = bits - 1 - step;
    product = product * product;
    words.clear();
    for (const WordPower& power : powers) {
      if ((power.exponent >> bit) & 1) words.push_back(power.word);
    }
    const double before = GeometricShare(kSquaringGrowth, step, bits);
    const double after = GeometricShare(kSquaringGrowth, step + 1, bits);
    if (!words.empty()) product = product * ProductOfWords<Base>(words, Within(on_step, before, after));
    if (on_step) on_step(after);
  }
  return product;
}

#define OVN_INSTANTIATE_PRODUCTS(Base)                                                          \
  template Natural<Base> ProductOf<Base>(std::vector<Natural<Base>>, const StepHook&);          \
  template Natural<Base> ProductOfWords<Base>(std::span<const std::uint64_t>, const StepHook&); \
  template Natural<Base> ProductOfPowers<Base>(std::span<const WordPower>, const StepHook&);

OVN_INSTANTIATE_PRODUCTS(kDecimalBase)
OVN_INSTANTIATE_PRODUCTS(kBinaryBase)

std::vector<std::uint64_t> PrimesUpTo(std::uint64_t limit) {
  std::vector<bool> composite(limit + 1, false);
  std::vector<std::uint64_t> primes;
  for (std::uint64_t p = 2; p <= limit; ++p) {
    if (composite[p]) continue;
    primes.push_back(p);
    for (std::uint64_t multiple = p * p; multiple <= limit; multiple += p) composite[multiple] = true;
  }
  return primes;
}

std::uint64_t LegendreExponent(std::uint64_t p, std::uint64_t n) {
  std::uint64_t exponent = 0;
  while (n >= p) {
    n /= p;
    exponent += n;
  }
  return exponent;
}

}  // namespace ovn::kernel
