// Factorials, combinations and hexadecimal conversion of the decimal engine against GMP on the same
// inputs, text out on both sides (GMP pays for mpz_get_str as we pay for our digits). Also the radix
// conversion of the kernel on its own, with its split threshold on both sides.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <random>
#include <string>
#include <vector>

#include "gmp_yardstick.h"
#include "decimal/func_lib_dec.h"
#include "kernel/radix.h"

namespace {

using bench::Mpz;
using bench::RandomDigits;
using bench::ToText;

unsigned long Argument(const benchmark::State& state, int index = 0) {
  return static_cast<unsigned long>(state.range(index));
}

// ---- n! ----

void BM_FactorialIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string n = std::to_string(Argument(state));
  for (auto _ : state) benchmark::DoNotOptimize(engine.FactorialIn(n));
}
void BM_GmpFactorial(benchmark::State& state) {
  for (auto _ : state) {
    Mpz x;
    mpz_fac_ui(x.value, Argument(state));
    benchmark::DoNotOptimize(ToText(x.value, 10));
  }
}

// ---- n!! ----

void BM_FactorialDBLIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string n = std::to_string(Argument(state));
  for (auto _ : state) benchmark::DoNotOptimize(engine.FactorialDBLIn(n));
}
void BM_GmpDoubleFactorial(benchmark::State& state) {
  for (auto _ : state) {
    Mpz x;
    mpz_2fac_ui(x.value, Argument(state));
    benchmark::DoNotOptimize(ToText(x.value, 10));
  }
}

// ---- C(n, k): a dense range below the sieve limit, a sparse one far above it ----

void BM_CountCombinationIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string n = std::to_string(Argument(state, 0)), k = std::to_string(Argument(state, 1));
  for (auto _ : state) benchmark::DoNotOptimize(engine.CountCombinationIn(n, k));
}
void BM_GmpBinomial(benchmark::State& state) {
  for (auto _ : state) {
    Mpz x;
    mpz_bin_uiui(x.value, Argument(state, 0), Argument(state, 1));
    benchmark::DoNotOptimize(ToText(x.value, 10));
  }
}

// ---- Hexadecimal of an n-digit number ----

void BM_ToHex(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string number = RandomDigits(Argument(state), 7);
  for (auto _ : state) benchmark::DoNotOptimize(engine.ToHex(number));
}
void BM_GmpHex(benchmark::State& state) {
  const std::string number = RandomDigits(Argument(state), 7);
  for (auto _ : state) {
    Mpz x;
    mpz_set_str(x.value, number.c_str(), 10);
    benchmark::DoNotOptimize(ToText(x.value, 16));
  }
}

// ---- The kernel's conversions of an n-digit number, each way ----

ovn::kernel::DecimalNatural RandomDecimal(std::size_t digits) {
  const std::string text = RandomDigits(digits, 8);
  std::vector<ovn::kernel::Limb> limbs;
  for (std::size_t end = text.size(); end > 0; end = end > 9 ? end - 9 : 0) {
    const std::size_t begin = end > 9 ? end - 9 : 0;
    limbs.push_back(static_cast<ovn::kernel::Limb>(std::stoul(text.substr(begin, end - begin))));
  }
  return ovn::kernel::DecimalNatural::FromLimbs(std::move(limbs));
}

void BM_ToBinary(benchmark::State& state) {
  const auto value = RandomDecimal(Argument(state));
  for (auto _ : state) benchmark::DoNotOptimize(ovn::kernel::ToBinary(value));
}
void BM_ToDecimal(benchmark::State& state) {
  const auto value = ovn::kernel::ToBinary(RandomDecimal(Argument(state)));
  for (auto _ : state) benchmark::DoNotOptimize(ovn::kernel::ToDecimal(value));
}
void BM_GmpFromDecimal(benchmark::State& state) {
  const std::string number = RandomDigits(Argument(state), 8);
  for (auto _ : state) {
    Mpz x;
    mpz_set_str(x.value, number.c_str(), 10);
    benchmark::DoNotOptimize(x.value);
  }
}
void BM_GmpToDecimal(benchmark::State& state) {
  Mpz x;
  mpz_set_str(x.value, RandomDigits(Argument(state), 8).c_str(), 10);
  for (auto _ : state) benchmark::DoNotOptimize(ToText(x.value, 10));
}

void Lengths(benchmark::internal::Benchmark* b) {
  for (long digits : {100L, 1000L, 10'000L, 32'767L}) b->Arg(digits);
}
// Around kRadixSplitThreshold (32 limbs, 288 digits): pieces just under and just over two thresholds.
void ThresholdLengths(benchmark::internal::Benchmark* b) {
  for (long digits : {250L, 288L, 300L, 560L, 580L, 600L}) b->Arg(digits);
}

}  // namespace

BENCHMARK(BM_FactorialIn)->Arg(1000)->Arg(9000);
BENCHMARK(BM_GmpFactorial)->Arg(1000)->Arg(9000);
BENCHMARK(BM_FactorialDBLIn)->Arg(17000);
BENCHMARK(BM_GmpDoubleFactorial)->Arg(17000);
BENCHMARK(BM_CountCombinationIn)->Args({20000, 10000})->Args({1'000'000'000'000, 2000});
BENCHMARK(BM_GmpBinomial)->Args({20000, 10000})->Args({1'000'000'000'000, 2000});
BENCHMARK(BM_ToHex)->Apply(Lengths);
BENCHMARK(BM_GmpHex)->Apply(Lengths);
BENCHMARK(BM_ToBinary)->Apply(Lengths)->Apply(ThresholdLengths);
BENCHMARK(BM_GmpFromDecimal)->Apply(Lengths);
BENCHMARK(BM_ToDecimal)->Apply(Lengths)->Apply(ThresholdLengths);
BENCHMARK(BM_GmpToDecimal)->Apply(Lengths);
BENCHMARK_MAIN();
