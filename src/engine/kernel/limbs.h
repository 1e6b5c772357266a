// The low layer of the kernel, in the manner of GMP's mpn functions: linear arithmetic on limb ranges in
// radix Base, least significant limb first, every limb below Base. The caller owns the memory and sizes the
// result; a carry or borrow comes back as the return value. No allocation, no signs, no policy.
// An output range may be the very same range as an input (r == a), never a partial overlap.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "kernel/natural.h"

namespace ovn::kernel {

// The number of limbs of a[0..n) without its most significant zero limbs.
inline std::size_t significant_size(const Limb* a, std::size_t n) noexcept {
  while (n > 0 && a[n - 1] == 0) --n;
  return n;
}

// -1, 0 or 1 as a[0..n) is below, equal to or above b[0..n).
inline int compare_n(const Limb* a, const Limb* b, std::size_t n) noexcept {
  while (n-- > 0) {
    if (a[n] != b[n]) return a[n] < b[n] ? -1 : 1;
  }
  return 0;
}

// r = a + b over n limbs; returns the carry (0 or 1).
template <std::uint64_t Base>
Limb add_n(Limb* r, const Limb* a, const Limb* b, std::size_t n) noexcept {
  // Lifted by 2^32 - Base, a sum reaches bit 32 exactly when it reaches Base: the carry from limb to limb
  // is then one addition and one shift.
  constexpr std::uint64_t kLift = (std::uint64_t{1} << 32) - Base;
  std::uint64_t carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t lifted = std::uint64_t{a[i]} + b[i] + kLift + carry;
    carry = lifted >> 32;
    r[i] = static_cast<Limb>(carry != 0 ? lifted : lifted + Base);
  }
  return static_cast<Limb>(carry);
}

// r = a - b over n limbs; returns the borrow (0 or 1).
template <std::uint64_t Base>
Limb sub_n(Limb* r, const Limb* a, const Limb* b, std::size_t n) noexcept {
  std::uint64_t borrow = 0;
  for (std::size_t i = 0; i < n; ++i) {
    // Wraps below zero; the top bit then says "borrow" and adding Base gives the limb.
    const std::uint64_t diff = std::uint64_t{a[i]} - b[i] - borrow;
    borrow = diff >> 63;
    r[i] = static_cast<Limb>(diff + (Base & (0 - borrow)));
  }
  return static_cast<Limb>(borrow);
}

// r = a + b for a single limb b, over n limbs; returns the carry.
template <std::uint64_t Base>
Limb add_1(Limb* r, const Limb* a, std::size_t n, Limb b) noexcept {
  std::size_t i = 0;
  for (; i < n && b != 0; ++i) {
    const std::uint64_t sum = std::uint64_t{a[i]} + b;
    b = sum >= Base;
    r[i] = static_cast<Limb>(b ? sum - Base : sum);
  }
  if (r != a) std::copy(a + i, a + n, r + i);
  return b;
}

// r = a - b for a single limb b, over n limbs; returns the borrow.
template <std::uint64_t Base>
Limb sub_1(Limb* r, const Limb* a, std::size_t n, Limb b) noexcept {
  std::size_t i = 0;
  for (; i < n && b != 0; ++i) {
    const bool borrow = a[i] < b;
    r[i] = static_cast<Limb>(borrow ? a[i] + Base - b : a[i] - b);
    b = borrow;
  }
  if (r != a) std::copy(a + i, a + n, r + i);
  return b;
}

// r = a + b for an >= bn; r has an limbs; returns the carry.
template <std::uint64_t Base>
Limb add(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn) noexcept {
  const Limb carry = add_n<Base>(r, a, b, bn);
  return add_1<Base>(r + bn, a + bn, an - bn, carry);
}

// r = a - b for an >= bn; r has an limbs; returns the borrow.
template <std::uint64_t Base>
Limb sub(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn) noexcept {
  const Limb borrow = sub_n<Base>(r, a, b, bn);
  return sub_1<Base>(r + bn, a + bn, an - bn, borrow);
}

// The products a[i] * m are split into a high and a low limb independently, so the only value carried from
// limb to limb is a small correction: the loops below have no long dependency chain through a division.

// r = a * m + carry_in over n limbs, for m < Base and carry_in < Base; returns the high limb.
template <std::uint64_t Base>
Limb mul_1(Limb* r, const Limb* a, std::size_t n, Limb m, Limb carry_in = 0) noexcept {
  std::uint64_t high = carry_in;
  Limb carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t product = std::uint64_t{a[i]} * m;
    const std::uint64_t sum = product % Base + high + carry;  // below 2 * Base
    carry = sum >= Base;
    r[i] = static_cast<Limb>(carry ? sum - Base : sum);
    high = product / Base;
  }
  return static_cast<Limb>(high + carry);
}

// r += a * m over n limbs; returns the high limb (below Base).
template <std::uint64_t Base>
Limb addmul_1(Limb* r, const Limb* a, std::size_t n, Limb m) noexcept {
  std::uint64_t high = 0;
  Limb carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t product = std::uint64_t{a[i]} * m;
    const std::uint64_t sum = r[i] + product % Base + high + carry;  // below 3 * Base
    carry = static_cast<Limb>((sum >= Base) + (sum >= 2 * Base));
    r[i] = static_cast<Limb>(sum - carry * Base);
    high = product / Base;
  }
  return static_cast<Limb>(high + carry);
}

// r -= a * m over n limbs; returns the borrow out of the top (below Base).
template <std::uint64_t Base>
Limb submul_1(Limb* r, const Limb* a, std::size_t n, Limb m) noexcept {
  std::uint64_t high = 0;
  Limb borrow = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t product = std::uint64_t{a[i]} * m;
    // Above -2 * Base: one or two Base added back make the limb.
    const auto diff =
        static_cast<std::int64_t>(r[i]) - static_cast<std::int64_t>(product % Base + high + borrow);
    constexpr auto kSignedBase = static_cast<std::int64_t>(Base);
    borrow = static_cast<Limb>((diff < 0) + (diff < -kSignedBase));
    r[i] = static_cast<Limb>(diff + borrow * kSignedBase);
    high = product / Base;
  }
  return static_cast<Limb>(high + borrow);
}

// q = a / d over n limbs for a single limb 0 < d < Base; returns the remainder. q may be a.
template <std::uint64_t Base>
Limb divrem_1(Limb* q, const Limb* a, std::size_t n, Limb d) noexcept {
  std::uint64_t rest = 0;
  while (n-- > 0) {
    const std::uint64_t current = rest * Base + a[n];
    q[n] = static_cast<Limb>(current / d);
    rest = current % d;
  }
  return static_cast<Limb>(rest);
}

}  // namespace ovn::kernel
