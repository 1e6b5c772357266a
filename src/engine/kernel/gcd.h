// The greatest common divisor of naturals by Lehmer's algorithm: a run of Euclid's quotients is found on
// the leading 60 bits (18 decimal digits) of both numbers in machine words and applied to the whole
// numbers at once, as a 2 x 2 matrix of cofactors below 2^30. One such pass costs two linear sweeps and
// removes about a limb from each number, where Euclid's algorithm would need a full division per
// quotient; a full division remains only for a quotient too large to be found from the leading words.
// Long numbers in radix 2^32 take a double step: the leading 124 bits, cofactors below 2^62, about two
// limbs removed per pass.
#pragma once

#include <cstdint>

#include "kernel/natural.h"

namespace ovn::kernel {

// Gcd(a, 0) is a, so Gcd(0, 0) is zero.
template <std::uint64_t Base>
Natural<Base> Gcd(const Natural<Base>& a, const Natural<Base>& b);

}  // namespace ovn::kernel
