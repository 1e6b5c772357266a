// The divisor and sum functions of a list beside GMP on the same decimal texts, text in and text out, so
// that both sides pay for reading and writing decimal text. The target: the greatest common divisor of
// two 10,000-digit numbers within 10 times GMP's time.
//   lists_bench --benchmark_filter='Gcd'        the target, random operands and operands with a large
//                                                common factor (a long result to write)
//   lists_bench --benchmark_filter='Kernel'     Lehmer's algorithm alone in both radixes, which chose radix
//                                                2^32 for the engine (the conversion included)
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <random>
#include <string>
#include <vector>

#include "decimal/decimal_text.h"
#include "decimal/func_lib_dec.h"
#include "kernel/gcd.h"
#include "kernel/radix.h"

namespace {

std::string RandomDigits(std::size_t count, std::mt19937_64& random) {
  std::string text(count, '0');
  for (char& c : text) c = static_cast<char>('0' + random() % 10);
  text.front() = static_cast<char>('1' + random() % 9);
  return text;
}

class Mpz {
 public:
  Mpz() { mpz_init(value_); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  ~Mpz() { mpz_clear(value_); }
  mpz_ptr get() { return value_; }

 private:
  mpz_t value_;
};

std::string ToText(mpz_ptr value) {
  std::string text(mpz_sizeinbase(value, 10) + 2, '\0');
  mpz_get_str(text.data(), 10, value);
  text.resize(text.find('\0'));
  return text;
}

std::size_t Digits(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

// Two numbers of n digits: random (their divisor is small), or both a multiple of one n/2-digit number.
std::vector<std::string> Operands(std::size_t n, bool common_factor) {
  std::mt19937_64 random(n);
  if (!common_factor) return {RandomDigits(n, random), RandomDigits(n, random)};
  Mpz common, a, b;
  mpz_set_str(common.get(), RandomDigits(n / 2, random).c_str(), 10);
  mpz_set_str(a.get(), RandomDigits(n - n / 2, random).c_str(), 10);
  mpz_set_str(b.get(), RandomDigits(n - n / 2, random).c_str(), 10);
  mpz_mul(a.get(), a.get(), common.get());
  mpz_mul(b.get(), b.get(), common.get());
  return {ToText(a.get()), ToText(b.get())};
}

ovn::StringList ListOf(const std::vector<std::string>& items) {
  ovn::StringList list;
  for (const std::string& item : items) list.Add(item);
  return list;
}

// Runs `operation` of GMP on the operands read from text, and writes its result.
template <typename Operation>
void GmpOnTexts(benchmark::State& state, const std::vector<std::string>& operands, Operation operation) {
  for (auto _ : state) {
    Mpz result, x;
    mpz_set_str(result.get(), operands.front().c_str(), 10);
    for (std::size_t i = 1; i < operands.size(); ++i) {
      mpz_set_str(x.get(), operands[i].c_str(), 10);
      operation(result.get(), result.get(), x.get());
    }
    benchmark::DoNotOptimize(ToText(result.get()));
  }
}

// ---- Greatest common divisor and least common multiple of two n-digit numbers ----

void BM_GcdCalcNODIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const ovn::StringList list = ListOf(Operands(Digits(state), state.range(1) != 0));
  for (auto _ : state) benchmark::DoNotOptimize(engine.CalcNODIn(list));
}
void BM_GcdGmp(benchmark::State& state) {
  GmpOnTexts(state, Operands(Digits(state), state.range(1) != 0), mpz_gcd);
}

void BM_LcmCalcNOCIn(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const ovn::StringList list = ListOf(Operands(Digits(state), true));
  for (auto _ : state) benchmark::DoNotOptimize(engine.CalcNOCIn(list));
}
void BM_LcmGmp(benchmark::State& state) {
  GmpOnTexts(state, Operands(Digits(state), true), mpz_lcm);
}

// ---- Sum of 1,000 items of n digits, half of them negative ----

std::vector<std::string> Addends(std::size_t n) {
  std::mt19937_64 random(n + 1);
  std::vector<std::string> items;
  for (int i = 0; i < 1000; ++i) items.push_back((i % 2 == 0 ? "-" : "") + RandomDigits(n, random));
  return items;
}
void BM_SumSummAll(benchmark::State& state) {
  ovn::FuncLibDec engine;
  const ovn::StringList list = ListOf(Addends(Digits(state)));
  for (auto _ : state) benchmark::DoNotOptimize(engine.SummAll(list));
}
void BM_SumGmp(benchmark::State& state) {
  GmpOnTexts(state, Addends(Digits(state)), mpz_add);
}

// ---- Lehmer's algorithm on naturals ----

void BM_KernelGcdDecimal(benchmark::State& state) {
  const auto operands = Operands(Digits(state), false);
  const auto a = ovn::decimal::ParseDigits(operands[0]);
  const auto b = ovn::decimal::ParseDigits(operands[1]);
  for (auto _ : state) benchmark::DoNotOptimize(ovn::kernel::Gcd(a, b));
}
void BM_KernelGcdBinaryWithConversion(benchmark::State& state) {
  const auto operands = Operands(Digits(state), false);
  const auto a = ovn::decimal::ParseDigits(operands[0]);
  const auto b = ovn::decimal::ParseDigits(operands[1]);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ovn::kernel::ToDecimal(ovn::kernel::Gcd(ovn::kernel::ToBinary(a), ovn::kernel::ToBinary(b))));
  }
}

void GcdSizes(benchmark::internal::Benchmark* b) {
  for (std::int64_t digits : {1'000, 10'000, 30'000}) {
    for (std::int64_t common : {0, 1}) b->Args({digits, common});
  }
}

}  // namespace

BENCHMARK(BM_GcdCalcNODIn)->Apply(GcdSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GcdGmp)->Apply(GcdSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LcmCalcNOCIn)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LcmGmp)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SumSummAll)->Arg(30)->Arg(3'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SumGmp)->Arg(30)->Arg(3'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelGcdDecimal)->Arg(10'000)->Arg(30'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KernelGcdBinaryWithConversion)->Arg(10'000)->Arg(30'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
