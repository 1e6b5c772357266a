// LogarifmIn of the extreme engine: the logarithm of FirstNum to the base SecondNum, cut off toward zero
// after Exact base-256 fraction digits, every digit true.
//
// A rational logarithm p/q (x^q = b^p) would sit exactly on a cut-off point whenever q is a power of two, and
// no precision settles that, so it is found first, exactly: with x = mx 2^ex and b = mb 2^eb (odd mx, mb),
// mx^q = mb^p is decided by Euclid's algorithm on the exponents (dividing the larger by a power of the
// smaller), and then ex q = eb p. Any other logarithm is irrational: the natural logarithms of both
// operands, each with a proven error bound (the decimal engine's), are divided, and the precision grows
// until the bounds settle the last digit (Ziv's strategy).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <numeric>
#include <optional>
#include <string>
#include <utility>

#include "decimal/natural_log.h"
#include "extreme/extreme_powers.h"
#include "extreme/func_lib_orvane_lite.h"
#include "kernel/radix.h"
#include "kernel/roots.h"

namespace ovn {
namespace {

using decimal::logarithm::Bounded;
using extreme::BinaryNatural;
using extreme::DecimalNatural;
using extreme::ExtremeValue;
using kernel::StepHook;

constexpr double kLog10Of2 = 0.30102999566398120;
constexpr std::size_t kDigitsPerLimb = 9;
// Digits computed beyond the last kept one: the cut-off stays undecided only when the logarithm lies
// within about 10^-9 of a cut-off point, and then the precision grows.
constexpr double kGuardDigits = 9;
// Error bound (ulps) of the two natural logarithms together, assumed before they are first computed.
constexpr double kAssumedErrorDigits = 3;

[[noreturn]] void Fail(ErrorNumber number, const char* description) {
  throw RuntimeError(number, "FuncLibOrvaneLite.LogarifmIn", description);
}

// ---- Rational logarithms ----

// p/q as the pair p, q.
using Ratio = std::pair<std::int64_t, std::int64_t>;

// v = mx^x_exponent * mb^b_exponent, a step of Euclid's algorithm on the exponents.
struct PowerProduct {
  BinaryNatural v;
  std::int64_t x_exponent;
  std::int64_t b_exponent;
};

// p/q with mx^q = mb^p, for odd mx, mb > 1, if there is one. Then mx = c^p and mb = c^q for some c; dividing
// the larger of two such powers by the largest power of the smaller it holds leaves c^r, and a remainder
// shows that there is no such c.
std::optional<Ratio> OddPartLogarithm(const BinaryNatural& mx, const BinaryNatural& mb) {
  PowerProduct larger{mx, 1, 0}, smaller{mb, 0, 1};
  for (;;) {
    if (larger.v < smaller.v) std::swap(larger, smaller);
    if (smaller.v == BinaryNatural(1)) {
      // mx^x_exponent mb^b_exponent = 1, so log_mb mx = -b_exponent / x_exponent.
      return std::pair{-smaller.b_exponent, smaller.x_exponent};
    }
    const double ratio = extreme::Log2({false, larger.v, 0}) / extreme::Log2({false, smaller.v, 0});
    // Never above the true count of whole powers, so an exact power is never missed.
    const auto count = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::floor(ratio * (1 - 1e-12))));
    auto [quotient, remainder] =
        kernel::DivMod(larger.v, kernel::Pow(smaller.v, static_cast<std::uint64_t>(count)));
    if (!remainder.is_zero()) return std::nullopt;
    larger = {std::move(quotient), larger.x_exponent - count * smaller.x_exponent,
              larger.b_exponent - count * smaller.b_exponent};
  }
}

// The odd part of a positive value and its power of two: value = odd * 2^exponent.
std::pair<BinaryNatural, std::int64_t> OddPart(const ExtremeValue& value) {
  const std::size_t twos = extreme::TrailingZeroBits(value.magnitude);
  return {extreme::ShiftBitsRight(value.magnitude, twos),
          static_cast<std::int64_t>(twos) - 8 * static_cast<std::int64_t>(value.places)};
}

// log_b x = p/q (q > 0, lowest terms) when it is rational; x, b > 0, b != 1.
std::optional<Ratio> RationalLogarithm(const ExtremeValue& x, const ExtremeValue& b) {
  const auto [mx, ex] = OddPart(x);
  const auto [mb, eb] = OddPart(b);
  const BinaryNatural one(1);
  Ratio ratio;
  if (mx == one && mb == one) {
    ratio = {ex, eb};  // b != 1, so eb != 0
  } else if (mx == one || mb == one) {
    return std::nullopt;
  } else {
    const auto odd = OddPartLogarithm(mx, mb);
    if (!odd) return std::nullopt;
    ratio = *odd;
  }
  if (ratio.second < 0) ratio = {-ratio.first, -ratio.second};
  const std::int64_t g = std::gcd(ratio.first, ratio.second);
  ratio = {ratio.first / g, ratio.second / g};
  if (ex * ratio.second != eb * ratio.first) return std::nullopt;
  return ratio;
}

// ---- The Ziv loop ----

// The exact decimal value of a binary fraction: m / 2^(8 s) = m 5^(8 s) / 10^(8 s).
decimal::ScaledNumber ToScaled(const ExtremeValue& v) {
  const std::size_t bits = 8 * v.places;
  return {false, kernel::ToDecimal(v.magnitude) * kernel::Pow(DecimalNatural(5), bits), bits};
}

