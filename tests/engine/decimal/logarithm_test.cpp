// LogarifmIn: the true logarithm cut off toward zero, in the digit search's form; exact logarithms stay
// exact; the errors; identity with the literal digit search on small operands; MPFR at doubled precision
// on random and long ones; the error bound of the natural logarithm underneath; progress and cancel.
#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "decimal/decimal_text.h"
#include "decimal/func_lib_dec.h"
#include "decimal/natural_log.h"
#include "literal_logarithm.h"

namespace ovn {
namespace {

struct LogCase {
  std::string num;
  std::string base;
  std::int16_t exact;
  std::string expected;
};

ErrorNumber ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  ADD_FAILURE() << "no error raised";
  return ErrorNumber::kInvalidArgument;
}

// ---- MPFR oracle ----

struct Real {
  explicit Real(mpfr_prec_t precision) { mpfr_init2(value, precision); }
  ~Real() { mpfr_clear(value); }
  Real(const Real&) = delete;
  Real& operator=(const Real&) = delete;
  mpfr_t value;
};

struct Whole {
  Whole() { mpz_init(value); }
  ~Whole() { mpz_clear(value); }
  Whole(const Whole&) = delete;
  Whole& operator=(const Whole&) = delete;
  mpz_t value;
};

std::string Text(const mpz_t value) {
  std::vector<char> digits(mpz_sizeinbase(value, 10) + 2);
  mpz_get_str(digits.data(), 10, value);
  return digits.data();
}

// (u / 10^k)^p as a decimal text; for p < 0, u must be 2^i 5^j, so that the power ends.
std::string PowerText(const mpz_t u, unsigned long k, long p) {
  const auto magnitude = static_cast<unsigned long>(std::labs(p));
  Whole digits, ten_power;
  unsigned long scale = k * magnitude;
  mpz_pow_ui(digits.value, u, magnitude);
  if (p < 0) {
    // 10^(k |p|) / u^|p| = 10^(k |p|) (10^m / u^|p|) / 10^m, m the larger exponent of 2 and 5 in u^|p|.
    Whole rest, five;
    mpz_set_ui(five.value, 5);
    const unsigned long m =
        std::max<unsigned long>(mpz_scan1(digits.value, 0), mpz_remove(rest.value, digits.value, five.value));
    mpz_ui_pow_ui(ten_power.value, 10, m);
    mpz_divexact(ten_power.value, ten_power.value, digits.value);
    mpz_ui_pow_ui(digits.value, 10, scale);
    mpz_mul(digits.value, digits.value, ten_power.value);
    scale = m;
  }
  std::string text = Text(digits.value);
  if (text.size() <= scale) text.insert(0, scale + 1 - text.size(), '0');
  return text.insert(text.size() - scale, ".");
}

// The expected text from the magnitude's digits (cut off at `places`), in the engine's form.
std::string FormText(bool negative, std::string digits, int Exact) {
  const std::size_t places = Exact > 0 ? static_cast<std::size_t>(Exact) : 0;
  if (digits == "0") digits.clear();
  const bool zero = digits.empty();
  std::string text;
  if (places > 0) {
    if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
    text = digits.substr(0, digits.size() - places) + "." + digits.substr(digits.size() - places);
  } else {
    text = digits;
  }
  return (negative && !zero ? "-" : "") + text;
}

// log_base(num) cut off toward zero at Exact places, by MPFR at about twice the digits needed; empty when
// the value lies too near a digit boundary for that precision to tell.
std::string MpfrLogarithm(const std::string& num, const std::string& base, int Exact) {
  const long places = std::max(Exact, 0);
  const mpfr_prec_t precision = static_cast<mpfr_prec_t>(
      2 * 3.33 * static_cast<double>(places + 40 + 2 * static_cast<long>(num.size() + base.size())));
  Real x(precision), b(precision), scaled(precision), ten(precision), fraction(precision);
  mpfr_set_str(x.value, num.c_str(), 10, MPFR_RNDN);
  mpfr_set_str(b.value, base.c_str(), 10, MPFR_RNDN);
  mpfr_log(x.value, x.value, MPFR_RNDN);
  mpfr_log(b.value, b.value, MPFR_RNDN);
  if (base == "e") mpfr_set_ui(b.value, 1, MPFR_RNDN);  // the natural logarithm
  mpfr_div(scaled.value, x.value, b.value, MPFR_RNDN);
  mpfr_ui_pow_ui(ten.value, 10, static_cast<unsigned long>(places), MPFR_RNDN);
  mpfr_mul(scaled.value, scaled.value, ten.value, MPFR_RNDN);
  // Too near a boundary: within 10^-15 of a whole number other than zero (all of (-1, 1) is cut to zero).
  mpfr_frac(fraction.value, scaled.value, MPFR_RNDN);
  mpfr_abs(fraction.value, fraction.value, MPFR_RNDN);
  const double distance =
      std::min(mpfr_get_d(fraction.value, MPFR_RNDN), 1 - mpfr_get_d(fraction.value, MPFR_RNDN));
  if (distance < 1e-15 && mpfr_cmpabs_ui(scaled.value, 1) > 0) return {};
  Whole truncated;
  mpfr_get_z(truncated.value, scaled.value, MPFR_RNDZ);
  const bool negative = mpz_sgn(truncated.value) < 0;
  mpz_abs(truncated.value, truncated.value);
  return FormText(negative, Text(truncated.value), Exact);
}

// e to `digits` places, cut off: the text the calculator keeps for the natural logarithm.
std::string TextOfE(std::size_t digits) {
  Real e(static_cast<mpfr_prec_t>(3.33 * static_cast<double>(digits) + 64));
  mpfr_set_ui(e.value, 1, MPFR_RNDN);
  mpfr_exp(e.value, e.value, MPFR_RNDN);
  mpfr_exp_t exponent;
  std::vector<char> buffer(digits + 8);
  mpfr_get_str(buffer.data(), &exponent, 10, digits + 1, e.value, MPFR_RNDZ);
  return std::string(buffer.data(), 1) + "." + std::string(buffer.data() + 1);
}

// ---- Random operands ----

class Operands {
 public:
  explicit Operands(unsigned seed) : random_(seed) {}

