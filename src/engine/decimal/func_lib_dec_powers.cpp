// Powers and roots of the decimal engine: StepIn, GiperStepIn, GpStep, RadicalIn.
//
// Whole powers are exact (binary powering on naturals). Roots and fractional powers are the true values
// cut off after the requested places, so every printed digit is true: a root of a whole degree is one
// integer root of the scaled radicand; any other power is bracketed between a lower and an upper bound
// computed with directed rounding, widened until both bounds cut off to the same digits, and a power
// whose value is rational is computed exactly instead (it may sit exactly on a cut-off point).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <utility>

#include "decimal/decimal_text.h"
#include "decimal/engine_support.h"
#include "decimal/func_lib_dec.h"
#include "decimal/natural_log.h"
#include "kernel/gcd.h"
#include "kernel/roots.h"

namespace ovn {

using decimal::CheckLength;
using decimal::DecimalNatural;
using decimal::FormatDigits;
using decimal::FormatFixed;
using decimal::kDigitsPerLimb;
using decimal::kProgressDone;
using decimal::ParseDigits;
using decimal::ParseScaled;
using decimal::Raise;
using decimal::ScaledNumber;
using decimal::TimesPowerOfTen;
using kernel::StepHook;

namespace {

// Intermediate numbers (an exact power before its reciprocal, a rational power) may have this many digits:
// about a second of work. Past it the operation is refused with error 6.
constexpr double kMaxWorkDigits = 400'000;
// A bracketing that needs more precision than this (in digits) is refused with error 6; a true value lies
// this close to a cut-off point only when it is rational, and those are computed exactly.
constexpr std::size_t kMaxBracketDigits = 8 * FuncLibDec::kMaxTextLength;
// The digit-by-digit tenth roots of a long exponent cost about levels * limbs^1.6 units; this bound keeps
// the refused cases to those that would run for more than a minute.
constexpr double kMaxTenthRootWork = 6e8;
// A fractional power x^(F/q) takes one root of degree q when q is at most this and the radicand stays
// short; otherwise the tenth roots of x, one per decimal of the exponent.
constexpr std::uint64_t kMaxDirectRootDegree = 1000;
// A root of a degree past kernel::kFastRootMaxDegree is taken directly up to this radicand length (the
// plain Newton iteration then takes a few milliseconds per step).
constexpr double kMaxPlainRootDigits = 20'000;
constexpr std::size_t kMaxDirectRootLimbs = 100'000;
// A fractional power x^(p/q) is computed by roots while q is below the first bound, or below the second
// from the given places on; otherwise as exp(y ln x), which is faster there (measured in one process,
// roots against exp(y ln x): 7^0.25 at 30,000 places 4 and 79 ms; 7^0.123 at 100 places 12.6 and 0.016 ms,
// at 1,000 0.29 and 0.18, at 30,000 42 and 80; 7^0.12345 at 10,000 places 12.3 and 10.1, at 30,000 75 and
// 81; 7^0.123456789 at 30,000 places 201 and 77).
constexpr std::uint64_t kRootPathDenominator = 100;
constexpr std::uint64_t kLongRootPathDenominator = 100'000;
constexpr std::size_t kLongRootPathPlaces = 10'000;
// A whole part of the exponent past this takes exp(y ln x) whatever q is: the bracketing's binary powering
// grows its error by the whole part, which only a base within about 10^-15 of one keeps inside the limit.
constexpr std::uint64_t kMaxRootPathWhole = std::uint64_t{1} << 32;

// ---- Numbers ----

std::size_t DigitCount(const DecimalNatural& value) {
  if (value.is_zero()) return 0;
  return (value.size() - 1) * kDigitsPerLimb + std::to_string(value.limbs().back()).size();
}

// log10 of a positive natural, from its leading limbs.
double Log10(const DecimalNatural& value) {
  const auto limbs = value.limbs();
  const std::size_t lead = std::min<std::size_t>(3, limbs.size());
  double top = 0;
  for (std::size_t i = 1; i <= lead; ++i) top = top * 1e9 + limbs[limbs.size() - i];
  return std::log10(top) + static_cast<double>((limbs.size() - lead) * kDigitsPerLimb);
}

double Log10(const ScaledNumber& x) {
  return Log10(x.magnitude) - static_cast<double>(x.scale);
}

DecimalNatural PowerOfTen(std::size_t exponent) {
  return TimesPowerOfTen(DecimalNatural(1), exponent);
}

// log10 x to about 15 significant digits for x > 0, near one too: a double of x's leading digits keeps
// log10 x only to about 2e-15 absolutely, all of it for x within 1e-15 of one, and a huge exponent
// multiplies that error. There it is log1p(x - 1) / ln 10, from the exact difference.
double Log10NearOne(const ScaledNumber& x) {
  const double estimate = Log10(x);
  if (std::abs(estimate) > 1e-3) return estimate;
  const DecimalNatural one = PowerOfTen(x.scale);
  const bool below = x.magnitude < one;
  const DecimalNatural distance = below ? one - x.magnitude : x.magnitude - one;
  if (distance.is_zero()) return 0.0;
  const double d = std::pow(10.0, Log10(distance) - static_cast<double>(x.scale));
  return std::log1p(below ? -d : d) / std::numbers::ln10;
}

// floor(value / 10^exponent).
DecimalNatural DropDigits(const DecimalNatural& value, std::size_t exponent) {
  const DecimalNatural shifted = kernel::ShiftLimbsRight(value, exponent / kDigitsPerLimb);
  std::uint32_t divisor = 1;
  for (std::size_t i = 0; i < exponent % kDigitsPerLimb; ++i) divisor *= 10;
  if (divisor == 1) return shifted;
  return kernel::DivMod(shifted, DecimalNatural(divisor)).quotient;
}

// value * 10^shift for a signed shift, a negative one cut off.
DecimalNatural ShiftDigits(const DecimalNatural& value, std::ptrdiff_t shift) {
  return shift >= 0 ? TimesPowerOfTen(value, static_cast<std::size_t>(shift))
                    : DropDigits(value, static_cast<std::size_t>(-shift));
}

// The count of zero digits at the end of a positive natural.
std::size_t TrailingZeroDigits(const DecimalNatural& value) {
  const auto limbs = value.limbs();
  std::size_t i = 0;
  while (limbs[i] == 0) ++i;
  std::size_t count = i * kDigitsPerLimb;
  for (kernel::Limb limb = limbs[i]; limb % 10 == 0; limb /= 10) ++count;
  return count;
}

// Drops the zero digits at the end of magnitude / 10^scale's fraction.
void DropFractionZeros(DecimalNatural& magnitude, std::size_t& scale) {
  if (magnitude.is_zero()) {
    scale = 0;
    return;
  }
  const std::size_t zeros = std::min(TrailingZeroDigits(magnitude), scale);
  magnitude = DropDigits(magnitude, zeros);
  scale -= zeros;
}

std::optional<std::uint64_t> ToWord(const DecimalNatural& value) {
  if (value.size() > 3 || DigitCount(value) > 19) return std::nullopt;
  return value.low_u64();
}

bool IsOne(const ScaledNumber& x) {
  return x.magnitude == TimesPowerOfTen(DecimalNatural(1), x.scale);
}

// The value of a number text with its trailing fraction zeros gone, so that the scale counts the digits a
// text of the value needs.
ScaledNumber ParseReduced(std::string_view number) {
  ScaledNumber x = ParseScaled(number);
  DropFractionZeros(x.magnitude, x.scale);
  return x;
}

// ---- Result forms ----

// MuchIn's form of a value >= 0: "0" for zero, "0.25" below one, no trailing fraction zeros.
std::string ProductText(const DecimalNatural& magnitude, std::size_t scale, const char* source) {
  if (magnitude.is_zero()) return "0";
  std::string whole, fraction;
  FormatFixed(magnitude, scale, whole, fraction);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  if (whole.empty()) whole = "0";
  std::string text = fraction.empty() ? whole : whole + "." + fraction;
  CheckLength(text, source);
  return text;
}

// The quotient's form: exactly `places` fraction digits, "0" before the point when the whole part is zero.
std::string FixedText(const DecimalNatural& value, std::size_t places) {
  std::string whole, fraction;
  FormatFixed(value, places, whole, fraction);
  if (whole.empty()) whole = "0";
  return places == 0 ? whole : whole + "." + fraction;
}

// The form DevideIn("1", P, Exact) gives for P = magnitude / 10^scale > 0, whatever P's length: the
// quotient gets a place for each digit by which P's whole part is longer than "1", then Exact places,
// and drops those of the Exact places it never wrote when the division comes out even.
std::string ReciprocalText(DecimalNatural magnitude, std::size_t scale, std::int16_t Exact) {
  DropFractionZeros(magnitude, scale);
  const std::size_t digits = DigitCount(magnitude);
  const std::size_t whole_length = digits > scale ? digits - scale : 1;
  const std::size_t w = whole_length - 1;
  const std::size_t further = Exact > 0 ? static_cast<std::size_t>(Exact) : 0;
  if (w + further > FuncLibDec::kMaxTextLength + 1) {
    Raise(ErrorNumber::kOverflow, "StepIn", "quotient longer than 32767 characters");
  }
  auto [quotient, remainder] = kernel::DivMod(PowerOfTen(scale + w + further), magnitude);
  std::size_t places = w + further;
  if (remainder.is_zero() && further > 0) {  // then the quotient is not zero
    const std::size_t unused = std::min(TrailingZeroDigits(quotient), further);
    quotient = DropDigits(quotient, unused);
    places -= unused;
  }
  std::string text = FixedText(quotient, places);
  CheckLength(text, "StepIn");
  return text;
}

// A zero value never carries a minus sign.
std::string Signed(bool negative, std::string text) {
  const bool zero = text.find_first_not_of("0.") == std::string::npos;
  if (!negative || zero) return text;
  return "-" + text;
}

// ---- Bracketing ----

// A positive number m * Base^e: one side of a bracket around a true value.
struct Approx {
  DecimalNatural m;
  std::ptrdiff_t e = 0;
};
// lo <= true value <= hi.
struct Bracket {
  Approx lo;
  Approx hi;
};

Approx ExactApprox(const ScaledNumber& x) {
  const std::size_t limbs = (x.scale + kDigitsPerLimb - 1) / kDigitsPerLimb;
  return {TimesPowerOfTen(x.magnitude, limbs * kDigitsPerLimb - x.scale),
          -static_cast<std::ptrdiff_t>(limbs)};
}

// floor(a * 10^places).
DecimalNatural FloorScaled(const Approx& a, std::size_t places) {
  const DecimalNatural scaled = TimesPowerOfTen(a.m, places);
  return a.e >= 0 ? kernel::ShiftLimbsLeft(scaled, static_cast<std::size_t>(a.e))
                  : kernel::ShiftLimbsRight(scaled, static_cast<std::size_t>(-a.e));
}

// Arithmetic on brackets with mantissas of about `limbs` limbs, lower sides rounded down and upper sides
// up, so that every result brackets the true result of its bracketed operands (all of them positive).
// `keep_alive` is called between the steps of powers and roots (with 0: it yields, it reports nothing).
class BracketArithmetic {
 public:
  BracketArithmetic(std::size_t limbs, const StepHook& keep_alive) : limbs_(limbs), keep_alive_(keep_alive) {}

