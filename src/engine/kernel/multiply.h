// Multiplication of limb ranges: a schoolbook base case over 64-bit accumulators, Karatsuba above it and
// number-theoretic transforms (transform_multiply.h) for long operands.
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
// Shorter operand length from which multiply() uses multiply_transform(), and the length from which
// square() does, where the product fills at least 3/4 of the transform's points (a power of two) or
// passes a power by at most 1/8 (then split); from kTransformAnyFillThreshold limbs at any fill. Chosen
// with the Threshold runs of bench/kernel_bench (one Karatsuba step against the transform), on the same
// machine shared with other builds (medians of 3, CPU time, in microseconds, Karatsuba / transform):
//   product, radix 10^9: 40/55 at 512, 126/122 at 1024, 275/251 at 2048 limbs (full transforms);
//   product, radix 2^32: 34/51 at 512, 116/111 at 1024, 279/240 at 2048 limbs;
//   square, radix 10^9:  27/42 at 512, 113/114 at 1024, 331/185 at 2048 limbs;
//   square, radix 2^32:  22/38 at 512, 67/82 at 1024, 200/173 at 2048 limbs.
// Just past a power of two the transform takes twice the points: 242 us at 1025 limbs (radix 10^9) and
// 524 us at 2049 against 134 and 282 for Karatsuba. At 3/4 fill and at the worst fill past the split
// (a busier hour, so slower throughout): 838/755 at 3072 and 748/782 at 2304 limbs, radix 10^9;
// 695/714 and 662/713, radix 2^32; at 4608, the worst fill, 1766/1592 and 1600/1526.
template <std::uint64_t Base>
inline constexpr std::size_t kTransformThreshold = 1024;
template <std::uint64_t Base>
inline constexpr std::size_t kTransformSquareThreshold = Base == kDecimalBase ? 1024 : 1536;
inline constexpr std::size_t kTransformAnyFillThreshold = 4608;

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
