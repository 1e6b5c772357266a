// FuncLibDec against two independent oracles: the literal reference on thousands of small random texts
// (every form, every error number), and GMP on long random operands (values only, up to 32,000 digits).
#include <gmp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "decimal/func_lib_dec.h"
#include "literal_reference.h"

namespace ovn {
namespace {

constexpr std::uint64_t kSeed = 0x5EED2024;
constexpr int kSmallCases = 10000;
constexpr int kMaxReported = 12;
constexpr int kLongDigits = 32000;
constexpr int kLongCases = 100;

std::string SeedTrace() {
  return "random seed " + std::to_string(kSeed);
}

// A call's outcome as one comparable text: "=" and the result, or the error number.
std::string Outcome(const std::function<std::string()>& call) {
  try {
    std::string outcome = "=";
    return outcome.append(call());
  } catch (const RuntimeError& error) {
    return "error " + std::to_string(static_cast<int>(error.Number()));
  }
}

std::string Flag(bool value) {
  return value ? "true" : "false";
}

// Long texts are shown by their ends and length.
std::string Shorten(const std::string& text) {
  if (text.size() <= 80) return text;
  return text.substr(0, 30) + "..." + text.substr(text.size() - 30) + " (" + std::to_string(text.size()) +
         ")";
}

// Counts the disagreements of a test and shows the first few in full.
class Disagreements {
 public:
  void Check(const std::string& call, const std::string& engine, const std::string& reference) {
    ++checked_;
    if (engine == reference) return;
    if (++count_ <= kMaxReported) {
      ADD_FAILURE() << call << "\n  engine:    " << Shorten(engine)
                    << "\n  reference: " << Shorten(reference);
    }
  }
  ~Disagreements() { EXPECT_EQ(count_, 0) << "disagreements in " << checked_ << " calls; " << SeedTrace(); }

