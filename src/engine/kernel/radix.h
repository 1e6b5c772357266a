// Conversion of naturals between the decimal radix 10^9 and the binary radix 2^32, by divide and conquer
// over the powers (10^9)^(2^k): splitting at such a power costs one multiplication (to binary) or one
// division (to decimal), so a conversion costs O(M(n) log n) rather than the n^2 of limb-by-limb Horner.
// The binary powers are computed once per process and shared; the functions are safe to call from
// several threads at once.
#pragma once

#include "kernel/natural.h"
#include "kernel/step_hook.h"

namespace ovn::kernel {

BinaryNatural ToBinary(const DecimalNatural& value, const StepHook& on_step = {});
DecimalNatural ToDecimal(const BinaryNatural& value, const StepHook& on_step = {});

// Below this many limbs a piece is converted limb by limb (a multiplication or division by 10^9 per
// limb) instead of being split. Measured in microseconds (bench/combinatorics_bench, the threshold
// varied; ToDecimal over the recursive division), ToBinary at 1,000 / 10,000 digits, ToDecimal at
// 1,000 / 10,000 / 32,767 digits:
//   threshold   ToBinary         ToDecimal
//   16          3.2 / 130        20 / 426 / 2560
//   32          3.0 / 125        12 / 314 / 1890
//   64          3.3 / 133        18 / 329 / 2300
//   128         5.0 / 148        18 / 387 / 2160
inline constexpr std::size_t kRadixSplitThreshold = 32;

}  // namespace ovn::kernel
