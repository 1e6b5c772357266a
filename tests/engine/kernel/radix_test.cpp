// Radix conversion between 10^9 and 2^32 against GMP.
#include "kernel/radix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "oracle.h"

namespace ovn::kernel {
namespace {

using testing::kShapes;
using testing::MakeNatural;
using testing::Matches;
using testing::Mpz;
using testing::ShapeName;
using testing::ToMpz;

constexpr std::uint64_t kSeed = 20261208;
// Both sides of the split threshold and of the split points 2^k, up to the longest text (3641 limbs).
constexpr std::size_t kT = kRadixSplitThreshold;
constexpr std::size_t kSizes[] = {0, 1, 2, kT - 1, kT, kT + 1, 2 * kT, 2 * kT + 1, 255, 256, 257, 1000, 3641};

TEST(RadixTest, DecimalToBinaryAndBackKeepsTheValue) {
  std::mt19937_64 rng(kSeed);
  for (const std::size_t n : kSizes) {
    for (const auto shape : kShapes) {
      SCOPED_TRACE(::testing::Message() << "seed " << kSeed << ", " << n << " limbs, " << ShapeName(shape));
      const DecimalNatural decimal = MakeNatural<kDecimalBase>(n, shape, rng);
      Mpz expected;
      ToMpz(expected, decimal);
      const BinaryNatural binary = ToBinary(decimal);
      EXPECT_TRUE(Matches(binary, expected));
      EXPECT_TRUE(Matches(ToDecimal(binary), expected));
    }
  }
}

TEST(RadixTest, BinaryToDecimalMatchesGmp) {
  // Binary shapes give decimal limbs of every kind, and values next to the powers (10^9)^(2^k).
  std::mt19937_64 rng(kSeed + 1);
  for (const std::size_t n : kSizes) {
    for (const auto shape : kShapes) {
      SCOPED_TRACE(::testing::Message()
                   << "seed " << kSeed + 1 << ", " << n << " limbs, " << ShapeName(shape));
      const BinaryNatural binary = MakeNatural<kBinaryBase>(n, shape, rng);
      Mpz expected;
      ToMpz(expected, binary);
      EXPECT_TRUE(Matches(ToDecimal(binary), expected));
    }
  }
  for (const std::size_t k : {5, 6, 8, 10}) {
    const DecimalNatural power = ShiftLimbsLeft(DecimalNatural(1), std::size_t{1} << k);
    for (const DecimalNatural& value : {power, power - DecimalNatural(1), power + DecimalNatural(1)}) {
      EXPECT_EQ(ToDecimal(ToBinary(value)), value) << "near (10^9)^" << (1 << k);
    }
  }
}

TEST(RadixTest, StepHookSeesRisingSharesAndCanAbandon) {
  std::mt19937_64 rng(kSeed + 2);
  const DecimalNatural decimal = MakeNatural<kDecimalBase>(3000, testing::Shape::kRandom, rng);
  const BinaryNatural binary = ToBinary(decimal);
  for (const bool to_binary : {true, false}) {
    std::vector<double> shares;
    const StepHook record = [&](double done) { shares.push_back(done); };
    if (to_binary) {
      ToBinary(decimal, record);
    } else {
      ToDecimal(binary, record);
    }
    ASSERT_GT(shares.size(), 4U);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_GE(shares.front(), 0.0);
    EXPECT_LE(shares.back(), 1.0);
  }
  const StepHook cancel = [](double) { throw std::runtime_error("cancelled"); };
  EXPECT_THROW(ToBinary(decimal, cancel), std::runtime_error);
  EXPECT_THROW(ToDecimal(binary, cancel), std::runtime_error);
}

}  // namespace
}  // namespace ovn::kernel
