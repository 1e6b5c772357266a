// ExponentIn: the power of e, every printed digit true. e lies between two decimal bounds lo < e < hi of n
// places (the sum of floor(10^n / k!) and that sum plus the number of its terms, in units of 10^-n). A power
// is monotonic in its base, so the results for lo and for hi bracket the true one: when both cut to the same
// printed digits, so does it; otherwise n doubles. Only e^0 = 1 lies on a printed digit's boundary (e is
// transcendental), and both bounds give it exactly, so the loop ends.
#include <algorithm>
#include <cmath>
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

// floor(E^x 10^shown) for a whole x, E being e_units / 10^places: exact integer powers, cut once at the end,
// so that no intermediate text grows past the engine's limit.
DecimalNatural WholePowerOfE(const DecimalNatural& e_units, std::size_t places, const decimal::ScaledNumber& x,
                             std::uint64_t n, std::size_t shown) {
  const DecimalNatural power = kernel::Pow(e_units, n);
  const auto places_of_power = static_cast<long>(places * n);
  if (!x.negative) {
    return decimal::logarithm::ScaleByPowerOfTen(power, static_cast<long>(shown) - places_of_power);
  }
  const DecimalNatural one = decimal::TimesPowerOfTen(DecimalNatural(1), shown + places * n);
  return kernel::DivMod(one, power).quotient;
}

// The text cut off after exactly `places` places ("0" before a leading point).
std::string CutToPlaces(std::string text, std::size_t places) {
  if (text.empty() || text.starts_with('.')) text.insert(0, "0");
  std::size_t point = text.find('.');
  if (point == std::string::npos) {
    point = text.size();
    if (places > 0) text += '.';
  }
  text.resize(point + (places > 0 ? places + 1 : 0), '0');
  return text;
}

// Calls compute(lo, hi bound) with e to ever more places until both results agree.
template <class Compute>
std::string WithBracketedE(std::size_t places, Compute&& compute) {
  for (;; places *= 2) {
    const auto [lo, hi] = EulerBounds(places);
    std::string low = compute(lo, places);
    if (low == compute(hi, places)) return low;
  }
}

}  // namespace

std::string FuncLibDec::ExponentIn(std::string_view Num, std::int16_t Exact) {
  RequireNumber(Num, "ExponentIn");
  const std::size_t shown = Exact >= 1 ? static_cast<std::size_t>(Exact) + 1 : 0;
  // E^x moves by about x e^x 10^-n: the places wanted, the whole digits of e^x and of x, and a guard.
  const double x = std::abs(TextToDouble(Num));
  const double extra = x * 0.4343 + std::log10(x + 1);
  const std::size_t places = shown + kGuardDigits + static_cast<std::size_t>(std::min(extra, 40000.0));
  // The inner power cuts at no fewer places than the result shows, so cutting it again cuts e^x.
  const std::int16_t rad_exact = RadExact();
  const std::int16_t dev_exact = DevExact();
  RadExact(static_cast<std::int16_t>(shown));
  DevExact(static_cast<std::int16_t>(shown + 1));
  struct Restore {
    FuncLibDec& engine;
    std::int16_t rad, dev;
    ~Restore() {
      engine.RadExact(rad);
      engine.DevExact(dev);
    }
  } restore{*this, rad_exact, dev_exact};
  const decimal::ScaledNumber power = decimal::ParseScaled(DelNull(Num));
  const bool whole = power.scale == 0 && decimal::logarithm::DigitCount(power.magnitude) < 10;
  std::string text = WithBracketedE(places, [&](const DecimalNatural& e, std::size_t e_places) {
    if (whole) return FixedText(WholePowerOfE(e, e_places, power, power.magnitude.low_u64(), shown), shown);
    iStepFS.clear();
    return CutToPlaces(StepIn(FixedText(e, e_places), Num), shown);
  });
  decimal::CheckLength(text, "ExponentIn");
  return text;
}

}  // namespace ovn