  Bracket Multiply(const Bracket& a, const Bracket& b) const {
    return {Cut({a.lo.m * b.lo.m, a.lo.e + b.lo.e}, false), Cut({a.hi.m * b.hi.m, a.hi.e + b.hi.e}, true)};
  }

  Bracket Power(const Bracket& a, std::uint64_t n) const {
    if (n == 0) return {{DecimalNatural(1), 0}, {DecimalNatural(1), 0}};
    Bracket power = a;
    for (int bit = std::bit_width(n) - 2; bit >= 0; --bit) {
      power = Multiply(power, power);
      if ((n >> bit) & 1U) power = Multiply(power, a);
      if (keep_alive_) keep_alive_(0);
    }
    return power;
  }

  Bracket Root(const Bracket& a, std::uint64_t d) const {
    return {Root(a.lo, d, false), Root(a.hi, d, true)};
  }

  Bracket Reciprocal(const Bracket& a) const { return {Reciprocal(a.hi, false), Reciprocal(a.lo, true)}; }

  // One side of a bracket times the same side of a factor's bracket: it widens the bracket of a value
  // by a factor known only to lie between 1 and that factor.
  Approx Widen(const Approx& side, const Approx& factor, bool up) const {
    return Cut({side.m * factor.m, side.e + factor.e}, up);
  }