 private:
  int count_ = 0;
  int checked_ = 0;
};

struct Shape {
  int whole;
  int fraction;
};

// Random texts shaped to reach the corners: signs, leading zeros, trailing fraction zeros, bare points,
// runs of 9s and 0s, equal and nearly equal operands.
class RandomTexts {
 public:
  explicit RandomTexts(std::uint64_t seed) : random_(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(int percent) { return Between(1, 100) <= percent; }
  int Exact() { return Between(-3, 15); }

  std::string Digits(int count) {
    static const std::vector<std::string> kAlphabets = {"0123456789", "0123456789", "09", "019", "05"};
    const std::string& alphabet = kAlphabets[Between(0, static_cast<int>(kAlphabets.size()) - 1)];
    std::string digits;
    for (int i = 0; i < count; ++i) digits += alphabet[Between(0, static_cast<int>(alphabet.size()) - 1)];
    return digits;
  }

  std::string Number() {
    static const std::vector<std::string> kSpecial = {
        "",   "0",  "0.0", "-",     "-0", ".5", "5.",  "-.5", ".",      "-.",  "000", "1",
        "-1", "01", "10",  "0.000", "9",  "99", "1.0", "100", "007.50", "2.5", "-0.0"};
    if (Chance(12)) return kSpecial[Between(0, static_cast<int>(kSpecial.size()) - 1)];
    std::string text = Chance(30) ? "-" : "";
    if (Chance(20)) text += std::string(Between(1, 3), '0');
    text += Digits(Length());
    if (Chance(60)) {
      text += "." + Digits(Length());
      if (Chance(20)) text += std::string(Between(1, 3), '0');
    }
    return text;
  }

  std::string Operand() {
    static const std::vector<std::string> kNotNumbers = {"1.2.3", "+1", " 1", "1,5", "1e5",
                                                         "--1",   "5-", "x",  "1 ",  "-1-"};
    if (Chance(4)) return kNotNumbers[Between(0, static_cast<int>(kNotNumbers.size()) - 1)];
    return Number();
  }

  // Often the same value as the first, or a neighbour of it, so that equal cases are frequent.
  std::string SecondOperand(const std::string& first) {
    static const std::vector<std::string> kUnits = {"1", "-1", "01", "1.0", "1.", "10", "0.1", "2", "3", "7"};
    const int pick = Between(1, 100);
    if (pick <= 10) return first;
    if (pick <= 20) return VariantOf(first);
    if (pick <= 28) return kUnits[Between(0, static_cast<int>(kUnits.size()) - 1)];
    return Operand();
  }

  std::string Text(const std::string& alphabet, int max_length) {
    std::string text;
    const int length = Between(0, max_length);
    for (int i = 0; i < length; ++i) text += alphabet[Between(0, static_cast<int>(alphabet.size()) - 1)];
    return text;
  }

  std::string ExponentText() {
    static const std::vector<std::string> kOdd = {"xE5", "1E", "1E+", "1E5E5", "1E 5", "E3", "-E-2", "1e-0"};
    const int pick = Between(1, 100);
    if (pick <= 25) return Number();
    if (pick <= 30) return kOdd[Between(0, static_cast<int>(kOdd.size()) - 1)];
    std::string text = Number() + (Chance(50) ? "E" : "e");
    const int sign = Between(0, 2);
    text += sign == 0 ? "+" : sign == 1 ? "-" : "";
    return text + std::to_string(Between(0, 40));
  }

  // Digit counts of a long operand: a quarter of them exactly max_digits in all, the rest of about
  // log-uniform length; the point anywhere.
  Shape LongShape(int max_digits) {
    const double log_length =
        std::uniform_real_distribution<double>(0.0, std::log(static_cast<double>(max_digits)))(random_);
    const int digits = Chance(25) ? max_digits : std::max(1, static_cast<int>(std::exp(log_length)));
    const int whole = Between(0, digits);
    return {whole, digits - whole};
  }

  // A shape that fits inside the given one, so that a sum's result stays as long as the longer operand.
  Shape Within(Shape shape) { return {Between(0, shape.whole), Between(0, shape.fraction)}; }

  std::string LongNumber(Shape shape) {
    std::string text = Chance(50) ? "-" : "";
    text += Digits(shape.whole);
    if (shape.fraction > 0) text.append(".").append(Digits(shape.fraction));
    return text;
  }

  std::string NonZeroLongNumber(Shape shape) {
    std::string text;
    do {
      text = LongNumber(shape);
    } while (text.find_first_of("123456789") == std::string::npos);
    return text;
  }

 private:
  int Length() { return Chance(50) ? Between(0, 3) : Between(0, 12); }

  std::string VariantOf(const std::string& text) {
    switch (Between(0, 2)) {
      case 0:
        return literal::ASign(text);
      case 1:
        return text + (text.find('.') == std::string::npos ? ".0" : "0");
      default:
        return (!text.empty() && text[0] == '-') ? "-0" + text.substr(1) : "0" + text;
    }
  }

  std::mt19937_64 random_;
};

class DecimalDifferentialTest : public ::testing::Test {
 protected:
  // ToPoint's result and what it leaves in the caller's variable.
  void CheckToPoint(const std::string& raw) {
    std::string engine_variable = raw;
    std::string reference_variable = raw;
    const std::string engine_result = Outcome([&] { return engine.ToPoint(engine_variable); });
    const std::string reference_result = Outcome([&] { return literal::ToPoint(reference_variable); });
    disagreements.Check("ToPoint(\"" + Shorten(raw) + "\")", engine_result + " | " + engine_variable,
                        reference_result + " | " + reference_variable);
  }

