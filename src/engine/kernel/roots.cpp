#include "kernel/roots.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstddef>
#include <vector>

namespace ovn::kernel {
namespace {

// The root is found to one limb more than asked (the guard limb) with an error of at most kRootSlack
// units of that limb; the bound shown at FastRoot::FinalStep is below 10 for every degree up to
// kFastRootMaxDegree.
constexpr std::size_t kGuardLimbs = 1;
constexpr std::uint64_t kRootSlack = 64;
// Inverse roots of at most this many limbs are taken directly, by the plain iteration on a short number.
constexpr std::size_t kInverseBaseLimbs = 4;

// x * Base^shift; a negative shift drops limbs.
template <std::uint64_t Base>
Natural<Base> Shifted(const Natural<Base>& x, std::ptrdiff_t shift) {
  return shift >= 0 ? ShiftLimbsLeft(x, static_cast<std::size_t>(shift))
                    : ShiftLimbsRight(x, static_cast<std::size_t>(-shift));
}

template <std::uint64_t Base>
std::size_t LowZeroLimbs(const Natural<Base>& x) {
  const auto limbs = x.limbs();
  return static_cast<std::size_t>(std::find_if(limbs.begin(), limbs.end(), [](Limb l) { return l != 0; }) -
                                  limbs.begin());
}

// The product without the low zero limbs of either factor: radicands scaled by a power of the radix are
// mostly zeros, and a short radicand then costs a linear pass instead of a full multiplication.
template <std::uint64_t Base>
Natural<Base> Times(const Natural<Base>& a, const Natural<Base>& b) {
  const std::size_t za = LowZeroLimbs(a);
  const std::size_t zb = LowZeroLimbs(b);
  if (za + zb == 0) return a * b;
  return ShiftLimbsLeft(ShiftLimbsRight(a, za) * ShiftLimbsRight(b, zb), za + zb);
}

template <std::uint64_t Base>
Natural<Base> PowerOfBase(std::size_t exponent) {
  return ShiftLimbsLeft(Natural<Base>(1), exponent);
}

// log(x) from its three leading limbs, for x > 0.
template <std::uint64_t Base>
double LogOf(const Natural<Base>& x) {
  const auto limbs = x.limbs();
  const std::size_t lead = std::min<std::size_t>(3, limbs.size());
  double value = 0;
  for (std::size_t i = 1; i <= lead; ++i) value = value * static_cast<double>(Base) + limbs[limbs.size() - i];
  return std::log(value) + static_cast<double>(limbs.size() - lead) * std::log(static_cast<double>(Base));
}

// A natural not below a positive finite double (up to the rounding of a division by Base).
template <std::uint64_t Base>
Natural<Base> NaturalAbove(double value) {
  std::size_t shift = 0;
  for (; value >= 0x1p62; ++shift) value /= static_cast<double>(Base);
  return ShiftLimbsLeft(Natural<Base>(static_cast<std::uint64_t>(value) + 2), shift);
}

// floor(x^(1/d)) by the integer Newton iteration r <- ((d-1) r + floor(x / r^(d-1))) / d from above,
// which decreases strictly until it reaches the floor of the root. x >= 1, d >= 2. The hook is called
// after each step; the steps needed are not known ahead, so its share approaches 1 by halves.
template <std::uint64_t Base>
Natural<Base> PlainRoot(const Natural<Base>& x, std::uint64_t d, const StepHook& on_step = {}) {
  const Natural<Base> degree(d);
  const Natural<Base> degree_less_one(d - 1);
  Natural<Base> r = NaturalAbove<Base>(std::exp(LogOf(x) / static_cast<double>(d)) * (1 + 1e-9));
  bool checked = false;
  double done = 0;
  for (;;) {
    // A power of a high degree is long even when r is short: each reports within its share of the step.
    const double next = 1 - (1 - done) / 2;
    const double middle = (done + next) / 2;
    const Natural<Base> quotient = DivMod(x, Pow(r, d - 1, Within(on_step, done, middle))).quotient;
    if (quotient >= r) {  // r^d <= x: the descent ends here
      // Unless this is the first value, a double estimate meant to be above the root: it is checked, and
      // doubled if it was too low.
      if (checked || Pow(r + Natural<Base>(1), d, Within(on_step, middle, next)) > x) return r;
      r = r + r;
      done = next;
      continue;
    }
    checked = true;
    r = DivMod(degree_less_one * r + quotient, degree).quotient;
    done = next;
    if (on_step) on_step(done);
  }
}

// Signed difference a - b as a magnitude and a sign.
template <std::uint64_t Base>
struct Signed {
  Natural<Base> magnitude;
  bool negative = false;
};
template <std::uint64_t Base>
Signed<Base> Difference(const Natural<Base>& a, const Natural<Base>& b) {
  if (a >= b) return {a - b, false};
  return {b - a, true};
}
template <std::uint64_t Base>
Natural<Base> AddSigned(const Natural<Base>& a, const Signed<Base>& b) {
  return b.negative ? a - b.magnitude : a + b.magnitude;
}

// The root of X = x * Base^(d * kGuardLimbs), which has n limbs, with an error of a few units. All values
// are fixed-point: X_real = X / Base^(d (n - 1)) lies in [1, Base^d), u = X_real^(-1/d) in (1/Base, 1],
// and U_p = u * Base^p is held with a relative error below 3 * Base^(1-p).
template <std::uint64_t Base>
class FastRoot {
 public:
  FastRoot(const Natural<Base>& x, std::uint64_t d, std::size_t n) : x_(x), d_(d), n_(n) {
    point_ = static_cast<std::ptrdiff_t>(d * (n - 1 - kGuardLimbs));
  }

