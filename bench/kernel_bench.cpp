// The kernel's multiplication and division beside GMP's on numbers of the same bit length, and each
// algorithm by itself around its threshold (the runs that chose kKaratsubaThreshold and the others).
//   kernel_bench --benchmark_filter='Decimal'       ours, radix 10^9
//   kernel_bench --benchmark_filter='Gmp'           GMP, same bit lengths as the 10^9 runs
//   kernel_bench --benchmark_filter='Threshold'     base case against one step of the faster algorithm
//   kernel_bench --benchmark_filter='Transform'     one Karatsuba step against the transform
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <cmath>
#include <random>
#include <vector>

#include "kernel/divide.h"
#include "kernel/multiply.h"
#include "kernel/natural.h"
#include "kernel/transform_multiply.h"

namespace ovn::kernel {
namespace {

template <std::uint64_t Base>
Natural<Base> RandomNatural(std::size_t n, std::mt19937_64& rng) {
  std::uniform_int_distribution<Limb> any(0, static_cast<Limb>(Base - 1));
  std::vector<Limb> limbs(n);
  for (auto& limb : limbs) limb = any(rng);
  limbs.back() = static_cast<Limb>(Base / 3);
  return Natural<Base>::FromLimbs(std::move(limbs));
}

template <std::uint64_t Base>
void BM_Mul(benchmark::State& state) {
  std::mt19937_64 rng(1);
  const auto a = RandomNatural<Base>(static_cast<std::size_t>(state.range(0)), rng);
  const auto b = RandomNatural<Base>(static_cast<std::size_t>(state.range(0)), rng);
  for (auto _ : state) benchmark::DoNotOptimize(a * b);
}

template <std::uint64_t Base>
void BM_Square(benchmark::State& state) {
  std::mt19937_64 rng(1);
  const auto a = RandomNatural<Base>(static_cast<std::size_t>(state.range(0)), rng);
  for (auto _ : state) benchmark::DoNotOptimize(a * a);
}

// Dividend of range(0) limbs by a divisor of range(1) limbs.
template <std::uint64_t Base>
void BM_DivMod(benchmark::State& state) {
  std::mt19937_64 rng(1);
  const auto a = RandomNatural<Base>(static_cast<std::size_t>(state.range(0)), rng);
  const auto d = RandomNatural<Base>(static_cast<std::size_t>(state.range(1)), rng);
  for (auto _ : state) benchmark::DoNotOptimize(DivMod(a, d));
}

// GMP on numbers of as many bits as range() limbs of radix 10^9.
mp_bitcnt_t DecimalLimbBits(std::int64_t limbs) {
  return static_cast<mp_bitcnt_t>(std::ceil(static_cast<double>(limbs) * std::log2(1e9)));
}

class GmpOperands {
 public:
  explicit GmpOperands(std::int64_t a_limbs, std::int64_t b_limbs) {
    gmp_randinit_default(state_);
    for (mpz_t* z : {&a_, &b_, &q_, &r_}) mpz_init(*z);
    mpz_urandomb(a_, state_, DecimalLimbBits(a_limbs));
    mpz_urandomb(b_, state_, DecimalLimbBits(b_limbs));
    mpz_setbit(a_, DecimalLimbBits(a_limbs) - 1);
    mpz_setbit(b_, DecimalLimbBits(b_limbs) - 1);
  }
  GmpOperands(const GmpOperands&) = delete;
  GmpOperands& operator=(const GmpOperands&) = delete;
  ~GmpOperands() {
    for (mpz_t* z : {&a_, &b_, &q_, &r_}) mpz_clear(*z);
    gmp_randclear(state_);
  }
  void Multiply() { mpz_mul(q_, a_, b_); }
  void Divide() { mpz_tdiv_qr(q_, r_, a_, b_); }