  FuncLibDec engine;
  RandomTexts random{kSeed};
  Disagreements disagreements;
};

TEST_F(DecimalDifferentialTest, TextFunctionsAgreeWithTheReference) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kSmallCases; ++i) {
    const std::string n = random.Chance(70) ? random.Number() : random.Text("0123456789.-+, eE", 6);
    disagreements.Check("DelNull(" + n + ")", Outcome([&] { return engine.DelNull(n); }),
                        Outcome([&] { return literal::DelNull(n); }));
    disagreements.Check("ASign(" + n + ")", Outcome([&] { return engine.ASign(n); }),
                        Outcome([&] { return literal::ASign(n); }));
    disagreements.Check("AbsIn(" + n + ")", Outcome([&] { return engine.AbsIn(n); }),
                        Outcome([&] { return literal::AbsIn(n); }));
    disagreements.Check("PointIs(" + n + ")", Outcome([&] { return Flag(engine.PointIs(n)); }),
                        Outcome([&] { return Flag(literal::PointIs(n)); }));
    disagreements.Check("PointLeft(" + n + ")", Outcome([&] { return engine.PointLeft(n); }),
                        Outcome([&] { return literal::PointLeft(n); }));
    disagreements.Check("PointRight(" + n + ")", Outcome([&] { return engine.PointRight(n); }),
                        Outcome([&] { return literal::PointRight(n); }));
    disagreements.Check("IsNumber(" + n + ")", Outcome([&] { return Flag(engine.IsNumber(n)); }),
                        Outcome([&] { return Flag(literal::IsNumber(n)); }));
    CheckToPoint(random.Text(" ,.0123456789-", 8));
  }
}

TEST_F(DecimalDifferentialTest, ComparisonSumAndDifferenceAgreeWithTheReference) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kSmallCases; ++i) {
    const std::string a = random.Operand();
    const std::string b = random.SecondOperand(a);
    const std::string args = "(" + a + ", " + b + ")";
    disagreements.Check("CompareIt" + args, Outcome([&] { return std::to_string(engine.CompareIt(a, b)); }),
                        Outcome([&] { return std::to_string(literal::CompareIt(a, b)); }));
    disagreements.Check("SummIn" + args, Outcome([&] { return engine.SummIn(a, b); }),
                        Outcome([&] { return literal::SummIn(a, b); }));
    disagreements.Check("MinusIn" + args, Outcome([&] { return engine.MinusIn(a, b); }),
                        Outcome([&] { return literal::MinusIn(a, b); }));
  }
}

TEST_F(DecimalDifferentialTest, ProductAgreesWithTheReference) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kSmallCases; ++i) {
    const std::string a = random.Operand();
    const std::string b = random.SecondOperand(a);
    disagreements.Check("MuchIn(" + a + ", " + b + ")", Outcome([&] { return engine.MuchIn(a, b); }),
                        Outcome([&] { return literal::MuchIn(a, b); }));
  }
}

TEST_F(DecimalDifferentialTest, QuotientAgreesWithTheReference) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kSmallCases; ++i) {
    const std::string a = random.Operand();
    const std::string b = random.SecondOperand(a);
    const int exact = random.Exact();
    disagreements.Check("DevideIn(" + a + ", " + b + ", " + std::to_string(exact) + ")",
                        Outcome([&] { return engine.DevideIn(a, b, static_cast<std::int16_t>(exact)); }),
                        Outcome([&] { return literal::DevideIn(a, b, exact); }));
  }
}

TEST_F(DecimalDifferentialTest, RemainderAndWholeQuotientAgreeWithTheReference) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kSmallCases; ++i) {
    const std::string a = random.Operand();
    const std::string b = random.SecondOperand(a);
    disagreements.Check("ModIn(" + a + ", " + b + ")",
                        Outcome([&] { return engine.ModIn(a, b) + " | ModDevInt " + engine.ModDevInt(); }),
                        Outcome([&] {
                          std::string quotient;
                          const std::string remainder = literal::ModIn(a, b, quotient);
                          return remainder + " | ModDevInt " + quotient;
                        }));
  }
}

TEST_F(DecimalDifferentialTest, RoundingAgreesWithTheReference) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kSmallCases; ++i) {
    const std::string n = random.Operand();
    const int exact = random.Exact();
    disagreements.Check("CircleIn(" + n + ", " + std::to_string(exact) + ")", Outcome([&] {
                          auto engine_exact = static_cast<std::int16_t>(exact);
                          const std::string rounded = engine.CircleIn(n, engine_exact);
                          return rounded + " | Exact " + std::to_string(engine_exact);
                        }),
                        Outcome([&] {
                          int reference_exact = exact;
                          const std::string rounded = literal::CircleIn(n, reference_exact);
                          return rounded + " | Exact " + std::to_string(reference_exact);
                        }));
  }
}

