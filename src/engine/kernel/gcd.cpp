#include "kernel/gcd.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "kernel/limbs.h"

namespace ovn::kernel {
namespace {

// Two sizes of Lehmer step. Single: the leading 60 bits of both numbers in an int64, cofactors of at most
// 2^30, so that a * x[i] + b * y[i] (a and b of opposite signs) plus the carry stays inside an int64.
// Double (radix 2^32 only): the leading 124 bits in an __int128, cofactors of at most 2^62 (still int64
// numbers), applied two limbs at a time; one sweep over the numbers then removes about two limbs instead
// of one with about as many multiplications, and the sweeps are nearly all of the work.
// GCC and Clang name the 128-bit integers as an extension of the language.
__extension__ using Wide = __int128;
__extension__ using UnsignedWide = unsigned __int128;
constexpr std::int64_t kMaxCofactor = std::int64_t{1} << 30;
constexpr std::int64_t kMaxWideCofactor = std::int64_t{1} << 62;
// Length (limbs of the larger number) from which the double step is taken. Its run on the leading parts
// costs more (128-bit divisions), so short numbers keep the single step. CalcNODIn of two random numbers
// (bench/lists_bench), single against double step: 1,000 digits (104 limbs) 22 against 25 us; 10,000
// digits 1.19 against 0.89 ms; 30,000 digits 8.2 against 5.4 ms (GMP: 2.9 ms).
constexpr std::size_t kDoubleStepLimbs = 160;
static_assert(kDoubleStepLimbs >= 5, "the 124 leading bits need the four limbs below the top one");

constexpr std::array<std::uint64_t, 10> kPowersOfTen = {
    1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};

// The next pair of Euclid's remainders: x' = a x + b y, y' = c x + d y. No quotient found: b == 0.
struct Cofactors {
  std::int64_t a = 1;
  std::int64_t b = 0;
  std::int64_t c = 0;
  std::int64_t d = 1;
};

// floor(x / S) and floor(y / S) for one S that leaves x (n >= 3 limbs) 18 decimal digits or 60 bits;
// y (at most n limbs, y <= x) is cut at the same place. Both parts are below 2^60.
template <std::uint64_t Base>
std::pair<std::uint64_t, std::uint64_t> LeadingParts(const std::vector<Limb>& x, const std::vector<Limb>& y) {
  const std::size_t n = x.size();
  // Limb n - 1 - k of v, zero where v is shorter.
  const auto top = [n](const std::vector<Limb>& v, std::size_t k) -> std::uint64_t {
    const std::size_t i = n - 1 - k;
    return i < v.size() ? v[i] : 0;
  };
  if constexpr (Base == kDecimalBase) {
    std::size_t digits = 1;  // of x's top limb
    while (digits < 9 && x[n - 1] >= kPowersOfTen[digits]) ++digits;
    const auto part = [&](const std::vector<Limb>& v) {
      return (top(v, 0) * Base + top(v, 1)) * kPowersOfTen[9 - digits] + top(v, 2) / kPowersOfTen[digits];
    };
    return {part(x), part(y)};
  } else {
    const int shift = std::bit_width(x[n - 1]) + 4;  // 5 to 36: the top 60 of the 64 + width bits
    const auto part = [&](const std::vector<Limb>& v) {
      return (top(v, 0) << (64 - shift)) | (((top(v, 1) << 32) | top(v, 2)) >> shift);
    };
    return {part(x), part(y)};
  }
}

// floor(x / S) and floor(y / S) for one S that leaves x (radix 2^32, n >= kDoubleStepLimbs limbs) 124 bits;
// y (at most n limbs, y <= x) is cut at the same place.
std::pair<Wide, Wide> WideLeadingParts(const std::vector<Limb>& x, const std::vector<Limb>& y) {
  const std::size_t n = x.size();
  const int shift = std::bit_width(x[n - 1]) + 4;  // 5 to 36: the top 124 of the 128 + width bits
  const auto part = [&](const std::vector<Limb>& v) {
    const auto top = [&](std::size_t k) -> UnsignedWide {
      const std::size_t i = n - 1 - k;
      return i < v.size() ? v[i] : 0;
    };
    const UnsignedWide low = (top(1) << 96) | (top(2) << 64) | (top(3) << 32) | top(4);
    return static_cast<Wide>((top(0) << (128 - shift)) | (low >> shift));
  };
  return {part(x), part(y)};
}

// floor(numerator / denominator) for 0 < denominator <= numerator. Most of Euclid's quotients are 1, 2
// or 3 (Gauss-Kuzmin), which a few subtractions find much sooner than a division instruction.
template <typename Int>
Int Quotient(Int numerator, Int denominator) {
  if (numerator >= 4 * denominator) return numerator / denominator;
  Int quotient = 1;
  for (numerator -= denominator; numerator >= denominator; numerator -= denominator) ++quotient;
  return quotient;
}

// Euclid's algorithm on the leading parts, for as long as a quotient is certain to be the one of the
// whole numbers: Knuth's test (Algorithm L) requires both ends of the interval in which the whole
// numbers' ratio lies to give it. Stops there, or before a cofactor would pass max_cofactor. Int holds
// the parts (below 2^60 in an int64, 2^124 in an __int128) with room to spare.
template <typename Int>
Cofactors EuclidOnLeadingParts(Int x, Int y, std::int64_t max_cofactor) {
  Cofactors m;
  while (y + m.c != 0 && y + m.d != 0) {
    const Int q = Quotient<Int>(x + m.a, y + m.c);
    if (q > max_cofactor) break;
    // The other end gives q too when q (y + d) <= x + b < (q + 1) (y + d); no product passes 2^62
    // (2^126 for the wide parts).
    const Int other = x + m.b - q * (y + m.d);
    if (other < 0 || other >= y + m.d) break;
    const Int c = m.a - q * m.c;
    const Int d = m.b - q * m.d;
    if (c > max_cofactor || -c > max_cofactor || d > max_cofactor || -d > max_cofactor) break;
    m = {m.c, m.d, static_cast<std::int64_t>(c), static_cast<std::int64_t>(d)};
    const Int rest = x - q * y;
    x = y;
    y = rest;
  }
  return m;
}

// Splits value (|value| < 2^62) into value = quotient * Base + rest with 0 <= rest < Base; returns the
// quotient. Shifted by a multiple of Base to be positive, the division is an unsigned one by a constant,
// with no branch on the sign, which would be mispredicted half of the time.
template <std::uint64_t Base>
std::int64_t FloorDivide(std::int64_t& value) {
  constexpr std::uint64_t kShiftBases = ((std::uint64_t{1} << 62) + Base - 1) / Base;
  const std::uint64_t shifted = static_cast<std::uint64_t>(value) + kShiftBases * Base;
  const std::uint64_t quotient = shifted / Base;
  value = static_cast<std::int64_t>(shifted - quotient * Base);
  return static_cast<std::int64_t>(quotient - kShiftBases);
}

void Trim(std::vector<Limb>& v) {
  v.resize(significant_size(v.data(), v.size()));
}

// (x, y) = (a x + b y, c x + d y) in place. Both results are remainders of Euclid's sequence: never
// negative, and no longer than x.
template <std::uint64_t Base>
void ApplyCofactors(const Cofactors& m, std::vector<Limb>& x, std::vector<Limb>& y) {
  y.resize(x.size());
  std::int64_t carry_x = 0;
  std::int64_t carry_y = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const auto xi = static_cast<std::int64_t>(x[i]);
    const auto yi = static_cast<std::int64_t>(y[i]);
    std::int64_t new_x = m.a * xi + m.b * yi + carry_x;
    std::int64_t new_y = m.c * xi + m.d * yi + carry_y;
    carry_x = FloorDivide<Base>(new_x);
    carry_y = FloorDivide<Base>(new_y);
    x[i] = static_cast<Limb>(new_x);
    y[i] = static_cast<Limb>(new_y);
  }
  assert(carry_x == 0 && carry_y == 0);
  Trim(x);
  Trim(y);
}

// cofactor * word exactly: |cofactor| <= 2^62 and word < 2^64 give one unsigned 64 x 64 -> 128 product
// below 2^126, its sign put back after.
Wide SignedProduct(std::int64_t cofactor, std::uint64_t word) {
  const auto magnitude = static_cast<std::uint64_t>(cofactor < 0 ? -cofactor : cofactor);
  const auto product = static_cast<Wide>(static_cast<UnsignedWide>(magnitude) * word);
  return cofactor < 0 ? -product : product;
}

// ApplyCofactors for the wide cofactors (radix 2^32): two limbs at a time, as one 64-bit word, so that
// each word costs four multiplications. The sums stay below 2^127 in magnitude, and the carry, the floor
// of a sum over 2^64 (an arithmetic shift), below 2^63.
void ApplyWideCofactors(const Cofactors& m, std::vector<Limb>& x, std::vector<Limb>& y) {
  x.resize(x.size() + x.size() % 2);
  y.resize(x.size());
  Wide carry_x = 0;
  Wide carry_y = 0;
  for (std::size_t i = 0; i < x.size(); i += 2) {
    std::uint64_t xi, yi;
    std::memcpy(&xi, &x[i], sizeof xi);
    std::memcpy(&yi, &y[i], sizeof yi);
    const Wide new_x = SignedProduct(m.a, xi) + SignedProduct(m.b, yi) + carry_x;
    const Wide new_y = SignedProduct(m.c, xi) + SignedProduct(m.d, yi) + carry_y;
    carry_x = new_x >> 64;
    carry_y = new_y >> 64;
    const auto low_x = static_cast<std::uint64_t>(new_x);
    const auto low_y = static_cast<std::uint64_t>(new_y);
    std::memcpy(&x[i], &low_x, sizeof low_x);
    std::memcpy(&y[i], &low_y, sizeof low_y);
  }
  assert(carry_x == 0 && carry_y == 0);
  Trim(x);
  Trim(y);
}

// One step of Euclid's algorithm with a full division: (x, y) = (y, x mod y).
template <std::uint64_t Base>
void DivisionStep(std::vector<Limb>& x, std::vector<Limb>& y) {
  const Natural<Base> rest =
      DivMod(Natural<Base>::FromLimbs(std::move(x)), Natural<Base>::FromLimbs(y)).remainder;
  x = std::move(y);
  y.assign(rest.limbs().begin(), rest.limbs().end());
}

// The value of at most two limbs; Base^2 - 1 fits a machine word for both radixes.
template <std::uint64_t Base>
std::uint64_t WordValue(const std::vector<Limb>& v) {
  std::uint64_t value = 0;
  for (auto limb = v.rbegin(); limb != v.rend(); ++limb) value = value * Base + *limb;
  return value;
}

std::uint64_t WordGcd(std::uint64_t x, std::uint64_t y) {
  while (y != 0) x = std::exchange(y, x % y);
  return x;
}

}  // namespace

