// Powers and integer roots of naturals. Both are exact; both run in a handful of full-length
// multiplications, and both report their progress and may be abandoned between their steps.
#pragma once

#include <cstdint>

#include "kernel/natural.h"
#include "kernel/step_hook.h"

namespace ovn::kernel {

// x^exponent by binary powering (squarings from the top bit of the exponent down); 0^0 is 1.
template <std::uint64_t Base>
Natural<Base> Pow(const Natural<Base>& x, std::uint64_t exponent, const StepHook& on_step = {});

// floor(x^(1/degree)) for degree >= 1: Newton's iteration for the inverse root in doubling precision,
// using multiplications only, then one Newton step for the root itself at full length. The last limb
// is decided with a guard limb and an error bound; an exact or nearly exact root is settled by one
// exact power.
template <std::uint64_t Base>
Natural<Base> IntegerRoot(const Natural<Base>& x, std::uint64_t degree, const StepHook& on_step = {});

// Degrees up to this one take the doubling-precision path above; higher degrees have roots of a few
// limbs only (the radicand would otherwise be astronomical) and take the plain integer Newton iteration.
inline constexpr std::uint64_t kFastRootMaxDegree = 1000;
// Roots of at most this many limbs take the plain integer Newton iteration: from a double estimate it
// needs two or three divisions of short numbers.
inline constexpr std::size_t kPlainRootMaxLimbs = 6;

}  // namespace ovn::kernel