TEST_F(DecimalDifferentialTest, ExponentFormAgreesWithTheReference) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kSmallCases; ++i) {
    const std::string text = random.ExponentText();
    disagreements.Check("ToExtNum(" + text + ")", Outcome([&] { return engine.ToExtNum(text); }),
                        Outcome([&] { return literal::ToExtNum(text); }));
  }
}

// Operands and results at the 32,767-character limit and one past it.
TEST_F(DecimalDifferentialTest, LengthLimitsAgreeWithTheReference) {
  const std::string nines(32766, '9');
  const std::string longest = nines + "9";
  const std::string too_long = longest + "9";
  const std::vector<std::string> texts = {
      nines,       longest,     too_long,     std::string(32767, '0'), std::string(32768, '0'),
      "-" + nines, "." + nines, "-" + longest};
  for (const std::string& t : texts) {
    const std::string shown = t.substr(0, 3) + "..(" + std::to_string(t.size()) + ")";
    disagreements.Check("DelNull " + shown, Outcome([&] { return engine.DelNull(t); }),
                        Outcome([&] { return literal::DelNull(t); }));
    disagreements.Check("IsNumber " + shown, Outcome([&] { return Flag(engine.IsNumber(t)); }),
                        Outcome([&] { return Flag(literal::IsNumber(t)); }));
    disagreements.Check("CompareIt " + shown,
                        Outcome([&] { return std::to_string(engine.CompareIt(t, "1")); }),
                        Outcome([&] { return std::to_string(literal::CompareIt(t, "1")); }));
    for (const char* other : {"", "1", "-1", "9", "0.5"}) {
      const std::string call = shown + ", " + other;
      disagreements.Check("SummIn " + call, Outcome([&] { return engine.SummIn(t, other); }),
                          Outcome([&] { return literal::SummIn(t, other); }));
      disagreements.Check("MinusIn " + call, Outcome([&] { return engine.MinusIn(t, other); }),
                          Outcome([&] { return literal::MinusIn(t, other); }));
      disagreements.Check("MuchIn " + call, Outcome([&] { return engine.MuchIn(t, other); }),
                          Outcome([&] { return literal::MuchIn(t, other); }));
    }
    for (const int exact : {-1, 0, 1}) {
      const std::string call = "CircleIn " + shown + " @" + std::to_string(exact);
      disagreements.Check(call, Outcome([&] {
                            auto e = static_cast<std::int16_t>(exact);
                            return engine.CircleIn(t, e);
                          }),
                          Outcome([&] {
                            int e = exact;
                            return literal::CircleIn(t, e);
                          }));
    }
  }
  for (const int exact : {32765, 32766, 32767}) {
    disagreements.Check("DevideIn 1 / 3 @" + std::to_string(exact),
                        Outcome([&] { return engine.DevideIn("1", "3", static_cast<std::int16_t>(exact)); }),
                        Outcome([&] { return literal::DevideIn("1", "3", exact); }));
  }
  for (const std::string& raw : {" " + std::string(32765, '9') + ",", " " + longest}) CheckToPoint(raw);
  for (const char* text : {"1E+32766", "1E+32767", "1E-32764", "1E-32766", "1E+40000"}) {
    disagreements.Check(std::string("ToExtNum ") + text, Outcome([&] { return engine.ToExtNum(text); }),
                        Outcome([&] { return literal::ToExtNum(text); }));
  }
}

// ---- GMP checks on long operands ----

