// LogarifmIn: the logarithm of a decimal number to a positive base other than one, cut off toward zero after
// Exact places. Every printed digit is true: the natural logarithms of both operands come with proven error
// bounds, and the precision grows until the bounds settle the last printed digit (Ziv's strategy). A
// logarithm that is exactly a fraction p/q (b^p = x^q) is recognised and printed from the fraction, since no
// precision settles a value lying exactly on a printed digit's boundary (the logarithm of 1000 to base 10 is
// 3.00, not 2.99).
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

#include "decimal/decimal_text.h"
#include "decimal/func_lib_dec.h"
#include "decimal/natural_log.h"

namespace ovn {
namespace {

using decimal::DecimalNatural;
using decimal::ScaledNumber;
using decimal::TimesPowerOfTen;
using decimal::logarithm::Bounded;
using decimal::logarithm::DigitCount;
using decimal::logarithm::DivideSmall;
using decimal::logarithm::Log10;
using kernel::Limb;

using YieldHook = std::function<void()>;

constexpr double kLn10 = 2.302585092994046;
constexpr double kLog2Of10 = 3.3219280948873623;
// Digits computed beyond the last printed one: a truncation stays undecided only when the logarithm lies
// within about 10^-9 of a printed digit's boundary, and then the precision grows.
constexpr double kGuardDigits = 9;
// The quotient's absolute error (as a power of ten) under which its continued fraction shows every exact
// logarithm p/q: q stays below 108,853 (see RationalLogarithm), so 1 / (2 q^2) is above 4e-11.
constexpr double kRationalErrorDigits = 12;
// log10 of the largest |p/q| an exact logarithm can have (108,853 / 1).
constexpr double kRationalLog10Limit = 5.04;
// Error bound (ulps) of the two natural logarithms together, assumed before they are first computed.
constexpr double kAssumedErrorUlps = 800;
// Below this many wanted digits the first pass computes them at once; above, a cheap first pass looks for
// an exact logarithm before the long computation.
constexpr double kCheapPassDigits = 40;

[[noreturn]] void Fail(ErrorNumber number, const char* description) {
  throw RuntimeError(number, "FuncLibDec.LogarifmIn", description);
}

bool IsOne(const ScaledNumber& v) {
  return v.magnitude == TimesPowerOfTen(DecimalNatural(1), v.scale);
}

// The length of a result whose whole part has `whole_digits` digits.
std::size_t ResultLength(std::size_t whole_digits, bool negative, std::size_t places) {
  const std::size_t whole = std::max<std::size_t>(whole_digits, places > 0 ? 1 : 0);
  return (negative ? 1 : 0) + whole + (places > 0 ? places + 1 : 0);
}

// The result's form: exactly Exact places, "0" before the point below one, when Exact >= 1; the whole part
// alone when Exact <= 0, which for zero is "" as the digit search leaves it; zero never carries a minus.
std::string LogarithmText(bool negative, const DecimalNatural& magnitude, std::int16_t Exact) {
  const std::size_t places = Exact > 0 ? static_cast<std::size_t>(Exact) : 0;
  std::string whole, fraction;
  decimal::FormatFixed(magnitude, places, whole, fraction);
  std::string text = negative && !magnitude.is_zero() ? "-" : "";
  if (places > 0) {
    text.append(whole.empty() ? "0" : whole).append(".").append(fraction);
  } else {
    text.append(whole);
  }
  if (text.size() > FuncLibDec::kMaxTextLength) {
    Fail(ErrorNumber::kOverflow, "result longer than 32767 characters");
  }
  return text;
}

// ---- Choosing the precision ----

// What the precision depends on: log10 |ln b|, log10 |log_b x| and the error bounds of the two logarithms.
struct Magnitudes {
  double log10_ln_base;
  double log10_quotient;
  double error_ulps;
};

// log10 |ln v| for v > 0, v != 1, to about two decimal places: from the leading digits where v is far from
// one, and near one from v - 1, which differs from ln v by less than (v - 1)^2.
double Log10OfLn(const ScaledNumber& v) {
  const double log10_v = Log10(v.magnitude) - static_cast<double>(v.scale);
  if (std::fabs(log10_v) > 1e-3) return std::log10(std::fabs(log10_v) * kLn10);
  const DecimalNatural one = TimesPowerOfTen(DecimalNatural(1), v.scale);
  return Log10(v.magnitude >= one ? v.magnitude - one : one - v.magnitude) - static_cast<double>(v.scale);
}

// No base stands for e, whose natural logarithm is exactly one.
Magnitudes Estimate(const ScaledNumber& x, const ScaledNumber* base) {
  const double log10_ln_base = base ? Log10OfLn(*base) : 0.0;
  return {log10_ln_base, Log10OfLn(x) - log10_ln_base, kAssumedErrorUlps};
}

Magnitudes Measure(const Bounded& ln_x, const Bounded& ln_base, std::size_t limbs) {
  const double log10_base = Log10(ln_base.magnitude);
  return {log10_base - 9.0 * static_cast<double>(limbs), Log10(ln_x.magnitude) - log10_base,
          static_cast<double>(ln_x.error_ulps + ln_base.error_ulps)};
}

// With |ln b| at least twice its error Eb, the quotient's error is at most 2 (Ex + (|Q| + 1) Eb) / |ln b|
// ulps, below 4 (Ex + Eb) max(1, |Q|) / |ln b|: log10 of that, less the ulps' own digits.
double QuotientErrorDigits(const Magnitudes& m) {
  return std::log10(4 * m.error_ulps) + std::max(0.0, m.log10_quotient) - m.log10_ln_base;
}

// Fraction limbs at which the quotient is within 10^-digits.
std::size_t LimbsFor(double digits, const Magnitudes& m) {
  return static_cast<std::size_t>(std::ceil(std::max(1.0, digits + QuotientErrorDigits(m)) / 9));
}

// Refuses early a result whose estimated whole part, taken one digit short for the estimate's error, already
// passes the limit: the precision it would need could take minutes to reach.
void RefuseLikelyOverflow(const Magnitudes& m, std::size_t places) {
  const double sure_digits = std::floor(m.log10_quotient - 0.05);
  if (sure_digits > 0 &&
      ResultLength(static_cast<std::size_t>(sure_digits), false, places) > FuncLibDec::kMaxTextLength) {
    Fail(ErrorNumber::kOverflow, "result longer than 32767 characters");
  }
}

// Refuses a result sure to pass the limit: the whole part of (|ln x| - Ex) / (|ln b| + Eb) bounds the
// result's from below.
void RefuseOverflow(const Bounded& ln_x, const Bounded& ln_base, std::size_t places) {
  const DecimalNatural x_error(ln_x.error_ulps);
  if (ln_x.magnitude <= x_error) return;
  const DecimalNatural whole =
      kernel::DivMod(ln_x.magnitude - x_error, ln_base.magnitude + DecimalNatural(ln_base.error_ulps))
          .quotient;
  const bool negative = !whole.is_zero() && ln_x.negative != ln_base.negative;
  if (ResultLength(DigitCount(whole), negative, places) > FuncLibDec::kMaxTextLength) {
    Fail(ErrorNumber::kOverflow, "result longer than 32767 characters");
  }
}

// ---- The truncated quotient ----

// |log_b x| cut off after `places` places, if the error bounds settle it. With X, B the two magnitudes,
// Ex, Eb their bounds and mid, rest = divmod(X 10^places, B), the true value lies in
// [(X - Ex) / (B + Eb), (X + Ex) / (B - Eb)], which stays within [mid, mid + 1) 10^-places exactly when
// rest >= Ex 10^places + mid Eb (or mid = 0) and rest + Ex 10^places + (mid + 1) Eb < B.
std::optional<DecimalNatural> TruncatedQuotient(const Bounded& ln_x, const Bounded& ln_base,
                                                std::size_t places, const kernel::StepHook& on_step) {
  const auto eb = static_cast<Limb>(ln_base.error_ulps);
  auto [mid, rest] =
      decimal::logarithm::DivideInPieces(TimesPowerOfTen(ln_x.magnitude, places), ln_base.magnitude, on_step);
  const DecimalNatural x_slack = TimesPowerOfTen(DecimalNatural(ln_x.error_ulps), places);
  const bool above_mid = mid.is_zero() || rest >= x_slack + kernel::MulSmall(mid, eb);
  const bool below_next = rest + x_slack + kernel::MulSmall(mid + DecimalNatural(1), eb) < ln_base.magnitude;
  if (above_mid && below_next) return std::move(mid);
  return std::nullopt;
}

// ---- Exact logarithms ----

DecimalNatural Power(const DecimalNatural& base, std::uint64_t exponent, const YieldHook& yield) {
  if (exponent == 0) return DecimalNatural(1);
  int bit = 63;
  while (((exponent >> bit) & 1) == 0) --bit;
  DecimalNatural power = base;
  while (bit-- > 0) {
    power = power * power;
    if ((exponent >> bit) & 1) power = power * base;
    yield();
  }
  return power;
}

// The whole part of n^(1/q), q >= 2, by Newton's iteration from above, which falls monotonically onto it.
// The start is the root of n's leading limbs (found the same way) with the rest of the root's limbs
// appended, plus one unit of the last of those: above the root, and close.
DecimalNatural FloorRoot(const DecimalNatural& n, Limb q, const YieldHook& yield) {
  if (n.is_zero()) return {};
  const double log10_root = Log10(n) / q;
  DecimalNatural guess;
  if (log10_root < 14) {
    guess = DecimalNatural(static_cast<std::uint64_t>(std::pow(10.0, log10_root) * (1 + 1e-9)) + 1);
  } else {
    const std::size_t root_limbs = (static_cast<std::size_t>(log10_root) + 9) / 9;
    const std::size_t drop = root_limbs / 2;
    const DecimalNatural head = FloorRoot(kernel::ShiftLimbsRight(n, q * drop), q, yield);
    guess = kernel::ShiftLimbsLeft(head + DecimalNatural(1), drop);
  }
  for (;;) {
    const DecimalNatural quotient = kernel::DivMod(n, Power(guess, q - 1, yield)).quotient;
    DecimalNatural next = DivideSmall(kernel::MulSmall(guess, q - 1) + quotient, q);
    if (next >= guess) return guess;
    guess = std::move(next);
  }
}

std::optional<DecimalNatural> ExactRoot(const DecimalNatural& n, std::uint64_t q, const YieldHook& yield) {
  if (q == 1 || n == DecimalNatural(1)) return n;
  // A root of 2 or more needs n >= 2^q.
  if (static_cast<double>(q) > Log10(n) * kLog2Of10 + 1) return std::nullopt;
  DecimalNatural root = FloorRoot(n, static_cast<Limb>(q), yield);
  if (Power(root, q, yield) != n) return std::nullopt;
  return root;
}

// base^exponent == target, without forming a power longer than the target can be.
bool PowerEquals(const DecimalNatural& base, std::uint64_t exponent, const DecimalNatural& target,
                 const YieldHook& yield) {
  if (base == DecimalNatural(1)) return target == base;
  // base^e has between (d - 1) e + 1 and d e digits.
  const std::uint64_t digits = DigitCount(base);
  const std::uint64_t target_digits = DigitCount(target);
  if ((digits - 1) * exponent + 1 > target_digits || digits * exponent < target_digits) return false;
  return Power(base, exponent, yield) == target;
}

// Divides n by p as often as it goes, at most `limit` times (first by the largest power of p below 10^9,
// then by p); returns the count.
std::size_t RemoveFactor(DecimalNatural& n, Limb p, std::size_t limit) {
  Limb chunk = p;
  std::size_t chunk_exponent = 1;
  while (std::uint64_t{chunk} * p < kernel::kDecimalBase) {
    chunk *= p;
    ++chunk_exponent;
  }
  std::size_t count = 0;
  for (Limb divisor : {chunk, p}) {
    const std::size_t step = divisor == p ? 1 : chunk_exponent;
    while (count + step <= limit) {
      Limb rest = 0;
      DecimalNatural quotient = DivideSmall(n, divisor, &rest);
      if (rest != 0) break;
      n = std::move(quotient);
      count += step;
    }
  }
  return count;
}

std::size_t TrailingZeroDigits(const DecimalNatural& n) {
  std::size_t zeros = 0;
  for (Limb limb : n.limbs()) {
    if (limb == 0) {
      zeros += 9;
      continue;
    }
    for (; limb % 10 == 0; limb /= 10) ++zeros;
    break;
  }
  return zeros;
}

struct Fraction {
  DecimalNatural numerator;
  DecimalNatural denominator;
};

// v in lowest terms: the fraction's trailing zeros dropped, then the factors 2 or 5 that the magnitude
// shares with 10^scale cancelled.
Fraction LowestTerms(const ScaledNumber& v) {
  std::size_t scale = v.scale;
  const std::size_t zeros = std::min(TrailingZeroDigits(v.magnitude), scale);
  DecimalNatural numerator = decimal::logarithm::ScaleByPowerOfTen(v.magnitude, -static_cast<long>(zeros));
  scale -= zeros;
  const std::size_t twos = RemoveFactor(numerator, 2, scale);
  const std::size_t fives = twos > 0 ? 0 : RemoveFactor(numerator, 5, scale);
  const std::size_t tens = scale - std::max(twos, fives);
  DecimalNatural denominator = TimesPowerOfTen(DecimalNatural(1), tens);
  denominator = decimal::logarithm::TimesPrimePower(std::move(denominator), 2, scale - twos - tens);
  denominator = decimal::logarithm::TimesPrimePower(std::move(denominator), 5, scale - fives - tens);
  return {std::move(numerator), std::move(denominator)};
}

// An upper bound of log2 of v's larger term in lowest terms (at most its magnitude or 10^scale).
std::uint64_t BitLengthBound(const ScaledNumber& v) {
  const double digits = static_cast<double>(std::max(DigitCount(v.magnitude), v.scale + 1));
  return static_cast<std::uint64_t>(digits * kLog2Of10) + 1;
}

struct Ratio {
  bool negative;
  std::uint64_t p;
  std::uint64_t q;
};

// b^(p/q) == x for p/q in lowest terms: then b = c^q and x = c^p for one rational c, found as the q-th root
// of b's terms. A negative logarithm is b^p = (1/x)^q.
bool IsExactLogarithm(const Fraction& base, Fraction argument, const Ratio& ratio, const YieldHook& yield) {
  if (ratio.negative) std::swap(argument.numerator, argument.denominator);
  const auto numerator_root = ExactRoot(base.numerator, ratio.q, yield);
  if (!numerator_root) return false;
  const auto denominator_root = ExactRoot(base.denominator, ratio.q, yield);
  return denominator_root && PowerEquals(*numerator_root, ratio.p, argument.numerator, yield) &&
         PowerEquals(*denominator_root, ratio.p, argument.denominator, yield);
}

// The exact logarithm p/q, when there is one. If b^p = x^q with p/q in lowest terms, b = c^q and x = c^p for
// a rational c != 1, whose numerator or denominator is 2 or more: so q is at most log2 of b's larger term
// and |p| of x's (108,853 for texts of 32,767 digits). With the quotient within 10^-12, p/q is then one of
// the convergents of its continued fraction (|Q - p/q| < 1 / (2 q^2)); those that the error bounds allow
// are tested exactly.
std::optional<Ratio> RationalLogarithm(const ScaledNumber& x, const ScaledNumber& base, const Bounded& ln_x,
                                       const Bounded& ln_base, const YieldHook& yield) {
  const std::uint64_t p_limit = BitLengthBound(x);
  const std::uint64_t q_limit = BitLengthBound(base);
  const DecimalNatural partial_limit(std::max(p_limit, q_limit));
  const bool negative = ln_x.negative != ln_base.negative;
  std::optional<Fraction> base_terms, argument_terms;
  DecimalNatural numerator = ln_x.magnitude, denominator = ln_base.magnitude;
  // The last two convergents h/k, seeded as 1/0 and 0/1.
  std::uint64_t h1 = 1, h2 = 0, k1 = 0, k2 = 1;
  while (!denominator.is_zero()) {
    auto [partial, rest] = kernel::DivMod(numerator, denominator);
    // One of the next convergent's terms is at least the partial quotient.
    if (partial > partial_limit) break;
    const std::uint64_t a = partial.low_u64();
    const std::uint64_t h = a * h1 + h2, k = a * k1 + k2;
    if (h > p_limit || k > q_limit) break;
    // Within the bounds: |X k - h B| <= 2 (k Ex + (h + k) Eb) when B >= 2 Eb.
    const DecimalNatural left = kernel::MulSmall(ln_x.magnitude, static_cast<Limb>(k));
    const DecimalNatural right = kernel::MulSmall(ln_base.magnitude, static_cast<Limb>(h));
    const DecimalNatural gap = left >= right ? left - right : right - left;
    if (h != 0 && gap <= DecimalNatural(2 * (k * ln_x.error_ulps + (h + k) * ln_base.error_ulps))) {
      if (!base_terms) {
        base_terms = LowestTerms(base);
        argument_terms = LowestTerms(x);
      }
      const Ratio ratio{negative, h, k};
      if (IsExactLogarithm(*base_terms, *argument_terms, ratio, yield)) return ratio;
    }
    h2 = h1;
    h1 = h;
    k2 = k1;
    k1 = k;
    numerator = std::move(denominator);
    denominator = std::move(rest);
  }
  return std::nullopt;
}

// ln e = 1 at `limbs` fraction limbs, with no error.
Bounded ExactOne(std::size_t limbs) {
  return {false, kernel::ShiftLimbsLeft(DecimalNatural(1), limbs), 0};
}

// The Ziv loop: both natural logarithms at a precision, the truncation if their bounds settle it, else
// (once) the search for an exact fraction, else more precision. When many places are wanted and an exact
// fraction is possible, a cheap first pass looks for the fraction before the long computation. With no
// base (base e) there is no exact fraction to look for: ln x is transcendental for every rational x != 1.
std::string SearchLogarithm(const ScaledNumber& x, const ScaledNumber* base, std::int16_t Exact,
                            const kernel::StepHook& on_step) {
  const std::size_t places = Exact > 0 ? static_cast<std::size_t>(Exact) : 0;
  Magnitudes magnitudes = Estimate(x, base);
  RefuseLikelyOverflow(magnitudes, places);
  const double wanted_digits = static_cast<double>(places) + kGuardDigits;
  bool rational_checked = !base || magnitudes.log10_quotient > kRationalLog10Limit;
  const bool cheap_first = !rational_checked && wanted_digits > kCheapPassDigits;
  std::size_t limbs = LimbsFor(
      cheap_first ? kRationalErrorDigits : std::max(wanted_digits, kRationalErrorDigits), magnitudes);
  double progress_from = 0;
  for (bool first = true;; first = false) {
    // Each pass takes a share of what is left of the progress range; a cheap first pass takes little.
    const double progress_to = progress_from + (1 - progress_from) * (first && cheap_first ? 0.1 : 0.6);
    const kernel::StepHook pass_step = kernel::Within(on_step, progress_from, progress_to);
    progress_from = progress_to;

    const Bounded ln_base = base ? decimal::logarithm::NaturalLog(*base, limbs, kernel::Within(pass_step, 0.0, 0.3))
                                 : ExactOne(limbs);
    if (ln_base.magnitude <= DecimalNatural(2 * ln_base.error_ulps)) {
      limbs = 2 * limbs + 2;  // the base lies too near one for this precision to tell ln b from zero
      continue;
    }
    const Bounded ln_x = decimal::logarithm::NaturalLog(x, limbs, kernel::Within(pass_step, 0.3, 0.9));
    RefuseOverflow(ln_x, ln_base, places);
    if (auto digits = TruncatedQuotient(ln_x, ln_base, places, kernel::Within(pass_step, 0.9, 1.0))) {
      return LogarithmText(ln_x.negative != ln_base.negative, *digits, Exact);
    }
    magnitudes = Measure(ln_x, ln_base, limbs);
    if (!rational_checked &&
        QuotientErrorDigits(magnitudes) - 9.0 * static_cast<double>(limbs) <= -kRationalErrorDigits) {
      rational_checked = true;
      const YieldHook yield = [&pass_step] { pass_step(1.0); };
      if (const auto ratio = RationalLogarithm(x, *base, ln_x, ln_base, yield)) {
        const auto digits =
            kernel::DivMod(TimesPowerOfTen(DecimalNatural(ratio->p), places), DecimalNatural(ratio->q));
        return LogarithmText(ratio->negative, digits.quotient, Exact);
      }
    }
    std::size_t target = LimbsFor(wanted_digits, magnitudes);
    if (!rational_checked) target = std::min(target, LimbsFor(kRationalErrorDigits, magnitudes));
    limbs = std::max(target, limbs + limbs / 2 + 1);
  }
}

}  // namespace

std::string FuncLibDec::LogarifmIn(std::string_view Num, std::string_view LStep, std::int16_t Exact,
                                   bool /*ResumeCalc*/) {
  RequireNumber(Num, "LogarifmIn");
  RequireNumber(LStep, "LogarifmIn");
  const ScaledNumber base = decimal::ParseScaled(LStep);
  if (base.is_zero() || base.negative || IsOne(base)) {
    Fail(ErrorNumber::kInvalidArgument, "the base must be above zero and not one");
  }
  return Logarithm(Num, &base, Exact);
}

std::string FuncLibDec::NaturalLogIn(std::string_view Num, std::int16_t Exact) {
  RequireNumber(Num, "NaturalLogIn");
  return Logarithm(Num, nullptr, Exact);
}

std::string FuncLibDec::Logarithm(std::string_view Num, const ScaledNumber* base, std::int16_t Exact) {
  Yield();
  const ScaledNumber x = decimal::ParseScaled(Num);
  if (x.is_zero() || x.negative) {
    Fail(ErrorNumber::kInvalidArgument, "no logarithm of a number below or at zero");
  }
  if (ResultLength(0, false, Exact > 0 ? static_cast<std::size_t>(Exact) : 0) > kMaxTextLength) {
    Fail(ErrorNumber::kOverflow, "result longer than 32767 characters");
  }
  Progress(iLog, 100);
  const kernel::StepHook on_step = [this](double done) {
    Progress(iLog, 100 + 870 * done);
    Yield();
  };
  std::string text = IsOne(x) ? LogarithmText(false, {}, Exact) : SearchLogarithm(x, base, Exact, on_step);
  Progress(iLog, 1000);
  return text;
}

}  // namespace ovn
