// Lehmer's greatest common divisor, both radixes, against GMP: the lengths around the switch to machine
// words (two limbs) and to the leading parts (three limbs), known common factors, very unequal lengths
// (full division steps), runs of quotient 1 (consecutive Fibonacci numbers) and huge quotients; in radix
// 2^32 also around the switch to the double step (160 limbs).
#include "kernel/gcd.h"

#include <gtest/gtest.h>

#include "kernel/natural.h"
#include "oracle.h"

namespace ovn::kernel {
namespace {

using testing::kShapes;
using testing::MakeNatural;
using testing::Matches;
using testing::Mpz;
using testing::ShapeName;
using testing::ToMpz;

constexpr std::uint64_t kSeed = 4242;

template <typename N>
class GcdTest : public ::testing::Test {};
TYPED_TEST_SUITE(GcdTest, testing::NaturalTypes, testing::BaseNames);

template <std::uint64_t Base>
::testing::AssertionResult GcdMatchesGmp(const Natural<Base>& a, const Natural<Base>& b) {
  Mpz za;
  Mpz zb;
  Mpz expected;
  ToMpz(za, a);
  ToMpz(zb, b);
  mpz_gcd(expected, za, zb);
  auto forward = Matches(Gcd(a, b), expected);
  if (!forward) return forward << " (" << a.size() << " and " << b.size() << " limbs)";
  auto backward = Matches(Gcd(b, a), expected);
  if (!backward) return backward << " (swapped, " << a.size() << " and " << b.size() << " limbs)";
  return ::testing::AssertionSuccess();
}

TYPED_TEST(GcdTest, ZeroIsTheNeutralOperand) {
  using N = TypeParam;
  EXPECT_TRUE(Gcd(N{}, N{}).is_zero());
  std::mt19937_64 rng(kSeed);
  for (std::size_t n : {1, 2, 3, 50}) {
    const N a = MakeNatural<N::kBase>(n, testing::Shape::kRandom, rng);
    EXPECT_EQ(Gcd(a, N{}), a);
    EXPECT_EQ(Gcd(N{}, a), a);
    EXPECT_EQ(Gcd(a, a), a);
  }
}

TYPED_TEST(GcdTest, RandomPairsMatchGmp) {
  constexpr auto kBase = TypeParam::kBase;
  struct Lengths {
    std::size_t a;
    std::size_t b;
  };
  const Lengths cases[] = {{1, 1},     {2, 1},    {2, 2},     {3, 1},     {3, 2},     {3, 3},    {4, 3},
                           {4, 4},     {5, 2},    {10, 9},    {10, 10},   {40, 1},    {40, 3},   {100, 99},
                           {159, 159}, {160, 80}, {160, 160}, {161, 160}, {300, 300}, {1000, 5}, {1000, 998}};
  std::mt19937_64 rng(kSeed);
  for (const auto& lengths : cases) {
    for (auto shape : kShapes) {
      const auto a = MakeNatural<kBase>(lengths.a, shape, rng);
      const auto b = MakeNatural<kBase>(lengths.b, testing::Shape::kRandom, rng);
      EXPECT_TRUE(GcdMatchesGmp(a, b)) << ShapeName(shape) << ", seed " << kSeed;
    }
  }
}

TYPED_TEST(GcdTest, KnownCommonFactorIsFound) {
  constexpr auto kBase = TypeParam::kBase;
  const std::size_t factor_lengths[] = {1, 2, 3, 7, 200};
  std::mt19937_64 rng(kSeed + 1);
  for (std::size_t g : factor_lengths) {
    for (std::size_t n : {1, 2, 5, 120}) {
      const auto common = MakeNatural<kBase>(g, testing::Shape::kRandom, rng);
      const auto a = common * MakeNatural<kBase>(n, testing::Shape::kRandom, rng);
      const auto b = common * MakeNatural<kBase>(n + 1, testing::Shape::kSparse, rng);
      EXPECT_TRUE(GcdMatchesGmp(a, b)) << "factor of " << g << " limbs, seed " << kSeed + 1;
    }
  }
}

// Consecutive Fibonacci numbers: every quotient is 1, so the runs on the leading parts are as long as
// the cofactor bound allows.
TYPED_TEST(GcdTest, ConsecutiveFibonacciNumbersAreCoprime) {
  using N = TypeParam;
  N previous(1);
  N current(1);
  for (int i = 0; i < 3000; ++i) previous = std::exchange(current, current + previous);
  EXPECT_TRUE(GcdMatchesGmp(current, previous));
  EXPECT_EQ(Gcd(current, previous), N(1));
}

// A quotient of about Base^2 cannot be found from the leading parts: a full division step takes it.
TYPED_TEST(GcdTest, HugeQuotientsTakeADivisionStep) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed + 2);
  for (std::size_t n : {3, 4, 30, 160}) {
    const auto b = MakeNatural<kBase>(n, testing::Shape::kRandom, rng);
    const auto q = MakeNatural<kBase>(2, testing::Shape::kHalfTop, rng);
    const auto r = MakeNatural<kBase>(n - 1, testing::Shape::kRandom, rng);
    EXPECT_TRUE(GcdMatchesGmp(b * q + r, b));
    EXPECT_TRUE(GcdMatchesGmp(b * q, b));
  }
}

}  // namespace
}  // namespace ovn::kernel
