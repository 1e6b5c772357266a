#include "decimal/natural_log.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <mutex>
#include <vector>

#include "decimal/engine_support.h"
#include "kernel/limbs.h"

namespace ovn::decimal::logarithm {
namespace {

using kernel::StepHook;
using kernel::Within;

constexpr std::array<Limb, kDigitsPerLimb + 1> kPowersOfTen = {
    1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};

// The primes whose logarithms the argument reduction uses, and for each the largest power below 10^9,
// by which TimesPrimePower and OverPrimePower step.
constexpr std::array<Limb, 4> kSmallPrimes = {2, 3, 5, 7};
constexpr std::array<unsigned, 4> kExponentsPerLimb = {29, 18, 12, 10};

// ln 2, ln 3, ln 5 and ln 7 as integer combinations of atanh(1/n) for n = 251, 449, 4801, 8749: the four
// constants share four series, which gain 4.8 to 7.9 digits a term.
constexpr std::array<Limb, 4> kAtanhDenominators = {251, 449, 4801, 8749};
constexpr std::array<std::array<int, 4>, 4> kPrimeLogWeights = {
    {{144, 54, -38, 62}, {228, 86, -60, 98}, {334, 126, -88, 144}, {404, 152, -106, 174}}};

// The reduction divides by 2^a 3^b 5^c 7^d with |b|, |c|, |d| up to this bound: the 35,937 choices of
// (b, c, d) leave every mantissa within 3.7e-5 of one, so that the series gains at least 9.5 digits a term
// (8.4 with a bound of 10; 10.6 with 30, whose table is six times larger).
constexpr long kReductionRange = 16;

// The kept ln 2 ... ln 7 grow this many limbs past a precision asked for, so that the exponential that
// follows a logarithm at nearly the same precision (x^y = e^(y ln x)) finds its ln 2 there.
constexpr std::size_t kPrimeLogHeadroomLimbs = 6;

// DivideInPieces yields after every quotient piece of this many limbs: about 10 ms at 32,000 digits.
constexpr std::size_t kDivisionPieceLimbs = 256;

struct Signed {
  bool negative = false;
  DecimalNatural magnitude;
};

Signed Add(const Signed& a, const Signed& b) {
  if (a.negative == b.negative) return {a.negative, a.magnitude + b.magnitude};
  if (a.magnitude >= b.magnitude) return {a.negative, a.magnitude - b.magnitude};
  return {b.negative, b.magnitude - a.magnitude};
}

DecimalNatural One(std::size_t limbs) {
  return kernel::ShiftLimbsLeft(DecimalNatural(1), limbs);
}

// The product of two fixed-point values, cut off: within 1 ulp below the true product.
DecimalNatural MultiplyFixed(const DecimalNatural& a, const DecimalNatural& b, std::size_t limbs) {
  return kernel::ShiftLimbsRight(a * b, limbs);
}

// The leading digits of n > 0 as a mantissa in [1, 10]. The power of ten comes from the exact digit count:
// taken from the double, 16 or more leading nines (rounded up to a power of ten) would give 1 instead of
// 9.99..., and every estimate "from above" built on it would be a factor of ten short. 10 itself comes only
// from that rounding and is harmless.
double LeadingMantissa(const DecimalNatural& n) {
  const auto limbs = n.limbs();
  double lead = limbs.back();
  int point = static_cast<int>(DigitCount(n) - kDigitsPerLimb * (limbs.size() - 1)) - 1;
  if (limbs.size() > 1) {
    lead = lead * kernel::kDecimalBase + limbs[limbs.size() - 2];
    point += static_cast<int>(kDigitsPerLimb);
  }
  return lead / std::pow(10.0, point);
}

// p^k as factors below 10^9, for a prime p below 10: as many of the largest power as fit, then the rest.
std::vector<Limb> PrimePowerSteps(Limb p, std::uint64_t k) {
  const auto index =
      static_cast<std::size_t>(std::find(kSmallPrimes.begin(), kSmallPrimes.end(), p) - kSmallPrimes.begin());
  std::vector<Limb> steps;
  while (k > 0) {
    const std::uint64_t exponent = std::min<std::uint64_t>(k, kExponentsPerLimb[index]);
    Limb factor = 1;
    for (std::uint64_t i = 0; i < exponent; ++i) factor *= p;
    steps.push_back(factor);
    k -= exponent;
  }
  return steps;
}

// The sum over k in [a, b) of 1 / ((2k + 1) n^(2(k - a + 1))), kept exactly as the fraction T / D, with
// B = the product of the 2k + 1 and D = B n^(2(b - a)). Two neighbouring ranges join as
// T = T1 D2 + T2 B1, B = B1 B2, D = D1 D2 (the second range's terms weigh n^(-2(m - a)) = B1 / D1 more).
struct SeriesFraction {
  DecimalNatural t, b, d;
};

// Binary splitting: the halves are joined by a few multiplications of about equal length, so the whole
// series costs a few full multiplications times its depth, where summing term by term costs one division
// of the full length per term.
SeriesFraction AtanhSplit(Limb n, std::uint64_t a, std::uint64_t b, std::uint64_t terms,
                          const StepHook& on_step) {
  if (b - a == 1) {
    const std::uint64_t odd = 2 * a + 1;
    return {DecimalNatural(1), DecimalNatural(odd), DecimalNatural(odd * n * n)};
  }
  const std::uint64_t m = a + (b - a) / 2;
  const SeriesFraction left = AtanhSplit(n, a, m, terms, on_step);
  const SeriesFraction right = AtanhSplit(n, m, b, terms, on_step);
  SeriesFraction joined{left.t * right.d + right.t * left.b, left.b * right.b, left.d * right.d};
  // A range of 64 terms is a few microseconds: reporting there keeps the hook frequent and cheap.
  if (on_step && (b - a) >= 64) on_step(static_cast<double>(b) / static_cast<double>(terms));
  return joined;
}

// atanh(1/n) = sum 1 / ((2k + 1) n^(2k + 1)) to `limbs` limbs, within 2 ulps: the terms up to K are summed
// exactly and divided once (1 ulp for the cut), and the tail after K stays below 1 ulp, as n^(2K + 1) is
// above 10^(9 limbs).
DecimalNatural AtanhOfReciprocal(Limb n, std::size_t limbs, const StepHook& on_step) {
  const double digits = kDigitsPerLimb * static_cast<double>(limbs);
  const auto terms =
      static_cast<std::uint64_t>(std::ceil(digits / (2 * std::log10(static_cast<double>(n))))) + 1;
  const SeriesFraction sum = AtanhSplit(n, 0, terms, terms, Within(on_step, 0.0, 0.8));
  const DecimalNatural scaled = kernel::ShiftLimbsLeft(kernel::MulSmall(sum.t, n), limbs);
  DecimalNatural value = kernel::DivMod(scaled, sum.d).quotient;
  if (on_step) on_step(1.0);
  return value;
}

struct PrimeLogCache {
  std::mutex mutex;
  std::size_t limbs = 0;
  std::array<DecimalNatural, 4> values;
};

// ln 2, ln 3, ln 5, ln 7 to `limbs` limbs, each within 2 ulps. They are kept to some limbs more and
// computed with one limb more than those, where the weights (836 at most in all) times the series' errors
// (2 ulps each) stay below 2,000 ulps, so that the cut to the kept limbs leaves them within 1.01 ulps; a
// further cut stays within 2.
std::array<DecimalNatural, 4> PrimeLogs(std::size_t limbs, const StepHook& on_step) {
  static PrimeLogCache cache;
  std::lock_guard lock(cache.mutex);
  if (cache.limbs < limbs) {
    const std::size_t kept = limbs + kPrimeLogHeadroomLimbs;
    const std::size_t work = kept + 1;
    std::array<DecimalNatural, 4> series;
    for (std::size_t i = 0; i < series.size(); ++i) {
      series[i] = AtanhOfReciprocal(kAtanhDenominators[i], work, Within(on_step, i / 4.0, (i + 1) / 4.0));
    }
    for (std::size_t p = 0; p < kSmallPrimes.size(); ++p) {
      DecimalNatural plus, minus;
      for (std::size_t i = 0; i < series.size(); ++i) {
        const int weight = kPrimeLogWeights[p][i];
        DecimalNatural& side = weight > 0 ? plus : minus;
        side = side + kernel::MulSmall(series[i], static_cast<Limb>(std::abs(weight)));
      }
      cache.values[p] = kernel::ShiftLimbsRight(plus - minus, 1);
    }
    cache.limbs = kept;
  }
  std::array<DecimalNatural, 4> logs;
  for (std::size_t p = 0; p < logs.size(); ++p)
    logs[p] = kernel::ShiftLimbsRight(cache.values[p], cache.limbs - limbs);
  return logs;
}

using SmoothExponents = std::array<long, 4>;

double LnOfSmallPrime(std::size_t index) {
  return std::log(static_cast<double>(kSmallPrimes[index]));
}

// 3^b 5^c 7^d for |b|, |c|, |d| <= kReductionRange, ordered by the fractional part of log2 of the product:
// the power of 2 that best completes a product to a given value follows from that part alone. The part is
// kept as a float, which only has to tell neighbours 10^-5 apart.
struct OddSmoothNumber {
  float log2_fraction;
  std::array<std::int8_t, 3> exponents;
};

const std::vector<OddSmoothNumber>& OddSmoothNumbers() {
  static const std::vector<OddSmoothNumber> table = [] {
    const double log2_of_3 = LnOfSmallPrime(1) / LnOfSmallPrime(0);
    const double log2_of_5 = LnOfSmallPrime(2) / LnOfSmallPrime(0);
    const double log2_of_7 = LnOfSmallPrime(3) / LnOfSmallPrime(0);
    std::vector<OddSmoothNumber> numbers;
    numbers.reserve(static_cast<std::size_t>(std::pow(2 * kReductionRange + 1, 3)));
    for (long b = -kReductionRange; b <= kReductionRange; ++b) {
      for (long c = -kReductionRange; c <= kReductionRange; ++c) {
        for (long d = -kReductionRange; d <= kReductionRange; ++d) {
          const double log2 = b * log2_of_3 + c * log2_of_5 + d * log2_of_7;
          numbers.push_back(
              {static_cast<float>(log2 - std::floor(log2)),
               {static_cast<std::int8_t>(b), static_cast<std::int8_t>(c), static_cast<std::int8_t>(d)}});
        }
      }
    }
    std::sort(numbers.begin(), numbers.end(), [](const OddSmoothNumber& x, const OddSmoothNumber& y) {
      return x.log2_fraction < y.log2_fraction;
    });
    return numbers;
  }();
  return table;
}

// The exponents of 2, 3, 5, 7 whose product lies nearest to e^ln_m: the odd part's fraction of log2 must lie
// nearest to that of e^ln_m, on the circle; the two neighbours of its place in the table are compared.
SmoothExponents NearestSmoothNumber(double ln_m) {
  const std::vector<OddSmoothNumber>& table = OddSmoothNumbers();
  const double log2_m = ln_m / LnOfSmallPrime(0);
  const auto above = std::lower_bound(
      table.begin(), table.end(), static_cast<float>(log2_m - std::floor(log2_m)),
      [](const OddSmoothNumber& number, float fraction) { return number.log2_fraction < fraction; });
  double best = std::numeric_limits<double>::infinity();
  SmoothExponents nearest{};
  for (const auto& candidate : {above == table.end() ? table.front() : *above,
                                above == table.begin() ? table.back() : *std::prev(above)}) {
    const long b = candidate.exponents[0], c = candidate.exponents[1], d = candidate.exponents[2];
    const double rest = ln_m - (b * LnOfSmallPrime(1) + c * LnOfSmallPrime(2) + d * LnOfSmallPrime(3));
    const long a = std::lround(rest / LnOfSmallPrime(0));
    const double distance = std::fabs(rest - a * LnOfSmallPrime(0));
    if (distance < best) {
      best = distance;
      nearest = {a, b, c, d};
    }
  }
  return nearest;
}

// m / (2^a 3^b 5^c 7^d): the multiplications come first and are exact, and floor(floor(v / d1) / d2) is
// floor(v / (d1 d2)), so the quotient is cut off once: within 1 ulp.
DecimalNatural DivideBySmoothNumber(DecimalNatural m, const SmoothExponents& exponents) {
  for (std::size_t p = 0; p < exponents.size(); ++p) {
    if (exponents[p] < 0) {
      m = TimesPrimePower(std::move(m), kSmallPrimes[p], static_cast<std::uint64_t>(-exponents[p]));
    }
  }
  for (std::size_t p = 0; p < exponents.size(); ++p) {
    if (exponents[p] > 0) {
      m = OverPrimePower(std::move(m), kSmallPrimes[p], static_cast<std::uint64_t>(exponents[p]));
    }
  }
  return m;
}

// e_2 ln 2 + e_3 ln 3 + e_5 ln 5 + e_7 ln 7 to `limbs` limbs, within 2 ulps: summed with one limb more,
// where the weights (below 70,000 for any text the engine takes) times 2 ulps stay below 2 10^-4 of an ulp
// at `limbs`, then cut off.
Signed SmoothLog(const SmoothExponents& exponents, std::size_t limbs, const StepHook& on_step) {
  if (std::all_of(exponents.begin(), exponents.end(), [](long e) { return e == 0; })) return {};
  const std::array<DecimalNatural, 4> logs = PrimeLogs(limbs + 1, on_step);
  Signed sum;
  for (std::size_t p = 0; p < exponents.size(); ++p) {
    if (exponents[p] == 0) continue;
    const Limb weight = static_cast<Limb>(std::labs(exponents[p]));
    sum = Add(sum, Signed{exponents[p] < 0, kernel::MulSmall(logs[p], weight)});
  }
  sum.magnitude = kernel::ShiftLimbsRight(sum.magnitude, 1);
  return sum;
}

struct SeriesSum {
  DecimalNatural value;
  std::uint64_t error_ulps;
};

// sum powers[r] / (2 (first + r) + 1) over r < count, each power cut to its top limbs (drop limbs fewer).
// Two neighbouring terms share one division, p1 / d1 + p2 / d2 = (p1 d2 + p2 d1) / (d1 d2), while d1 d2 fits
// a limb. Each term is within 3 ulps: 1 for the power's cut and its own error, 1 for the division's.
DecimalNatural BlockSum(const std::vector<DecimalNatural>& powers, std::size_t first, std::size_t count,
                        std::size_t drop) {
  DecimalNatural sum;
  for (std::size_t r = 0; r < count;) {
    const auto d1 = static_cast<Limb>(2 * (first + r) + 1);
    const DecimalNatural p1 = kernel::ShiftLimbsRight(powers[r], drop);
    if (r + 1 < count && std::uint64_t{d1} * (d1 + 2) < kernel::kDecimalBase) {
      const DecimalNatural p2 = kernel::ShiftLimbsRight(powers[r + 1], drop);
      sum = sum + DivideSmall(kernel::MulSmall(p1, d1 + 2) + kernel::MulSmall(p2, d1), d1 * (d1 + 2));
      r += 2;
    } else {
      sum = sum + DivideSmall(p1, d1);
      r += 1;
    }
  }
  return sum;
}

// u^0 .. u^count at `limbs` limbs, each cut once, publishing r / steps after u^r: the powers that
// rectangular splitting forms first.
std::vector<DecimalNatural> PowersOf(const DecimalNatural& u, std::size_t count, std::size_t limbs,
                                     const StepHook& on_step, double steps) {
  std::vector<DecimalNatural> powers{One(limbs)};
  for (std::size_t r = 1; r <= count; ++r) {
    powers.push_back(MultiplyFixed(powers.back(), u, limbs));
    if (on_step) on_step(static_cast<double>(r) / steps);
  }
  return powers;
}

// The low limbs a series stage whose weight is 10^-weight_digits can drop and still reach the result to
// its last limb, keeping one more.
std::size_t LimbsOutOfReach(double weight_digits, std::size_t limbs) {
  return std::min(limbs,
                  static_cast<std::size_t>(std::max(0.0, std::floor(weight_digits / kDigitsPerLimb) - 1)));
}

// sum u^j / (2j + 1) for 0 <= u < 10^-8 (the reduction leaves u below 3.4e-10), to `limbs` limbs, by
// rectangular splitting: the powers u .. u^block are formed once, each block of terms then costs only
// divisions by small numbers, and Horner's rule in u^block joins the blocks. Block i ends up scaled by
// u^(i block), so it is summed and joined only to the limbs that reach the result, and one more: the later
// blocks cost less and less.
// Error: each stage (a block sum, within 3 ulps a term, plus 1 ulp for the product's cut and 2.02 for the
// cut u^block) is within 3 block + 4 of its own ulps, which weigh at most 10^-8 of the result's for every
// stage but the first; the tail is below 1 ulp: within 3 block + 6 ulps.
SeriesSum AtanhSeries(const DecimalNatural& u, std::size_t limbs, const StepHook& on_step) {
  if (u.is_zero()) return {One(limbs), 1};
  // u < 10^-decay; n terms leave a tail below u^n <= 10^-(9 limbs + 1).
  const double digits = static_cast<double>(kDigitsPerLimb * limbs);
  const double decay = digits - (Log10(u) + 1e-9);
  const auto terms = static_cast<std::size_t>(std::ceil((digits + 1) / decay));
  // The powers cost full multiplications, the Horner steps on shrinking numbers about 0.4 of one on
  // average: sqrt(0.4 n) powers balance the two.
  const std::size_t block =
      std::max<std::size_t>(1, static_cast<std::size_t>(std::sqrt(0.4 * static_cast<double>(terms))));
  const std::size_t blocks = (terms + block - 1) / block;
  // Progress counts multiplications: block for the powers, blocks - 1 for Horner's rule.
  const auto steps = static_cast<double>(block + blocks);
  const std::vector<DecimalNatural> powers = PowersOf(u, block, limbs, on_step, steps);
  DecimalNatural sum;  // the blocks after i, to sum_limbs limbs
  std::size_t sum_limbs = 0;
  for (std::size_t i = blocks; i-- > 0;) {
    const double weight_digits = static_cast<double>(i * block) * decay;
    const std::size_t drop = LimbsOutOfReach(weight_digits, limbs);
    const std::size_t first = i * block;
    DecimalNatural stage = BlockSum(powers, first, std::min(block, terms - first), drop);
    if (i + 1 < blocks) {
      stage = stage + kernel::ShiftLimbsRight(sum * kernel::ShiftLimbsRight(powers[block], drop), sum_limbs);
    }
    sum = std::move(stage);
    sum_limbs = limbs - drop;
    if (on_step) on_step(static_cast<double>(block + blocks - i) / steps);
  }
  return {std::move(sum), 3 * block + 6};
}

// ln y = 2 atanh((y - 1) / (y + 1)) for y near one, y within 2 ulps of its true value. t is then within
// 2 ulps (1 from y, as dt/dy <= 1/2, and 1 for its cut), atanh(t) within 1.01 times that, plus t times the
// series' error, plus 1 ulp for the product's cut; doubled.
Bounded LogNearOne(const DecimalNatural& y, std::size_t limbs, const StepHook& on_step) {
  const DecimalNatural one = One(limbs);
  const bool below_one = y < one;
  const DecimalNatural distance = below_one ? one - y : y - one;
  const DecimalNatural t =
      DivideInPieces(kernel::ShiftLimbsLeft(distance, limbs), y + one, Within(on_step, 0.0, 0.1)).quotient;
  const SeriesSum series = AtanhSeries(MultiplyFixed(t, t, limbs), limbs, Within(on_step, 0.1, 1.0));
  const DecimalNatural atanh = MultiplyFixed(t, series.value, limbs);
  return {below_one, atanh + atanh, 2 * (series.error_ulps + 5)};
}

// ---- The exponential ----

constexpr double kLn10 = 2.302585092994046;
constexpr double kLog10Of2 = 0.30102999566398120;

// log10 (10^a + 10^b), without leaving the range of a double.
double Log10Sum(double a, double b) {
  const double high = std::max(a, b), low = std::min(a, b);
  return high + std::log10(1 + std::pow(10.0, low - high));
}

// The count n of terms u^j / j!, j < n, after which the tail stays below 10^-(digits + 1) for 0 <= u <= 1/2
// (the tail is below twice its first term): log10 u^n / n! <= -(digits + 1) + log10 2.
std::size_t ExpTerms(double log10_u, double digits) {
  std::size_t n = 1;
  for (double log10_term = log10_u; log10_term > -(digits + 1) - kLog10Of2;
       log10_term += log10_u - std::log10(++n)) {
  }
  return n + 1;
}

// The squarings s after which e^u, u = r / 2^s for r below ln 2, costs least: s squarings, then for n terms
// about 2 sqrt(n) full multiplications and n divisions by one limb; a multiplication of w limbs costs about
// w^0.585 such divisions (Karatsuba).
std::size_t ExpSquarings(std::size_t limbs) {
  const double digits = static_cast<double>(kDigitsPerLimb * limbs);
  const double multiplication = std::pow(static_cast<double>(limbs), 0.585);
  std::size_t best = 1;
  double best_cost = std::numeric_limits<double>::infinity();
  // The cost falls, then rises: the search stops 8 past the least so far.
  for (std::size_t s = 1; s <= best + 8; ++s) {
    const auto n =
        static_cast<double>(ExpTerms(std::log10(0.7) - kLog10Of2 * static_cast<double>(s), digits));
    const double cost = (static_cast<double>(s) + 2 * std::sqrt(n)) * multiplication + n;
    if (cost < best_cost) {
      best_cost = cost;
      best = s;
    }
  }
  return best;
}

// floor(n / (first (first + 1) ... (last))): the factors gathered while their product fits a limb, and
// floor(floor(v / a) / b) = floor(v / (a b)), so the quotient is cut once.
DecimalNatural OverFactorRange(DecimalNatural n, std::uint64_t first, std::uint64_t last) {
  for (std::uint64_t f = first; f <= last;) {
    std::uint64_t divisor = f++;
    while (f <= last && divisor * f < kernel::kDecimalBase) divisor *= f++;
    n = DivideSmall(n, static_cast<Limb>(divisor));
  }
  return n;
}

// e^u = sum u^j / j! for 0 <= u < ln 2 / 2 (NaturalExp halves at least once), to `limbs` limbs, by
// rectangular splitting: with block size m, the powers u .. u^m are formed once, block i is summed by
// Horner's rule with divisions by one limb,
//   B_i = u^0 + u^1 / (im + 1) (1 + u / (im + 2) (1 + ...)),
// and the blocks are joined by Horner's rule in u^m: S_i = B_i + S_(i+1) u^m / ((im + 1) ... (im + m)).
// Block i weighs W_i = u^(im) / (im)! in the sum, so it is summed and joined only to the limbs that reach
// the result, and one more: the later blocks cost less and less.
// Error (u taken as exact): each power u^r is within 1 / (1 - u) <= 2 ulps (a cut a step, the earlier error
// shrinking by u), so within 3 of a stage's own ulps once cut to them. A block, T_r = u^r +
// floor(T_(r+1) / (im + r + 1)), gains 4 a step and divides the earlier error by im + r + 1 (two steps
// joined into one division, floor((u^(r+1) b + T_(r+2)) / (ab)), gain less): B_i is within
// 4 (1 + 1 + 1/2 + 1/6 + ...) < 11. The join multiplies S_(i+1) < e^u < 2 by the cut u^m (6, and 1 for the
// cut), then divides by at least m! >= 2 (1 for the cut): 4.5 more. A stage thus adds at most 16 of its own
// ulps, which reach the result multiplied by W_i (the computed factors, cut down, stay below the true ones):
// 16 ulps from the first stage, at most 16 W_i for a later stage kept whole and at most 16 10^-9 for one
// cut; with W_1 + W_2 + ... <= e^u - 1 < 0.42 and the tail below 0.1 ulp, within 26 ulps.
SeriesSum ExpSeries(const DecimalNatural& u, std::size_t limbs, const StepHook& on_step) {
  if (u.is_zero()) return {One(limbs), 0};
  const double digits = static_cast<double>(kDigitsPerLimb * limbs);
  const double log10_u = Log10(u) - digits + 1e-9;  // from above
  const std::size_t terms = ExpTerms(log10_u, digits);
  const std::size_t block =
      std::max<std::size_t>(2, static_cast<std::size_t>(std::sqrt(static_cast<double>(terms))));
  const std::size_t blocks = (terms + block - 1) / block;
  const auto steps = static_cast<double>(block + blocks);
  const std::vector<DecimalNatural> powers = PowersOf(u, block, limbs, on_step, steps);
  DecimalNatural sum;  // the blocks after i, to sum_limbs limbs
  std::size_t sum_limbs = 0;
  for (std::size_t i = blocks; i-- > 0;) {
    const std::size_t first = i * block;
    const double weight_digits =
        std::lgamma(static_cast<double>(first) + 1) / kLn10 - static_cast<double>(first) * log10_u;
    const std::size_t drop = LimbsOutOfReach(weight_digits, limbs);
    const auto power = [&powers, drop](std::size_t r) { return kernel::ShiftLimbsRight(powers[r], drop); };
    const std::size_t count = std::min(block, terms - first);
    DecimalNatural stage = power(count - 1);  // T_r, from r = count - 1 down
    for (std::size_t r = count - 1; r > 0;) {
      const std::uint64_t a = first + r;  // T_(r-1) = u^(r-1) + T_r / a
      if (r >= 2 && a * (a - 1) < kernel::kDecimalBase) {
        // Two steps, one division: T_(r-2) = u^(r-2) + (u^(r-1) a + T_r) / ((a - 1) a).
        stage = power(r - 2) + DivideSmall(kernel::MulSmall(power(r - 1), static_cast<Limb>(a)) + stage,
                                           static_cast<Limb>(a * (a - 1)));
        r -= 2;
      } else {
        stage = power(r - 1) + DivideSmall(stage, static_cast<Limb>(a));
        r -= 1;
      }
    }
    if (i + 1 < blocks) {
      stage = stage + OverFactorRange(kernel::ShiftLimbsRight(sum * power(block), sum_limbs), first + 1,
                                      first + block);
    }
    sum = std::move(stage);
    sum_limbs = limbs - drop;
    if (on_step) on_step(static_cast<double>(block + blocks - i) / steps);
  }
  return {std::move(sum), 26};
}

}  // namespace

// e^t = 2^k e^r with r = t - k ln 2 in [0, ln 2), e^r = (e^u)^(2^s) with u = r / 2^s, all at w limbs, w being
// `limbs` plus the whole limbs of e^t plus guard limbs for the error growth.
// Error, relative, in ulps at w (one ulp = 10^-9w) unless said otherwise:
// - The argument: t differs from the caller's true value by dt = t.error_ulps ulps at t_limbs; cutting it to
//   w limbs adds 1 ulp, and k ln 2 (ln 2 within 2 ulps) 2 |k|; u = floor(r / 2^s) adds 1 ulp to u, so 2^s to
//   the exponent after the squarings. The computed exponent differs from the true one by
//   D <= dt + 1 + 2 |k| + 2^s, which changes e^. by a factor within [e^-D, e^D]: relatively by at most
//   1.001 D while D <= 10^-3.
// - The computation: e^u is within 26 (ExpSeries) of e^u for the computed u, and e^u >= 1, so also
//   relatively. A square of a value >= 1 cut to w limbs turns a relative error p into at most
//   2p + p^2 + 1 <= 2.001 p + 1 while p <= 10^-3, so s squarings leave p_s + 1/1.001 <= 2.001^s (26 + 1):
//   p_s <= 27 2.001^s, which the guard limbs keep below 10^-4.
// - Both together: (1 + a)(1 + b) - 1 <= 1.001 (a + b) for a, b <= 10^-3.
// - Then 2^k is exact for k >= 0; for k < 0 the quotient is cut (1 ulp, absolute), and so is the cut to
//   `limbs` limbs (1 ulp there).
// The total is reported in ulps at `limbs`, a further 2% covering the doubles that compute it. A bound past
// 10^18 ulps, or an argument error past 10^-4, makes the result useless: its error is then the largest
// number, which no truncation test passes.
Bounded NaturalExp(const Bounded& t, std::size_t t_limbs, std::size_t limbs, const StepHook& on_step) {
  const double log10_t = Log10(t.magnitude) - static_cast<double>(kDigitsPerLimb * t_limbs);
  const double t_value = t.magnitude.is_zero() ? 0.0 : (t.negative ? -1 : 1) * std::pow(10.0, log10_t);
  const double log10_result = t_value / kLn10;
  const double log10_dt = t.error_ulps == 0 ? -std::numeric_limits<double>::infinity()
                                            : std::log10(static_cast<double>(t.error_ulps)) -
                                                  static_cast<double>(kDigitsPerLimb * t_limbs);
  const auto whole_limbs =
      static_cast<std::size_t>(std::max(0.0, std::ceil((log10_result + 1) / kDigitsPerLimb)));
  long k = std::lround(std::floor(t_value / std::log(2.0)));
  const std::size_t s = ExpSquarings(limbs + whole_limbs + 2);
  const double log10_growth = std::log10(27.0) + static_cast<double>(s) * std::log10(2.001);
  const double log10_k = std::log10(2.0 * static_cast<double>(std::labs(k) + 2) + 2.0);
  const std::size_t w =
      limbs + whole_limbs +
      static_cast<std::size_t>(std::ceil((std::max(log10_growth, log10_k) + 4) / kDigitsPerLimb));

  // t at w limbs, then r = t - k ln 2 moved into [0, ln 2).
  const DecimalNatural t_at_w = w >= t_limbs ? kernel::ShiftLimbsLeft(t.magnitude, w - t_limbs)
                                             : kernel::ShiftLimbsRight(t.magnitude, t_limbs - w);
  const DecimalNatural ln2 = PrimeLogs(w, Within(on_step, 0.0, 0.2))[0];
  const auto times_ln2 = [&ln2](long n) {
    return Signed{n < 0, kernel::MulSmall(ln2, static_cast<Limb>(std::labs(n)))};
  };
  Signed r = Add(Signed{t.negative, t_at_w}, times_ln2(-k));
  for (; r.negative && !r.magnitude.is_zero(); --k) r = Add(r, times_ln2(1));
  for (; r.magnitude >= ln2; ++k) r = Add(r, times_ln2(-1));

  const SeriesSum series = ExpSeries(OverPrimePower(r.magnitude, 2, s), w, Within(on_step, 0.2, 0.7));
  DecimalNatural y = series.value;
  for (std::size_t j = 0; j < s; ++j) {
    y = MultiplyFixed(y, y, w);
    if (on_step) on_step(0.7 + 0.3 * static_cast<double>(j + 1) / static_cast<double>(s));
  }
  y = k >= 0 ? TimesPrimePower(std::move(y), 2, static_cast<std::uint64_t>(k))
             : OverPrimePower(std::move(y), 2, static_cast<std::uint64_t>(-k));

  const double log10_ulp = -static_cast<double>(kDigitsPerLimb * w);
  const double log10_argument = Log10Sum(log10_dt, std::log10(1.0 + 2.0 * static_cast<double>(std::labs(k)) +
                                                              std::pow(2.0, static_cast<double>(s))) +
                                                       log10_ulp);
  const double log10_relative =
      std::log10(1.001) + Log10Sum(std::log10(1.001) + log10_argument, log10_growth + log10_ulp);
  Bounded result{false, kernel::ShiftLimbsRight(y, w - limbs), std::numeric_limits<std::uint64_t>::max()};
  const double log10_error =
      log10_relative + Log10(y) + log10_ulp + static_cast<double>(kDigitsPerLimb * limbs);
  if (log10_argument <= -4 && log10_error <= 18) {
    result.error_ulps = static_cast<std::uint64_t>(std::ceil(1.02 * std::pow(10.0, log10_error))) + 3;
  }
  return result;
}

std::optional<Bounded> PowerByLogarithm(const ScaledNumber& x, const DecimalNatural& p,
                                        const DecimalNatural& q, bool reciprocal, std::size_t log_limbs,
                                        std::size_t limbs, const StepHook& on_step) {
  const Bounded ln_x = NaturalLog(x, log_limbs, Within(on_step, 0.0, 0.4));
  // t = ln x p / q cut off (1 ulp), its error the log's times p / q rounded up, plus that ulp; limbs
  // dropped (2 ulps each: the cut and the error's) while the error takes more than two limbs.
  Bounded t{ln_x.negative != reciprocal, kernel::DivMod(ln_x.magnitude * p, q).quotient, 0};
  DecimalNatural error =
      kernel::DivMod(DecimalNatural(ln_x.error_ulps) * p + q, q).quotient + DecimalNatural(1);
  std::size_t t_limbs = log_limbs;
  for (; error.size() > 2 && t_limbs > 0; --t_limbs) {
    t.magnitude = kernel::ShiftLimbsRight(t.magnitude, 1);
    error = kernel::ShiftLimbsRight(error, 1) + DecimalNatural(2);
  }
  if (error.size() > 2 || Log10(t.magnitude) > 5 + static_cast<double>(kDigitsPerLimb * t_limbs)) {
    return std::nullopt;
  }
  t.error_ulps = error.low_u64();
  return NaturalExp(t, t_limbs, limbs, Within(on_step, 0.4, 1.0));
}

std::size_t DigitCount(const DecimalNatural& n) {
  if (n.is_zero()) return 0;
  std::size_t digits = kDigitsPerLimb * (n.size() - 1);
  for (Limb top = n.limbs().back(); top != 0; top /= 10) ++digits;
  return digits;
}

double Log10(const DecimalNatural& n) {
  if (n.is_zero()) return -std::numeric_limits<double>::infinity();
  return std::log10(LeadingMantissa(n)) + static_cast<double>(DigitCount(n) - 1);
}

DecimalNatural DivideSmall(const DecimalNatural& n, Limb d, Limb* remainder) {
  std::vector<Limb> quotient(n.limbs().begin(), n.limbs().end());
  const Limb rest =
      kernel::divrem_1<kernel::kDecimalBase>(quotient.data(), quotient.data(), quotient.size(), d);
  if (remainder != nullptr) *remainder = rest;
  return DecimalNatural::FromLimbs(std::move(quotient));
}

kernel::QuotientRemainder<kernel::kDecimalBase> DivideInPieces(const DecimalNatural& n,
                                                               const DecimalNatural& d,
                                                               const StepHook& on_step) {
  const auto limbs = n.limbs();
  if (limbs.size() <= d.size() + kDivisionPieceLimbs) return kernel::DivMod(n, d);
  std::vector<Limb> quotient(limbs.size());
  DecimalNatural rest;
  for (std::size_t end = limbs.size(); end > 0;) {
    const std::size_t begin = end > kDivisionPieceLimbs ? end - kDivisionPieceLimbs : 0;
    const DecimalNatural piece =
        DecimalNatural::FromLimbs({limbs.begin() + static_cast<std::ptrdiff_t>(begin),
                                   limbs.begin() + static_cast<std::ptrdiff_t>(end)});
    // rest < d, so this piece of the quotient stays below 10^(9 (end - begin)).
    auto [digits, remainder] = kernel::DivMod(kernel::ShiftLimbsLeft(rest, end - begin) + piece, d);
    std::copy(digits.limbs().begin(), digits.limbs().end(),
              quotient.begin() + static_cast<std::ptrdiff_t>(begin));
    rest = std::move(remainder);
    end = begin;
    if (on_step) on_step(1.0 - static_cast<double>(end) / static_cast<double>(limbs.size()));
  }
  return {DecimalNatural::FromLimbs(std::move(quotient)), std::move(rest)};
}

DecimalNatural ScaleByPowerOfTen(const DecimalNatural& n, long shift) {
  if (shift >= 0) return TimesPowerOfTen(n, static_cast<std::size_t>(shift));
  const auto places = static_cast<std::size_t>(-shift);
  return DivideSmall(kernel::ShiftLimbsRight(n, places / kDigitsPerLimb),
                     kPowersOfTen[places % kDigitsPerLimb]);
}

DecimalNatural TimesPrimePower(DecimalNatural n, Limb p, std::uint64_t k) {
  for (Limb factor : PrimePowerSteps(p, k)) n = kernel::MulSmall(n, factor);
  return n;
}

DecimalNatural OverPrimePower(DecimalNatural n, Limb p, std::uint64_t k) {
  for (Limb divisor : PrimePowerSteps(p, k)) n = DivideSmall(n, divisor);
  return n;
}

// x = m 10^e with 1 <= m < 10, and m = y 2^a 3^b 5^c 7^d with y near one, so that
// ln x = ln y + (a + e) ln 2 + b ln 3 + (c + e) ln 5 + d ln 7. m is cut off (1 ulp), y within 2 ulps.
Bounded NaturalLog(const ScaledNumber& x, std::size_t limbs, const StepHook& on_step) {
  const std::size_t digits = DigitCount(x.magnitude);
  const long decimal_exponent = static_cast<long>(digits) - 1 - static_cast<long>(x.scale);
  const DecimalNatural m = ScaleByPowerOfTen(
      x.magnitude, static_cast<long>(kDigitsPerLimb * limbs) - static_cast<long>(digits - 1));
  SmoothExponents exponents = NearestSmoothNumber(std::log(LeadingMantissa(x.magnitude)));
  const DecimalNatural y = DivideBySmoothNumber(m, exponents);
  exponents[0] += decimal_exponent;
  exponents[2] += decimal_exponent;

  const Signed smooth = SmoothLog(exponents, limbs, Within(on_step, 0.0, 0.5));
  const Bounded near_one = LogNearOne(y, limbs, Within(on_step, 0.5, 1.0));
  const Signed sum = Add(smooth, Signed{near_one.negative, near_one.magnitude});
  return {sum.negative && !sum.magnitude.is_zero(), sum.magnitude, near_one.error_ulps + 2};
}

}  // namespace ovn::decimal::logarithm
