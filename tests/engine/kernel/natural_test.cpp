// The linear operations of Natural, both radixes, against GMP.
#include "kernel/natural.h"

#include <gtest/gtest.h>

#include <limits>

#include "oracle.h"

namespace ovn::kernel {
namespace {

using testing::kShapes;
using testing::MakeNatural;
using testing::Matches;
using testing::Mpz;
using testing::ShapeName;
using testing::ToMpz;

constexpr std::uint64_t kSeed = 20240611;
// Lengths from empty to the largest the engines use, with the lengths where carries change limb counts.
constexpr std::size_t kSizes[] = {0, 1, 2, 3, 7, 16, 33, 100, 517, 4000};

template <typename N>
class NaturalTest : public ::testing::Test {};
TYPED_TEST_SUITE(NaturalTest, testing::NaturalTypes, testing::BaseNames);

TYPED_TEST(NaturalTest, ConstructionFromIntegerKeepsValue) {
  constexpr auto kBase = TypeParam::kBase;
  const std::uint64_t values[] = {0,
                                  1,
                                  kBase - 1,
                                  kBase,
                                  kBase + 1,
                                  kBase * 7,
                                  0xffff'ffffU,
                                  1'000'000'000'000'000'000U,
                                  std::numeric_limits<std::uint64_t>::max()};
  for (std::uint64_t value : values) {
    SCOPED_TRACE(value);
    const TypeParam n(value);
    Mpz expected;
    mpz_set_ui(expected, value);
    EXPECT_TRUE(Matches(n, expected));
    EXPECT_EQ(n.low_u64(), value);
    EXPECT_EQ(n.is_zero(), value == 0);
  }
}

TYPED_TEST(NaturalTest, LowU64IsValueModulo2To64) {
  std::mt19937_64 rng(kSeed);
  for (std::size_t size : kSizes) {
    const auto n = MakeNatural<TypeParam::kBase>(size, testing::Shape::kRandom, rng);
    Mpz value;
    ToMpz(value, n);
    mpz_fdiv_r_2exp(value, value, 64);
    EXPECT_EQ(n.low_u64(), mpz_get_ui(value)) << size << " limbs";
  }
}

TYPED_TEST(NaturalTest, FromLimbsDropsHighZeroLimbs) {
  EXPECT_EQ(TypeParam::FromLimbs({5, 7, 0, 0}).size(), 2U);
  EXPECT_TRUE(TypeParam::FromLimbs({0, 0, 0}).is_zero());
  EXPECT_EQ(TypeParam::FromLimbs({}), TypeParam());
  EXPECT_EQ(TypeParam::FromLimbs({3}), TypeParam(3));
}

TYPED_TEST(NaturalTest, ComparisonMatchesGmp) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  for (std::size_t size : kSizes) {
    for (auto shape : kShapes) {
      SCOPED_TRACE(::testing::Message()
                   << "seed " << kSeed << ", " << size << " limbs, " << ShapeName(shape));
      const auto a = MakeNatural<kBase>(size, shape, rng);
      // Equal, differing in the lowest limb only, longer by a limb, and an unrelated number.
      const TypeParam others[] = {a, a + TypeParam(1), ShiftLimbsLeft(a, 1) + TypeParam(1),
                                  MakeNatural<kBase>(size, testing::Shape::kRandom, rng)};
      for (const auto& b : others) {
        Mpz za;
        Mpz zb;
        ToMpz(za, a);
        ToMpz(zb, b);
        const int expected = mpz_cmp(za, zb);
        EXPECT_EQ(a <=> b, expected <=> 0);
        EXPECT_EQ(b <=> a, 0 <=> expected);
        EXPECT_EQ(a == b, expected == 0);
      }
    }
  }
}

TYPED_TEST(NaturalTest, SumAndDifferenceMatchGmp) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  for (std::size_t a_size : kSizes) {
    for (std::size_t b_size : kSizes) {
      for (auto shape : kShapes) {
        SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << a_size << " + " << b_size
                                          << " limbs, " << ShapeName(shape));
        const auto a = MakeNatural<kBase>(a_size, shape, rng);
        const auto b = MakeNatural<kBase>(b_size, kShapes[(b_size + a_size) % std::size(kShapes)], rng);
        Mpz za;
        Mpz zb;
        Mpz expected;
        ToMpz(za, a);
        ToMpz(zb, b);
        mpz_add(expected, za, zb);
        EXPECT_TRUE(Matches(a + b, expected));
        EXPECT_TRUE(Matches(b + a, expected));
        mpz_sub(expected, za, zb);
        mpz_abs(expected, expected);
        EXPECT_TRUE(Matches(a >= b ? a - b : b - a, expected));
        mpz_set_ui(expected, 0);
        EXPECT_TRUE(Matches(a - a, expected));
      }
    }
  }
}

TYPED_TEST(NaturalTest, CarryAndBorrowRunThroughEveryLimb) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  const auto all_max = MakeNatural<kBase>(300, testing::Shape::kAllMax, rng);
  const auto power = MakeNatural<kBase>(301, testing::Shape::kPowerOfBase, rng);
  EXPECT_EQ(all_max + TypeParam(1), power);
  EXPECT_EQ(power - TypeParam(1), all_max);
  EXPECT_EQ(power - all_max, TypeParam(1));
}

TYPED_TEST(NaturalTest, MulSmallMatchesGmp) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  const Limb factors[] = {0, 1, 2, static_cast<Limb>(kBase / 2), static_cast<Limb>(kBase - 1), 123456789};
  const Limb addends[] = {0, 1, static_cast<Limb>(kBase - 1)};
  for (std::size_t size : kSizes) {
    for (auto shape : kShapes) {
      const auto a = MakeNatural<kBase>(size, shape, rng);
      Mpz za;
      ToMpz(za, a);
      for (Limb factor : factors) {
        for (Limb addend : addends) {
          SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << size << " limbs, "
                                            << ShapeName(shape) << ", * " << factor << " + " << addend);
          Mpz expected;
          mpz_mul_ui(expected, za, factor);
          mpz_add_ui(expected, expected, addend);
          EXPECT_TRUE(Matches(MulSmall(a, factor, addend), expected));
        }
      }
    }
  }
}

TYPED_TEST(NaturalTest, LimbShiftsMultiplyAndTruncate) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  for (std::size_t size : kSizes) {
    const auto a = MakeNatural<kBase>(size, testing::Shape::kSparse, rng);
    Mpz za;
    ToMpz(za, a);
    for (std::size_t count : {std::size_t{0}, std::size_t{1}, size / 2, size, size + 3}) {
      SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << size << " limbs, shift " << count);
      Mpz power;
      Mpz expected;
      mpz_ui_pow_ui(power, kBase, count);
      mpz_mul(expected, za, power);
      EXPECT_TRUE(Matches(ShiftLimbsLeft(a, count), expected));
      mpz_tdiv_q(expected, za, power);
      EXPECT_TRUE(Matches(ShiftLimbsRight(a, count), expected));
    }
  }
}

}  // namespace
}  // namespace ovn::kernel