// log10 |ln v| for v > 0, v != 1, to a couple of digits: near one ln v differs from v - 1 by (v - 1)^2.
double Log10OfLn(const ExtremeValue& v) {
  const double log2_v = extreme::Log2(v);
  if (std::fabs(log2_v) > 1e-3) return std::log10(std::fabs(log2_v) * std::numbers::ln2);
  return extreme::Log2(extreme::Subtract(v, extreme::FromInteger(1))) * kLog10Of2;
}

// |log_b x| cut off after `places` base-256 digits, if the error bounds settle it. With X, B the magnitudes,
// Ex, Eb their bounds, S = 256^places and mid, rest = divmod(X S, B), the true value lies in
// [(X - Ex) / (B + Eb), (X + Ex) / (B - Eb)], inside [mid, mid + 1) / S exactly when
// rest >= Ex S + mid Eb (or mid = 0) and rest + Ex S + (mid + 1) Eb < B.
std::optional<DecimalNatural> TruncatedQuotient(const Bounded& ln_x, const Bounded& ln_b,
                                                const DecimalNatural& scale) {
  auto [mid, rest] = kernel::DivMod(ln_x.magnitude * scale, ln_b.magnitude);
  const DecimalNatural x_slack = DecimalNatural(ln_x.error_ulps) * scale;
  const DecimalNatural eb(ln_b.error_ulps);
  const bool above_mid = mid.is_zero() || rest >= x_slack + mid * eb;
  const bool below_next = rest + x_slack + (mid + DecimalNatural(1)) * eb < ln_b.magnitude;
  if (above_mid && below_next) return std::move(mid);
  return std::nullopt;
}

ExtremeValue IrrationalLogarithm(const ExtremeValue& x, const ExtremeValue& b, std::size_t places,
                                 const StepHook& on_step) {
  const double log10_ln_b = Log10OfLn(b);
  const double log10_quotient = Log10OfLn(x) - log10_ln_b;
  if (log10_quotient > static_cast<double>(FuncLibOrvaneLite::kMaxTextLength) + 1) {
    Fail(ErrorNumber::kOverflow, "result longer than 32767 characters");
  }
  const double digits = static_cast<double>(places) * 8 * kLog10Of2 + std::max(0.0, log10_quotient) -
                        std::min(0.0, log10_ln_b) + kGuardDigits + kAssumedErrorDigits;
  const decimal::ScaledNumber x_scaled = ToScaled(x);
  const decimal::ScaledNumber b_scaled = ToScaled(b);
  const DecimalNatural scale = kernel::Pow(DecimalNatural(256), places);
  double progress_from = 0;
  for (auto limbs = static_cast<std::size_t>(std::ceil(std::max(1.0, digits) / kDigitsPerLimb));;
       limbs += limbs / 2 + 1) {
    const double progress_to = progress_from + (1 - progress_from) * 0.6;
    const StepHook pass_step = kernel::Within(on_step, progress_from, progress_to);
    progress_from = progress_to;
    const Bounded ln_b = decimal::logarithm::NaturalLog(b_scaled, limbs, kernel::Within(pass_step, 0.0, 0.4));
    if (ln_b.magnitude <= DecimalNatural(2 * ln_b.error_ulps)) continue;  // too near one to tell from zero
    const Bounded ln_x = decimal::logarithm::NaturalLog(x_scaled, limbs, kernel::Within(pass_step, 0.4, 1.0));
    if (auto digits_found = TruncatedQuotient(ln_x, ln_b, scale)) {
      return {ln_x.negative != ln_b.negative, kernel::ToBinary(*digits_found), places, true};
    }
  }
}

// log_b x cut off toward zero after `places` digits; from p/q alone when the logarithm is the rational p/q.
ExtremeValue CutLogarithm(const ExtremeValue& x, const ExtremeValue& b, const std::optional<Ratio>& ratio,
                          std::size_t places, const StepHook& on_step) {
  if (!ratio) return IrrationalLogarithm(x, b, places, on_step);
  const auto [p, q] = *ratio;
  const BinaryNatural scaled =
      extreme::ShiftDigitsLeft(BinaryNatural(static_cast<std::uint64_t>(std::abs(p))), places);
  auto [digits, rest] = kernel::DivMod(scaled, BinaryNatural(static_cast<std::uint64_t>(q)));
  return {p < 0, std::move(digits), places, !rest.is_zero()};
}

}  // namespace

std::string FuncLibOrvaneLite::LogarifmIn(std::int16_t Exact) {
  const ExtremeValue x = extreme::Normalized(Operand(FirstNum(), "LogarifmIn"));
  const ExtremeValue b = extreme::Normalized(Operand(SecondNum(), "LogarifmIn"));
  if (x.is_zero() || x.negative)
    Raise(ErrorNumber::kInvalidArgument, "LogarifmIn", "no logarithm of a number below or at zero");
  const ExtremeValue one = extreme::FromInteger(1);
  if (b.is_zero() || b.negative || extreme::CompareValues(b, one) == 0) {
    Raise(ErrorNumber::kInvalidArgument, "LogarifmIn", "the base must be above zero and not one");
  }
  Yield();
  Progress(iLog, 100.0);
  const std::optional<Ratio> ratio =
      extreme::CompareValues(x, one) == 0 ? Ratio{0, 1} : RationalLogarithm(x, b);
  std::string text = ResultCutAt(
      Exact > 0 ? static_cast<std::size_t>(Exact) : 0, "LogarifmIn",
      [&](std::size_t places) { return CutLogarithm(x, b, ratio, places, StepHookFor(iLog, 100.0, 970.0)); });
  Progress(iLog, 1000.0);
  return text;
}

}  // namespace ovn
