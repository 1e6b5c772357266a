// Natural numbers as vectors of limbs in a fixed radix: the arithmetic shared by both engines.
// It knows no text form and no sign; the engines convert their texts to and from limbs.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ovn::kernel {

using Limb = std::uint32_t;

// One limb holds nine decimal digits (decimal engine) or 32 bits (extreme engine).
inline constexpr std::uint64_t kDecimalBase = 1'000'000'000;
inline constexpr std::uint64_t kBinaryBase = std::uint64_t{1} << 32;

// A natural number: limbs least significant first, never a most significant zero limb, zero is no limbs.
template <std::uint64_t Base>
class Natural {
 public:
  static constexpr std::uint64_t kBase = Base;

  Natural() = default;
  explicit Natural(std::uint64_t value);
  // Takes limbs least significant first (each below Base) and drops the high zero limbs.
  static Natural FromLimbs(std::vector<Limb> limbs);

  std::span<const Limb> limbs() const noexcept { return limbs_; }
  std::size_t size() const noexcept { return limbs_.size(); }
  bool is_zero() const noexcept { return limbs_.empty(); }
  // The value modulo 2^64 (exact for values below 2^64).
  std::uint64_t low_u64() const noexcept;

  friend bool operator==(const Natural&, const Natural&) = default;

 private:
  std::vector<Limb> limbs_;
};

template <std::uint64_t Base>
std::strong_ordering operator<=>(const Natural<Base>& a, const Natural<Base>& b) noexcept;

template <std::uint64_t Base>
Natural<Base> operator+(const Natural<Base>& a, const Natural<Base>& b);
// Requires a >= b.
template <std::uint64_t Base>
Natural<Base> operator-(const Natural<Base>& a, const Natural<Base>& b);
template <std::uint64_t Base>
Natural<Base> operator*(const Natural<Base>& a, const Natural<Base>& b);

template <std::uint64_t Base>
struct QuotientRemainder {
  Natural<Base> quotient;
  Natural<Base> remainder;
};
// Truncating division; requires a non-zero divisor.
template <std::uint64_t Base>
QuotientRemainder<Base> DivMod(const Natural<Base>& dividend, const Natural<Base>& divisor);

// a * m + addend, for a single limb m < Base and addend < Base.
template <std::uint64_t Base>
Natural<Base> MulSmall(const Natural<Base>& a, Limb m, Limb addend = 0);
// a * Base^count.
template <std::uint64_t Base>
Natural<Base> ShiftLimbsLeft(const Natural<Base>& a, std::size_t count);
// a / Base^count, truncated.
template <std::uint64_t Base>
Natural<Base> ShiftLimbsRight(const Natural<Base>& a, std::size_t count);

using DecimalNatural = Natural<kDecimalBase>;
using BinaryNatural = Natural<kBinaryBase>;

}  // namespace ovn::kernel
