// ExponentIn: the power of e, every printed digit true.
// A whole power: e lies between two decimal bounds lo < e < hi of n places (the sum of floor(10^n / k!) and
// that sum plus the number of its terms, in units of 10^-n). A power is monotonic in its base, so the results
// for lo and for hi bracket the true one: when both cut to the same printed digits, so does it; otherwise n
// doubles. Only e^0 = 1 lies on a printed digit's boundary (e is transcendental), and both bounds give it
// exactly, so the loop ends.
// A fractional power: the exponential with a proven error bound, the precision growing until the bound
// settles the printed digits (e^x is irrational for every rational x != 0).
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "decimal/decimal_text.h"
#include "decimal/double_text.h"
#include "decimal/engine_support.h"
#include "decimal/func_lib_dec.h"
#include "decimal/natural_log.h"
#include "kernel/roots.h"

namespace ovn {
namespace {

using decimal::DecimalNatural;

// Digits of e beyond those the result needs before the bounds are first tried.
constexpr std::size_t kGuardDigits = 12;
constexpr double kLog10OfE = 0.4342944819032518;

// lo and hi around e, as whole numbers of units of 10^-places.
std::pair<DecimalNatural, DecimalNatural> EulerBounds(std::size_t places) {
  DecimalNatural term = decimal::TimesPowerOfTen(DecimalNatural(1), places);
  DecimalNatural sum;
  kernel::Limb terms = 0;
  for (kernel::Limb k = 1; !term.is_zero(); ++k, ++terms) {
    sum = sum + term;
    term = decimal::logarithm::DivideSmall(term, k);  // floor(floor(x) / k) = floor(x / k): exact floors
  }
  DecimalNatural high = sum + DecimalNatural(terms + 1);
  return {std::move(sum), std::move(high)};
}

// value / 10^places as text with exactly `places` places ("0" before the point).
std::string FixedText(const DecimalNatural& value, std::size_t places) {
  std::string whole, fraction;
  decimal::FormatFixed(value, places, whole, fraction);
  if (whole.empty()) whole = "0";
  return places > 0 ? whole + "." + fraction : whole;
}

// a b / 10^places, cut down, or up when `up`: for a lower or an upper bound of a fixed-point product.
DecimalNatural FixedProduct(const DecimalNatural& a, const DecimalNatural& b, std::size_t places, bool up) {
  const DecimalNatural product = a * b;
  DecimalNatural cut = decimal::logarithm::ScaleByPowerOfTen(product, -static_cast<long>(places));
  if (up && decimal::TimesPowerOfTen(cut, places) != product) cut = cut + DecimalNatural(1);
  return cut;
}

// A lower (or, when `up`, an upper) bound of base^n, base and result in units of 10^-places: binary
// powering with every product cut the same way, so that no intermediate grows past the result's digits.
DecimalNatural BoundOfPower(const DecimalNatural& base, std::uint64_t n, std::size_t places, bool up,
                            const std::function<void()>& yield) {
  DecimalNatural result = decimal::TimesPowerOfTen(DecimalNatural(1), places);
  DecimalNatural square = base;
  for (;;) {
    if ((n & 1) != 0) result = FixedProduct(result, square, places, up);
    n >>= 1;
    if (n == 0) return result;
    square = FixedProduct(square, square, places, up);
    yield();
  }
}

// e^x for a whole x = +-n, cut after `shown` places. Bounds of lo^n and hi^n (lo < e < hi, `places` places)
// bracket e^n, and their reciprocals e^-n; when both ends cut to the same digits, so does e^x, else the
// places double. e^n is irrational for n != 0, so the loop ends.
std::string WholePowerOfE(bool negative, std::uint64_t n, std::size_t shown, std::size_t places,
                          const std::function<void()>& yield) {
  for (;; places *= 2) {
    const auto [lo, hi] = EulerBounds(places);
    DecimalNatural low = BoundOfPower(lo, n, places, false, yield);
    DecimalNatural high = BoundOfPower(hi, n, places, true, yield);
    if (negative) {
      const DecimalNatural one = decimal::TimesPowerOfTen(DecimalNatural(1), 2 * places);
      const auto [below, rest] = kernel::DivMod(one, low);
      DecimalNatural above = rest.is_zero() ? below : below + DecimalNatural(1);
      low = kernel::DivMod(one, high).quotient;
      high = std::move(above);
    }
    const long drop = static_cast<long>(shown) - static_cast<long>(places);
    DecimalNatural digits = decimal::logarithm::ScaleByPowerOfTen(low, drop);
    if (digits == decimal::logarithm::ScaleByPowerOfTen(high, drop)) return FixedText(digits, shown);
  }
}

// e^x for a fractional x = magnitude / 10^scale, cut after `shown` places: e^x within its bound at 9 guard
// digits, then at ever more limbs while the two ends of the bound cut to different digits.
std::string FractionalPowerOfE(const decimal::ScaledNumber& x, std::size_t shown,
                               const kernel::StepHook& on_step) {
  const std::size_t x_limbs = (x.scale + decimal::kDigitsPerLimb - 1) / decimal::kDigitsPerLimb;
  const decimal::logarithm::Bounded t{
      x.negative, decimal::TimesPowerOfTen(x.magnitude, decimal::kDigitsPerLimb * x_limbs - x.scale), 0};
  std::size_t limbs = (shown + kGuardDigits) / decimal::kDigitsPerLimb + 1;
  for (double progress = 0;; limbs += limbs / 2 + 1) {
    const double share = progress + (1 - progress) * 0.8;
    const auto power =
        decimal::logarithm::NaturalExp(t, x_limbs, limbs, kernel::Within(on_step, progress, share));
    progress = share;
    const long drop = static_cast<long>(shown) - static_cast<long>(decimal::kDigitsPerLimb * limbs);
    const DecimalNatural error(power.error_ulps);
    if (power.magnitude <= error) continue;
    DecimalNatural digits = decimal::logarithm::ScaleByPowerOfTen(power.magnitude - error, drop);
    if (digits == decimal::logarithm::ScaleByPowerOfTen(power.magnitude + error, drop)) {
      return FixedText(digits, shown);
    }
  }
}

}  // namespace

std::string FuncLibDec::ExponentIn(std::string_view Num, std::int16_t Exact) {
  RequireNumber(Num, "ExponentIn");
  const std::size_t shown = Exact >= 1 ? static_cast<std::size_t>(Exact) + 1 : 0;
  const double x = std::abs(TextToDouble(Num));
  const decimal::ScaledNumber power = decimal::ParseScaled(DelNull(Num));
  // e^x has floor(x log10 e) + 1 whole digits (e^-x one, a zero), then the point and `shown` places: a text
  // sure to pass the limit is refused before any work, and e^-x below 10^-(shown + 1) cuts to zero.
  const double whole_digits = x * kLog10OfE;
  const double least_whole_digits = power.negative ? 1.0 : std::floor(whole_digits * (1 - 1e-12)) + 1;
  if (least_whole_digits + (shown > 0 ? static_cast<double>(shown) + 1 : 0.0) >
      static_cast<double>(kMaxTextLength)) {
    decimal::Raise(ErrorNumber::kOverflow, "FuncLibDec.ExponentIn", "result longer than 32767 characters");
  }
  if (power.negative && whole_digits > static_cast<double>(shown) + 2) return FixedText({}, shown);
  std::string text;
  if (power.scale == 0 || power.magnitude.is_zero()) {
    // e moves the power by about x e^x 10^-n: the places wanted, the whole digits of e^x and of x, a guard.
    const double extra = whole_digits + std::log10(x + 1);
    const std::size_t places = shown + kGuardDigits + static_cast<std::size_t>(std::min(extra, 40000.0));
    text = WholePowerOfE(power.negative, power.magnitude.low_u64(), shown, places, [this] { Yield(); });
  } else {
    Progress(iStepDec, 0);
    text = FractionalPowerOfE(power, shown, [this](double done) {
      Yield();
      Progress(iStepDec, done * decimal::kProgressDone);
    });
    Progress(iStepDec, decimal::kProgressDone);
  }
  decimal::CheckLength(text, "ExponentIn");
  return text;
}

}  // namespace ovn
