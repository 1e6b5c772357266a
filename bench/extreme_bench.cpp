// The extreme engine beside GMP on the same decimal texts, text in and text out, so that both sides pay
// for reading and writing decimal text. The targets: a 30,000-digit integer to base 256 and back, and a
// 16,000-digit product through MuchIn, each within 5 times GMP's time.
//   extreme_bench --benchmark_filter='RoundTrip'   ConvertExtNum + ConvertDecNum / mpz_set_str + mpz_get_str
//   extreme_bench --benchmark_filter='Product'     MuchIn / mpz_set_str x2 + mpz_mul + mpz_get_str
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <random>
#include <string>
#include <vector>

#include "extreme/func_lib_orvane_lite.h"

namespace {

constexpr std::size_t kRoundTripDigits = 30000;
constexpr std::size_t kProductDigits = 16000;

std::string RandomDigits(std::size_t count, std::uint64_t seed) {
  std::mt19937_64 random(seed);
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

std::string MpzText(mpz_ptr value) {
  std::string text(mpz_sizeinbase(value, 10) + 2, '\0');
  mpz_get_str(text.data(), 10, value);
  return text;
}

void BM_ExtremeRoundTrip(benchmark::State& state) {
  const std::string text = RandomDigits(kRoundTripDigits, 1);
  ovn::FuncLibOrvaneLite engine;
  for (auto _ : state) {
    const auto e = engine.ConvertExtNum(text);
    benchmark::DoNotOptimize(engine.ConvertDecNum(*e));
  }
}
BENCHMARK(BM_ExtremeRoundTrip)->Unit(benchmark::kMillisecond);

void BM_GmpRoundTrip(benchmark::State& state) {
  const std::string text = RandomDigits(kRoundTripDigits, 1);
  Mpz value;
  for (auto _ : state) {
    mpz_set_str(value.get(), text.c_str(), 10);
    benchmark::DoNotOptimize(MpzText(value.get()));
  }
}
BENCHMARK(BM_GmpRoundTrip)->Unit(benchmark::kMillisecond);

void BM_ExtremeProduct(benchmark::State& state) {
  ovn::FuncLibOrvaneLite engine;
  engine.FirstNum(RandomDigits(kProductDigits, 2));
  engine.SecondNum(RandomDigits(kProductDigits, 3));
  for (auto _ : state) benchmark::DoNotOptimize(engine.MuchIn());
}
BENCHMARK(BM_ExtremeProduct)->Unit(benchmark::kMillisecond);

void BM_GmpProduct(benchmark::State& state) {
  const std::string first = RandomDigits(kProductDigits, 2);
  const std::string second = RandomDigits(kProductDigits, 3);
  Mpz a, b, product;
  for (auto _ : state) {
    mpz_set_str(a.get(), first.c_str(), 10);
    mpz_set_str(b.get(), second.c_str(), 10);
    mpz_mul(product.get(), a.get(), b.get());
    benchmark::DoNotOptimize(MpzText(product.get()));
  }
}
BENCHMARK(BM_GmpProduct)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
