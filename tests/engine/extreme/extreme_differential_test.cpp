// FuncLibOrvaneLite held against two independent oracles: the literal digit-by-digit transcription of the
// workers on small random operands, and GMP on long ones. Seeds are fixed and printed on failure.
#include <gmp.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "extreme/func_lib_orvane_lite.h"
#include "literal_extreme.h"
#include "shown_value.h"

namespace ovn {
namespace {

std::string RandomDigits(std::mt19937_64& random, std::size_t count) {
  std::uniform_int_distribution<int> digit(0, 9);
  std::string digits;
  for (std::size_t i = 0; i < count; ++i) digits.push_back(static_cast<char>('0' + digit(random)));
  return digits;
}

// "-"?, up to `whole` digits, and sometimes a point with up to `places` digits.
std::string RandomNumber(std::mt19937_64& random, std::size_t whole, std::size_t places) {
  std::uniform_int_distribution<std::size_t> whole_length(1, whole);
  std::uniform_int_distribution<std::size_t> place_count(0, places);
  std::string text = random() % 3 == 0 ? "-" : "";
  text += RandomDigits(random, whole_length(random));
  const std::size_t fraction = place_count(random);
  if (fraction > 0) text += "." + RandomDigits(random, fraction);
  return text;
}

std::string Unsigned(std::string text) {
  return text.starts_with('-') ? text.substr(1) : text;
}

bool IsZeroText(const std::string& text) {
  return text.find_first_of("123456789") == std::string::npos;
}

TEST(ExtremeLiteralTest, SmallOperandsMatchTheLiteralWorkers) {
  constexpr unsigned kSeed = 20261208;
  std::mt19937_64 random(kSeed);
  for (int round = 0; round < 400; ++round) {
    const std::string first = RandomNumber(random, 8, 5);
    // Every eighth divisor has magnitude one, which divides without cutting off.
    const std::string second = round % 8 == 0 ? (round % 16 == 0 ? "-1" : "1.0") : RandomNumber(random, 6, 4);
    const int max_dev_conv = static_cast<int>(random() % 6);
    const auto exact = static_cast<std::int16_t>(random() % 6);
    const auto dev_exact = static_cast<std::int16_t>(random() % 6);
    SCOPED_TRACE("seed " + std::to_string(kSeed) + " round " + std::to_string(round) + ": " + first + " " +
                 second + " MaxDevConv " + std::to_string(max_dev_conv) + " Exact " + std::to_string(exact) +
                 " DevExact " + std::to_string(dev_exact));
    FuncLibOrvaneLite engine;
    engine.MaxDevConv(static_cast<std::int16_t>(max_dev_conv));
    engine.DevExact(dev_exact);
    engine.FirstNum(first);
    engine.SecondNum(second);
    const literal::LiteralExtrem a = literal::ConvertExtNum(first, max_dev_conv);
    const literal::LiteralExtrem b = literal::ConvertExtNum(second, max_dev_conv);

    const auto converted = engine.ConvertExtNum(first);
    EXPECT_EQ(converted->IntNum(), a.int_num);
    EXPECT_EQ(converted->Devided(), a.devided);
    EXPECT_EQ(engine.ConvertDecNum(*converted), literal::ConvertDecNum(a));
    EXPECT_EQ(engine.CompareIt(*converted, *engine.ConvertExtNum(second)), literal::CompareIt(a, b));
    EXPECT_TRUE(testing::ShowsValue(engine.SummIn(), literal::SummExt(a, b)));
    EXPECT_TRUE(testing::ShowsValue(engine.MinusIn(), literal::MinusExt(a, b)));
    EXPECT_TRUE(testing::ShowsValue(engine.MuchIn(), literal::MuchExt(a, b)));
    if (!IsZeroText(second)) {
      EXPECT_TRUE(testing::ShowsValue(engine.DevideIn(exact), literal::DevideExt(a, b, exact, dev_exact)));
    }
  }
}

TEST(ExtremeLiteralTest, WholeRemaindersMatchTheLiteralWorker) {
  constexpr unsigned kSeed = 7;
  std::mt19937_64 random(kSeed);
  for (int round = 0; round < 200; ++round) {
    const std::string first = Unsigned(RandomNumber(random, 12, 0));
    const std::string second = Unsigned(RandomNumber(random, 5, 0));
    if (IsZeroText(second)) continue;
    SCOPED_TRACE("seed " + std::to_string(kSeed) + ": " + first + " mod " + second);
    FuncLibOrvaneLite engine;
    engine.FirstNum(first);
    engine.SecondNum(second);
    EXPECT_TRUE(testing::ShowsValue(engine.ModIn(), literal::ModExt(literal::ConvertExtNum(first, 0),
                                                                     literal::ConvertExtNum(second, 0))));
  }
}

// ---- GMP on long operands ----

class Mpz {
 public:
  Mpz() { mpz_init(value_); }
  explicit Mpz(const std::string& decimal) { mpz_init_set_str(value_, decimal.c_str(), 10); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  ~Mpz() { mpz_clear(value_); }
  operator mpz_ptr() { return value_; }
  operator mpz_srcptr() const { return value_; }
  std::string Text() const {
    std::string text(mpz_sizeinbase(value_, 10) + 2, '\0');
    mpz_get_str(text.data(), 10, value_);
    text.resize(std::strlen(text.c_str()));
    return text;
  }

 private:
  mpz_t value_;
};

TEST(ExtremeGmpTest, LongWholeOperandsMatchGmp) {
  constexpr unsigned kSeed = 99;
  std::mt19937_64 random(kSeed);
  for (int round = 0; round < 12; ++round) {
    // A leading "1" keeps GMP's texts free of leading zeros.
    const std::string first = (random() % 2 ? "-1" : "1") + RandomDigits(random, 1 + random() % 9000);
    const std::string second = (random() % 2 ? "-1" : "1") + RandomDigits(random, random() % 4000);
    SCOPED_TRACE("seed " + std::to_string(kSeed) + " round " + std::to_string(round));
    const Mpz a(first), b(second);
    Mpz expected;
    FuncLibOrvaneLite engine;
    engine.FirstNum(first);
    engine.SecondNum(second);
    mpz_add(expected, a, b);
    EXPECT_EQ(engine.SummIn(), expected.Text());
    mpz_sub(expected, a, b);
    EXPECT_EQ(engine.MinusIn(), expected.Text());
    mpz_mul(expected, a, b);
    EXPECT_EQ(engine.MuchIn(), expected.Text());
    mpz_tdiv_r(expected, a, b);
    EXPECT_EQ(engine.ModIn(), expected.Text());
    // Same signs divide at Exact, different signs at DevExact: both 3 here, 24 decimal places.
    engine.DevExact(3);
    mpz_mul_2exp(expected, a, 24);
    mpz_tdiv_q(expected, expected, b);
    const bool negative = mpz_sgn(static_cast<mpz_srcptr>(expected)) < 0;
    EXPECT_TRUE(testing::ShowsValue(engine.DevideIn(3), testing::DyadicValue(expected, 3, negative)));
  }
}

TEST(ExtremeGmpTest, LongIntegersConvertToTheirBytes) {
  std::mt19937_64 random(5);
  const std::string text = "7" + RandomDigits(random, 30000);
  const Mpz value(text);
  std::string bytes(mpz_sizeinbase(value, 256), '\0');
  std::size_t written = 0;
  mpz_export(bytes.data(), &written, 1, 1, 1, 0, value);
  FuncLibOrvaneLite engine;
  const auto e = engine.ConvertExtNum(text);
  EXPECT_EQ(e->IntNum(), bytes.substr(0, written));
  EXPECT_EQ(engine.ConvertDecNum(*e), text);
}

}  // namespace
}  // namespace ovn
