// Products and squares, both radixes, against GMP; the base case, Karatsuba and the transform at their
// thresholds, and the transform by itself on every shape.
#include "kernel/multiply.h"

#include <gtest/gtest.h>

#include "kernel/natural.h"
#include "kernel/transform_multiply.h"
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

constexpr std::uint64_t kSeed = 77031;

struct Lengths {
  std::size_t a;
  std::size_t b;
};

template <typename N>
class MultiplyTest : public ::testing::Test {};
TYPED_TEST_SUITE(MultiplyTest, testing::NaturalTypes, testing::BaseNames);

// a * b (through multiply(), or square() when a is b) and multiply_transform() on the same operands.
template <std::uint64_t Base>
void ExpectProductMatchesGmp(const Natural<Base>& a, const Natural<Base>& b) {
  Mpz za;
  Mpz zb;
  Mpz expected;
  ToMpz(za, a);
  ToMpz(zb, b);
  mpz_mul(expected, za, zb);
  EXPECT_TRUE(Matches(a * b, expected));
  if (a.is_zero() || b.is_zero()) return;
  std::vector<Limb> product(a.size() + b.size());
  multiply_transform<Base>(product.data(), a.limbs().data(), a.size(), b.limbs().data(), b.size());
  EXPECT_TRUE(Matches(Natural<Base>::FromLimbs(std::move(product)), expected)) << "transform";
}

TYPED_TEST(MultiplyTest, ProductsMatchGmp) {
  constexpr auto kBase = TypeParam::kBase;
  constexpr std::size_t t = kKaratsubaThreshold<kBase>;
  constexpr std::size_t u = kTransformThreshold<kBase>;
  const Lengths cases[] = {
      {0, 0},
      {0, 5},
      {1, 1},
      {1, 9},
      {2, 2},
      {5, 3},
      {17, 16},
      // Both sides of the Karatsuba threshold, balanced and not.
      {t - 1, t - 1},
      {t, t},
      {t + 1, t + 1},
      {t + 1, t - 1},
      {t, t - 1},
      {3 * t, t - 1},
      // Both sides of the switch from Karatsuba to slices of the longer operand (b <= (a + 1) / 2).
      {2 * t + 1, t + 1},
      {2 * t + 1, t + 2},
      {2 * t, t},
      {2 * t, t + 1},
      {5 * t + 3, t},
      {600, 30},
      {1100, t - 1},
      {997, 998},
      {1778, 1778},
      {4000, 1},
      {4000, 333},
      {4000, 2001},
      {3999, 4000},
      // Both sides of the transform threshold; lengths whose product just fills or just passes a power of
      // two points.
      {u - 1, u - 1},
      {u, u},
      {u + 1, u - 1},
      {1024, 1025},
      {1025, 1024},
      {4 * u, u}};
  std::mt19937_64 rng(kSeed);
  for (const auto& lengths : cases) {
    for (auto shape : kShapes) {
      const Shape other = kShapes[(static_cast<int>(shape) + 1) % std::size(kShapes)];
      SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << lengths.a << " x " << lengths.b
                                        << " limbs, " << ShapeName(shape) << " x " << ShapeName(other));
      const auto a = MakeNatural<kBase>(lengths.a, shape, rng);
      const auto b = MakeNatural<kBase>(lengths.b, other, rng);
      ExpectProductMatchesGmp(a, b);
    }
  }
}

TYPED_TEST(MultiplyTest, SquaresMatchGmp) {
  constexpr auto kBase = TypeParam::kBase;
  constexpr std::size_t t = kKaratsubaSquareThreshold<kBase>;
  constexpr std::size_t u = kTransformSquareThreshold<kBase>;
  // Both sides of the thresholds, and squares from several levels of Karatsuba.
  const std::size_t lengths[] = {1, 2, 3, 4, t - 1, t, t + 1, 2 * t - 1, 2 * t, 2 * t + 1, 1778, u - 1, u};
  std::mt19937_64 rng(kSeed);
  for (std::size_t n : lengths) {
    for (auto shape : kShapes) {
      SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << n << " limbs, " << ShapeName(shape));
      const auto a = MakeNatural<kBase>(n, shape, rng);
      ExpectProductMatchesGmp(a, a);  // one object twice: the squaring paths
    }
  }
}