 private:
  gmp_randstate_t state_;
  mpz_t a_, b_, q_, r_;
};

void BM_MulGmp(benchmark::State& state) {
  GmpOperands operands(state.range(0), state.range(0));
  for (auto _ : state) operands.Multiply();
}

void BM_DivModGmp(benchmark::State& state) {
  GmpOperands operands(state.range(0), state.range(1));
  for (auto _ : state) operands.Divide();
}

// The threshold runs: range(0) is the operand length, range(1) picks the algorithm (0 the base case, 1 one
// step of the faster one, 2 the transform for products and squares).
template <std::uint64_t Base>
void BM_MulThreshold(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::mt19937_64 rng(2);
  const auto a = RandomNatural<Base>(n, rng);
  const auto b = RandomNatural<Base>(n, rng);
  std::vector<Limb> r(2 * n);
  std::vector<Limb> scratch(multiply_scratch_size(n));
  for (auto _ : state) {
    if (state.range(1) == 0) {
      multiply_basecase<Base>(r.data(), a.limbs().data(), n, b.limbs().data(), n);
    } else if (state.range(1) == 1) {
      multiply_karatsuba<Base>(r.data(), a.limbs().data(), n, b.limbs().data(), n, scratch.data());
    } else {
      multiply_transform<Base>(r.data(), a.limbs().data(), n, b.limbs().data(), n);
    }
    benchmark::DoNotOptimize(r.data());
  }
}

template <std::uint64_t Base>
void BM_SquareThreshold(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::mt19937_64 rng(3);
  const auto a = RandomNatural<Base>(n, rng);
  std::vector<Limb> r(2 * n);
  std::vector<Limb> scratch(multiply_scratch_size(n));
  for (auto _ : state) {
    if (state.range(1) == 0) {
      square_basecase<Base>(r.data(), a.limbs().data(), n);
    } else if (state.range(1) == 1) {
      square_karatsuba<Base>(r.data(), a.limbs().data(), n, scratch.data());
    } else {
      multiply_transform<Base>(r.data(), a.limbs().data(), n, a.limbs().data(), n);
    }
    benchmark::DoNotOptimize(r.data());
  }
}

// 2n limbs by n limbs, the divisor normalised; the copy of the dividend is part of both timings.
template <std::uint64_t Base>
void BM_DivideThreshold(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::mt19937_64 rng(4);
  const auto a = RandomNatural<Base>(2 * n, rng);
  auto d_limbs = RandomNatural<Base>(n, rng).limbs();
  std::vector<Limb> d(d_limbs.begin(), d_limbs.end());
  d.back() = static_cast<Limb>(Base - 1);
  std::vector<Limb> q(n);
  std::vector<Limb> work(2 * n);
  std::vector<Limb> scratch(divide_scratch_size(n));
  for (auto _ : state) {
    std::copy(a.limbs().begin(), a.limbs().end(), work.begin());
    if (state.range(1) == 0) {
      divide_schoolbook<Base>(q.data(), work.data(), 2 * n, d.data(), n);
    } else {
      divide_recursive<Base>(q.data(), work.data(), 2 * n, d.data(), n, scratch.data());
    }
    benchmark::DoNotOptimize(q.data());
  }
}

// One Karatsuba step against the transform; the transform's length doubles just past each power of two.
void TransformThresholdLengths(benchmark::internal::Benchmark* b) {
  for (int n : {256, 257, 384, 512, 513, 768, 1024, 1025, 1536, 2048, 2049, 2304, 3072, 4608}) {
    b->Args({n, 1});
    b->Args({n, 2});
  }
}

constexpr auto kDecimal = kDecimalBase;
constexpr auto kBinary = kBinaryBase;

void ProductLengths(benchmark::internal::Benchmark* b) {
  for (int n : {10, 30, 100, 300, 1000, 1778, 4000}) b->Arg(n);
}
void QuotientLengths(benchmark::internal::Benchmark* b) {
  for (auto [a, d] : {std::pair{200, 100}, {2000, 1000}, {5778, 1778}, {4000, 2000}, {4000, 100}}) {
    b->Args({a, d});
  }
}
void ThresholdLengths(benchmark::internal::Benchmark* b) {
  for (int n : {8, 12, 16, 24, 32, 48, 64, 96, 128, 144, 160, 176, 192, 224, 256, 320, 368, 380}) {
    b->Args({n, 0});
    b->Args({n, 1});
  }
}

BENCHMARK_TEMPLATE(BM_Mul, kDecimal)->Name("Decimal/Mul")->Apply(ProductLengths);
BENCHMARK_TEMPLATE(BM_Square, kDecimal)->Name("Decimal/Square")->Apply(ProductLengths);
BENCHMARK_TEMPLATE(BM_DivMod, kDecimal)->Name("Decimal/DivMod")->Apply(QuotientLengths);
BENCHMARK(BM_MulGmp)->Name("Gmp/Mul")->Apply(ProductLengths);
BENCHMARK(BM_DivModGmp)->Name("Gmp/DivMod")->Apply(QuotientLengths);
BENCHMARK_TEMPLATE(BM_Mul, kBinary)->Name("Binary/Mul")->Apply(ProductLengths);
BENCHMARK_TEMPLATE(BM_Square, kBinary)->Name("Binary/Square")->Apply(ProductLengths);
BENCHMARK_TEMPLATE(BM_DivMod, kBinary)->Name("Binary/DivMod")->Apply(QuotientLengths);
BENCHMARK_TEMPLATE(BM_MulThreshold, kDecimal)->Name("Threshold/Decimal/Mul")->Apply(ThresholdLengths);
BENCHMARK_TEMPLATE(BM_SquareThreshold, kDecimal)->Name("Threshold/Decimal/Square")->Apply(ThresholdLengths);
BENCHMARK_TEMPLATE(BM_DivideThreshold, kDecimal)->Name("Threshold/Decimal/Divide")->Apply(ThresholdLengths);
BENCHMARK_TEMPLATE(BM_MulThreshold, kBinary)->Name("Threshold/Binary/Mul")->Apply(ThresholdLengths);
BENCHMARK_TEMPLATE(BM_MulThreshold, kDecimal)
    ->Name("Threshold/Decimal/MulTransform")
    ->Apply(TransformThresholdLengths);
BENCHMARK_TEMPLATE(BM_SquareThreshold, kDecimal)
    ->Name("Threshold/Decimal/SquareTransform")
    ->Apply(TransformThresholdLengths);
BENCHMARK_TEMPLATE(BM_MulThreshold, kBinary)
    ->Name("Threshold/Binary/MulTransform")
    ->Apply(TransformThresholdLengths);
BENCHMARK_TEMPLATE(BM_SquareThreshold, kBinary)
    ->Name("Threshold/Binary/SquareTransform")
    ->Apply(TransformThresholdLengths);
BENCHMARK_TEMPLATE(BM_SquareThreshold, kBinary)->Name("Threshold/Binary/Square")->Apply(ThresholdLengths);
BENCHMARK_TEMPLATE(BM_DivideThreshold, kBinary)->Name("Threshold/Binary/Divide")->Apply(ThresholdLengths);

}  // namespace
}  // namespace ovn::kernel

BENCHMARK_MAIN();
