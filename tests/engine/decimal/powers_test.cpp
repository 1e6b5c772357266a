// Powers and roots of the decimal engine: the described edge cases and the decided mends as tables, the
// literal steps on thousands of small random inputs, the true values on large ones (roots checked by
// r^d <= x < (r + ulp)^d with GMP, fractional powers against MPFR at doubled precision), progress and
// cancellation.
#include <gmp.h>
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "decimal/func_lib_dec.h"
#include "literal_powers.h"

namespace ovn {
namespace {

constexpr unsigned kSeed = 1801;

template <typename F>
std::string Outcome(F&& f) {
  try {
    return f();
  } catch (const RuntimeError& error) {
    return "error " + std::to_string(static_cast<int>(error.Number()));
  }
}

// ---- Oracles ----

class Mpz {
 public:
  Mpz() { mpz_init(value_); }
  explicit Mpz(const std::string& digits) {
    mpz_init_set_str(value_, digits.empty() ? "0" : digits.c_str(), 10);
  }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  ~Mpz() { mpz_clear(value_); }
  operator mpz_ptr() { return value_; }
  operator mpz_srcptr() const { return value_; }

 private:
  mpz_t value_;
};

std::string Text(mpz_srcptr value) {
  char* digits = mpz_get_str(nullptr, 10, value);
  std::string text(digits);
  void (*release)(void*, std::size_t) = nullptr;
  mp_get_memory_functions(nullptr, nullptr, &release);
  release(digits, text.size() + 1);
  return text;
}

// The digits of a non-negative number text and its count of fraction digits.
std::pair<std::string, std::size_t> DigitsOf(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) return {std::string(text), 0};
  return {std::string(text.substr(0, point)) + std::string(text.substr(point + 1)), text.size() - point - 1};
}

// The number text times 10^places, which must be whole.
void ScaledValue(mpz_ptr out, std::string_view text, std::size_t places) {
  const auto [digits, fraction] = DigitsOf(text);
  ASSERT_LE(fraction, places) << text;
  mpz_set_str(out, digits.empty() ? "0" : digits.c_str(), 10);
  Mpz ten_power;
  mpz_ui_pow_ui(ten_power, 10, places - fraction);
  mpz_mul(out, out, ten_power);
}

// floor(x^e * 10^places), or floor(10^places / x^e), from MPFR working at twice the needed precision.
void TruncatedPower(mpz_ptr out, const std::string& x, const std::string& e, std::size_t places,
                    bool reciprocal) {
  // x = "e" stands for e itself.
  const double magnitude = std::abs(std::stod(e) * (x == "e" ? 0.4343 : std::log10(std::stod(x))));
  const auto bits = static_cast<mpfr_prec_t>(7 * (static_cast<double>(places) + magnitude + 60));
  mpfr_t base, exponent, value, scale;
  mpfr_inits2(bits, base, exponent, value, scale, static_cast<mpfr_ptr>(nullptr));
  mpfr_set_str(base, x.c_str(), 10, MPFR_RNDN);
  if (x == "e") {
    mpfr_set_ui(base, 1, MPFR_RNDN);
    mpfr_exp(base, base, MPFR_RNDN);
  }
  mpfr_set_str(exponent, e.c_str(), 10, MPFR_RNDN);
  mpfr_pow(value, base, exponent, MPFR_RNDN);
  if (reciprocal) mpfr_ui_div(value, 1, value, MPFR_RNDN);
  mpfr_ui_pow_ui(scale, 10, places, MPFR_RNDN);
  mpfr_mul(value, value, scale, MPFR_RNDN);
  mpfr_get_z(out, value, MPFR_RNDD);
  mpfr_clears(base, exponent, value, scale, static_cast<mpfr_ptr>(nullptr));
}

// ---- Tables of the described cases and the mends ----

struct PowerCase {
  const char* base;
  const char* exponent;
  const char* expected;
};

TEST(StepIn, DescribedCasesAndMends) {
  const PowerCase cases[] = {
      {"2", "10", "1024"},
      {"-2", "3", "-8"},
      {"-2", "2", "4"},
      {"7", "0", "1"},
      {"7", "", "1"},
      {"0", "5", ""},
      {"", "5", ""},
      {"0", "0", "1"},
      {"0.0", "-0", "1"},
      {".5", "2", "0.25"},
      {"2.50", "2", "6.25"},
      {"-0.5", "3", "-0.125"},
      {"0.0", "2", "0"},
      {"-0", "3", ""},
      {"-0", "2", "0"},
      {"-1", "3", "-1"},
      {"1.0", "123456789012345678901234567890", "1"},
      {"-1", "123456789012345678901234567891", "-1"},
      // A negative exponent: the reciprocal at DevExact places (12), in DevideIn's form.
      {"2", "-2", "0.25"},
      {"0.5", "-2", "4"},
      {"3", "-1", "0.333333333333"},
      {"-2", "-3", "-0.125"},
      {"12", "-1", "0.0833333333333"},
      {"-1", "-3", "-1"},
      {"1", "-7.25", "1"},
      // Zero to a negative power, and exponents past the text limit.
      {"0", "-2", "error 11"},
      {"", "-1", "error 11"},
      {"0.0", "-2", "error 11"},
      {"0", "-0.5", "error 11"},
      {"2", "200000", "error 6"},
      {"2", "12345678901234567890123", "error 6"},
      {"1.5", "1000000.5", "error 6"},
      {"1.000000000000000000000000000001", "1000000000000000000000000000000000000000.123", "error 6"},
      {"1.000000000000000000000000000001", "-1000000000000000000000000000000000000000.123", "error 6"},
      {"1.000000000000000000000000000001", "10000000000000000000000000.123", "1.00001000005"},
      {"0.1", "40000", "error 6"},
      // Fractional exponents: the true value cut off after RadExact + 1 = 13 places, in MuchIn's form.
      {"2", "0.5", "1.414213562373"},
      {"4", "0.5", "2"},
      {"0.25", "0.5", "0.5"},
      {"8", "0.25", "1.6817928305074"},
      {"2", "2.5", "5.6568542494923"},
      {"10", "0.3010299956639812", "2"},
      {"8", "0.3333333333333333333333333333333", "1.9999999999999"},
      {"1", "0.5", "1"},
      {"0.0", "0.5", "0"},
      {"0.5", "100000.5", "0"},
      {"-8", "0.5", "error 5"},
      {"-8", "1.5", "error 5"},
      // A negative fractional exponent: the true reciprocal at DevExact places, in DevideIn's form.
      {"2", "-0.5", "0.707106781186"},
      {"4", "-0.5", "0.5"},
      {"100", "-0.5", "0.1"},
      {"0.01", "-0.5", "10"},
      {"1000", "-1.5", "0.0000316227766016"},
  };
  FuncLibDec engine;
  for (const auto& c : cases) {
    engine.iStepFS.clear();
    EXPECT_EQ(Outcome([&] { return engine.StepIn(c.base, c.exponent); }), c.expected)
        << c.base << " ^ " << c.exponent;
  }
}

TEST(StepIn, ExponentsPastTheSixteenBitCounterComputeWhenTheResultFits) {
  FuncLibDec engine;
  Mpz expected;
  mpz_ui_pow_ui(expected, 2, 100000);
  EXPECT_EQ(engine.StepIn("2", "100000"), Text(expected));
  // 0.5^-40000 = 2^40000: the power 0.5^40000 itself is longer than any text.
  mpz_ui_pow_ui(expected, 2, 40000);
  EXPECT_EQ(engine.StepIn("0.5", "-40000"), Text(expected));
  // 2^-100000 at 12 places after the whole part's 30,102 extra places.
  const std::string reciprocal = engine.StepIn("2", "-100000");
  EXPECT_EQ(reciprocal.size(), 2 + 30102 + 12U);
  EXPECT_TRUE(reciprocal.starts_with("0.0000")) << reciprocal.substr(0, 40);
}

struct RootCase {
  const char* radicand;
  const char* degree;
  std::int16_t exact;
  const char* expected;
};

TEST(RadicalIn, DescribedCasesAndMends) {
  const RootCase cases[] = {
      // Exact + 1 places; none at Exact <= 0; an exact root of one significant digit 1 to 8 comes bare.
      {"1", "2", 3, "1"},
      {"100", "2", 3, "10"},
      {"4", "2", 3, "2"},
      {"27", "3", 3, "3"},
      {"1000", "3", 3, "10"},
      {"6400", "2", 1, "80"},
      {"2", "2", 0, "1"},
      {"2", "2", 3, "1.4142"},
      {"2", "2", -3, "1"},
      {"144", "2", 3, "12.0000"},
      {"81", "2", 3, "9.0000"},
      {"8100", "2", 1, "90.00"},
      {"1.00", "2", 2, "1"},
      {".25", "2", 2, "0.500"},
      {"0.04", "2", 3, "0.2000"},
      {"0", "2", 2, "0.000"},
      {"0", "2", 0, "0"},
      {"5", "1", 2, "5"},
      {"12", "1", 2, "12.000"},
      {"1", "1000000000000000000000000", 4, "1"},
      {"2", "1000000", 5, "1.000000"},
      {"1000000000000000000000000000000", "10", 2, "1000"},
      // Negative radicands and degree 0.
      {"-8", "3", 3, "-2"},
      {"-2", "3", 3, "-1.2599"},
      {"-0.001", "3", 2, "-0.100"},
      {"-0.000001", "3", 0, "0"},
      {"-4", "2", 3, "error 5"},
      {"2", "0", 3, "error 5"},
      {"2", "0.0", 3, "error 5"},
      // Any other degree: x^(1/degree) cut off at Exact + 1 places, in MuchIn's form.
      {"8", "1.5", 3, "4"},
      {"2", "1.5", 3, "1.5874"},
      {"2", "2.5", 5, "1.319507"},
      {"4", "-2", 3, "0.5"},
      {"2", "-2", 3, "0.7071"},
      {"9", "0.5", 3, "81"},
      {"0", "-2", 3, "error 11"},
      {"0", "0.5", 3, "0"},
      {"-8", "1.5", 3, "error 5"},
      {"-8", "-3", 3, "error 5"},
  };
  FuncLibDec engine;
  for (const auto& c : cases) {
    EXPECT_EQ(Outcome([&] { return engine.RadicalIn(c.radicand, c.degree, c.exact); }), c.expected)
        << c.radicand << " root " << c.degree << " at " << c.exact;
  }
}

TEST(GiperStepIn, DescribedCasesAndMends) {
  const PowerCase cases[] = {
      {"2", "3", "16"},
      {"2", "0", "0"},
      {"7", "0", "0"},
      {"2", "1", "2"},
      {"2", "4", "65536"},
      {"3", "2", "27"},
      {"2", "2.0", "4"},
      {"1", "1000000000000000000000", "1"},
      {"0", "3", ""},
      {"0.0", "5", "0"},
      {"2", "1.5", "error 5"},
      {"2", "-1", "error 5"},
      {"-2", "2", "error 5"},
      {"2", "6", "error 6"},
      {"10", "3", "error 6"},
      // Towers that settle on one value or on two alternating values end early, whatever their height.
      {"1.2", "1000000000", "1.2577345413764"},
      {"0.05", "1000000000", "0.6626608389012"},
      {"0.05", "1000000001", "0.1373593957376"},
  };
  FuncLibDec engine;
  for (const auto& c : cases) {
    EXPECT_EQ(Outcome([&] { return engine.GiperStepIn(c.base, c.exponent); }), c.expected)
        << c.base << " tower " << c.exponent;
  }
}

TEST(GpStep, TowersInDoublesAndTheirOverflow) {
  const FuncLibDec engine;
  EXPECT_EQ(engine.GpStep(2, 3), 16.0);
  EXPECT_EQ(engine.GpStep(10, 4), 0.0);
  EXPECT_EQ(engine.GpStep(5, 0), 1.0);
  EXPECT_EQ(engine.GpStep(-2, 3), 0.0);  // (-2)^0.25 has no real value
}

// ---- The literal steps on small random inputs ----

std::string RandomNumber(std::mt19937& rng, int max_whole_digits) {
  std::string text;
  if (rng() % 3 == 0) text += '-';
  const int whole = static_cast<int>(rng() % static_cast<unsigned>(max_whole_digits + 1));
  for (int i = 0; i < whole; ++i) text += static_cast<char>('0' + rng() % 10);
  if (rng() % 2 == 0) {
    text += '.';
    const int fraction = static_cast<int>(rng() % 4);
    for (int i = 0; i < fraction; ++i) text += static_cast<char>('0' + rng() % 10);
  }
  return text;
}

TEST(StepIn, WholePowersMatchTheLiteralSteps) {
  std::mt19937 rng(kSeed);
  FuncLibDec engine;
  for (int i = 0; i < 3000; ++i) {
    const std::string base = RandomNumber(rng, 3);
    std::string exponent = rng() % 4 == 0 ? "-" : "";
    exponent += (rng() % 5 == 0 ? "0" : "") + std::to_string(rng() % 13);
    if (rng() % 20 == 0) exponent = rng() % 2 ? "" : "-0";
    const auto dev_exact = static_cast<std::int16_t>(rng() % 16);
    engine.DevExact(dev_exact);
    engine.iStepFS.clear();
    const std::string ours = Outcome([&] { return engine.StepIn(base, exponent); });
    const std::string literal = Outcome([&] { return literal::StepIn(base, exponent, dev_exact); });
    ASSERT_EQ(ours, literal) << base << " ^ " << exponent << " at " << dev_exact << " (seed " << kSeed << ")";
  }
}

TEST(RadicalIn, RootsMatchTheLiteralDigitSearch) {
  std::mt19937 rng(kSeed + 1);
  FuncLibDec engine;
  for (int i = 0; i < 1500; ++i) {
    const int degree = 1 + static_cast<int>(rng() % 4);
    std::string radicand = RandomNumber(rng, 7);
    if (rng() % 4 == 0) {
      // Exact powers: of one significant digit (d * 10^j, leading-digit exactness) or of any short root.
      std::string root = rng() % 2 ? std::to_string(1 + rng() % 9) + std::string(rng() % 3, '0')
                                   : std::to_string(rng() % 200) + (rng() % 2 ? ".5" : "");
      radicand = literal::StepIn(root, std::to_string(degree), 0);
    }
    const auto exact = static_cast<std::int16_t>(static_cast<int>(rng() % 8) - 2);
    const std::string rad = (rng() % 5 == 0 ? "0" : "") + std::to_string(degree);
    const std::string ours = Outcome([&] { return engine.RadicalIn(radicand, rad, exact); });
    const std::string literal = Outcome([&] { return literal::RadicalIn(radicand, rad, exact); });
    ASSERT_EQ(ours, literal) << "root " << rad << " of " << radicand << " at " << exact << " (seed "
                             << kSeed + 1 << ")";
  }
  EXPECT_EQ(literal::FindRootDigit("200", "2", "1", 1, -1), "14");
  EXPECT_EQ(literal::FindRootDigit("225", "2", "1", 1, -1), "15");
}

TEST(GiperStepIn, TowersMatchTheLiteralSteps) {
  const std::pair<const char*, const char*> towers[] = {
      {"2", "1"}, {"2", "2"}, {"2", "3"},   {"2", "4"},  {"3", "1"}, {"3", "2"},  {"3", "3"},  {"0", "2"},
      {"1", "7"}, {"5", "2"}, {"002", "3"}, {"12", "2"}, {"2", "0"}, {"2", "-1"}, {"2", "0.5"}};
  FuncLibDec engine;
  for (const auto& [base, height] : towers) {
    EXPECT_EQ(Outcome([&] { return engine.GiperStepIn(base, height); }),
              Outcome([&] { return literal::GiperStepIn(base, height); }))
        << base << " tower " << height;
  }
}

// ---- True values on large inputs ----

// The root text's digits R satisfy R^d <= x * 10^(d places) < (R + 1)^d.
void ExpectTruncatedRoot(const std::string& radicand, unsigned degree, std::int16_t exact) {
  FuncLibDec engine;
  const std::string root = engine.RadicalIn(radicand, std::to_string(degree), exact);
  const std::size_t places = static_cast<std::size_t>(exact) + 1;
  ASSERT_EQ(DigitsOf(root).second, places) << "places of the root of degree " << degree;
  Mpz r;
  Mpz x;
  Mpz power;
  ScaledValue(r, root, places);
  ScaledValue(x, radicand, places * degree);
  mpz_pow_ui(power, r, degree);
  EXPECT_LE(mpz_cmp(power, x), 0) << "root of degree " << degree << " too large";
  mpz_add_ui(r, r, 1);
  mpz_pow_ui(power, r, degree);
  EXPECT_GT(mpz_cmp(power, x), 0) << "root of degree " << degree << " too small";
}

std::string RandomDigits(std::mt19937& rng, std::size_t count) {
  std::string digits(1, static_cast<char>('1' + rng() % 9));
  while (digits.size() < count) digits += static_cast<char>('0' + rng() % 10);
  return digits;
}

TEST(RadicalIn, LongRootsAreTruncatedTrueValues) {
  std::mt19937 rng(kSeed + 2);
  ExpectTruncatedRoot("2", 2, 19999);
  ExpectTruncatedRoot("3", 3, 4999);
  ExpectTruncatedRoot(RandomDigits(rng, 300) + "." + RandomDigits(rng, 40), 3, 2000);
  ExpectTruncatedRoot(RandomDigits(rng, 1000), 7, 500);
  ExpectTruncatedRoot("0." + RandomDigits(rng, 50), 2, 3000);
  ExpectTruncatedRoot(RandomDigits(rng, 20000), 2, 100);
}

TEST(StepIn, LongWholePowersMatchGmp) {
  std::mt19937 rng(kSeed + 3);
  FuncLibDec engine;
  for (unsigned exponent : {37U, 1000U, 4999U}) {
    const std::string base = RandomDigits(rng, 3) + "." + RandomDigits(rng, 2);
    Mpz expected;
    Mpz value(DigitsOf(base).first);
    mpz_pow_ui(expected, value, exponent);
    Mpz ours;
    ScaledValue(ours, engine.StepIn(base, std::to_string(exponent)), 2 * exponent);
    EXPECT_EQ(mpz_cmp(ours, expected), 0) << base << " ^ " << exponent;
  }
}

// The engine's fractional powers (and reciprocals) against MPFR: bases of 1 to 25 digits, exponents with
// 1 to 9 decimals (one root of degree up to 1000, or the tenth roots of the longer ones) or 11 to 60
// (exp(y ln x)), any RadExact; then powers lying just beside a cut point.
TEST(StepIn, FractionalPowersAreTruncatedTrueValues) {
  std::mt19937 rng(kSeed + 4);
  FuncLibDec engine;
  for (int i = 0; i < 300; ++i) {
    std::string base = RandomDigits(rng, 1 + rng() % 12);
    if (rng() % 4 == 0) {
      base = "0.00" + base;
    } else if (rng() % 2) {
      base.insert(rng() % base.size(), ".");
    }
    const std::size_t decimals = rng() % 3 == 0 ? 11 + rng() % 50 : 1 + rng() % 9;
    const std::string exponent = std::to_string(rng() % 30) + "." + RandomDigits(rng, decimals);
    const auto rad_exact = static_cast<std::int16_t>(rng() % 60);
    engine.RadExact(rad_exact);
    engine.iStepFS.clear();
    const std::string ours = Outcome([&] { return engine.StepIn(base, exponent); });
    if (ours.starts_with("error")) {
      EXPECT_EQ(ours, "error 6") << base << " ^ " << exponent;
      continue;
    }
    const std::size_t places = rad_exact >= 1 ? static_cast<std::size_t>(rad_exact) + 1 : 0;
    Mpz expected;
    Mpz value;
    TruncatedPower(expected, base, exponent, places, false);
    ScaledValue(value, ours, places);
    ASSERT_EQ(mpz_cmp(value, expected), 0)
        << base << " ^ " << exponent << " at " << rad_exact << ": " << ours;
    EXPECT_FALSE(ours.ends_with('0') && ours.find('.') != std::string::npos) << ours;
    // e to this exponent, its whole part and their negatives, with e taken to the places needed.
    const std::string whole = exponent.substr(0, exponent.find('.'));
    for (const std::string& x : {exponent, whole, "-" + exponent, "-" + whole}) {
      const std::string power = engine.ExponentIn(x, rad_exact);
      TruncatedPower(expected, "e", x.starts_with('-') ? x.substr(1) : x, places, x.starts_with('-'));
      ScaledValue(value, power, places);
      ASSERT_EQ(mpz_cmp(value, expected), 0) << "e ^ " << x << " at " << rad_exact << ": " << power;
    }
  }
  // Beside a cut point at 31 places: runs of 9s or 0s past it, settled at the first precision, the second,
  // or (a distance of 10^-80) by the bracketing.
  const std::string ones = "1." + std::string(79, '0') + "1";
  const std::pair<std::string, std::string> near_cuts[] = {
      {"0.99999999999999999999999999999999999999999", "0.123456789012345"},
      {"0.9999999999999999999999999999999999", "0.123456789012345"},
      {ones, "0.5000000000001"},
      {ones, "2.5000000000001"},
      {"4", "0.50000000000000000001"},
      {"4", "0.49999999999999999999"},
      {"100", "1.49999999999999999999999999999999999999"}};
  engine.RadExact(30);
  for (const auto& [base, exponent] : near_cuts) {
    for (const bool negative : {false, true}) {
      engine.iStepFS.clear();
      engine.DevExact(31);
      const std::string ours = engine.StepIn(base, (negative ? "-" : "") + exponent);
      const std::size_t places = negative ? DigitsOf(ours).second : 31;
      Mpz expected, value;
      TruncatedPower(expected, base, exponent, places, negative);
      ScaledValue(value, ours, places);
      EXPECT_EQ(mpz_cmp(value, expected), 0) << base << " ^ " << negative << exponent << ": " << ours;
    }
  }
  FuncLibDec long_engine;  // 10,000 and 30,000 true places
  Mpz expected, value;
  TruncatedPower(expected, "e", "7", 10000, false);
  ScaledValue(value, long_engine.ExponentIn("7", 9999), 10000);
  EXPECT_EQ(mpz_cmp(value, expected), 0);
  TruncatedPower(expected, "e", "0.5", 10000, true);
  ScaledValue(value, long_engine.ExponentIn("-0.5", 9999), 10000);
  EXPECT_EQ(mpz_cmp(value, expected), 0);
  const std::string long_exponent =
      "1.0115244939092668587840391874925193671923841720394857102938475610298374651029384756";
  for (const auto& [x, e, places] : {std::tuple{"2", long_exponent, 30000},
                                     {"2", std::string("1.2345"), 30000},
                                     {"0.37", long_exponent, 1000},
                                     {"e", std::string("0.1234567891"), 30000},
                                     {"e", std::string("-7.123"), 1000}}) {
    const bool negative = e.starts_with('-');
    long_engine.RadExact(static_cast<std::int16_t>(places - 1));
    long_engine.iStepFS.clear();
    const std::string ours = std::string(x) == "e"
                                 ? long_engine.ExponentIn(e, static_cast<std::int16_t>(places - 1))
                                 : long_engine.StepIn(x, e);
    TruncatedPower(expected, x, negative ? e.substr(1) : e, static_cast<std::size_t>(places), negative);
    ScaledValue(value, ours, static_cast<std::size_t>(places));
    EXPECT_EQ(mpz_cmp(value, expected), 0) << x << " ^ " << e;
  }
  // Whole exponents up to the limit: e^75000 has 32,572 whole digits; e^-70000 cuts to zero.
  for (const char* x : {"75000", "-60", "-70000"}) {
    const bool negative = x[0] == '-';
    TruncatedPower(expected, "e", negative ? x + 1 : x, 31, negative);
    ScaledValue(value, long_engine.ExponentIn(x, 30), 31);
    EXPECT_EQ(mpz_cmp(value, expected), 0) << "e ^ " << x;
  }
}

TEST(StepIn, NegativeFractionalPowersAreTrueReciprocalsInTheQuotientsForm) {
  std::mt19937 rng(kSeed + 5);
  FuncLibDec engine;
  for (int i = 0; i < 100; ++i) {
    const std::string base = RandomDigits(rng, 1 + rng() % 6) + "." + RandomDigits(rng, 1 + rng() % 3);
    const std::string exponent =
        std::to_string(rng() % 5) + "." + RandomDigits(rng, rng() % 3 == 0 ? 11 + rng() % 30 : 1 + rng() % 6);
    const auto dev_exact = static_cast<std::int16_t>(1 + rng() % 40);
    engine.DevExact(dev_exact);
    engine.iStepFS.clear();
    const std::string ours = engine.StepIn(base, "-" + exponent);
    // DevExact places after those by which the power's whole part is longer than "1".
    Mpz whole;
    TruncatedPower(whole, base, exponent, 0, false);
    const std::size_t whole_length = Text(whole).size();
    const std::size_t places = whole_length - 1 + static_cast<std::size_t>(dev_exact);
    ASSERT_EQ(DigitsOf(ours).second, places) << base << " ^ -" << exponent << ": " << ours;
    Mpz expected;
    Mpz value;
    TruncatedPower(expected, base, exponent, places, true);
    ScaledValue(value, ours, places);
    ASSERT_EQ(mpz_cmp(value, expected), 0) << base << " ^ -" << exponent << ": " << ours;
  }
}

TEST(RadicalIn, FractionalDegreesAreTruncatedTrueValues) {
  const std::pair<const char*, const char*> cases[] = {{"2", "2.5"},
                                                       {"7.25", "1.5"},
                                                       {"123456.789", "3.7"},
                                                       {"0.3", "0.7"},
                                                       {"5", "1.2345678"},
                                                       {"17", "-2.5"},
                                                       {"17", "-2.00000000000000000003"},
                                                       {"0.3", "0.70000000000001"}};
  FuncLibDec engine;
  for (const auto& [radicand, degree] : cases) {
    const std::string ours = engine.RadicalIn(radicand, degree, 30);
    mpfr_t d, e;
    mpfr_inits2(2000, d, e, static_cast<mpfr_ptr>(nullptr));
    mpfr_set_str(d, degree, 10, MPFR_RNDN);
    mpfr_ui_div(e, 1, d, MPFR_RNDN);
    char* text = nullptr;
    mpfr_asprintf(&text, "%.400Rf", e);
    Mpz expected;
    Mpz value;
    TruncatedPower(expected, radicand, text, 31, false);
    mpfr_free_str(text);
    mpfr_clears(d, e, static_cast<mpfr_ptr>(nullptr));
    ScaledValue(value, ours, 31);
    EXPECT_EQ(mpz_cmp(value, expected), 0) << radicand << " root " << degree << ": " << ours;
  }
}

// ---- Progress, the outermost call, cancellation ----

TEST(Progress, NeverDecreasesAndEndsAtOneThousand) {
  FuncLibDec engine;
  std::vector<float> seen;
  engine.SetYieldHook([&] { seen.push_back(engine.StepCalculate()); });
  engine.iRadical = true;
  engine.RadicalIn("2", "2", 20000);
  engine.iRadical = false;
  ASSERT_GT(seen.size(), 3U);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]);
  EXPECT_EQ(engine.StepCalculate(), 1000.0F);

  seen.clear();
  engine.StepCalculate(0);
  engine.iStep = true;
  engine.StepIn("3", "60000");
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]);
  EXPECT_EQ(engine.StepCalculate(), 1000.0F);

  // exp(y ln x) and e^x report through their series and squarings.
  engine.iStepDec = true;
  engine.RadExact(5000);
  for (const bool exponential : {false, true}) {
    seen.clear();
    engine.StepCalculate(0);
    engine.iStepFS.clear();
    exponential ? engine.ExponentIn("0.123456789", 5000) : engine.StepIn("7", "0.123456789123");
    ASSERT_GT(seen.size(), 20U) << exponential;
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]) << exponential;
    EXPECT_EQ(engine.StepCalculate(), 1000.0F);
  }
}

