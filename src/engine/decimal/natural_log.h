// Natural logarithms and exponentials of decimal numbers in fixed point (radix 10^9), each with a proven
// bound on its error, and the small tools on naturals that the logarithm's exactness check shares with them.
// A caller that needs digits it can trust widens the precision until the bound settles them (Ziv's strategy).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "decimal/decimal_text.h"
#include "kernel/step_hook.h"

namespace ovn::decimal::logarithm {

using kernel::Limb;

// A signed fixed-point value magnitude / (10^9)^limbs, limbs being the precision it was asked for; the
// true value lies within error_ulps units of its last limb.
struct Bounded {
  bool negative = false;
  DecimalNatural magnitude;
  std::uint64_t error_ulps = 0;
};

// ln x for x > 0, to `limbs` fraction limbs. The error bound grows only with the square root of the
// precision (a few hundred ulps at 70,000 digits). ln 2, ln 3, ln 5 and ln 7 are kept for the process at
// the largest precision asked for so far. on_step receives the share done and may throw to cancel.
Bounded NaturalLog(const ScaledNumber& x, std::size_t limbs, const kernel::StepHook& on_step = {});

// e^t for t = magnitude / (10^9)^t_limbs, within t.error_ulps of the caller's true value, to `limbs`
// fraction limbs; the bound covers t's error too. The caller keeps |t| below 10^6 (k ln 2 is subtracted
// with k fitting a limb). The ln 2 of the reduction comes from the same kept constants as NaturalLog's.
// on_step as for NaturalLog.
Bounded NaturalExp(const Bounded& t, std::size_t t_limbs, std::size_t limbs,
                   const kernel::StepHook& on_step = {});

// x^(p/q), or with `reciprocal` x^(-p/q), as e^t for t = +-(p/q) ln x, ln x taken to log_limbs and the power
// to `limbs` fraction limbs, for x > 0 and p, q > 0; the bound covers every step. Nothing when |t| passes
// 10^5 (a power far beyond any text or below any place) or when the logarithm's error times p/q does not
// fit two limbs. on_step as for NaturalLog.
std::optional<Bounded> PowerByLogarithm(const ScaledNumber& x, const DecimalNatural& p, const DecimalNatural& q,
                                        bool reciprocal, std::size_t log_limbs, std::size_t limbs,
                                        const kernel::StepHook& on_step = {});

// The number of decimal digits of n (0 for zero).
std::size_t DigitCount(const DecimalNatural& n);
// log10 n to about 15 significant digits; -infinity for zero.
double Log10(const DecimalNatural& n);
// n / d truncated, for 0 < d < 10^9; the remainder goes to *remainder when asked for.
DecimalNatural DivideSmall(const DecimalNatural& n, Limb d, Limb* remainder = nullptr);
// n / d and n mod d by the kernel's division, piece by piece from the top, with on_step after each piece:
// the same result, in steps short enough to keep the window answering.
kernel::QuotientRemainder<kernel::kDecimalBase> DivideInPieces(const DecimalNatural& n,
                                                               const DecimalNatural& d,
                                                               const kernel::StepHook& on_step);
// n * 10^shift, truncated when shift is negative.
DecimalNatural ScaleByPowerOfTen(const DecimalNatural& n, long shift);
// n * p^k, exactly, for a prime p below 10.
DecimalNatural TimesPrimePower(DecimalNatural n, Limb p, std::uint64_t k);
// n / p^k, truncated, for a prime p below 10.
DecimalNatural OverPrimePower(DecimalNatural n, Limb p, std::uint64_t k);

}  // namespace ovn::decimal::logarithm