 private:
  Approx Cut(Approx a, bool up) const { return CutTo(std::move(a), limbs_, up); }

  static Approx CutTo(Approx a, std::size_t limbs, bool up) {
    if (a.m.size() <= limbs) return a;
    const std::size_t drop = a.m.size() - limbs;
    const auto low = a.m.limbs().first(drop);
    const bool inexact = std::any_of(low.begin(), low.end(), [](kernel::Limb limb) { return limb != 0; });
    DecimalNatural kept = kernel::ShiftLimbsRight(a.m, drop);
    if (up && inexact) kept = kept + DecimalNatural(1);
    return {std::move(kept), a.e + static_cast<std::ptrdiff_t>(drop)};
  }

  // The radicand gets d (limbs + 1) limbs and an exponent divisible by d.
  Approx Root(const Approx& a, std::uint64_t d, bool up) const {
    const auto degree = static_cast<std::ptrdiff_t>(d);
    auto shift = static_cast<std::ptrdiff_t>(d * (limbs_ + 1)) - static_cast<std::ptrdiff_t>(a.m.size());
    shift += ((a.e - shift) % degree + degree) % degree;
    Approx radicand = shift >= 0
                          ? Approx{kernel::ShiftLimbsLeft(a.m, static_cast<std::size_t>(shift)), a.e - shift}
                          : CutTo(a, a.m.size() - static_cast<std::size_t>(-shift), up);
    const StepHook yield_only = keep_alive_ ? StepHook([this](double) { keep_alive_(0); }) : StepHook();
    DecimalNatural root = kernel::IntegerRoot(radicand.m, d, yield_only);
    if (up) root = root + DecimalNatural(1);
    return {std::move(root), radicand.e / degree};
  }

  Approx Reciprocal(const Approx& a, bool up) const {
    const std::size_t k = a.m.size() + limbs_ + 1;
    DecimalNatural quotient = kernel::DivMod(kernel::ShiftLimbsLeft(DecimalNatural(1), k), a.m).quotient;
    if (up) quotient = quotient + DecimalNatural(1);
    return {std::move(quotient), -static_cast<std::ptrdiff_t>(k) - a.e};
  }