TEST(Progress, OnlyTheCallThatSetTheSignatureReportsIt) {
  FuncLibDec engine;
  engine.iStep = true;
  engine.StepIn("2", "10");
  EXPECT_EQ(engine.iStepFS, "2_10");
  EXPECT_EQ(engine.StepCalculate(), 1000.0F);
  engine.StepCalculate(0);
  engine.StepIn("3", "5000");  // another operation's signature is still held
  EXPECT_EQ(engine.iStepFS, "2_10");
  EXPECT_EQ(engine.StepCalculate(), 0.0F);
  engine.iStepFS.clear();
  engine.StepIn("3", "5000");
  EXPECT_EQ(engine.StepCalculate(), 1000.0F);
  EXPECT_EQ(engine.iStepFS, "3_5000");
}

TEST(Cancel, ALongRootStopsAtTheNextYield) {
  for (const bool root : {true, false}) {
    FuncLibDec engine;
    int yields = 0;
    engine.SetYieldHook([&] {
      if (++yields == 4) throw RuntimeError(ErrorNumber::kCancelled, "test", "cancelled");
    });
    const std::string outcome = Outcome([&] {
      return root ? engine.RadicalIn("2", "2", 30000) : engine.StepIn("7", "0.123456789123456789123456789");
    });
    EXPECT_EQ(outcome, "error 18");
    EXPECT_EQ(yields, 4);
  }
}

}  // namespace
}  // namespace ovn