  std::string Digits(std::size_t count) {
    std::string text(count, '0');
    for (char& c : text) c = static_cast<char>('0' + Uniform(0, 9));
    return text;
  }
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  // A positive number in one of the shapes the engine meets: whole, with a fraction, below one (with
  // ".5" written without its zero), or within a hair of one.
  std::string Positive() {
    std::string text;
    switch (Uniform(0, 4)) {
      case 0:
        text = std::to_string(Uniform(1, 9)) + Digits(static_cast<std::size_t>(Uniform(0, 20)));
        break;
      case 1:
        text = std::to_string(Uniform(1, 9)) + Digits(static_cast<std::size_t>(Uniform(0, 6))) + "." +
               Digits(static_cast<std::size_t>(Uniform(1, 12)));
        break;
      case 2:
        text = (Uniform(0, 1) ? "0." : ".") + std::string(static_cast<std::size_t>(Uniform(0, 8)), '0') +
               std::to_string(Uniform(1, 9)) + Digits(static_cast<std::size_t>(Uniform(0, 10)));
        break;
      case 3:
        text = "1." + std::string(static_cast<std::size_t>(Uniform(1, 15)), '0') +
               std::to_string(Uniform(1, 9)) + Digits(static_cast<std::size_t>(Uniform(0, 5)));
        break;
      default:
        text = "0." + std::string(static_cast<std::size_t>(Uniform(1, 15)), '9') +
               Digits(static_cast<std::size_t>(Uniform(0, 5)));
        break;
    }
    return text;
  }