  std::size_t limbs_;
  const StepHook& keep_alive_;
};

// ---- Fractional powers ----

// V = x^(p/q) for x > 0 and a reduced fraction p/q > 0.
class FractionalPower {
 public:
  FractionalPower(ScaledNumber x, const DecimalNatural& p, const DecimalNatural& q, const StepHook& on_step)
      : x_(std::move(x)), p_(p), q_(q), on_step_(on_step) {
    const auto [whole, rest] = kernel::DivMod(p, q);
    whole_ = whole;
    rest_ = rest;
    // An exponent too large for a double times a base too close to 1 for one gives no estimate; the
    // bracketing then decides.
    const double ratio = std::pow(10.0, Log10(p) - Log10(q));
    const double log10_x = Log10NearOne(x_);
    log10_value_ = IsOne(x_) || log10_x == 0 ? 0.0 : ratio * log10_x;
  }

  // floor(V * 10^places), or floor(10^places / V) for the reciprocal.
  DecimalNatural Truncated(std::size_t places, bool reciprocal, const char* source) {
    const double log10_result = reciprocal ? -log10_value_ : log10_value_;
    if (log10_result > static_cast<double>(FuncLibDec::kMaxTextLength) + 0.5) {
      Raise(ErrorNumber::kOverflow, source, "result longer than 32767 characters");
    }
    if (log10_result < -static_cast<double>(places) - 1.0) return {};  // below one unit of the last place
    if (const auto& exact = RationalValue()) {
      const DecimalNatural scaled =
          TimesPowerOfTen(reciprocal ? PowerOfTen(exact->scale) : exact->magnitude, places);
      return reciprocal ? kernel::DivMod(scaled, exact->magnitude).quotient
                        : DropDigits(scaled, exact->scale);
    }
    if (auto result = ExpLogTruncated(places, reciprocal)) return std::move(*result);
    const double digits = static_cast<double>(places) + std::max(0.0, log10_result + 1.0);
    std::optional<DecimalNatural> result;
    Refine(
        [&](const Bracket& v, const BracketArithmetic& arithmetic) {
          const Bracket r = reciprocal ? arithmetic.Reciprocal(v) : v;
          DecimalNatural lo = FloorScaled(r.lo, places);
          if (lo != FloorScaled(r.hi, places)) return false;
          result = std::move(lo);
          return true;
        },
        digits, source);
    return *result;
  }

  // DevideIn("1", V, Exact)'s form.
  std::string ReciprocalOfValue(std::int16_t Exact) {
    if (std::abs(log10_value_) > static_cast<double>(FuncLibDec::kMaxTextLength) + 1.0) {
      Raise(ErrorNumber::kOverflow, "StepIn", "quotient longer than 32767 characters");
    }
    if (const auto& exact = RationalValue()) return ReciprocalText(exact->magnitude, exact->scale, Exact);
    const std::size_t further = Exact > 0 ? static_cast<std::size_t>(Exact) : 0;
    // V's whole digits follow from log10 V unless V lies near a power of ten (then the bracketing decides).
    const double nearest_power = std::round(log10_value_);
    if (std::fabs(log10_value_ - nearest_power) > 1e-6 || nearest_power <= 0) {
      const std::size_t places = static_cast<std::size_t>(std::max(0.0, std::floor(log10_value_))) + further;
      if (places > FuncLibDec::kMaxTextLength + 1) {
        Raise(ErrorNumber::kOverflow, "StepIn", "quotient longer than 32767 characters");
      }
      if (const auto digits = ExpLogTruncated(places, true)) {
        std::string text = FixedText(*digits, places);
        CheckLength(text, "StepIn");
        return text;
      }
    }
    std::string text;
    Refine(
        [&](const Bracket& v, const BracketArithmetic& arithmetic) {
          const std::size_t whole_length = std::max<std::size_t>(1, DigitCount(FloorScaled(v.lo, 0)));
          if (whole_length != std::max<std::size_t>(1, DigitCount(FloorScaled(v.hi, 0)))) return false;
          const std::size_t places = whole_length - 1 + further;
          if (places > FuncLibDec::kMaxTextLength + 1) {
            Raise(ErrorNumber::kOverflow, "StepIn", "quotient longer than 32767 characters");
          }
          const Bracket r = arithmetic.Reciprocal(v);
          const DecimalNatural lo = FloorScaled(r.lo, places);
          if (lo != FloorScaled(r.hi, places)) return false;
          text = FixedText(lo, places);  // 1/V is irrational here, so the division never comes out even
          return true;
        },
        further + std::max(0.0, -log10_value_) + 1.0, "StepIn");
    CheckLength(text, "StepIn");
    return text;
  }

