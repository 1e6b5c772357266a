// The decimal engine's logarithm against MPFR on the same operands, text out on both sides (MPFR pays for
// mpfr_get_str as we pay for our digits). The natural logarithm is ours to the base of e written to 2,010
// places, as the calculator passes it, against mpfr_log. The argument is the number of places.
// Our ln 2, ln 3, ln 5 and ln 7 are kept for the process, as MPFR keeps its log 2 and pi: the timings are
// those of a warm engine.
#include <benchmark/benchmark.h>
#include <mpfr.h>

#include <string>
#include <vector>

#include "decimal/func_lib_dec.h"
#include "mpfr_yardstick.h"

namespace {

using bench::Mpfr;

mpfr_prec_t BitsFor(std::int64_t places) {
  return static_cast<mpfr_prec_t>(3.3219281 * static_cast<double>(places)) + 64;
}

std::string TextOfE(std::size_t places) {
  Mpfr e(BitsFor(static_cast<std::int64_t>(places)));
  mpfr_set_ui(e.value, 1, MPFR_RNDN);
  mpfr_exp(e.value, e.value, MPFR_RNDN);
  mpfr_exp_t exponent;
  std::vector<char> digits(places + 8);
  mpfr_get_str(digits.data(), &exponent, 10, places + 1, e.value, MPFR_RNDZ);
  return std::string(digits.data(), 1) + "." + std::string(digits.data() + 1);
}

// A number with no small prime factors in its digits, so that neither side finds a shortcut.
const char* const kPlainNumber = "3.14159265358979323846";
const char* const kPlainBase = "2.718281828";

void RunOurs(benchmark::State& state, const std::string& num, const std::string& base) {
  ovn::FuncLibDec engine;
  const auto places = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(engine.LogarifmIn(num, base, places));
}

// log_base(num) by MPFR: one logarithm for base 10 (mpfr_log10) or e (mpfr_log), two and a quotient
// otherwise; then the decimal digits.
void RunMpfr(benchmark::State& state, const char* num, const char* base) {
  const std::int64_t places = state.range(0);
  const mpfr_prec_t bits = BitsFor(places);
  const std::string kind = base;
  for (auto _ : state) {
    Mpfr x(bits), b(bits);
    mpfr_set_str(x.value, num, 10, MPFR_RNDN);
    if (kind == "10") {
      mpfr_log10(x.value, x.value, MPFR_RNDZ);
    } else if (kind == "e") {
      mpfr_log(x.value, x.value, MPFR_RNDZ);
    } else {
      mpfr_set_str(b.value, base, 10, MPFR_RNDN);
      mpfr_log(x.value, x.value, MPFR_RNDN);
      mpfr_log(b.value, b.value, MPFR_RNDN);
      mpfr_div(x.value, x.value, b.value, MPFR_RNDZ);
    }
    mpfr_exp_t exponent;
    char* digits =
        mpfr_get_str(nullptr, &exponent, 10, static_cast<std::size_t>(places) + 1, x.value, MPFR_RNDZ);
    benchmark::DoNotOptimize(digits);
    mpfr_free_str(digits);
  }
}

void BM_LogarifmIn_2_Base10(benchmark::State& state) {
  RunOurs(state, "2", "10");
}
void BM_MpfrLog10_2(benchmark::State& state) {
  RunMpfr(state, "2", "10");
}
void BM_LogarifmIn_2_BaseE(benchmark::State& state) {
  RunOurs(state, "2", TextOfE(2010));
}
// "LN" as the calculator runs it: e bracketed to the places the result needs.
void BM_NaturalLogIn_2(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const auto places = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(engine.NaturalLogIn("2", places));
}
// What "LN" ran before, with the options' e of 14 places (and most digits false).
void BM_LogarifmIn_2_OptionsE(benchmark::State& state) {
  RunOurs(state, "2", "2.71828182845904");
}
void BM_MpfrLog_2(benchmark::State& state) {
  RunMpfr(state, "2", "e");
}
void BM_LogarifmIn_Plain(benchmark::State& state) {
  RunOurs(state, kPlainNumber, kPlainBase);
}
void BM_MpfrLogQuotient_Plain(benchmark::State& state) {
  RunMpfr(state, kPlainNumber, kPlainBase);
}

}  // namespace

BENCHMARK(BM_LogarifmIn_2_Base10)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MpfrLog10_2)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogarifmIn_2_BaseE)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NaturalLogIn_2)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogarifmIn_2_OptionsE)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MpfrLog_2)->Arg(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogarifmIn_Plain)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MpfrLogQuotient_Plain)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