class Mpz {
 public:
  Mpz() { mpz_init(value_); }
  ~Mpz() { mpz_clear(value_); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  mpz_ptr get() { return value_; }
  mpz_srcptr get() const { return value_; }

 private:
  mpz_t value_;
};

// A decimal text as integer / 10^scale.
struct Scaled {
  Mpz integer;
  unsigned long scale = 0;
};

void Parse(std::string_view text, Scaled& out) {
  ASSERT_TRUE(literal::IsNumber(text)) << text.substr(0, 40);
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  std::string digits;
  bool point = false;
  out.scale = 0;
  for (char c : text) {
    if (c == '.') {
      point = true;
      continue;
    }
    digits += c;
    if (point) ++out.scale;
  }
  mpz_set_ui(out.integer.get(), 0);
  if (!digits.empty()) mpz_set_str(out.integer.get(), digits.c_str(), 10);
  if (negative) mpz_neg(out.integer.get(), out.integer.get());
}

// out = x * 10^(scale - x.scale); scale is at least x.scale.
void Rescale(const Scaled& x, unsigned long scale, mpz_ptr out) {
  Mpz power;
  mpz_ui_pow_ui(power.get(), 10, scale - x.scale);
  mpz_mul(out, x.integer.get(), power.get());
}

// Both values at their common scale.
unsigned long Align(const Scaled& x, const Scaled& y, mpz_ptr x_out, mpz_ptr y_out) {
  const unsigned long scale = std::max(x.scale, y.scale);
  Rescale(x, scale, x_out);
  Rescale(y, scale, y_out);
  return scale;
}

// The engine's text equals expected / 10^scale in value.
bool SameValue(const std::string& text, mpz_srcptr expected, unsigned long scale) {
  Scaled result;
  Parse(text, result);
  Scaled wanted;
  mpz_set(wanted.integer.get(), expected);
  wanted.scale = scale;
  Mpz x, y;
  Align(result, wanted, x.get(), y.get());
  return mpz_cmp(x.get(), y.get()) == 0;
}

// The normalised form: no leading zeros, no trailing fraction zeros or point, zero as "".
bool IsNormalised(const std::string& text) {
  const std::string magnitude = literal::AbsIn(text);
  return magnitude == literal::DelNull(magnitude) && text != "-";
}

std::string Shown(const std::string& a, const std::string& b) {
  return "operands of " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
         " characters: " + a.substr(0, 20) + "... " + b.substr(0, 20) + "...";
}

TEST_F(DecimalDifferentialTest, LongSumsDifferencesAndComparisonsMatchGmp) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kLongCases; ++i) {
    const Shape shape = random.LongShape(kLongDigits);
    std::string a = random.LongNumber(shape);
    std::string b = random.Chance(10) ? literal::ASign(a) : random.LongNumber(random.Within(shape));
    if (random.Chance(50)) std::swap(a, b);
    SCOPED_TRACE(Shown(a, b));
    Scaled x, y;
    Parse(a, x);
    Parse(b, y);
    Mpz ax, by, expected;
    const unsigned long scale = Align(x, y, ax.get(), by.get());

    const std::string sum = engine.SummIn(a, b);
    mpz_add(expected.get(), ax.get(), by.get());
    EXPECT_TRUE(SameValue(sum, expected.get(), scale));
    EXPECT_TRUE(IsNormalised(sum)) << sum.substr(0, 40);

    const std::string difference = engine.MinusIn(a, b);
    mpz_sub(expected.get(), ax.get(), by.get());
    EXPECT_TRUE(SameValue(difference, expected.get(), scale));
    EXPECT_TRUE(IsNormalised(difference)) << difference.substr(0, 40);

    const int order = mpz_cmp(ax.get(), by.get());
    EXPECT_EQ(engine.CompareIt(a, b), order > 0 ? 2 : order == 0 ? 1 : 0);
  }
}

TEST_F(DecimalDifferentialTest, LongProductsMatchGmp) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kLongCases; ++i) {
    const int share = random.Between(1, kLongDigits - 1);
    const std::string a = random.LongNumber(random.LongShape(share));
    const std::string b = random.LongNumber(random.LongShape(kLongDigits - share));
    SCOPED_TRACE(Shown(a, b));
    Scaled x, y;
    Parse(a, x);
    Parse(b, y);
    Mpz expected;
    mpz_mul(expected.get(), x.integer.get(), y.integer.get());
    EXPECT_TRUE(SameValue(engine.MuchIn(a, b), expected.get(), x.scale + y.scale));
  }
}