  Natural<Base> Run(const StepHook& on_step) {
    // 2p >= n + 4 makes the last Newton step exact to a few units (see FinalStep).
    const std::size_t p = (n_ + 5) / 2;
    std::vector<std::size_t> precisions{p};
    while (precisions.back() > kInverseBaseLimbs) precisions.push_back((precisions.back() + 1) / 2 + 1);
    Natural<Base> u = InverseBase(precisions.back());
    // A step's cost grows with the square of its precision; each power inside reports within its share.
    const auto share = [p](std::size_t precision) {
      return 0.5 * std::pow(static_cast<double>(precision) / static_cast<double>(p), 2);
    };
    for (std::size_t i = precisions.size() - 1; i-- > 0;) {
      u = InverseStep(u, precisions[i + 1], precisions[i],
                      Within(on_step, share(precisions[i + 1]), share(precisions[i])));
    }
    return FinalStep(u, p, Within(on_step, 0.5, 1.0));
  }

 private:
  // floor(X_real * Base^p), p limbs after the point.
  Natural<Base> RadicandAt(std::size_t p) const {
    return Shifted(x_, static_cast<std::ptrdiff_t>(p) - point_);
  }

  // U_p = floor((Base^(p d) / X_real)^(1/d)) from short exact numbers.
  Natural<Base> InverseBase(std::size_t p) const {
    const Natural<Base> scaled = PowerOfBase<Base>(p * (d_ + 1));
    return PlainRoot(DivMod(scaled, RadicandAt(p)).quotient, d_);
  }

  // One Newton step y' = y + y (1 - X_real y^d) / d from U_q to U_p, for p <= 2q - 2: the relative error
  // eps becomes about (d + 1)/2 eps^2 (far below one unit for d <= kFastRootMaxDegree) plus the roundings
  // below, each at most one unit of U_p.
  Natural<Base> InverseStep(const Natural<Base>& u, std::size_t q, std::size_t p,
                            const StepHook& on_step) const {
    // X_real * y^d at scale Base^(p + qd); its distance from one, kept to the limbs that matter.
    const Natural<Base> product = Times(RadicandAt(p), Pow(u, d_, on_step));
    const Signed<Base> error = Difference(PowerOfBase<Base>(p + q * d_), product);
    const Natural<Base> error_top = ShiftLimbsRight(error.magnitude, q * d_);
    const Natural<Base> correction = DivMod(ShiftLimbsRight(u * error_top, q), Natural<Base>(d_)).quotient;
    return AddSigned(ShiftLimbsLeft(u, p - q), Signed<Base>{correction, error.negative});
  }