template <std::uint64_t Base>
Natural<Base> Gcd(const Natural<Base>& a, const Natural<Base>& b) {
  std::vector<Limb> x(a.limbs().begin(), a.limbs().end());
  std::vector<Limb> y(b.limbs().begin(), b.limbs().end());
  if (a < b) std::swap(x, y);
  while (!y.empty()) {
    if (x.size() <= 2) return Natural<Base>(WordGcd(WordValue<Base>(x), WordValue<Base>(y)));
    Cofactors m;
    bool wide = false;
    if constexpr (Base == kBinaryBase) {
      if (x.size() >= kDoubleStepLimbs) {
        const auto [x_part, y_part] = WideLeadingParts(x, y);
        m = EuclidOnLeadingParts<Wide>(x_part, y_part, kMaxWideCofactor);
        wide = true;
      }
    }
    if (!wide) {
      const auto [x_part, y_part] = LeadingParts<Base>(x, y);
      m = EuclidOnLeadingParts<std::int64_t>(static_cast<std::int64_t>(x_part),
                                             static_cast<std::int64_t>(y_part), kMaxCofactor);
    }
    if (m.b == 0) {
      DivisionStep<Base>(x, y);
    } else if (wide) {
      ApplyWideCofactors(m, x, y);
    } else {
      ApplyCofactors<Base>(m, x, y);
    }
  }
  return Natural<Base>::FromLimbs(std::move(x));
}

template Natural<kDecimalBase> Gcd(const Natural<kDecimalBase>&, const Natural<kDecimalBase>&);
template Natural<kBinaryBase> Gcd(const Natural<kBinaryBase>&, const Natural<kBinaryBase>&);

}  // namespace ovn::kernel
