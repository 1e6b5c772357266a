// Truncating division, both radixes, against GMP: the shapes that make quotient estimates wrong, and the
// lengths around the switch from Knuth's base case to the recursive division.
#include "kernel/divide.h"

#include <gtest/gtest.h>

#include "kernel/natural.h"
#include "oracle.h"

namespace ovn::kernel {
namespace {

using testing::kShapes;
using testing::MakeNatural;
using testing::Matches;
using testing::Mpz;
using testing::Shape;
using testing::ShapeName;
using testing::ToMpz;

constexpr std::uint64_t kSeed = 5150;

template <typename N>
class DivideTest : public ::testing::Test {};
TYPED_TEST_SUITE(DivideTest, testing::NaturalTypes, testing::BaseNames);

template <std::uint64_t Base>
void ExpectDivModMatchesGmp(const Natural<Base>& a, const Natural<Base>& d) {
  Mpz za;
  Mpz zd;
  Mpz q;
  Mpz r;
  ToMpz(za, a);
  ToMpz(zd, d);
  mpz_tdiv_qr(q, r, za, zd);
  const auto result = DivMod(a, d);
  EXPECT_TRUE(Matches(result.quotient, q)) << "quotient";
  EXPECT_TRUE(Matches(result.remainder, r)) << "remainder";
}

struct Lengths {
  std::size_t dividend;
  std::size_t divisor;
};

TYPED_TEST(DivideTest, QuotientAndRemainderMatchGmp) {
  constexpr auto kBase = TypeParam::kBase;
  constexpr std::size_t t = kDivideRecursiveThreshold<kBase>;
  const Lengths cases[] = {
      {0, 1},
      {1, 1},
      {7, 1},
      {4000, 1},
      {2, 2},
      {3, 2},
      {4000, 2},
      {1, 3},
      {9, 10},
      {10, 10},
      {11, 10},
      // Quotient and divisor lengths on both sides of the recursive threshold (the dividend gains a limb
      // when it is normalised, so the quotient is one limb longer than the difference of lengths).
      {2 * t - 2, t - 1},
      {2 * t - 1, t},
      {2 * t, t},
      {2 * t + 1, t + 1},
      {2 * t - 1, t + 1},
      {3 * t, t - 1},
      {t + 30, 30},
      // Quotients of whole divisor-length blocks, and one limb more or less.
      {3 * t * 5, t * 5},
      {3 * t * 5 + 1, t * 5},
      {3 * t * 5 - 1, t * 5},
      {7 * t, 3 * t + 1},
      {5778, 1778},
      {4000, 2000},
      {4000, 3999},
      {4000, 4000},
      {3999, 4000},
      {4000, 100}};
  std::mt19937_64 rng(kSeed);
  for (const auto& lengths : cases) {
    for (auto shape : kShapes) {
      const Shape other = kShapes[(static_cast<int>(shape) + 2) % std::size(kShapes)];
      SCOPED_TRACE(::testing::Message()
                   << "seed " << kSeed << ", " << lengths.dividend << " / " << lengths.divisor << " limbs, "
                   << ShapeName(other) << " / " << ShapeName(shape));
      const auto a = MakeNatural<kBase>(lengths.dividend, other, rng);
      const auto d = MakeNatural<kBase>(lengths.divisor, shape, rng);
      ExpectDivModMatchesGmp(a, d);
    }
  }
}

TYPED_TEST(DivideTest, DivisorNearTheDividend) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  const TypeParam one(1);
  for (std::size_t n : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{60}, std::size_t{700}}) {
    for (auto shape : kShapes) {
      SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << n << " limbs, " << ShapeName(shape));
      const auto a = MakeNatural<kBase>(n, shape, rng) + TypeParam(2);
      for (const auto& d : {a - one, a, a + one, a - TypeParam(2)}) ExpectDivModMatchesGmp(a, d);
      // Known quotients with the remainder just below the divisor; a quotient of limbs Base - 1 makes the
      // recursive division's block estimates overflow into a top limb.
      const auto d = MakeNatural<kBase>(n, shape, rng);
      ExpectDivModMatchesGmp(a * d + (d - one), d);
      const auto all_max = MakeNatural<kBase>(n + 20, testing::Shape::kAllMax, rng);
      ExpectDivModMatchesGmp(all_max * d + (d - one), d);
    }
  }
}

// Dividends and divisors made of limbs next to 0, Base / 2 and Base: Knuth's two-limb estimate is then
// often one too large, which only the add-back step repairs, and the recursive division's block estimates
// need their corrections.
TYPED_TEST(DivideTest, EstimatesThatNeedCorrection) {
  constexpr auto kBase = TypeParam::kBase;
  constexpr auto kHalf = static_cast<Limb>(kBase / 2);
  const Limb values[] = {
      0, 1, 2, kHalf - 1, kHalf, kHalf + 1, static_cast<Limb>(kBase - 2), static_cast<Limb>(kBase - 1)};
  // The smallest case of an add-back: the estimate Base - 1 is one too large.
  ExpectDivModMatchesGmp(TypeParam::FromLimbs({0, 0, kHalf, kHalf - 1}), TypeParam::FromLimbs({1, 0, kHalf}));
  std::mt19937_64 rng(kSeed);
  auto pick = [&](std::size_t n) {
    std::vector<Limb> limbs(n);
    for (auto& limb : limbs) limb = values[rng() % std::size(values)];
    return TypeParam::FromLimbs(std::move(limbs));
  };
  for (int i = 0; i < 3000; ++i) {
    const std::size_t dn = 2 + rng() % 4;
    const auto d = pick(dn);
    if (d.is_zero()) continue;
    SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", case " << i);
    ExpectDivModMatchesGmp(pick(dn + rng() % 5), d);
  }
  for (int i = 0; i < 40; ++i) {
    const std::size_t dn = kDivideRecursiveThreshold<kBase> + rng() % 200;
    const auto d = pick(dn);
    if (d.is_zero()) continue;
    SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", long case " << i);
    ExpectDivModMatchesGmp(pick(dn + 2 * kDivideRecursiveThreshold<kBase> + rng() % 600), d);
  }
}

}  // namespace
}  // namespace ovn::kernel