 private:
  // floor(V 10^places), or floor(10^places / V), as e^t for t = +-(p/q) ln x, when roots would cost more
  // and the error bounds settle it at one of two precisions; nothing when V lies too near a cut point for
  // them (a rational V whose power was too long to form may even lie on one): the bracketing decides then.
  std::optional<DecimalNatural> ExpLogTruncated(std::size_t places, bool reciprocal) const {
    namespace logarithm = decimal::logarithm;
    const auto q = ToWord(q_);
    const auto whole = ToWord(whole_);
    if (q && whole && *whole <= kMaxRootPathWhole &&
        (*q < kRootPathDenominator || (*q < kLongRootPathDenominator && places >= kLongRootPathPlaces))) {
      return std::nullopt;
    }
    const double log10_result = reciprocal ? -log10_value_ : log10_value_;
    const double log10_exponent = std::max(0.0, Log10(p_) - Log10(q_));
    double progress = 0;
    for (const double guard : {9.0, 40.0}) {
      const double share = progress + (1 - progress) * 0.7;
      const StepHook pass_step = kernel::Within(on_step_, progress, share);
      progress = share;
      // t is wanted within 10^-(places + guard) / max(V, 1); the error of ln x (a few hundred ulps: 4 digits)
      // grows p/q times in t.
      const double t_digits = static_cast<double>(places) + guard + std::max(0.0, log10_result);
      const auto log_limbs =
          static_cast<std::size_t>(std::ceil((t_digits + log10_exponent + 4) / kDigitsPerLimb));
      const std::size_t limbs =
          static_cast<std::size_t>(std::ceil((static_cast<double>(places) + guard) / kDigitsPerLimb));
      const std::optional<logarithm::Bounded> v =
          logarithm::PowerByLogarithm(x_, p_, q_, reciprocal, log_limbs, limbs, pass_step);
      // Past |t| = 10^5, e^t is far beyond the text limit or below any place: an exponent too large for the
      // double estimate (a base too close to one for it) is left to the bracketing, which refuses it.
      if (!v) return std::nullopt;
      const DecimalNatural slack(v->error_ulps);
      if (v->magnitude <= slack) continue;
      const std::size_t drop = kDigitsPerLimb * limbs - places;
      DecimalNatural digits = DropDigits(v->magnitude - slack, drop);
      if (digits == DropDigits(v->magnitude + slack, drop)) return digits;
    }
    return std::nullopt;
  }

  // The root of `value` of degree q when it is a whole number.
  std::optional<DecimalNatural> PerfectRoot(const DecimalNatural& value) const {
    if (value == DecimalNatural(1)) return value;
    const auto q = ToWord(q_);
    if (!q || static_cast<double>(*q) > 3.33 * static_cast<double>(DigitCount(value))) return std::nullopt;
    DecimalNatural root = kernel::IntegerRoot(value, *q);
    if (kernel::Pow(root, *q) != value) return std::nullopt;
    return root;
  }

  // The exact value, computed once, after the range checks.
  const std::optional<ScaledNumber>& RationalValue() {
    if (!exact_checked_) exact_ = ExactValue();
    exact_checked_ = true;
    return exact_;
  }

  // V as magnitude / 10^scale when x = num/den is the q-th power of a fraction N/D, so that V = N^p / D^p,
  // and its digits are affordable. D divides 10^(scale of x / q), so D^p divides 10^t for t below.
  std::optional<ScaledNumber> ExactValue() const {
    const DecimalNatural ten_power = PowerOfTen(x_.scale);
    const DecimalNatural g = kernel::Gcd(x_.magnitude, ten_power);
    const auto numerator = PerfectRoot(kernel::DivMod(x_.magnitude, g).quotient);
    if (!numerator) return std::nullopt;
    const auto denominator = PerfectRoot(kernel::DivMod(ten_power, g).quotient);
    if (!denominator) return std::nullopt;
    const DecimalNatural one(1);
    if (*numerator == one && *denominator == one) return ScaledNumber{false, one, 0};  // x = 1
    const auto q = ToWord(q_);
    const auto p = ToWord(p_);
    const std::uint64_t t_per_p = q ? x_.scale / *q : 0;
    const double work = Log10(*numerator) + Log10(*denominator) + static_cast<double>(t_per_p);
    if (!p || static_cast<double>(*p) * work > kMaxWorkDigits) return std::nullopt;
    const std::size_t t = static_cast<std::size_t>(*p * t_per_p);
    const StepHook yield_only = [this](double) { on_step_(0); };
    const DecimalNatural denominator_power =
        kernel::Pow(*denominator, *p, on_step_ ? yield_only : StepHook());
    const DecimalNatural numerator_power = kernel::Pow(*numerator, *p, on_step_ ? yield_only : StepHook());
    return ScaledNumber{false, numerator_power * kernel::DivMod(PowerOfTen(t), denominator_power).quotient,
                        t};
  }

  // Brackets V ever more tightly until `decide` accepts the bracket; starts with `digits` significant
  // digits (plus the digits the error growth costs) and doubles them.
  template <typename Decide>
  void Refine(Decide decide, double digits, const char* source) {
    const auto whole = ToWord(whole_);
    if (!whole) Raise(ErrorNumber::kOverflow, source, "exponent too large");
    const double growth = std::log10(2.0 * static_cast<double>(*whole) + 2e4) + 4.0;
    auto wanted = static_cast<std::size_t>(std::ceil(digits + growth));
    for (;; wanted *= 2) {
      if (wanted > kMaxBracketDigits)
        Raise(ErrorNumber::kOverflow, source, "the value needs too many digits");
      const BracketArithmetic arithmetic(wanted / kDigitsPerLimb + 2, on_step_);
      if (decide(BracketAt(arithmetic, wanted, *whole, source), arithmetic)) return;
    }
  }