  // From U_p: S0 = s * Base^(n-p) with s = X_real u^(d-1) Base^(p-1) (the root to about p limbs), then one
  // Newton step for the root, S0 + (X - S0^d) / (d S0^(d-1)), with 1/S0^(d-1) taken from U_p.
  // Error, in units, with c = 3 the bound on U_p: the step from |S0 - root| <= ((d-1)c + 2) Base^(1-p)
  // root leaves at most (d-1)/2 ((d-1)c + 2)^2 Base^(3 - 2p + n) <= 2.7 for 2p >= n + 4 and d <= 1000;
  // using U_p^(d-1) for 1/S0^(d-1) costs (d-1)(dc + 2)((d-1)c + 2) Base^(2 - 2p + n), far below one;
  // cutting the residual, U_p^(d-1) and the quotient costs at most 4 more.
  Natural<Base> FinalStep(const Natural<Base>& u, std::size_t p, const StepHook& on_step) const {
    const std::size_t d = static_cast<std::size_t>(d_);
    const Natural<Base> u_power = Pow(u, d_ - 1, Within(on_step, 0, 0.5));
    const Natural<Base> s = ShiftLimbsRight(Times(RadicandAt(p), u_power), (d - 1) * p + 1);
    // The residual X - S0^d, in units of Base^j, j = (d-1)(n-1): one such unit moves the root by at most
    // one unit.
    const auto j = static_cast<std::ptrdiff_t>((d - 1) * (n_ - 1));
    const Natural<Base> radicand_top = Shifted(x_, static_cast<std::ptrdiff_t>(d * kGuardLimbs) - j);
    const Natural<Base> power_top =
        Shifted(Pow(s, d_, Within(on_step, 0.5, 1.0)), static_cast<std::ptrdiff_t>(d * (n_ - p)) - j);
    const Signed<Base> residual = Difference(radicand_top, power_top);
    // U_p^(d-1) cut to p + 2 limbs: relative error below Base^-(p+1).
    const std::size_t cut = u_power.size() > p + 2 ? u_power.size() - (p + 2) : 0;
    const Natural<Base> inverse = ShiftLimbsRight(u_power, cut);
    // delta = residual * Base^j * U_p^(d-1) / (d Base^((p + n - 1)(d - 1))).
    const std::size_t scale = p * (d - 1) - cut;
    const Natural<Base> delta =
        DivMod(ShiftLimbsRight(Times(residual.magnitude, inverse), scale), Natural<Base>(d_)).quotient;
    return AddSigned(ShiftLimbsLeft(s, n_ - p), Signed<Base>{delta, residual.negative});
  }

  const Natural<Base>& x_;
  std::uint64_t d_;
  std::size_t n_;
  std::ptrdiff_t point_;
};

}  // namespace

template <std::uint64_t Base>
Natural<Base> Pow(const Natural<Base>& x, std::uint64_t exponent, const StepHook& on_step) {
  if (exponent == 0) return Natural<Base>(1);
  if (x.is_zero() || exponent == 1) return x;
  // Low zero limbs are powered by a shift.
  if (const std::size_t zeros = LowZeroLimbs(x); zeros > 0) {
    return ShiftLimbsLeft(Pow(ShiftLimbsRight(x, zeros), exponent, on_step), zeros * exponent);
  }
  const int top = std::bit_width(exponent) - 1;
  Natural<Base> power = x;
  for (int bit = top - 1; bit >= 0; --bit) {
    power = power * power;
    if ((exponent >> bit) & 1U) power = x.size() == 1 ? MulSmall(power, x.limbs()[0]) : power * x;
    // The length doubles at each step and the cost grows faster, so the last step is most of the work.
    if (on_step) on_step(std::exp2(-1.6 * bit));
  }
  return power;
}

template <std::uint64_t Base>
Natural<Base> IntegerRoot(const Natural<Base>& x, std::uint64_t degree, const StepHook& on_step) {
  assert(degree >= 1);
  if (degree == 1 || x.is_zero()) return x;
  // x < Base^size <= 2^degree: the root is 1.
  if (static_cast<double>(x.size()) * std::log2(static_cast<double>(Base)) <= static_cast<double>(degree)) {
    return Natural<Base>(1);
  }
  const std::size_t n = (x.size() + degree - 1) / degree;  // the root is below Base^n
  if (n <= kPlainRootMaxLimbs || degree > kFastRootMaxDegree) {
    Natural<Base> root = PlainRoot(x, degree, on_step);
    if (on_step) on_step(1.0);
    return root;
  }

  const Natural<Base> guarded = FastRoot<Base>(x, degree, n + kGuardLimbs).Run(on_step);
  const Natural<Base> slack(kRootSlack);
  const Natural<Base> low =
      ShiftLimbsRight(guarded >= slack ? guarded - slack : Natural<Base>{}, kGuardLimbs);
  const Natural<Base> high = ShiftLimbsRight(guarded + slack, kGuardLimbs);
  if (on_step) on_step(1.0);
  if (low == high) return high;
  // The root is within the slack of a whole number (an exact root, most often): one exact power decides.
  return Pow(high, degree) <= x ? high : high - Natural<Base>(1);
}

#define OVN_INSTANTIATE_ROOTS(Base)                                                 \
  template Natural<Base> Pow(const Natural<Base>&, std::uint64_t, const StepHook&); \
  template Natural<Base> IntegerRoot(const Natural<Base>&, std::uint64_t, const StepHook&);

OVN_INSTANTIATE_ROOTS(kDecimalBase)
OVN_INSTANTIATE_ROOTS(kBinaryBase)

}  // namespace ovn::kernel
