// Division of limb ranges: Knuth's algorithm D as the base case, and above it a recursive block division
// in the manner of Burnikel and Ziegler (the upper half of a quotient from the upper half of the divisor,
// then corrected with one product from multiply()).
// Same conventions as limbs.h. Each function divides a by a normalised divisor d (dn >= 2 limbs, top limb
// at least Base / 2), writes the an - dn low limbs of the quotient to q and returns its top limb (0 or 1),
// and leaves the remainder in a[0..dn); the limbs of a above dn are then undefined.
#pragma once

#include <cstddef>
#include <cstdint>

#include "kernel/natural.h"

namespace ovn::kernel {

// Quotient length (limbs) from which divide() splits the quotient and takes the products from multiply()
// instead of running Knuth's base case. Chosen with the Threshold runs of bench/kernel_bench (2n by n limbs,
// the base case against one recursive step over it) on an AMD EPYC (Zen 5); time of the step over time of
// the base case, both radixes alike: 1.3 at 8, 1.17 at 10, 1.0 to 1.05 at 12, 0.92 at 14, 0.75 at 32 limbs.
template <std::uint64_t Base>
inline constexpr std::size_t kDivideRecursiveThreshold = 14;
static_assert(kDivideRecursiveThreshold<kDecimalBase> >= 4, "divide_recursive() needs 4 quotient limbs");

template <std::uint64_t Base>
Limb divide(Limb* q, Limb* a, std::size_t an, const Limb* d, std::size_t dn, Limb* scratch);
// Limbs of scratch that divide() needs for a divisor of dn limbs.
constexpr std::size_t divide_scratch_size(std::size_t dn) {
  return 10 * dn + 16;
}

// The algorithms behind divide(), for tests and benchmarks. The base case, any lengths; needs no scratch.
template <std::uint64_t Base>
Limb divide_schoolbook(Limb* q, Limb* a, std::size_t an, const Limb* d, std::size_t dn);
// One recursive step whatever the lengths, the parts below it as divide() chooses; requires
// 4 <= an - dn <= dn.
template <std::uint64_t Base>
Limb divide_recursive(Limb* q, Limb* a, std::size_t an, const Limb* d, std::size_t dn, Limb* scratch);

}  // namespace ovn::kernel