  Bracket BracketAt(const BracketArithmetic& arithmetic, std::size_t digits, std::uint64_t whole,
                    const char* source) const {
    const Approx exact = ExactApprox(x_);
    const Bracket x{exact, exact};
    const Bracket power = arithmetic.Power(x, whole);
    const auto q = ToWord(q_);
    const std::size_t limbs = digits / kDigitsPerLimb + 2;
    if (q && *q <= kMaxDirectRootDegree && *q * limbs <= kMaxDirectRootLimbs) {
      const Bracket root = arithmetic.Root(x, *q);
      if (on_step_) on_step_(0.5);
      return arithmetic.Multiply(power, arithmetic.Power(root, rest_.low_u64()));
    }
    return arithmetic.Multiply(power, TenthRoots(arithmetic, x, digits, source));
  }

  // x^(rest/q) from the decimals f1 f2 ... of rest/q: the product of (x^(1/10^k))^fk, each tenth root a
  // square root and then a fifth root. Decimals past the precision only widen the bracket, by a factor
  // between 1 and x^(1/10^K) (or between that and 1 for x below one).
  Bracket TenthRoots(const BracketArithmetic& arithmetic, Bracket root, std::size_t digits,
                     const char* source) const {
    const std::size_t kept = digits + 6;  // 10^-kept |ln x| is below 10^-digits
    const auto [scaled, remainder] = kernel::DivMod(TimesPowerOfTen(rest_, kept), q_);
    std::string decimals = FormatDigits(scaled);
    decimals.insert(0, kept - decimals.size(), '0');
    if (remainder.is_zero()) decimals.erase(decimals.find_last_not_of('0') + 1);
    const double work = static_cast<double>(decimals.size()) * std::pow(static_cast<double>(kept) / 9.0, 1.6);
    if (work > kMaxTenthRootWork) Raise(ErrorNumber::kOverflow, source, "the exponent has too many decimals");

    Bracket product{{DecimalNatural(1), 0}, {DecimalNatural(1), 0}};
    for (std::size_t k = 0; k < decimals.size(); ++k) {
      root = arithmetic.Root(arithmetic.Root(root, 2), 5);
      product =
          arithmetic.Multiply(product, arithmetic.Power(root, static_cast<std::uint64_t>(decimals[k] - '0')));
      if (on_step_) on_step_(static_cast<double>(k + 1) / static_cast<double>(decimals.size()));
    }
    if (!remainder.is_zero()) {
      if (Log10(x_) >= 0) {
        product.hi = arithmetic.Widen(product.hi, root.hi, true);
      } else {
        product.lo = arithmetic.Widen(product.lo, root.lo, false);
      }
    }
    return product;
  }