// multiply() and square() choose by length; here each algorithm runs by itself on the lengths around
// its threshold, so a fault on either side shows even where the dispatch would not pick that side.
TYPED_TEST(MultiplyTest, BasecaseAndKaratsubaAgreeAroundThresholds) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  for (std::size_t threshold : {kKaratsubaThreshold<kBase>, kKaratsubaSquareThreshold<kBase>}) {
    for (std::size_t n = threshold - 2; n <= threshold + 2; ++n) {
      for (auto shape : kShapes) {
        SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << n << " limbs, " << ShapeName(shape));
        const auto a = MakeNatural<kBase>(n, shape, rng);
        const auto b = MakeNatural<kBase>(n, testing::Shape::kRandom, rng);
        const Limb* x = a.limbs().data();
        const Limb* y = b.limbs().data();
        std::vector<Limb> scratch(multiply_scratch_size(n));
        std::vector<Limb> expected(2 * n);
        std::vector<Limb> actual(2 * n);
        multiply_basecase<kBase>(expected.data(), x, n, y, n);
        multiply_karatsuba<kBase>(actual.data(), x, n, y, n, scratch.data());
        EXPECT_EQ(actual, expected) << "product";
        multiply_basecase<kBase>(expected.data(), x, n, x, n);
        square_basecase<kBase>(actual.data(), x, n);
        EXPECT_EQ(actual, expected) << "square base case";
        square_karatsuba<kBase>(actual.data(), x, n, scratch.data());
        EXPECT_EQ(actual, expected) << "Karatsuba square";
      }
    }
  }
}

// The transform by itself against Karatsuba (checked against GMP above) around the transform's
// thresholds, where multiply() and square() may take either.
TYPED_TEST(MultiplyTest, TransformAndKaratsubaAgreeAroundThresholds) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  for (std::size_t threshold :
       {kTransformThreshold<kBase>, kTransformSquareThreshold<kBase>, kTransformAnyFillThreshold}) {
    for (std::size_t n = threshold - 1; n <= threshold + 1; ++n) {
      for (auto shape : {Shape::kRandom, Shape::kAllMax}) {
        SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << n << " limbs, " << ShapeName(shape));
        const auto a = MakeNatural<kBase>(n, shape, rng);
        const auto b = MakeNatural<kBase>(n, shape, rng);
        const Limb* x = a.limbs().data();
        const Limb* y = b.limbs().data();
        std::vector<Limb> scratch(multiply_scratch_size(n));
        std::vector<Limb> expected(2 * n);
        std::vector<Limb> actual(2 * n);
        multiply_karatsuba<kBase>(expected.data(), x, n, y, n, scratch.data());
        multiply_transform<kBase>(actual.data(), x, n, y, n);
        EXPECT_EQ(actual, expected) << "product";
        square_karatsuba<kBase>(expected.data(), y, n, scratch.data());
        multiply_transform<kBase>(actual.data(), y, n, y, n);
        EXPECT_EQ(actual, expected) << "square";
      }
    }
  }
}

// The base case accumulates in windows of a few hundred rows and columns; lengths well past them (which
// multiply() itself never gives it) check the seams between windows.
TYPED_TEST(MultiplyTest, BasecaseSpansSeveralWindows) {
  constexpr auto kBase = TypeParam::kBase;
  std::mt19937_64 rng(kSeed);
  const Lengths cases[] = {{300, 1200}, {1200, 300}, {700, 700}, {1, 1500}};
  for (const auto& lengths : cases) {
    for (auto shape : {Shape::kRandom, Shape::kAllMax}) {
      SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << lengths.a << " x " << lengths.b
                                        << " limbs, " << ShapeName(shape));
      const auto a = MakeNatural<kBase>(lengths.a, shape, rng);
      const auto b = MakeNatural<kBase>(lengths.b, shape, rng);
      std::vector<Limb> product(lengths.a + lengths.b);
      multiply_basecase<kBase>(product.data(), a.limbs().data(), lengths.a, b.limbs().data(), lengths.b);
      Mpz za;
      Mpz zb;
      Mpz expected;
      ToMpz(za, a);
      ToMpz(zb, b);
      mpz_mul(expected, za, zb);
      EXPECT_TRUE(Matches(TypeParam::FromLimbs(product), expected)) << "product";
      if (lengths.a == lengths.b) {
        square_basecase<kBase>(product.data(), a.limbs().data(), lengths.a);
        mpz_mul(expected, za, za);
        EXPECT_TRUE(Matches(TypeParam::FromLimbs(product), expected)) << "square";
      }
    }
  }
}

}  // namespace
}  // namespace ovn::kernel
