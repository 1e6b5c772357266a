// Powers, roots, rounding and the power tower of the extreme engine: StepIn, RadicalIn, CircleIn,
// GiperStepIn.
//
// A base-256 value is a binary fraction, so a root of a whole degree cut off after `places` digits is one
// integer root of the radicand scaled by 256^(places * degree), and a whole power is one binary powering.
// Where that scaled radicand would be too long (a degree of a million), the root is found in floating
// point and proved by directed-rounding bounds of its powers instead.
// A fractional exponent p / 2^k is a whole power times square roots taken k times over: those run in fixed
// point with directed rounding, giving a lower and an upper bound that are widened until both cut off to
// the same digits. A power whose value is rational could sit exactly on a cut-off point, where no precision
// settles the bounds; it is recognised first and computed exactly.
#include "extreme/extreme_powers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "decimal/natural_log.h"
#include "extreme/func_lib_orvane_lite.h"
#include "kernel/radix.h"
#include "kernel/roots.h"

namespace ovn {
namespace extreme {
namespace {

using kernel::StepHook;

constexpr double kLog2Of10 = 3.321928094887362;
constexpr std::size_t kLimbBits = 32;
// Bits computed beyond those the cut-off needs; the bounds then settle unless the true value lies within
// about 2^-64 of a cut-off point.
constexpr std::size_t kGuardBits = 64;
// Fraction bits of an exponent from which a power takes e^(y ln a) rather than a square root per bit.
constexpr std::size_t kExpLogExponentBits = 256;

[[noreturn]] void Fail(ErrorNumber number, const char* source, const char* description) {
  throw RuntimeError(number, std::string("FuncLibOrvaneLite.") + source, description);
}

void RequireWork(double bits, const char* source) {
  if (bits > static_cast<double>(kMaxWorkBits))
    Fail(ErrorNumber::kOverflow, source, "the number grows too long");
}

BinaryNatural One() {
  return BinaryNatural(1);
}

bool IsOne(const ExtremeValue& v) {
  return v.places == 0 && v.magnitude == One();
}

// The value of a whole natural that fits a machine word.
std::optional<std::uint64_t> Word(const BinaryNatural& value) {
  if (value.size() > 2) return std::nullopt;
  return value.low_u64();
}

// The low `bits` bits of value.
BinaryNatural LowBits(const BinaryNatural& value, std::size_t bits) {
  return value - ShiftBitsLeft(ShiftBitsRight(value, bits), bits);
}

bool Bit(const BinaryNatural& value, std::size_t index) {
  const auto limbs = value.limbs();
  return index / kLimbBits < limbs.size() && ((limbs[index / kLimbBits] >> (index % kLimbBits)) & 1) != 0;
}

// m * 2^exponent, exactly.
ExtremeValue TimesPowerOfTwo(const BinaryNatural& m, std::int64_t exponent) {
  ExtremeValue value;
  if (exponent < 0) value.places = static_cast<std::size_t>((-exponent + 7) / 8);
  value.magnitude =
      ShiftBitsLeft(m, static_cast<std::size_t>(exponent + 8 * static_cast<std::int64_t>(value.places)));
  return value;
}

// floor(magnitude * 256^shift) for a signed shift.
BinaryNatural ShiftDigits(const BinaryNatural& magnitude, std::ptrdiff_t shift) {
  return shift >= 0 ? ShiftDigitsLeft(magnitude, static_cast<std::size_t>(shift))
                    : ShiftDigitsRight(magnitude, static_cast<std::size_t>(-shift));
}

ExtremeValue Zero() {
  return {};
}

// ---- Whole exponents ----

// |a|^n exactly.
ExtremeValue WholePower(const ExtremeValue& a, std::uint64_t n, const StepHook& on_step, const char* source) {
  RequireWork(static_cast<double>(BitLength(a.magnitude)) * static_cast<double>(n), source);
  return {false, kernel::Pow(a.magnitude, n, on_step), a.places * static_cast<std::size_t>(n)};
}

// ---- Fractional exponents ----

// An exponent p / 2^k with p odd and k >= 1.
struct BinaryFraction {
  BinaryNatural p;
  std::size_t k;
};

BinaryFraction Reduced(const ExtremeValue& exponent) {
  const std::size_t twos = std::min(TrailingZeroBits(exponent.magnitude), 8 * exponent.places);
  return {ShiftBitsRight(exponent.magnitude, twos), 8 * exponent.places - twos};
}

// a^(p / 2^k) for a > 0 when that is rational. With a = m 2^e, m odd, and p odd, it is rational exactly
// when m is a perfect 2^k-th power c^(2^k) and 2^k divides e; it is then c^p 2^(e p / 2^k).
std::optional<ExtremeValue> RationalPower(const ExtremeValue& a, const BinaryFraction& f,
                                          const char* source) {
  // A perfect 2^k-th power above one, or an e divisible by 2^k other than zero, would need 2^k bits.
  constexpr std::size_t kMaxPossibleK = 40;
  if (f.k >= kMaxPossibleK) return std::nullopt;
  const std::size_t twos = TrailingZeroBits(a.magnitude);
  const std::int64_t e = static_cast<std::int64_t>(twos) - 8 * static_cast<std::int64_t>(a.places);
  const std::int64_t q = std::int64_t{1} << f.k;
  if (e % q != 0) return std::nullopt;
  BinaryNatural c = ShiftBitsRight(a.magnitude, twos);
  for (std::size_t i = 0; i < f.k && c != One(); ++i) {
    BinaryNatural root = kernel::IntegerRoot(c, 2);
    if (root * root != c) return std::nullopt;
    c = std::move(root);
  }
  const auto p = Word(f.p);
  if (!p ||
      *p > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max() / (std::abs(e / q) + 1))) {
    Fail(ErrorNumber::kOverflow, source, "the exponent is too long");
  }
  RequireWork(static_cast<double>(BitLength(c)) * static_cast<double>(*p), source);
  return TimesPowerOfTwo(kernel::Pow(c, *p), e / q * static_cast<std::int64_t>(*p));
}

// Lower and upper bounds of a positive value, in fixed point: value / 2^(32 limbs).
struct Bounds {
  BinaryNatural low;
  BinaryNatural high;
};

// With S = 2^(32 limbs) and R = floor(sqrt(low S)) > 0, sqrt(high S) - sqrt(low S) is at most
// (high - low) S / (2 sqrt(low S)) <= (high - low) / (2 r), r = R / S, and sqrt(low S) < R + 1: so
// R + 1 + ceil((high - low) / (2 r)) is an upper bound without a second root. 1 / (2 r) is taken from r's
// two leading limbs (which can only make it larger) with a margin of 1e-6 for the rounding of log2 and
// exp2. A gap or a factor too large for a double to carry exactly takes the second root instead.
Bounds SquareRoot(const Bounds& x, std::size_t limbs) {
  BinaryNatural low = kernel::IntegerRoot(kernel::ShiftLimbsLeft(x.low, limbs), 2);
  const BinaryNatural gap = x.high - x.low;
  if (!low.is_zero() && gap.size() <= 1) {
    const double factor = std::exp2(-Log2({false, low, 4 * limbs}) - 1) * (1 + 1e-6);
    const double widening = std::ceil(static_cast<double>(gap.low_u64()) * factor);
    if (widening < 1e15) return {low, low + BinaryNatural(static_cast<std::uint64_t>(widening) + 1)};
  }
  return {std::move(low), kernel::IntegerRoot(kernel::ShiftLimbsLeft(x.high, limbs), 2) + One()};
}

Bounds Times(const Bounds& x, const Bounds& y, std::size_t limbs) {
  return {kernel::ShiftLimbsRight(x.low * y.low, limbs),
          kernel::ShiftLimbsRight(x.high * y.high, limbs) + One()};
}

// Bounds of a^(p / 2^k) = a^w * product of a^(2^-j) over the bits j of p's fraction, at `limbs` limbs.
// A long exponent (a decimal fraction read to many places) is used to the first J bits, J a little over the
// bits of the fixed point: its rest 0 < t < 2^-J puts a^t between 1 and a^(2^-J), the last root taken, which
// is within an ulp or so of 1, so the bracket widens by that root instead of taking k - J more roots.
Bounds FractionalPowerBounds(const ExtremeValue& a, const BinaryFraction& f, const ExtremeValue& whole_power,
                             std::size_t limbs, const StepHook& on_step) {
  const BinaryNatural fraction = LowBits(f.p, f.k);
  const BinaryNatural a_fixed = ShiftDigitsRight(kernel::ShiftLimbsLeft(a.magnitude, limbs), a.places);
  Bounds root{a_fixed, a_fixed + One()};
  const BinaryNatural unit = kernel::ShiftLimbsLeft(One(), limbs);
  Bounds product{unit, unit};
  const std::size_t used = std::min(f.k, kLimbBits * limbs + kGuardBits);
  for (std::size_t j = 1; j <= used; ++j) {
    root = SquareRoot(root, limbs);
    if (Bit(fraction, f.k - j)) {
      product = Times(product, root, limbs);
    }
    if (on_step) on_step(static_cast<double>(j) / static_cast<double>(used));
  }
  if (!LowBits(fraction, f.k - used).is_zero()) {
    const Bounds widened = Times(product, root, limbs);
    if (root.high > unit) product.high = widened.high;
    if (root.low < unit) product.low = widened.low;
  }
  return {ShiftDigitsRight(product.low * whole_power.magnitude, whole_power.places),
          ShiftDigitsRight(product.high * whole_power.magnitude, whole_power.places) + One()};
}

// An exact value cut off toward zero after `places` digits.
ExtremeValue CutAt(ExtremeValue exact, std::size_t places) {
  exact.magnitude = ShiftDigits(
      exact.magnitude, static_cast<std::ptrdiff_t>(places) - static_cast<std::ptrdiff_t>(exact.places));
  exact.places = places;
  exact.cut = true;
  return exact;
}

// ---- Long exponents: e^(y ln a) ----
//
// An exponent of k fraction bits costs k square roots at the full precision. Past kExpLogExponentBits the
// decimal engine's bounded logarithm and exponential give a^(p / 2^k) = e^((p / 2^k) ln a) instead, and the
// cut is settled when both ends of the result's bound cut the same way, at one of two precisions; a value
// too near a cut point for them is left to the roots.

// floor(a^(+-p / 2^k) 256^places) as e^t, or nothing when the bounds do not settle it.
std::optional<BinaryNatural> ExpLogCut(const ExtremeValue& a, const BinaryFraction& f, bool negative,
                                       double log2_power, std::size_t places, const StepHook& on_step) {
  // a = m / 256^d is m 5^(8d) / 10^(8d) exactly.
  const std::size_t scale = 8 * a.places;
  const decimal::ScaledNumber x{false, kernel::ToDecimal(a.magnitude * kernel::Pow(BinaryNatural{5}, scale)),
                                scale};
  const DecimalNatural p = kernel::ToDecimal(f.p);
  const DecimalNatural q = kernel::ToDecimal(ShiftBitsLeft(One(), f.k));
  // Decimal digits of one unit of the cut, of the result's whole part and of the exponent (from above).
  const double cut_digits = 8.0 * static_cast<double>(places) / kLog2Of10;
  const double whole_digits = std::max(0.0, (negative ? -log2_power : log2_power) / kLog2Of10);
  const double exponent_digits =
      std::max(0.0, (static_cast<double>(BitLength(f.p)) - static_cast<double>(f.k)) / kLog2Of10 + 1);
  double progress = 0;
  for (const double guard : {9.0, 40.0}) {
    const StepHook pass_step = kernel::Within(on_step, progress, progress + 0.5);
    progress += 0.5;
    const auto limbs = static_cast<std::size_t>(std::ceil((cut_digits + guard) / 9));
    // t is wanted within 10^-(cut + guard) / max(V, 1); the logarithm's error grows p / q times in t.
    const auto log_limbs =
        static_cast<std::size_t>(std::ceil((cut_digits + guard + whole_digits + exponent_digits + 4) / 9));
    const auto v = decimal::logarithm::PowerByLogarithm(x, p, q, negative, log_limbs, limbs, pass_step);
    if (!v) return std::nullopt;
    const DecimalNatural slack(v->error_ulps);
    if (v->magnitude <= slack) continue;
    const BinaryNatural unit = kernel::ToBinary(kernel::ShiftLimbsLeft(DecimalNatural(1), limbs));
    const auto cut = [&](const DecimalNatural& bound) {
      return kernel::DivMod(ShiftDigitsLeft(kernel::ToBinary(bound), places), unit).quotient;
    };
    BinaryNatural low = cut(v->magnitude - slack);
    if (low == cut(v->magnitude + slack)) return low;
  }
  return std::nullopt;
}

// a^|exponent| for a > 0, cut off after `places` digits, or for a negative exponent its reciprocal so cut
// off; log2_power is log2 a^|exponent|.
ExtremeValue FractionalPower(const ExtremeValue& a, const ExtremeValue& exponent, double log2_power,
                             std::size_t places, const StepHook& on_step, const char* source) {
  const BinaryFraction f = Reduced(exponent);
  if (auto exact = RationalPower(a, f, source)) {
    if (exponent.negative) return TruncatedQuotient(FromInteger(1), *exact, places);
    return CutAt(*exact, places);
  }
  if (f.k > kExpLogExponentBits) {
    if (auto digits = ExpLogCut(a, f, exponent.negative, log2_power, places, on_step)) {
      return {false, std::move(*digits), places, true};
    }
  }
  const auto w = Word(ShiftBitsRight(f.p, f.k));
  if (!w) Fail(ErrorNumber::kOverflow, source, "the exponent is too long");
  const ExtremeValue whole_power = WholePower(a, *w, {}, source);

  // Relative precision the cut-off needs, and what the fixed point loses on small values.
  const double wanted = 8.0 * static_cast<double>(places) + (exponent.negative ? -log2_power : log2_power);
  const double lost = std::max(0.0, -Log2(a)) + std::max(0.0, -log2_power);
  const double bits =
      std::max(0.0, wanted) + lost + static_cast<double>(kGuardBits + 2 * std::bit_width(f.k));
  for (auto limbs = static_cast<std::size_t>(bits / kLimbBits) + 1;; limbs += limbs / 2 + 1) {
    RequireWork(static_cast<double>(limbs * kLimbBits), source);
    const Bounds x = FractionalPowerBounds(a, f, whole_power, limbs, on_step);
    BinaryNatural low, high;
    if (exponent.negative) {
      if (x.low.is_zero()) continue;
      const BinaryNatural scaled_one = ShiftDigitsLeft(kernel::ShiftLimbsLeft(One(), limbs), places);
      low = kernel::DivMod(scaled_one, x.high).quotient;
      high = kernel::DivMod(scaled_one, x.low).quotient;
    } else {
      low = kernel::ShiftLimbsRight(ShiftDigitsLeft(x.low, places), limbs);
      high = kernel::ShiftLimbsRight(ShiftDigitsLeft(x.high, places), limbs);
    }
    if (low == high) return {false, std::move(low), places, true};
  }
}

// ---- Roots of high degree ----
//
// floor(x^(1/n) 2^P) as one integer root would need a number of P n bits. Instead a candidate c is found
// by Newton's iteration in floating point and proved: bounds of (c / 2^P)^n and ((c + 1) / 2^P)^n, by
// binary powering with every product cut toward zero or away from it, must put x between them.

// A positive m 2^e.
struct Float {
  BinaryNatural m;
  std::int64_t e = 0;
};

// v kept to `bits` significant bits, cut toward zero or, when `up`, away from it.
Float Trimmed(Float v, std::size_t bits, bool up) {
  const std::size_t length = BitLength(v.m);
  if (length <= bits) return v;
  BinaryNatural m = ShiftBitsRight(v.m, length - bits);
  if (up) m = m + One();
  return {std::move(m), v.e + static_cast<std::int64_t>(length - bits)};
}

Float Product(const Float& a, const Float& b, std::size_t bits, bool up) {
  return Trimmed({a.m * b.m, a.e + b.e}, bits, up);
}

// a / b to about `bits` significant bits, cut toward zero.
Float Quotient(const Float& a, const Float& b, std::size_t bits) {
  const std::size_t shift = bits + BitLength(b.m);
  return {kernel::DivMod(ShiftBitsLeft(a.m, shift), b.m).quotient,
          a.e - b.e - static_cast<std::int64_t>(shift)};
}

// a + b, exactly.
Float Sum(const Float& a, const Float& b) {
  const Float& low = a.e < b.e ? a : b;
  const Float& high = a.e < b.e ? b : a;
  return {low.m + ShiftBitsLeft(high.m, static_cast<std::size_t>(high.e - low.e)), low.e};
}

int Compare(const Float& a, const Float& b) {
  if (a.m.is_zero() || b.m.is_zero()) return b.m.is_zero() - a.m.is_zero();
  const std::int64_t top_a = static_cast<std::int64_t>(BitLength(a.m)) + a.e;
  const std::int64_t top_b = static_cast<std::int64_t>(BitLength(b.m)) + b.e;
  if (top_a != top_b) return top_a < top_b ? -1 : 1;
  const std::int64_t e = std::min(a.e, b.e);
  const auto order = ShiftBitsLeft(a.m, static_cast<std::size_t>(a.e - e)) <=>
                     ShiftBitsLeft(b.m, static_cast<std::size_t>(b.e - e));
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// a^n, a lower bound or (when `up`) an upper one, at `bits` bits. Every squaring costs the same; the hook
// is called after each, as a high degree at many bits takes a long time.
Float PowerBound(const Float& a, std::uint64_t n, std::size_t bits, bool up, const StepHook& on_step = {}) {
  Float power{One(), 0};
  const int squarings = std::bit_width(n);
  for (int i = squarings - 1; i >= 0; --i) {
    power = Product(power, power, bits, up);
    if (((n >> i) & 1) != 0) power = Product(power, a, bits, up);
    if (on_step) on_step(static_cast<double>(squarings - i) / squarings);
  }
  return power;
}

// t^(1/n) to about `bits` bits: y <- ((n - 1) y + t / y^(n - 1)) / n from a double's estimate, each step
// doubling the correct bits less log2 n (so from a double's 48, for n below 2^32).
Float NewtonRoot(const Float& t, double log2_root, std::uint64_t n, std::size_t bits,
                 const StepHook& on_step) {
  const double whole = std::floor(log2_root);
  Float y{BinaryNatural(static_cast<std::uint64_t>(std::exp2(log2_root - whole + 52))),
          static_cast<std::int64_t>(whole) - 52};
  const Float n_minus_one{BinaryNatural(n - 1), 0};
  const Float n_float{BinaryNatural(n), 0};
  const auto lost = static_cast<std::size_t>(std::bit_width(n));
  // Every step works at full precision, so each is an equal share of the work.
  double steps = 0;
  for (std::size_t correct = 48; correct < bits + lost; correct = 2 * correct - lost) ++steps;
  double done = 0;
  for (std::size_t correct = 48; correct < bits + lost; correct = 2 * correct - lost) {
    const StepHook within = kernel::Within(on_step, done / steps, (done + 1) / steps);
    const Float step = Quotient(t, PowerBound(y, n - 1, bits, false, within), bits);
    y = Trimmed(Quotient(Sum(Product(y, n_minus_one, bits, false), step), n_float, bits), bits, false);
    ++done;
  }
  return y;
}

// x^(1/n), or with `reciprocal` x^(-1/n), when it is a binary fraction. With x = m 2^e and m odd, the root
// is u 2^(e / n) when m = u^n and n divides e; its reciprocal is a binary fraction only when u = 1.
std::optional<ExtremeValue> ExactRoot(const ExtremeValue& x, std::uint64_t n, bool reciprocal) {
  const std::size_t twos = TrailingZeroBits(x.magnitude);
  const std::int64_t e = static_cast<std::int64_t>(twos) - 8 * static_cast<std::int64_t>(x.places);
  const BinaryNatural m = ShiftBitsRight(x.magnitude, twos);
  if (e % static_cast<std::int64_t>(n) != 0) return std::nullopt;
  // An odd u^n with u >= 3 has more than n bits.
  if (m != One() && (reciprocal || n >= BitLength(m))) return std::nullopt;
  const BinaryNatural u = m == One() ? One() : kernel::IntegerRoot(m, n);
  if (m != One() && kernel::Pow(u, n) != m) return std::nullopt;
  const std::int64_t shift = e / static_cast<std::int64_t>(n);
  return TimesPowerOfTwo(u, reciprocal ? -shift : shift);
}

// floor(x^(1/n) 256^places), or with `reciprocal` floor(x^(-1/n) 256^places), for x > 0 whose root is no
// binary fraction (ExactRoot's): the root is then irrational and off every cut-off point, so the bounds
// settle at some precision and the loop ends.
BinaryNatural HighDegreeRoot(const ExtremeValue& x, std::uint64_t n, bool reciprocal, std::size_t places,
                             const StepHook& on_step, const char* source) {
  const Float value{x.magnitude, -8 * static_cast<std::int64_t>(x.places)};
  const Float one{One(), 0};
  // c is right when (c / 2^P)^n x^(+-1) <= x^(1 or 0) < ((c + 1) / 2^P)^n x^(+-1).
  const Float& target = reciprocal ? one : value;
  const Float& factor = reciprocal ? value : one;
  const auto p = 8 * static_cast<std::int64_t>(places);
  const double log2_root = (reciprocal ? -Log2(x) : Log2(x)) / static_cast<double>(n);
  auto bits = static_cast<std::size_t>(std::max(0.0, static_cast<double>(p) + log2_root)) +
              static_cast<std::size_t>(std::bit_width(n)) + kGuardBits;
  RequireWork(2.0 * static_cast<double>(bits), source);
  const Float y = NewtonRoot(reciprocal ? Quotient(one, value, bits) : value, log2_root, n, bits,
                             kernel::Within(on_step, 0, 0.5));
  BinaryNatural c = y.e + p >= 0 ? ShiftBitsLeft(y.m, static_cast<std::size_t>(y.e + p))
                                 : ShiftBitsRight(y.m, static_cast<std::size_t>(-(y.e + p)));
  double powerings = 0;
  const auto bound = [&](const BinaryNatural& root, bool up) {
    // The number of powerings is not known ahead: their shares approach the end by halves.
    ++powerings;
    const StepHook within = kernel::Within(on_step, 1 - 0.5 / powerings, 1 - 0.5 / (powerings + 1));
    return Product(PowerBound({root, -p}, n, bits, up, within), factor, bits, up);
  };
  for (;;) {
    const BinaryNatural next = c + One();
    if (Compare(bound(c, false), target) > 0) {
      c = c - One();
    } else if (Compare(bound(next, true), target) <= 0) {
      c = next;
    } else if (Compare(bound(c, true), target) <= 0 && Compare(target, bound(next, false)) < 0) {
      return c;
    } else {
      bits *= 2;
      RequireWork(2.0 * static_cast<double>(bits), source);
    }
  }
}

// ---- The tower ----

// The tower a^a^...^a of the given height, each level's power cut off as Power cuts it.
ExtremeValue Tower(const ExtremeValue& base, const ExtremeValue& height, PowerPlaces places,
                   const std::function<void(double)>& on_level, const char* source) {
  const ExtremeValue levels = Normalized(height);
  if (levels.places > 0 || (levels.negative && !levels.is_zero()) || (base.negative && !base.is_zero())) {
    Fail(ErrorNumber::kInvalidArgument, source, "the tower needs a whole height and a base of at least 0");
  }
  if (levels.is_zero()) return Zero();
  const auto total_word = Word(levels.magnitude);
  const double total = total_word ? static_cast<double>(*total_word) : 1e19;
  // A tall tower ends when it settles, after a number of levels not known ahead: its share then grows
  // like level / (level + 64), so the bar moves at every level of the first few hundred.
  const auto share = [total](std::uint64_t level) {
    const auto done = static_cast<double>(level);
    return std::min(1.0, std::max(done / total, done / (done + 64)));
  };
  // Each level depends on the one below alone: once a level equals the one two below it, the rest of the
  // tower alternates between the last two values.
  ExtremeValue before_last, last, value = base;
  BinaryNatural count = One();
  for (std::uint64_t level = 1; count != levels.magnitude; ++level) {
    before_last = std::exchange(last, std::move(value));
    // A level can be long (a fractional exponent of many places): it yields within its share.
    value = Power(base, last, places, kernel::Within(on_level, share(level), share(level + 1)), source);
    count = count + One();
    if (level >= 2 && CompareValues(value, before_last) == 0 && count != levels.magnitude) {
      const bool even_rest = LowBits(levels.magnitude - count, 1).is_zero();
      return even_rest ? value : last;
    }
    on_level(share(level + 1));
  }
  return value;
}

}  // namespace

std::size_t TrailingZeroBits(const BinaryNatural& value) {
  std::size_t zeros = 0;
  for (const kernel::Limb limb : value.limbs()) {
    if (limb != 0) return zeros + static_cast<std::size_t>(std::countr_zero(limb));
    zeros += kLimbBits;
  }
  return zeros;
}

BinaryNatural ShiftBitsRight(const BinaryNatural& value, std::size_t bits) {
  const BinaryNatural limbs = kernel::ShiftLimbsRight(value, bits / kLimbBits);
  if (bits % kLimbBits == 0) return limbs;
  return kernel::DivMod(limbs, BinaryNatural(std::uint64_t{1} << (bits % kLimbBits))).quotient;
}

BinaryNatural ShiftBitsLeft(const BinaryNatural& value, std::size_t bits) {
  const BinaryNatural limbs = kernel::ShiftLimbsLeft(value, bits / kLimbBits);
  return kernel::MulSmall(limbs, kernel::Limb{1} << (bits % kLimbBits));
}

std::size_t BitLength(const BinaryNatural& value) {
  if (value.is_zero()) return 0;
  return kLimbBits * (value.size() - 1) + static_cast<std::size_t>(std::bit_width(value.limbs().back()));
}

double Log2(const ExtremeValue& value) {
  if (value.is_zero()) return -std::numeric_limits<double>::infinity();
  const auto limbs = value.magnitude.limbs();
  const std::size_t n = limbs.size();
  double top = limbs[n - 1];
  std::size_t below = n - 1;
  if (n >= 2) {
    top = top * 4294967296.0 + limbs[n - 2];
    --below;
  }
  return std::log2(top) + static_cast<double>(kLimbBits * below) - 8.0 * static_cast<double>(value.places);
}

void RequireTextLength(double log2_value, const char* source) {
  if (log2_value / kLog2Of10 > static_cast<double>(FuncLibOrvaneLite::kMaxTextLength) + 1) {
    Fail(ErrorNumber::kOverflow, source, "result longer than 32767 characters");
  }
}

ExtremeValue Power(const ExtremeValue& base, const ExtremeValue& exponent, PowerPlaces places,
                   const StepHook& on_step, const char* source) {
  const ExtremeValue e = Normalized(exponent);
  ExtremeValue a = Normalized(base);
  if (e.is_zero()) return FromInteger(1);  // 0^0 = 1 as well, as every power series needs
  if (a.is_zero()) {
    if (e.negative) Fail(ErrorNumber::kDivisionByZero, source, "zero to a negative power");
    return Zero();
  }
  const bool whole = e.places == 0;
  if (a.negative && !whole)
    Fail(ErrorNumber::kInvalidArgument, source, "fractional power of a negative number");
  // A negative base to an odd power is negative.
  const bool negative = a.negative && (e.magnitude.limbs()[0] & 1) != 0;
  a.negative = false;
  if (IsOne(a)) return {negative, One(), 0};

  // log2 of |a|^|e|, from which the result's length is known before anything is computed.
  const double log2_power = std::exp2(Log2(ExtremeValue{false, e.magnitude, e.places})) * Log2(a);
  const std::size_t cut = e.negative ? places.reciprocal : places.fractional;
  RequireTextLength(e.negative ? -log2_power : log2_power, source);
  // A value below the last kept place cuts off to zero.
  const double kept_bits = 8.0 * static_cast<double>(cut) + 16;
  if ((e.negative && log2_power > kept_bits) || (!e.negative && !whole && log2_power < -kept_bits))
    return Zero();

  ExtremeValue power;
  if (whole) {
    const auto n = Word(e.magnitude);
    if (!n) Fail(ErrorNumber::kOverflow, source, "the exponent is too long");
    power = WholePower(a, *n, on_step, source);
    if (e.negative) power = TruncatedQuotient(FromInteger(1), power, cut);
  } else {
    power = FractionalPower(a, e, log2_power, cut, on_step, source);
  }
  power.negative = negative;
  return power;
}

ExtremeValue Root(const ExtremeValue& radicand, const ExtremeValue& degree, std::size_t places,
                  const StepHook& on_step, const char* source) {
  const ExtremeValue d = Normalized(degree);
  if (d.is_zero()) Fail(ErrorNumber::kInvalidArgument, source, "root of degree 0");
  const BinaryFraction f = d.places == 0 ? BinaryFraction{d.magnitude, 0} : Reduced(d);
  const bool odd = (f.p.limbs()[0] & 1) != 0;
  if (radicand.negative && !radicand.is_zero() && (f.k > 0 || !odd)) {
    Fail(ErrorNumber::kInvalidArgument, source, "no such root of a negative number");
  }
  if (radicand.is_zero()) {
    if (d.negative) Fail(ErrorNumber::kDivisionByZero, source, "zero to a negative power");
    return Zero();
  }
  // degree = D / 2^k: the root of degree D of radicand^(2^k).
  if (f.k >= 64) Fail(ErrorNumber::kOverflow, source, "the degree is too long");
  // The power is as long as the root's radicand: the two share the progress when there is a power.
  const double split = f.k > 0 ? 0.5 : 0.0;
  const ExtremeValue x =
      WholePower(Normalized(radicand), std::uint64_t{1} << f.k, kernel::Within(on_step, 0, split), source);
  const StepHook rest = kernel::Within(on_step, split, 1);
  const auto n = Word(f.p);
  if (!n) Fail(ErrorNumber::kOverflow, source, "the degree is too long");
  if (static_cast<double>(BitLength(x.magnitude)) +
          8.0 * static_cast<double>(places) * static_cast<double>(*n) >
      static_cast<double>(kMaxWorkBits)) {
    // Newton's start holds 48 bits, and each step loses log2 n of what it doubles.
    if (*n >= std::uint64_t{1} << 32) Fail(ErrorNumber::kOverflow, source, "the degree is too long");
    if (auto exact = ExactRoot(x, *n, d.negative)) {
      ExtremeValue root = CutAt(*exact, places);
      root.negative = radicand.negative;
      return root;
    }
    return {radicand.negative, HighDegreeRoot(x, *n, d.negative, places, rest, source), places, true};
  }
  const auto shift = static_cast<std::ptrdiff_t>(places * *n);
  // floor(x^(1/n) 256^places) is the root of floor(x 256^(places n)); the reciprocal root's, of
  // floor(256^(places n) / x).
  const BinaryNatural scaled =
      d.negative
          ? kernel::DivMod(ShiftDigitsLeft(One(), static_cast<std::size_t>(shift) + x.places), x.magnitude)
                .quotient
          : ShiftDigits(x.magnitude, shift - static_cast<std::ptrdiff_t>(x.places));
  return {radicand.negative, kernel::IntegerRoot(scaled, *n, rest), places, true};
}

}  // namespace extreme

namespace {

using extreme::BinaryNatural;
using extreme::ExtremeValue;

std::size_t PlacesFrom(std::int16_t places) {
  return places > 0 ? static_cast<std::size_t>(places) : 0;
}

}  // namespace

std::string FuncLibOrvaneLite::StepIn() {
  const ExtremeValue base = Operand(FirstNum(), "StepIn");
  const ExtremeValue exponent = Operand(SecondNum(), "StepIn");
  Yield();
  // A fractional exponent publishes under iStepDec, or under iStep when the owner set only that one.
  const bool flag = extreme::Normalized(exponent).places > 0 ? iStepDec || iStep : iStep;
  const std::size_t places = PlacesFrom(exponent.negative ? DevExact() : RadExact());
  std::string text = ResultCutAt(places, "StepIn", [&](std::size_t cut) {
    return extreme::Power(base, exponent,
                          {std::min(cut, PlacesFrom(RadExact())), std::min(cut, PlacesFrom(DevExact()))},
                          StepHookFor(flag), "StepIn");
  });
  Progress(flag, 1000.0);
  return text;
}

std::string FuncLibOrvaneLite::RadicalIn(std::int16_t Exact) {
  const ExtremeValue radicand = Operand(FirstNum(), "RadicalIn");
  const ExtremeValue degree = Operand(SecondNum(), "RadicalIn");
  Yield();
  std::string text = ResultCutAt(PlacesFrom(Exact), "RadicalIn", [&](std::size_t places) {
    return extreme::Root(radicand, degree, places, StepHookFor(iRadical), "RadicalIn");
  });
  Progress(iRadical, 1000.0);
  return text;
}

// Rounding on base-256 digits: the digit after the last kept place decides, 128 and above rounding the
// magnitude up; a negative Digits rounds the whole part at the place 256^-Digits.
std::string FuncLibOrvaneLite::CircleIn(std::int16_t Digits) {
  ExtremeValue value = Operand(FirstNum(), "CircleIn");
  const std::ptrdiff_t cut = static_cast<std::ptrdiff_t>(value.places) - Digits;
  if (cut > 0) {
    const auto dropped = static_cast<std::size_t>(cut);
    BinaryNatural kept = extreme::ShiftDigitsRight(value.magnitude, dropped);
    const BinaryNatural with_next = extreme::ShiftDigitsRight(value.magnitude, dropped - 1);
    if ((with_next.is_zero() ? 0 : with_next.limbs()[0] & 0xFF) >= 128) kept = kept + BinaryNatural(1);
    value.magnitude =
        Digits >= 0 ? std::move(kept) : extreme::ShiftDigitsLeft(kept, static_cast<std::size_t>(-Digits));
    value.places = PlacesFrom(Digits);
  }
  return Result(value, "CircleIn");
}

std::string FuncLibOrvaneLite::GiperStepIn() {
  const ExtremeValue base = Operand(FirstNum(), "GiperStepIn");
  const ExtremeValue height = Operand(SecondNum(), "GiperStepIn");
  const auto tower = GiperStepInBin(*extreme::ToExtremNum(base), *extreme::ToExtremNum(height));
  return Result(extreme::FromExtremNum(*tower), "GiperStepIn");
}

std::shared_ptr<ExtremNum> FuncLibOrvaneLite::GiperStepInBin(const ExtremNum& base, const ExtremNum& height,
                                                             bool /*ResumeCalc*/) {
  const auto on_level = [this](double done) {
    Yield();
    Progress(iGiperStep, 1000.0 * done);
  };
  const ExtremeValue tower =
      extreme::Tower(extreme::FromExtremNum(base), extreme::FromExtremNum(height),
                     {PlacesFrom(RadExact()), PlacesFrom(DevExact())}, on_level, "GiperStepIn");
  Progress(iGiperStep, 1000.0);  // a tower that settles ends before its last level
  return extreme::ToExtremNum(tower);
}

}  // namespace ovn