  ScaledNumber x_;
  DecimalNatural p_;
  DecimalNatural q_;
  DecimalNatural whole_;
  DecimalNatural rest_;
  const StepHook& on_step_;
  double log10_value_ = 0;
  bool exact_checked_ = false;
  std::optional<ScaledNumber> exact_;
};

// The reduced fraction of a positive decimal text's value.
std::pair<DecimalNatural, DecimalNatural> Fraction(const ScaledNumber& value) {
  const DecimalNatural ten_power = PowerOfTen(value.scale);
  const DecimalNatural g = kernel::Gcd(value.magnitude, ten_power);
  return {kernel::DivMod(value.magnitude, g).quotient, kernel::DivMod(ten_power, g).quotient};
}

// ---- Roots of a whole degree ----

// The root's text as the digit search writes it: the whole digits, then "." and `places` digits when
// places > 0; "0" before the point for a radicand below one. A root that is a single digit 1 to 8
// followed by zeros is found exactly while the search looks for the leading digit, and comes without
// places (a 9 is not: the search then counts two conditions at once and moves on to 10).
std::string RootText(const DecimalNatural& root, std::size_t places, const ScaledNumber& x,
                     std::uint64_t degree) {
  std::string whole, fraction;
  FormatFixed(root, places, whole, fraction);
  if (whole.empty()) whole = "0";
  const bool at_least_one = x.magnitude >= TimesPowerOfTen(DecimalNatural(1), x.scale);
  if (at_least_one && places > 0 && fraction.find_first_not_of('0') == std::string::npos &&
      whole.find_first_not_of('0', 1) == std::string::npos && whole.front() != '9') {
    // A whole root of one significant digit: exact when its power gives the radicand back.
    const DecimalNatural candidate = ParseDigits(whole);
    if (TimesPowerOfTen(kernel::Pow(candidate, degree), x.scale) == x.magnitude) return whole;
  }
  return places == 0 ? whole : whole + "." + fraction;
}

// floor(x^(1/degree) * 10^places) for x >= 0: one integer root of the scaled radicand while that stays
// affordable; past it (a high degree makes the radicand long and the root short) the bracketing of
// x^(1/degree), which needs only tenth roots at the precision of the result.
DecimalNatural ScaledRoot(const ScaledNumber& x, const DecimalNatural& degree, std::size_t places,
                          const StepHook& on_step) {
  if (x.is_zero()) return {};
  const auto d = ToWord(degree);
  const double shift =
      static_cast<double>(places) * (d ? static_cast<double>(*d) : 1e30) - static_cast<double>(x.scale);
  const double radicand_digits = static_cast<double>(DigitCount(x.magnitude)) + shift;
  if (d && radicand_digits <= (*d <= kernel::kFastRootMaxDegree ? kMaxWorkDigits : kMaxPlainRootDigits)) {
    return kernel::IntegerRoot(ShiftDigits(x.magnitude, static_cast<std::ptrdiff_t>(shift)), *d, on_step);
  }
  return FractionalPower(x, DecimalNatural(1), degree, on_step).Truncated(places, false, "RadicalIn");
}

// ---- Powers ----

// StepIn for a whole exponent: exact, "-" before the power of the magnitude for a negative base and an odd
// exponent; for a negative exponent DevideIn("1", power, Exact)'s form.
std::string WholePowerText(std::string_view base, const ScaledNumber& x, const ScaledNumber& power,
                           std::int16_t Exact, const StepHook& on_step) {
  const bool negative_power = power.negative && !power.is_zero();
  const bool negative = x.negative && !power.is_zero() && power.magnitude.limbs()[0] % 2 == 1;
  if (negative && (base == "-0" || base == "-")) return "";  // "-" before the power of the text "0"
  if (power.is_zero()) return "1";
  if (x.is_zero()) return Signed(negative, "0");
  ScaledNumber magnitude = x;
  magnitude.negative = false;
  if (IsOne(magnitude)) return Signed(negative, "1");

  // The lengths first: past 32,767 characters nothing is computed.
  const auto n = ToWord(power.magnitude);
  const double exponent = n ? static_cast<double>(*n) : std::numeric_limits<double>::infinity();
  const double log10_power = exponent * Log10(magnitude);
  const double fraction_digits = exponent * static_cast<double>(magnitude.scale);
  const double limit = static_cast<double>(FuncLibDec::kMaxTextLength) + 1.0;
  if (!negative_power &&
      std::max(log10_power, 0.0) + (fraction_digits > 0 ? fraction_digits + 1 : 0) > limit) {
    Raise(ErrorNumber::kOverflow, "StepIn", "power longer than 32767 characters");
  }
  // A reciprocal has as many digits as the power has whole digits (or its reciprocal whole digits).
  if (negative_power && (std::abs(log10_power) > limit ||
                         exponent * Log10(magnitude.magnitude) + fraction_digits > kMaxWorkDigits)) {
    Raise(ErrorNumber::kOverflow, "StepIn", "quotient longer than 32767 characters");
  }
  const DecimalNatural value = kernel::Pow(magnitude.magnitude, *n, on_step);
  const std::size_t scale = magnitude.scale * static_cast<std::size_t>(*n);
  if (negative_power) return Signed(negative, ReciprocalText(value, scale, Exact));
  return Signed(negative, ProductText(value, scale, "StepIn"));
}

// StepIn for a fractional exponent: the true value cut off after the places of a root, in the product's
// form; for a negative exponent the true reciprocal in DevideIn's form.
std::string FractionalPowerText(const ScaledNumber& x, const ScaledNumber& power, std::int16_t dev_exact,
                                std::int16_t rad_exact, const StepHook& on_step) {
  if (x.negative && !x.is_zero()) {
    Raise(ErrorNumber::kInvalidArgument, "StepIn", "fractional power of a negative number");
  }
  if (x.is_zero()) return "0";
  ScaledNumber exponent = power;
  exponent.negative = false;
  const auto [p, q] = Fraction(exponent);
  FractionalPower value(x, p, q, on_step);
  if (power.negative) return value.ReciprocalOfValue(dev_exact);
  const std::size_t places = rad_exact >= 1 ? static_cast<std::size_t>(rad_exact) + 1 : 0;
  return ProductText(value.Truncated(places, false, "StepIn"), places, "StepIn");
}

}  // namespace

std::string FuncLibDec::StepIn(std::string_view Num, std::string_view Stp, bool /*ResumeCalc*/) {
  RequireNumber(Num, "StepIn");
  RequireNumber(Stp, "StepIn");
  std::string base = DelNull(Num);
  if (base.starts_with('.')) base.insert(0, "0");
  const std::string exponent = DelNull(Stp);
  const ScaledNumber power = ParseReduced(exponent);
  const ScaledNumber x = ParseReduced(base);
  // Any number to the power zero is 1, 0^0 included however either zero is written.
  if (power.is_zero()) return "1";
  if (x.is_zero() && power.negative)
    Raise(ErrorNumber::kDivisionByZero, "StepIn", "zero to a negative power");
  if (Num == "0" || Num.empty()) return "";  // the engine's zero
  // The signature of the outermost call; only that call reports progress.
  const std::string signature = std::string(Num) + "_" + std::string(Stp);
  if (iStepFS.empty()) iStepFS = signature;
  const bool outermost = iStepFS == signature || iStepFS == base + "_" + exponent;
  Yield();

  double reached = 0;
  const bool flag = power.scale > 0 ? iStepDec : iStep;
  const StepHook on_step = [this, &reached, flag, outermost](double done) {
    Yield();
    reached = std::max(reached, done * kProgressDone);
    Progress(flag && outermost, reached);
  };
  const std::string text = power.scale > 0 ? FractionalPowerText(x, power, DevExact(), RadExact(), on_step)
                                           : WholePowerText(base, x, power, DevExact(), on_step);
  Progress(flag && outermost, kProgressDone);
  return text;
}

std::string FuncLibDec::GiperStepIn(std::string_view base, std::string_view height, bool /*ResumeCalc*/) {
  RequireNumber(base, "GiperStepIn");
  RequireNumber(height, "GiperStepIn");
  const ScaledNumber levels = ParseReduced(height);
  const ScaledNumber x = ParseReduced(base);
  if (levels.scale > 0 || (levels.negative && !levels.is_zero()) || (x.negative && !x.is_zero())) {
    Raise(ErrorNumber::kInvalidArgument, "GiperStepIn",
          "the tower needs a whole height and a base of at least 0");
  }
  if (levels.is_zero()) return "0";
  // v(k) = StepIn(base, v(k-1)) depends on v(k-1) alone, so once v(k) = v(k-2) the rest of the tower
  // alternates between v(k) and v(k-1) (the two are equal when the tower has settled).
  const double total = Log10(levels.magnitude) > 15 ? 1e15 : static_cast<double>(levels.magnitude.low_u64());
  std::string before_last, last, value = "1";
  DecimalNatural count;
  for (std::uint64_t level = 1; count != levels.magnitude; ++level) {
    Yield();
    before_last = std::exchange(last, std::move(value));
    value = StepIn(base, last);
    count = count + DecimalNatural(1);
    if (level >= 2 && value == before_last && count != levels.magnitude) {
      const bool even_rest = (levels.magnitude.limbs()[0] - count.limbs()[0]) % 2 == 0;
      return even_rest ? value : last;
    }
    Progress(iGiperStep, std::min(kProgressDone, static_cast<double>(level) / total * kProgressDone));
  }
  return value;
}

double FuncLibDec::GpStep(double Num, std::int16_t GStep, bool /*unused*/) const {
  double value = 1.0;
  for (int i = 0; i < GStep; ++i) {
    value = std::pow(Num, value);
    if (!std::isfinite(value)) return 0.0;
  }
  return value;
}

// ---- Roots ----

std::string FuncLibDec::RadicalIn(std::string_view Num, std::string_view Rad, std::int16_t Exact,
                                  bool /*ResumeCalc*/) {
  RequireNumber(Num, "RadicalIn");
  RequireNumber(Rad, "RadicalIn");
  Yield();
  const ScaledNumber degree = ParseReduced(Rad);
  if (degree.is_zero()) Raise(ErrorNumber::kInvalidArgument, "RadicalIn", "root of degree 0");
  const ScaledNumber x = ParseReduced(Num);
  const bool negative = x.negative && !x.is_zero();
  ScaledNumber magnitude = x;
  magnitude.negative = false;
  const std::size_t places = Exact >= 1 ? static_cast<std::size_t>(Exact) + 1 : 0;
  if (places > kMaxTextLength) {
    Raise(ErrorNumber::kOverflow, "RadicalIn", "root longer than 32767 characters");
  }

  double reached = 0;
  const StepHook on_step = [this, &reached](double done) {
    Yield();
    reached = std::max(reached, done * kProgressDone);
    Progress(iRadical, reached);
  };

  if (degree.scale == 0 && !degree.negative) {
    // A whole degree: an odd root of a negative number is the negative root of its magnitude.
    if (negative && degree.magnitude.limbs()[0] % 2 == 0) {
      Raise(ErrorNumber::kInvalidArgument, "RadicalIn", "even root of a negative number");
    }
    const DecimalNatural root = ScaledRoot(magnitude, degree.magnitude, places, on_step);
    const auto d = ToWord(degree.magnitude);
    std::string text = Signed(negative, RootText(root, places, magnitude, d ? *d : 0));
    CheckLength(text, "RadicalIn");
    Progress(iRadical, kProgressDone);
    return text;
  }
  // Any other degree: x^(1/degree) cut off at the root's places, in the product's form.
  if (negative) Raise(ErrorNumber::kInvalidArgument, "RadicalIn", "a negative number has no such root");
  if (magnitude.is_zero()) {
    if (degree.negative) Raise(ErrorNumber::kDivisionByZero, "RadicalIn", "zero to a negative power");
    return "0";
  }
  ScaledNumber reciprocal_degree = degree;
  reciprocal_degree.negative = false;
  const auto [q, p] = Fraction(reciprocal_degree);  // 1/degree = p/q
  FractionalPower value(magnitude, p, q, on_step);
  std::string text = ProductText(value.Truncated(places, degree.negative, "RadicalIn"), places, "RadicalIn");
  Progress(iRadical, kProgressDone);
  return text;
}

}  // namespace ovn
