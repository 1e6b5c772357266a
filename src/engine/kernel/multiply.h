// Multiplication of limb ranges: a schoolbook base case over 64-bit accumulators and Karatsuba above it.
// Same conventions as limbs.h; the product never overlaps an operand.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kernel/natural.h"

namespace ovn::kernel {

// Shorter operand length (limbs) from which multiply() uses Karatsuba instead of the base case, and the
// length from which square() uses Karatsuba squaring. Chosen with the Threshold runs of
// bench/kernel_bench (the base case against one Karatsuba step over it, same operands), on an AMD EPYC
// (Zen 5) with the AVX2 loops; time of the step over time of the base case:
//   product, radix 10^9: 1.06 at 144, 1.01 at 160 and 176, 0.96 at 192, 0.92 at 224 limbs;
//   product, radix 2^32: 1.04 at 128, 1.01 at 144, 0.97 at 160, 0.93 at 192 limbs;
//   square, radix 10^9:  1.20 at 192, 1.11 at 256, 1.06 at 320, 1.07 at 368, 1.05 at 380 limbs, so
//                        the base case keeps every square it can take in one window (382 limbs);
//   square, radix 2^32:  1.10 at 192, 1.02 at 240, 1.00 at 256, 0.99 at 288, 0.93 at 320 limbs.
template <std::uint64_t Base>
inline constexpr std::size_t kKaratsubaThreshold = Base == kDecimalBase ? 176 : 144;
template <std::uint64_t Base>
inline constexpr std::size_t kKaratsubaSquareThreshold = Base == kDecimalBase ? 383 : 272;

// r[0..an+bn) = a[0..an) * b[0..bn), for an, bn >= 1 in either order. a may be b.
template <std::uint64_t Base>
void multiply(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn, Limb* scratch);
// r[0..2n) = a[0..n)^2, for n >= 1.
template <std::uint64_t Base>
void square(Limb* r, const Limb* a, std::size_t n, Limb* scratch);
// Limbs of scratch that multiply() and square() need when the longer operand has n limbs.
constexpr std::size_t multiply_scratch_size(std::size_t n) {
  return 8 * n + 16;
}

// The algorithms behind multiply() and square(), for tests and benchmarks; they need no thresholds.
// The schoolbook product, any sizes >= 1.
template <std::uint64_t Base>
void multiply_basecase(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn);
template <std::uint64_t Base>
void square_basecase(Limb* r, const Limb* a, std::size_t n);
// One Karatsuba step over multiply(); requires an >= bn > (an + 1) / 2.
template <std::uint64_t Base>
void multiply_karatsuba(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn, Limb* scratch);
// One Karatsuba squaring step over square(); requires n >= 2.
template <std::uint64_t Base>
void square_karatsuba(Limb* r, const Limb* a, std::size_t n, Limb* scratch);

}  // namespace ovn::kernel