// The places a quotient has before any further digit: the fraction the scaled dividend keeps, or the
// shift that makes the dividend's whole part as long as the divisor's text, whichever is more.
unsigned long PlacesBeforeFurtherDigits(const std::string& dividend, const std::string& divisor) {
  auto prepared = [](std::string text) {
    text = literal::AbsIn(text);
    if (!text.empty() && text.front() == '.') text.insert(0, "0");
    return text;
  };
  const std::string a = prepared(dividend);
  const std::string b = prepared(divisor);
  const std::size_t fa = literal::PointRight(a).size();
  const std::size_t fb = literal::PointRight(b).size();
  const std::size_t divisor_length = literal::PointLeft(b).size() + fb;
  const std::size_t whole_length = literal::PointLeft(a).size() + fb;
  const std::size_t kept = fa > fb ? fa - fb : 0;
  return std::max(kept, divisor_length > whole_length ? divisor_length - whole_length : 0);
}

// a / b * 10^places truncated toward zero is an integer; true when nothing was cut off.
bool QuotientAt(const Scaled& a, const Scaled& b, unsigned long places, mpz_ptr quotient) {
  Mpz numerator, denominator, power, remainder;
  mpz_ui_pow_ui(power.get(), 10, b.scale + places);
  mpz_mul(numerator.get(), a.integer.get(), power.get());
  mpz_ui_pow_ui(power.get(), 10, a.scale);
  mpz_mul(denominator.get(), b.integer.get(), power.get());
  mpz_tdiv_qr(quotient, remainder.get(), numerator.get(), denominator.get());
  return mpz_sgn(remainder.get()) == 0;
}

TEST_F(DecimalDifferentialTest, LongQuotientsMatchGmpAndStopWhenEven) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kLongCases; ++i) {
    const int exact = random.Between(0, 40);
    const int share = random.Between(1, kLongDigits - exact - 1);
    const std::string a = random.LongNumber(random.LongShape(share));
    const std::string b = random.NonZeroLongNumber(random.LongShape(kLongDigits - exact - share));
    SCOPED_TRACE(Shown(a, b) + " at " + std::to_string(exact));
    Scaled x, y, result;
    Parse(a, x);
    Parse(b, y);
    const std::string quotient = engine.DevideIn(a, b, static_cast<std::int16_t>(exact));
    Parse(quotient, result);
    const unsigned long places = result.scale;
    const unsigned long least = PlacesBeforeFurtherDigits(a, b);
    ASSERT_GE(places, least);
    ASSERT_LE(places, least + static_cast<unsigned long>(exact));
    Mpz expected;
    const bool even = QuotientAt(x, y, places, expected.get());
    EXPECT_EQ(mpz_cmp(result.integer.get(), expected.get()), 0);
    EXPECT_TRUE(even || places == least + static_cast<unsigned long>(exact))
        << "stopped before the division was even";
    EXPECT_TRUE(places == least || !QuotientAt(x, y, places - 1, expected.get())) << "ran past an even point";
  }
}

TEST_F(DecimalDifferentialTest, LongRemaindersMatchGmp) {
  SCOPED_TRACE(SeedTrace());
  for (int i = 0; i < kLongCases; ++i) {
    const int share = random.Between(1, kLongDigits - 1);
    const std::string a = random.LongNumber(random.LongShape(share));
    const std::string b =
        random.NonZeroLongNumber(random.LongShape(random.Chance(30) ? 3 : kLongDigits - share));
    SCOPED_TRACE(Shown(a, b));
    Scaled x, y;
    Parse(a, x);
    Parse(b, y);
    Mpz ax, by, quotient, remainder;
    const unsigned long scale = Align(x, y, ax.get(), by.get());
    mpz_tdiv_qr(quotient.get(), remainder.get(), ax.get(), by.get());  // remainder takes the dividend's sign

    const std::string engine_remainder = engine.ModIn(a, b);
    EXPECT_TRUE(SameValue(engine_remainder, remainder.get(), scale)) << engine_remainder.substr(0, 40);
    EXPECT_TRUE(mpz_sgn(remainder.get()) == 0 || IsNormalised(engine_remainder))
        << engine_remainder.substr(0, 40);
    std::vector<char> digits(mpz_sizeinbase(quotient.get(), 10) + 2);
    EXPECT_EQ(engine.ModDevInt(), std::string(mpz_get_str(digits.data(), 10, quotient.get())));
  }
}

}  // namespace
}  // namespace ovn
