#include "kernel/gcd.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdlib>
#include <utility>
#include <vector>

#include "kernel/limbs.h"

namespace ovn::kernel {
namespace {

// With cofactors of at most 2^30 and limbs below 2^32, a * x[i] + b * y[i] (a and b of opposite signs)
// plus the carry stays far inside an int64. The leading parts (below 2^60) rarely allow larger ones.
constexpr std::int64_t kMaxCofactor = std::int64_t{1} << 30;

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

// floor(numerator / denominator) for 0 < denominator <= numerator. Most of Euclid's quotients are 1, 2
// or 3 (Gauss-Kuzmin), which a few subtractions find much sooner than a division instruction.
std::int64_t Quotient(std::int64_t numerator, std::int64_t denominator) {
  if (numerator >= 4 * denominator) return numerator / denominator;
  std::int64_t quotient = 1;
  for (numerator -= denominator; numerator >= denominator; numerator -= denominator) ++quotient;
  return quotient;
}

// Euclid's algorithm on the leading parts, for as long as a quotient is certain to be the one of the
// whole numbers: Knuth's test (Algorithm L) requires both ends of the interval in which the whole
// numbers' ratio lies to give it. Stops there, or before a cofactor would pass kMaxCofactor.
Cofactors EuclidOnLeadingParts(std::uint64_t x_part, std::uint64_t y_part) {
  Cofactors m;
  auto x = static_cast<std::int64_t>(x_part);
  auto y = static_cast<std::int64_t>(y_part);
  while (y + m.c != 0 && y + m.d != 0) {
    const std::int64_t q = Quotient(x + m.a, y + m.c);
    if (q > kMaxCofactor) break;
    // The other end gives q too when q (y + d) <= x + b < (q + 1) (y + d); no product passes 2^62.
    const std::int64_t other = x + m.b - q * (y + m.d);
    if (other < 0 || other >= y + m.d) break;
    const std::int64_t c = m.a - q * m.c;
    const std::int64_t d = m.b - q * m.d;
    if (std::abs(c) > kMaxCofactor || std::abs(d) > kMaxCofactor) break;
    m = {m.c, m.d, c, d};
    const std::int64_t rest = x - q * y;
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
    const auto [x_part, y_part] = LeadingParts<Base>(x, y);
    const Cofactors m = EuclidOnLeadingParts(x_part, y_part);
    if (m.b == 0) {
      DivisionStep<Base>(x, y);
    } else {
      ApplyCofactors<Base>(m, x, y);
    }
  }
  return Natural<Base>::FromLimbs(std::move(x));
}

template Natural<kDecimalBase> Gcd(const Natural<kDecimalBase>&, const Natural<kDecimalBase>&);
template Natural<kBinaryBase> Gcd(const Natural<kBinaryBase>&, const Natural<kBinaryBase>&);

}  // namespace ovn::kernel
