// The decimal engine's core operations against GMP on the same random operands, text in and text out,
// so that both sides pay for reading and writing decimal text.
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <random>
#include <string>

#include "gmp_yardstick.h"
#include "decimal/func_lib_dec.h"

namespace {

using bench::Mpz;
using bench::RandomDigits;
using bench::ToText;

std::size_t Digits(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0)); }

// ---- Sum and comparison: both operands of n digits ----

void BM_SummIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string a = RandomDigits(Digits(state), 1), b = RandomDigits(Digits(state), 2);
  for (auto _ : state) benchmark::DoNotOptimize(engine.SummIn(a, b));
}
void BM_GmpAdd(benchmark::State& state) {
  const std::string a = RandomDigits(Digits(state), 1), b = RandomDigits(Digits(state), 2);
  for (auto _ : state) {
    Mpz x, y;
    mpz_set_str(x.value, a.c_str(), 10);
    mpz_set_str(y.value, b.c_str(), 10);
    mpz_add(x.value, x.value, y.value);
    benchmark::DoNotOptimize(ToText(x.value));
  }
}
void BM_CompareIt(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string a = RandomDigits(Digits(state), 1);
  std::string b = a;
  b.back() = b.back() == '9' ? '8' : '9';  // differ in the last digit: the whole text is read
  for (auto _ : state) benchmark::DoNotOptimize(engine.CompareIt(a, b));
}
void BM_GmpCompare(benchmark::State& state) {
  const std::string a = RandomDigits(Digits(state), 1);
  std::string b = a;
  b.back() = b.back() == '9' ? '8' : '9';
  for (auto _ : state) {
    Mpz x, y;
    mpz_set_str(x.value, a.c_str(), 10);
    mpz_set_str(y.value, b.c_str(), 10);
    benchmark::DoNotOptimize(mpz_cmp(x.value, y.value));
  }
}

// ---- Product: two factors of n/2 digits ----

void BM_MuchIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string a = RandomDigits(Digits(state) / 2, 3), b = RandomDigits(Digits(state) / 2, 4);
  for (auto _ : state) benchmark::DoNotOptimize(engine.MuchIn(a, b));
}
void BM_GmpMul(benchmark::State& state) {
  const std::string a = RandomDigits(Digits(state) / 2, 3), b = RandomDigits(Digits(state) / 2, 4);
  for (auto _ : state) {
    Mpz x, y;
    mpz_set_str(x.value, a.c_str(), 10);
    mpz_set_str(y.value, b.c_str(), 10);
    mpz_mul(x.value, x.value, y.value);
    benchmark::DoNotOptimize(ToText(x.value));
  }
}

// ---- Quotient: n digits (an eighth of them after the point) by n/2 digits, to 5n/8 places ----

struct DivisionInput {
  std::string dividend, divisor, dividend_digits;
  std::int16_t further_places;
};
DivisionInput MakeDivision(std::size_t n) {
  DivisionInput input;
  input.dividend_digits = RandomDigits(n, 5);
  const std::size_t fraction = n / 8;
  input.dividend = input.dividend_digits.substr(0, n - fraction) + "." + input.dividend_digits.substr(n - fraction);
  input.divisor = RandomDigits(n / 2, 6);
  input.further_places = static_cast<std::int16_t>(n / 2);
  return input;
}
void BM_DevideIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const DivisionInput input = MakeDivision(Digits(state));
  for (auto _ : state) benchmark::DoNotOptimize(engine.DevideIn(input.dividend, input.divisor, input.further_places));
}
void BM_GmpDivide(benchmark::State& state) {
  const DivisionInput input = MakeDivision(Digits(state));
  for (auto _ : state) {
    Mpz x, y, scale;
    mpz_set_str(x.value, input.dividend_digits.c_str(), 10);
    mpz_set_str(y.value, input.divisor.c_str(), 10);
    mpz_ui_pow_ui(scale.value, 10, static_cast<unsigned long>(input.further_places));
    mpz_mul(x.value, x.value, scale.value);
    mpz_tdiv_q(x.value, x.value, y.value);
    benchmark::DoNotOptimize(ToText(x.value));
  }
}

// ---- Remainder: n digits by n/2 digits ----

void BM_ModIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const std::string a = RandomDigits(Digits(state), 7), b = RandomDigits(Digits(state) / 2, 8);
  for (auto _ : state) benchmark::DoNotOptimize(engine.ModIn(a, b));
}
void BM_GmpMod(benchmark::State& state) {
  const std::string a = RandomDigits(Digits(state), 7), b = RandomDigits(Digits(state) / 2, 8);
  for (auto _ : state) {
    Mpz x, y, q;
    mpz_set_str(x.value, a.c_str(), 10);
    mpz_set_str(y.value, b.c_str(), 10);
    mpz_tdiv_qr(q.value, x.value, x.value, y.value);
    benchmark::DoNotOptimize(ToText(x.value));
    benchmark::DoNotOptimize(ToText(q.value));
  }
}

// Operand sizes in digits; the product and the quotient split them as their comments say.
void Sizes(benchmark::internal::Benchmark* b) {
  for (long digits : {10L, 1000L, 10000L, 32000L}) b->Arg(digits);
  b->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(BM_SummIn)->Apply(Sizes);
BENCHMARK(BM_GmpAdd)->Apply(Sizes);
BENCHMARK(BM_CompareIt)->Apply(Sizes);
BENCHMARK(BM_GmpCompare)->Apply(Sizes);
BENCHMARK(BM_MuchIn)->Apply(Sizes);
BENCHMARK(BM_GmpMul)->Apply(Sizes);
BENCHMARK(BM_DevideIn)->Apply(Sizes);
BENCHMARK(BM_GmpDivide)->Apply(Sizes);
BENCHMARK(BM_ModIn)->Apply(Sizes);
BENCHMARK(BM_GmpMod)->Apply(Sizes);

BENCHMARK_MAIN();
