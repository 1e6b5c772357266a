// Powers and integer roots, both radixes, against GMP: roots of every operand shape, exact powers and
// their neighbours (where the guard limb cannot decide), short radicands scaled by the radix (the engine's
// case), both sides of each threshold, and the progress hook.
#include "kernel/roots.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <vector>

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

constexpr std::uint64_t kSeed = 4711;

template <typename N>
class RootsTest : public ::testing::Test {};
TYPED_TEST_SUITE(RootsTest, testing::NaturalTypes, testing::BaseNames);

template <std::uint64_t Base>
void ExpectRootMatchesGmp(const Natural<Base>& x, std::uint64_t degree) {
  Mpz zx;
  Mpz root;
  ToMpz(zx, x);
  mpz_root(root, zx, degree);
  EXPECT_TRUE(Matches(IntegerRoot(x, degree), root)) << x.size() << " limbs, degree " << degree;
}

TYPED_TEST(RootsTest, PowMatchesGmp) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  const std::uint64_t exponents[] = {0, 1, 2, 3, 5, 16, 17, 100, 257};
  for (std::size_t limbs : {1, 2, 7, 40}) {
    for (const auto shape : kShapes) {
      const auto x = MakeNatural<kBase>(limbs, shape, rng);
      for (std::uint64_t exponent : exponents) {
        Mpz zx;
        Mpz expected;
        ToMpz(zx, x);
        mpz_pow_ui(expected, zx, exponent);
        EXPECT_TRUE(Matches(Pow(x, exponent), expected))
            << limbs << " limbs, " << ShapeName(shape) << ", exponent " << exponent;
      }
    }
  }
  Mpz expected;
  mpz_ui_pow_ui(expected, 2, 100000);
  EXPECT_TRUE(Matches(Pow(TypeParam(2), 100000), expected));
  EXPECT_TRUE(Pow(TypeParam(), 0) == TypeParam(1));
  EXPECT_TRUE(Pow(TypeParam(), 5).is_zero());
}

TYPED_TEST(RootsTest, RootsOfEveryShapeMatchGmp) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  const std::uint64_t degrees[] = {2, 3, 4, 5, 7, 10, 31};
  for (std::size_t limbs : {1, 2, 5, 13, 14, 15, 40, 97, 300}) {
    for (const auto shape : kShapes) {
      const auto x = MakeNatural<kBase>(limbs, shape, rng);
      for (std::uint64_t degree : degrees) ExpectRootMatchesGmp(x, degree);
    }
  }
}

TYPED_TEST(RootsTest, LongRootsMatchGmp) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed + 1);
  for (std::size_t limbs : {1500, 4001}) {
    ExpectRootMatchesGmp(MakeNatural<kBase>(limbs, testing::Shape::kRandom, rng), 2);
    ExpectRootMatchesGmp(MakeNatural<kBase>(limbs, testing::Shape::kHalfTop, rng), 3);
  }
}

// A short number times a power of the radix: the radicand of a root taken to many places.
TYPED_TEST(RootsTest, ShortRadicandsScaledByTheRadix) {
  for (std::uint64_t lead : {1U, 2U, 3U, 10U, 99U, 123456789U}) {
    for (std::size_t shift : {3, 12, 13, 14, 250, 1111}) {
      for (std::uint64_t degree : {2U, 3U, 5U, 10U}) {
        ExpectRootMatchesGmp(ShiftLimbsLeft(TypeParam(lead), shift * degree), degree);
        ExpectRootMatchesGmp(ShiftLimbsLeft(TypeParam(lead), shift * degree + 1), degree);
      }
    }
  }
}

// r^d and its neighbours: the guard limb is then all zeros or all Base - 1 and one exact power decides.
TYPED_TEST(RootsTest, ExactPowersAndTheirNeighbours) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed + 2);
  const TypeParam one(1);
  for (std::size_t limbs : {1, 6, 7, 8, 30, 200}) {
    for (std::uint64_t degree : {2U, 3U, 7U}) {
      for (const auto shape : kShapes) {
        const auto power = Pow(MakeNatural<kBase>(limbs, shape, rng), degree);
        ExpectRootMatchesGmp(power, degree);
        ExpectRootMatchesGmp(power - one, degree);
        ExpectRootMatchesGmp(power + one, degree);
      }
    }
  }
}

// Each side of kPlainRootMaxLimbs (root length) and of kFastRootMaxDegree, and degrees past the radicand.
TYPED_TEST(RootsTest, ThresholdsOnBothSides) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed + 3);
  for (std::size_t root_limbs : {kPlainRootMaxLimbs, kPlainRootMaxLimbs + 1}) {
    for (std::uint64_t degree : {2U, 3U}) {
      ExpectRootMatchesGmp(MakeNatural<kBase>(root_limbs * degree, testing::Shape::kRandom, rng), degree);
    }
  }
  for (std::uint64_t degree : {kFastRootMaxDegree, kFastRootMaxDegree + 1}) {
    const auto x = MakeNatural<kBase>(degree * 8 - 3, testing::Shape::kRandom, rng);
    ExpectRootMatchesGmp(x, degree);
    ExpectRootMatchesGmp(Pow(MakeNatural<kBase>(8, testing::Shape::kRandom, rng), degree), degree);
  }
  const auto x = MakeNatural<kBase>(3, testing::Shape::kRandom, rng);
  for (std::uint64_t degree : {1U, 95U, 96U, 97U, 1000000U}) ExpectRootMatchesGmp(x, degree);
  EXPECT_TRUE(IntegerRoot(TypeParam(), 3).is_zero());
}

TEST(RootsHook, ProgressNeverDecreasesAndEndsAtOne) {
  const auto radicand = ShiftLimbsLeft(DecimalNatural(2), 2 * 500);
  // Square roots, roots whose Newton steps report within their powers, roots of a degree past the fast
  // path (whose steps are powers of that degree), and powers.
  for (int operation = 0; operation < 4; ++operation) {
    std::vector<double> seen;
    const StepHook hook = [&seen](double done) { seen.push_back(done); };
    if (operation < 3) {
      IntegerRoot(radicand, std::array{2U, 7U, 5000U}[operation], hook);
    } else {
      Pow(DecimalNatural(3), 5000, hook);
    }
    ASSERT_FALSE(seen.empty());
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]);
    EXPECT_EQ(seen.back(), 1.0);
  }
}

TEST(RootsHook, AThrowingHookAbandonsTheRoot) {
  const auto radicand = ShiftLimbsLeft(DecimalNatural(2), 2 * 500);
  const StepHook hook = [](double) { throw std::runtime_error("cancelled"); };
  EXPECT_THROW(IntegerRoot(radicand, 2, hook), std::runtime_error);
}

}  // namespace
}  // namespace ovn::kernel
