// The decimal engine's powers and roots against GMP and MPFR on the same operations in one run, text out
// on both sides: the square root of 2 to 20,000 places, the cube root of 3 to 5,000 places, 2^100,000,
// and a fractional power to 1,000 places.
#include <benchmark/benchmark.h>
#include <gmp.h>
#include <mpfr.h>

#include <string>

#include "decimal/func_lib_dec.h"

namespace {

std::size_t Places(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

// MPFR's digits of a value to `digits` significant digits, as text.
std::string MpfrText(mpfr_srcptr value, std::size_t digits) {
  mpfr_exp_t exponent = 0;
  char* text = mpfr_get_str(nullptr, &exponent, 10, digits, value, MPFR_RNDZ);
  std::string result(text);
  mpfr_free_str(text);
  return result;
}

mpfr_prec_t BitsFor(std::size_t digits) {
  return static_cast<mpfr_prec_t>(3.33 * static_cast<double>(digits) + 64);
}

// ---- Root of degree 2 or 3 of a one-digit radicand to n places ----

void BM_RadicalIn(benchmark::State& state, const char* radicand, const char* degree) {
  ovn::FuncLibDec engine;
  const auto exact = static_cast<std::int16_t>(Places(state) - 1);  // RadicalIn writes Exact + 1 places
  for (auto _ : state) benchmark::DoNotOptimize(engine.RadicalIn(radicand, degree, exact));
}

void BM_MpfrRoot(benchmark::State& state, unsigned radicand, bool cube) {
  const std::size_t digits = Places(state) + 1;
  for (auto _ : state) {
    mpfr_t value;
    mpfr_init2(value, BitsFor(digits));
    mpfr_set_ui(value, radicand, MPFR_RNDZ);
    if (cube) {
      mpfr_cbrt(value, value, MPFR_RNDZ);
    } else {
      mpfr_sqrt(value, value, MPFR_RNDZ);
    }
    benchmark::DoNotOptimize(MpfrText(value, digits));
    mpfr_clear(value);
  }
}

BENCHMARK_CAPTURE(BM_RadicalIn, sqrt2, "2", "2")->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MpfrRoot, sqrt2, 2U, false)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RadicalIn, cbrt3, "3", "3")->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MpfrRoot, cbrt3, 3U, true)->Arg(5000)->Unit(benchmark::kMicrosecond);

// ---- 2^n ----

void BM_StepIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string exponent = std::to_string(state.range(0));
  for (auto _ : state) {
    engine.iStepFS.clear();
    benchmark::DoNotOptimize(engine.StepIn("2", exponent));
  }
}

void BM_GmpPow(benchmark::State& state) {
  for (auto _ : state) {
    mpz_t value;
    mpz_init(value);
    mpz_ui_pow_ui(value, 2, static_cast<unsigned long>(state.range(0)));
    std::string text(mpz_sizeinbase(value, 10) + 2, '\0');
    mpz_get_str(text.data(), 10, value);
    benchmark::DoNotOptimize(text);
    mpz_clear(value);
  }
}

BENCHMARK(BM_StepIn)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GmpPow)->Arg(100000)->Unit(benchmark::kMicrosecond);

// ---- A fractional power, 7^y to n places: a short exponent (roots) and a long one (exp(y ln x)) ----

const std::string kLongExponent = "0.1234567890123456789012345678901234567890123456789012345678901234567891";

void BM_FractionalStepIn(benchmark::State& state, const std::string& exponent) {
  ovn::FuncLibDec engine;
  engine.RadExact(static_cast<std::int16_t>(Places(state) - 1));
  for (auto _ : state) {
    engine.iStepFS.clear();
    benchmark::DoNotOptimize(engine.StepIn("7", exponent));
  }
}

void BM_MpfrPow(benchmark::State& state, const std::string& exponent_text) {
  const std::size_t digits = Places(state) + 1;
  for (auto _ : state) {
    mpfr_t base, exponent;
    mpfr_inits2(BitsFor(digits), base, exponent, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_ui(base, 7, MPFR_RNDZ);
    mpfr_set_str(exponent, exponent_text.c_str(), 10, MPFR_RNDN);
    mpfr_pow(base, base, exponent, MPFR_RNDZ);
    benchmark::DoNotOptimize(MpfrText(base, digits));
    mpfr_clears(base, exponent, static_cast<mpfr_ptr>(nullptr));
  }
}

BENCHMARK_CAPTURE(BM_FractionalStepIn, short, std::string("0.123456789"))
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MpfrPow, short, std::string("0.123456789"))->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FractionalStepIn, long, kLongExponent)
    ->Arg(1000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MpfrPow, long, kLongExponent)->Arg(1000)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
