// Powers, roots, logarithms, counts and the mean of the extreme engine against GMP and MPFR on the same
// inputs, decimal text in and out on both sides (GMP and MPFR pay for their text conversions as we pay for
// ours). Compare the pairs as ratios from one run.
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <mpfr.h>

#include <random>
#include <string>

#include "gmp_yardstick.h"
#include "mpfr_yardstick.h"
#include "extreme/func_lib_orvane_lite.h"

namespace {

using bench::Mpfr;
using bench::Mpz;
using bench::RandomDigits;
using bench::ToText;

std::string ToText(const mpfr_t value, std::size_t digits) {
  std::string text(digits + 32, '\0');
  mpfr_snprintf(text.data(), text.size(), "%.*RZf", static_cast<int>(digits), value);
  text.resize(text.find('\0'));
  return text;
}

std::size_t Argument(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

// Base-256 places and the decimal places they print as (8 each).
constexpr std::int16_t kPlaces = 100;
constexpr mpfr_prec_t kPlaceBits = 8 * kPlaces + 64;

// ---- Square root of an n-digit number, 100 base-256 places ----

void BM_ExtremeRadicalIn(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  engine.FirstNum(RandomDigits(Argument(state), 1));
  engine.SecondNum("2");
  for (auto _ : state) benchmark::DoNotOptimize(engine.RadicalIn(kPlaces));
}
void BM_GmpRoot(benchmark::State& state) {
  const std::string digits = RandomDigits(Argument(state), 1);
  for (auto _ : state) {
    Mpz x;
    mpz_set_str(x.value, digits.c_str(), 10);
    mpz_mul_2exp(x.value, x.value, 2 * 8 * kPlaces);
    mpz_sqrt(x.value, x.value);
    benchmark::DoNotOptimize(ToText(x.value));
  }
}
BENCHMARK(BM_ExtremeRadicalIn)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GmpRoot)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// ---- A 50-digit number to the power n ----

void BM_ExtremeStepInWhole(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  engine.FirstNum(RandomDigits(50, 2));
  engine.SecondNum(std::to_string(Argument(state)));
  for (auto _ : state) benchmark::DoNotOptimize(engine.StepIn());
}
void BM_GmpPow(benchmark::State& state) {
  const std::string digits = RandomDigits(50, 2);
  for (auto _ : state) {
    Mpz x;
    mpz_set_str(x.value, digits.c_str(), 10);
    mpz_pow_ui(x.value, x.value, Argument(state));
    benchmark::DoNotOptimize(ToText(x.value));
  }
}
BENCHMARK(BM_ExtremeStepInWhole)->Arg(100)->Arg(600)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GmpPow)->Arg(100)->Arg(600)->Unit(benchmark::kMicrosecond);

// ---- An n-digit number to the power 0.1 (13 base-256 places), 100 places ----

void BM_ExtremeStepInFractional(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  engine.FirstNum(RandomDigits(Argument(state), 3));
  engine.SecondNum("0.1");
  engine.RadExact(kPlaces);
  for (auto _ : state) benchmark::DoNotOptimize(engine.StepIn());
}
void BM_MpfrPow(benchmark::State& state) {
  const std::string digits = RandomDigits(Argument(state), 3);
  for (auto _ : state) {
    Mpfr x(kPlaceBits + 4 * static_cast<mpfr_prec_t>(Argument(state)));
    Mpfr e(128);
    mpfr_set_str(x.value, digits.c_str(), 10, MPFR_RNDN);
    mpfr_set_str(e.value, "0.1", 10, MPFR_RNDN);
    mpfr_pow(x.value, x.value, e.value, MPFR_RNDZ);
    benchmark::DoNotOptimize(ToText(x.value, 8 * kPlaces));
  }
}
BENCHMARK(BM_ExtremeStepInFractional)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MpfrPow)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);

// ---- log_3 of an n-digit number, 100 places ----

void BM_ExtremeLogarifmIn(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  engine.FirstNum(RandomDigits(Argument(state), 4));
  engine.SecondNum("3");
  for (auto _ : state) benchmark::DoNotOptimize(engine.LogarifmIn(kPlaces));
}
void BM_MpfrLogarithm(benchmark::State& state) {
  const std::string digits = RandomDigits(Argument(state), 4);
  for (auto _ : state) {
    Mpfr x(kPlaceBits + 4 * static_cast<mpfr_prec_t>(Argument(state)));
    Mpfr b(kPlaceBits);
    mpfr_set_str(x.value, digits.c_str(), 10, MPFR_RNDN);
    mpfr_set_ui(b.value, 3, MPFR_RNDN);
    mpfr_log(x.value, x.value, MPFR_RNDN);
    mpfr_log(b.value, b.value, MPFR_RNDN);
    mpfr_div(x.value, x.value, b.value, MPFR_RNDZ);
    benchmark::DoNotOptimize(ToText(x.value, 8 * kPlaces));
  }
}
BENCHMARK(BM_ExtremeLogarifmIn)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MpfrLogarithm)->Arg(20)->Arg(1000)->Unit(benchmark::kMicrosecond);

// ---- n! and C(2n, n) ----

void BM_ExtremeFactorialIn(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  const std::string n = std::to_string(Argument(state));
  for (auto _ : state) benchmark::DoNotOptimize(engine.FactorialIn(n));
}
void BM_GmpFactorial(benchmark::State& state) {
  for (auto _ : state) {
    Mpz x;
    mpz_fac_ui(x.value, Argument(state));
    benchmark::DoNotOptimize(ToText(x.value));
  }
}
void BM_ExtremeCountCombinationIn(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  engine.FirstNum(std::to_string(2 * Argument(state)));
  engine.SecondNum(std::to_string(Argument(state)));
  for (auto _ : state) benchmark::DoNotOptimize(engine.CountCombinationIn());
}
void BM_GmpBinomial(benchmark::State& state) {
  for (auto _ : state) {
    Mpz x;
    mpz_bin_uiui(x.value, 2 * Argument(state), Argument(state));
    benchmark::DoNotOptimize(ToText(x.value));
  }
}
BENCHMARK(BM_ExtremeFactorialIn)->Arg(1000)->Arg(9000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GmpFactorial)->Arg(1000)->Arg(9000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExtremeCountCombinationIn)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GmpBinomial)->Arg(1000)->Arg(50000)->Unit(benchmark::kMicrosecond);

// ---- The mean of n numbers of 100 digits with 10 decimals, 100 places ----

void BM_ExtremeMidIn(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  engine.DevExact(kPlaces);
  ovn::StringList list;
  for (std::size_t i = 0; i < Argument(state); ++i) {
    list.Add(RandomDigits(90, static_cast<unsigned>(i)) + "." +
             RandomDigits(10, static_cast<unsigned>(i + 7)));
  }
  for (auto _ : state) benchmark::DoNotOptimize(engine.MidIn(list));
}
BENCHMARK(BM_ExtremeMidIn)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
