// Products of many factors, of words and of word powers, both radixes, against GMP.
#include "kernel/products.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "oracle.h"

namespace ovn::kernel {
namespace {

using testing::MakeNatural;
using testing::Matches;
using testing::Mpz;
using testing::ToMpz;

constexpr std::uint64_t kSeed = 20261209;

TEST(ProductsTest, ProductsOfWordsAndPowersMatchGmp) {
  // Words on both sides of a limb, a zero word, and the prime powers of 1000!.
  const std::vector<std::uint64_t> words = {
      999'999'999, 1'000'000'000, 7,     1, 4'294'967'295, 4'294'967'296, 18'446'744'073'709'551'615U,
      3,           31'623,        31'623};
  Mpz expected;
  mpz_set_ui(expected, 1);
  for (const std::uint64_t word : words) mpz_mul_ui(expected, expected, word);
  EXPECT_TRUE(Matches(ProductOfWords<kDecimalBase>(words), expected));
  EXPECT_TRUE(Matches(ProductOfWords<kBinaryBase>(words), expected));
  EXPECT_TRUE(ProductOfWords<kDecimalBase>(std::vector<std::uint64_t>{5, 0, 7}).is_zero());
  EXPECT_EQ(ProductOfWords<kDecimalBase>({}), DecimalNatural(1));

  std::vector<WordPower> powers;
  for (std::uint64_t p = 2; p <= 1000; ++p) {
    if (std::none_of(powers.begin(), powers.end(), [&](const WordPower& q) { return p % q.word == 0; })) {
      std::uint64_t exponent = 0;
      for (std::uint64_t m = 1000; m >= p; m /= p) exponent += m / p;
      powers.push_back({p, exponent});
    }
  }
  mpz_fac_ui(expected, 1000);
  EXPECT_TRUE(Matches(ProductOfPowers<kDecimalBase>(powers), expected));
  EXPECT_TRUE(Matches(ProductOfPowers<kBinaryBase>(powers), expected));
}

TEST(ProductsTest, ProductTreeOfManyFactorsMatchesGmp) {
  std::mt19937_64 rng(kSeed);
  for (const std::size_t count : {0, 1, 2, 3, 5, 64, 333}) {
    SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << count << " factors");
    std::vector<DecimalNatural> factors;
    Mpz expected, factor;
    mpz_set_ui(expected, 1);
    for (std::size_t i = 0; i < count; ++i) {
      factors.push_back(MakeNatural<kDecimalBase>(1 + rng() % 9, testing::Shape::kRandom, rng));
      ToMpz(factor, factors.back());
      mpz_mul(expected, expected, factor);
    }
    std::vector<double> shares;
    EXPECT_TRUE(
        Matches(ProductOf(std::move(factors), [&](double done) { shares.push_back(done); }), expected));
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    if (!shares.empty()) {
      EXPECT_DOUBLE_EQ(shares.back(), 1.0);
    }
  }
}

}  // namespace
}  // namespace ovn::kernel