 private:
  std::mt19937 random_;
};

class LogarithmTest : public ::testing::Test {
 protected:
  FuncLibDec engine;
};

// ---- Forms, exact cases and the mends ----

TEST_F(LogarithmTest, ResultsAreCutOffTowardZeroInTheDigitSearchForm) {
  // clang-format off
  const std::vector<LogCase> cases = {
      {"1000", "10", 0, "3"},         {"1000", "10", 2, "3.00"},       {"2", "10", 4, "0.3010"},
      {"2", "4", 3, "0.500"},         {"1", "10", 2, "0.00"},          {"1", "10", 0, ""},
      {"2", "10", 0, ""},             {"1.000", "7", 1, "0.0"},        {"0.5", "10", 4, "-0.3010"},
      {".5", "10", 4, "-0.3010"},     {"0.05", "10", 3, "-1.301"},     {"0.05", "10", 0, "-1"},
      {"0.9999", "10", 2, "0.00"},    {"0.5", "10", 0, ""},            {"8", "2", 0, "3"},
      {"2", "8", 5, "0.33333"},       {"0.5", "0.25", 3, "0.500"},     {"4", "0.5", 3, "-2.000"},
      {"3", "0.5", 4, "-1.5849"},     {"27", "9", 3, "1.500"},         {"1024", "2", -3, "10"},
      {"0.001", "10", 2, "-3.00"},    {"100", "0.1", 1, "-2.0"},       {"2", "2", 4, "1.0000"},
      {"6.25", "2.5", 2, "2.00"},     {"0.16", "2.5", 2, "-2.00"},     {"2.5", "6.25", 3, "0.500"},
      {"1.5", "2.25", 2, "0.50"},     {"3", "2", 2, "1.58"},           {"10", "3", 10, "2.0959032742"},
      {"0.125", "16", 4, "-0.7500"},  {"5.", "25", 1, "0.5"},          {"00100", "010", 1, "2.0"},
      {"999.99999999999999999", "10", 2, "2.99"},
      {"1000.000000000000000001", "10", 2, "3.00"},
      {"1000.000000000000000001", "10", 0, "3"}};
  // clang-format on
  for (const auto& [num, base, exact, expected] : cases) {
    if (expected.empty() && exact > 0) {
      EXPECT_EQ(ErrorOf([&] { engine.LogarifmIn(num, base, exact); }), ErrorNumber::kInvalidArgument) << num;
      continue;
    }
    EXPECT_EQ(engine.LogarifmIn(num, base, exact), expected)
        << "log of " << num << " to " << base << " at " << exact;
  }
}

TEST_F(LogarithmTest, ExactLogarithmsStayExactAtAnyNumberOfPlaces) {
  EXPECT_EQ(engine.LogarifmIn("1000", "10", 20000), "3." + std::string(20000, '0'));
  EXPECT_EQ(engine.LogarifmIn("2", "8", 3000), "0." + std::string(3000, '3'));
  EXPECT_EQ(engine.LogarifmIn("0.0001", "1000", 30), "-1." + std::string(30, '3'));
  // 2^300 against 2^7: a long exact power and a denominator of 7.
  Whole power;
  mpz_ui_pow_ui(power.value, 2, 300);
  EXPECT_EQ(engine.LogarifmIn(Text(power.value), "128", 12), "42.857142857142");
  EXPECT_EQ(engine.LogarifmIn("1" + std::string(30000, '0'), "10", 2), "30000.00");
  EXPECT_EQ(engine.LogarifmIn("0." + std::string(29999, '0') + "1", "0.1", 0), "30000");
}

// c^p to base c^q is exactly p/q, printed from the fraction at any number of places.
TEST_F(LogarithmTest, RandomExactLogarithmsArePrintedFromTheirFraction) {
  Operands operands(31337);
  for (int trial = 0; trial < 120; ++trial) {
    // c = u / 10^k; u = 2^i 5^j lets p be negative.
    Whole u, five, one;
    const bool ends = operands.Uniform(0, 1) == 0;
    if (ends) {
      mpz_ui_pow_ui(u.value, 2, static_cast<unsigned long>(operands.Uniform(0, 6)));
      mpz_ui_pow_ui(five.value, 5, static_cast<unsigned long>(operands.Uniform(0, 6)));
      mpz_mul(u.value, u.value, five.value);
    } else {
      mpz_set_ui(u.value, static_cast<unsigned long>(operands.Uniform(2, 999)));
    }
    const auto k = static_cast<unsigned long>(operands.Uniform(0, 3));
    mpz_ui_pow_ui(one.value, 10, k);
    if (mpz_cmp(u.value, one.value) == 0) continue;  // c = 1
    const long q = operands.Uniform(1, 7);
    const long p = operands.Uniform(0, 1) == 0 ? operands.Uniform(1, 9)
                                               : (ends ? -operands.Uniform(1, 9) : operands.Uniform(1, 9));
    const int exact = operands.Uniform(-1, 40);
    Whole digits;
    mpz_ui_pow_ui(digits.value, 10, static_cast<unsigned long>(std::max(exact, 0)));
    mpz_mul_ui(digits.value, digits.value, static_cast<unsigned long>(std::labs(p)));
    mpz_tdiv_q_ui(digits.value, digits.value, static_cast<unsigned long>(q));
    const std::string num = PowerText(u.value, k, p), base = PowerText(u.value, k, q);
    EXPECT_EQ(engine.LogarifmIn(num, base, static_cast<std::int16_t>(exact)),
              FormText(p < 0, Text(digits.value), exact))
        << "seed 31337, trial " << trial << ": log of " << num << " to " << base << " at " << exact;
  }
}

TEST_F(LogarithmTest, ImpossibleOperandsAndOverlongResultsRaise) {
  const std::vector<std::pair<std::pair<std::string, std::string>, ErrorNumber>> cases = {
      {{"0", "10"}, ErrorNumber::kInvalidArgument},    {{"", "10"}, ErrorNumber::kInvalidArgument},
      {{"-5", "10"}, ErrorNumber::kInvalidArgument},   {{"5", "0"}, ErrorNumber::kInvalidArgument},
      {{"5", "-2"}, ErrorNumber::kInvalidArgument},    {{"5", "1"}, ErrorNumber::kInvalidArgument},
      {{"5", "1.000"}, ErrorNumber::kInvalidArgument}, {{"5", "."}, ErrorNumber::kInvalidArgument},
      {{"abc", "10"}, ErrorNumber::kTypeMismatch},     {{"5", "1e5"}, ErrorNumber::kTypeMismatch},
      {{"1.2.3", "10"}, ErrorNumber::kTypeMismatch}};
  for (const auto& [operands, number] : cases) {
    EXPECT_EQ(ErrorOf([&] { engine.LogarifmIn(operands.first, operands.second, 2); }), number)
        << operands.first;
  }
  EXPECT_EQ(ErrorOf([&] { engine.LogarifmIn("2", "10", 32767); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.LogarifmIn("2", "10", 32766); }), ErrorNumber::kOverflow);
  // A base within 10^-20001 of one makes the whole part of log 10 20,001 digits long.
  const std::string near_one = "1." + std::string(20000, '0') + "1";
  EXPECT_EQ(ErrorOf([&] { engine.LogarifmIn("10", near_one, 15000); }), ErrorNumber::kOverflow);
}

TEST_F(LogarithmTest, BaseNearOneGivesALongWholePart) {
  const std::string near_one = "1." + std::string(40, '0') + "1";
  const std::string expected = MpfrLogarithm("10", near_one, 5);
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(engine.LogarifmIn("10", near_one, 5), expected);
}

// ---- Oracles ----

TEST_F(LogarithmTest, MatchesTheLiteralDigitSearchOnSmallOperands) {
  Operands operands(20240611);
  for (int trial = 0; trial < 150; ++trial) {
    const std::string base =
        std::to_string(operands.Uniform(1, 99)) + (operands.Uniform(0, 1) ? "." + operands.Digits(1) : "");
    if (base == "1" || base == "1.0") continue;
    const std::string num =
        std::to_string(operands.Uniform(1, 9999)) +
        (operands.Uniform(0, 2) == 0 ? "." + operands.Digits(static_cast<std::size_t>(operands.Uniform(1, 2)))
                                     : "");
    const int exact = operands.Uniform(-1, 3);
    EXPECT_EQ(engine.LogarifmIn(num, base, static_cast<std::int16_t>(exact)),
              literal::LiteralLogarithm(num, base, exact))
        << "seed 20240611, trial " << trial << ": log of " << num << " to " << base << " at " << exact;
  }
}

TEST_F(LogarithmTest, MatchesMpfrOnRandomOperands) {
  Operands operands(77031);
  int compared = 0;
  for (int trial = 0; trial < 400; ++trial) {
    const std::string num = operands.Positive();
    const std::string base = operands.Positive();
    const int exact = operands.Uniform(-2, 45);
    const std::string expected = MpfrLogarithm(num, base, exact);
    if (expected.empty()) continue;
    ++compared;
    EXPECT_EQ(engine.LogarifmIn(num, base, static_cast<std::int16_t>(exact)), expected)
        << "seed 77031, trial " << trial << ": log of " << num << " to " << base << " at " << exact;
    if (trial % 4 == 0) {
      const std::string ln = MpfrLogarithm(num, "e", exact);
      if (!ln.empty()) {
        EXPECT_EQ(engine.NaturalLogIn(num, static_cast<std::int16_t>(exact)), ln) << "ln " << num;
      }
    }
  }
  EXPECT_GT(compared, 380);
}

// Up to the longest results, and arguments whose logarithm lies a hair above or below a cut-off point, so
// that the digits at the cut are a long run of zeros or nines: 10^3 (1 + 10^-30012), 10^3 (1 - 10^-30011),
// the square root of 7 to a hair (a perfect power), 2 near a power of 4.
TEST_F(LogarithmTest, MatchesMpfrOnLongResults) {
  const std::string e = TextOfE(2010);
  const std::vector<LogCase> cases = {
      {"2", "10", 2000, ""},
      {"2", e, 2000, ""},
      {"12345.678901234567890123456789", "0.0031", 1500, ""},
      {"3." + std::string(3000, '1'), "7", 2500, ""},
      {"2", "10", 30000, ""},
      {"2", TextOfE(30010), 30000, ""},
      {"1000." + std::string(30008, '0') + "1", "10", 30000, ""},
      {"999." + std::string(30008, '9'), "10", 30000, ""},
      {"2.6457513110645905905016157536392604257102", "7", 30, ""},
      {"2." + std::string(60, '0') + "1", "4", 50, ""},
      {"1." + std::string(60, '9'), "4", 50, ""}};
  for (const auto& [num, base, exact, unused] : cases) {
    const std::string expected = MpfrLogarithm(num, base, exact);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(engine.LogarifmIn(num, base, exact), expected)
        << num.substr(0, 20) << " to " << base.substr(0, 20);
  }
  // The natural logarithm takes e to the places its result needs, here 10,000.
  EXPECT_EQ(engine.NaturalLogIn("2", 10000), MpfrLogarithm("2", "e", 10000));
  EXPECT_EQ(engine.NaturalLogIn("0.0031", 3000), MpfrLogarithm("0.0031", "e", 3000));
  // Reduced by 2^a 3^b 5^c 7^d, these leave a value whose series term starts with sixteen nines; a series
  // length estimated a factor of ten short printed wrong last places.
  for (const auto& [num, places] : std::vector<std::pair<std::string, std::int16_t>>{
           {"1.4535793173042446207117139702354907335349106450676391127997603205242750043888071982081460247557360330",
            300},
           {"1.385225987692988449940615037304220946029302985449466138685022058221454385233763306302984722711836810",
            1800}}) {
    EXPECT_EQ(engine.NaturalLogIn(num, places), MpfrLogarithm(num, "e", places)) << places;
  }
}

// The bound that NaturalLog reports must hold: |computed - ln x| <= error_ulps units of the last limb.
TEST(NaturalLogTest, ErrorStaysWithinTheReportedBound) {
  Operands operands(5150);
  for (int trial = 0; trial < 120; ++trial) {
    const std::string text = trial % 3 == 0
                                 ? operands.Digits(static_cast<std::size_t>(operands.Uniform(1, 300))) + "1"
                                 : operands.Positive();
    const std::size_t limbs =
        static_cast<std::size_t>(std::vector<int>{1, 2, 3, 7, 30, 120}[static_cast<std::size_t>(trial % 6)]);
    const decimal::logarithm::Bounded ln = decimal::logarithm::NaturalLog(decimal::ParseScaled(text), limbs);

    const auto precision =
        static_cast<mpfr_prec_t>(9 * 3.33 * static_cast<double>(limbs) + 4 * text.size() + 256);
    Real truth(precision), computed(precision), scale(precision);
    mpfr_set_str(truth.value, text.c_str(), 10, MPFR_RNDN);
    mpfr_log(truth.value, truth.value, MPFR_RNDN);
    const std::string digits = decimal::FormatDigits(ln.magnitude);
    mpfr_set_str(computed.value, digits.empty() ? "0" : digits.c_str(), 10, MPFR_RNDN);
    if (ln.negative) mpfr_neg(computed.value, computed.value, MPFR_RNDN);
    mpfr_ui_pow_ui(scale.value, 10, 9 * limbs, MPFR_RNDN);
    mpfr_mul(truth.value, truth.value, scale.value, MPFR_RNDN);
    mpfr_sub(computed.value, computed.value, truth.value, MPFR_RNDN);
    const double error = std::fabs(mpfr_get_d(computed.value, MPFR_RNDN));
    EXPECT_LE(error, static_cast<double>(ln.error_ulps))
        << "seed 5150, trial " << trial << ": ln " << text << " at " << limbs << " limbs";
  }
}

// ---- Progress and cancel ----

TEST_F(LogarithmTest, ProgressRisesToTheEndWhileTheFlagIsSet) {
  std::vector<float> seen;
  engine.SetYieldHook([&] { seen.push_back(engine.StepCalculate()); });
  engine.iLog = true;
  engine.LogarifmIn("3.3", "7.7", 2500);
  ASSERT_GT(seen.size(), 10U);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(engine.StepCalculate(), 1000.0F);
}

TEST_F(LogarithmTest, CancelStopsALongLogarithmAndLeavesTheEngineSound) {
  int calls = 0;
  engine.SetYieldHook([&] {
    if (++calls == 20) throw RuntimeError(ErrorNumber::kCancelled, "test", "cancelled");
  });
  EXPECT_EQ(ErrorOf([&] { engine.LogarifmIn("3", "11", 12000); }), ErrorNumber::kCancelled);
  engine.SetYieldHook({});
  EXPECT_EQ(engine.LogarifmIn("3", "11", 300), MpfrLogarithm("3", "11", 300));
}

}  // namespace
}  // namespace ovn
