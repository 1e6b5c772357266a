// Products of long limb ranges through number-theoretic transforms: the limbs are the coefficients of two
// polynomials, their cyclic convolution is computed exactly modulo two primes near 2^62 and put together
// by the Chinese remainder theorem, then carried into limbs. Same conventions as limbs.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kernel/natural.h"

namespace ovn::kernel {

// r[0..an+bn) = a[0..an) * b[0..bn), for an, bn >= 1 in either order; when a is b with an == bn it takes
// one forward transform instead of two. Needs no scratch from the caller: each thread keeps the work space
// and the tables of its longest transform so far, 88 bytes a point (at most 2 (an + bn) points).
template <std::uint64_t Base>
void multiply_transform(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn);

}  // namespace ovn::kernel
