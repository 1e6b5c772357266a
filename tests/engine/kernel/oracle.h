// GMP as the oracle for the kernel tests: conversion of a Natural to an mpz, and operands of many shapes.
#pragma once

#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "kernel/natural.h"

namespace ovn::kernel::testing {

// An mpz_t that frees itself.
class Mpz {
 public:
  Mpz() { mpz_init(value_); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  ~Mpz() { mpz_clear(value_); }
  operator mpz_ptr() { return value_; }
  operator mpz_srcptr() const { return value_; }

 private:
  mpz_t value_;
};

// value = sum limb[i] * Base^i.
template <std::uint64_t Base>
void ToMpz(mpz_ptr out, const Natural<Base>& n) {
  if constexpr (Base == kBinaryBase) {
    mpz_import(out, n.size(), -1, sizeof(Limb), 0, 0, n.limbs().data());
  } else {
    mpz_set_ui(out, 0);
    for (auto limb = n.limbs().rbegin(); limb != n.limbs().rend(); ++limb) {
      mpz_mul_ui(out, out, Base);
      mpz_add_ui(out, out, *limb);
    }
  }
}

// Equal value, and the form every Natural keeps: limbs below Base, no most significant zero limb.
template <std::uint64_t Base>
::testing::AssertionResult Matches(const Natural<Base>& ours, mpz_srcptr expected) {
  for (Limb limb : ours.limbs()) {
    if (limb >= Base) return ::testing::AssertionFailure() << "a limb is not below Base";
  }
  if (!ours.is_zero() && ours.limbs().back() == 0) {
    return ::testing::AssertionFailure() << "most significant limb is zero";
  }
  Mpz value;
  ToMpz(value, ours);
  if (mpz_cmp(value, expected) != 0) {
    return ::testing::AssertionFailure() << "value differs from GMP (" << ours.size() << " limbs, GMP "
                                         << mpz_sizeinbase(expected, 10) << " digits)";
  }
  return ::testing::AssertionSuccess();
}

// Operand shapes that reach the rare paths: long carries and borrows, zero limbs, top limbs near Base / 2.
enum class Shape { kRandom, kAllMax, kPowerOfBase, kSparse, kHalfTop, kMaxRuns };
inline constexpr Shape kShapes[] = {Shape::kRandom, Shape::kAllMax,  Shape::kPowerOfBase,
                                    Shape::kSparse, Shape::kHalfTop, Shape::kMaxRuns};
inline const char* ShapeName(Shape shape) {
  constexpr const char* kNames[] = {"random", "all Base-1",      "power of Base",
                                    "sparse", "top near Base/2", "runs of Base-1 and 0"};
  return kNames[static_cast<int>(shape)];
}

// A number of exactly n limbs of the given shape.
template <std::uint64_t Base>
Natural<Base> MakeNatural(std::size_t n, Shape shape, std::mt19937_64& rng) {
  std::uniform_int_distribution<Limb> any(0, static_cast<Limb>(Base - 1));
  std::vector<Limb> limbs(n);
  auto run_value = static_cast<Limb>(Base - 1);
  std::size_t run_left = 1 + rng() % 8;
  for (std::size_t i = 0; i < n; ++i) {
    switch (shape) {
      case Shape::kRandom:
      case Shape::kHalfTop:
        limbs[i] = any(rng);
        break;
      case Shape::kAllMax:
        limbs[i] = static_cast<Limb>(Base - 1);
        break;
      case Shape::kPowerOfBase:
        limbs[i] = 0;
        break;
      case Shape::kSparse:
        limbs[i] = rng() % 8 == 0 ? any(rng) : 0;
        break;
      case Shape::kMaxRuns:
        limbs[i] = run_value;
        if (--run_left == 0) {
          run_value = run_value == 0 ? static_cast<Limb>(Base - 1) : 0;
          run_left = 1 + rng() % 8;
        }
        break;
    }
  }
  if (n > 0) {
    if (shape == Shape::kPowerOfBase) {
      limbs[n - 1] = 1;
    } else if (shape == Shape::kHalfTop) {
      limbs[n - 1] = static_cast<Limb>(Base / 2 - 1 + rng() % 3);
    } else if (limbs[n - 1] == 0) {
      limbs[n - 1] = 1 + any(rng) % static_cast<Limb>(Base - 1);
    }
  }
  return Natural<Base>::FromLimbs(std::move(limbs));
}

struct BaseNames {
  template <typename T>
  static std::string GetName(int) {
    return T::kBase == kDecimalBase ? "Decimal" : "Binary";
  }
};
using NaturalTypes = ::testing::Types<DecimalNatural, BinaryNatural>;

}  // namespace ovn::kernel::testing
