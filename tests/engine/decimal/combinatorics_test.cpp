// Factorials, counts of combinatorics, progressions and hexadecimal: the edge cases of the long way, the
// decided mends, identity with the long way on small inputs, GMP's values on large ones, the length limit,
// progress and cancel.
#include <gmp.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "decimal/func_lib_dec.h"
#include "literal_combinatorics.h"

namespace ovn {
namespace {

class Mpz {
 public:
  Mpz() { mpz_init(value_); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  ~Mpz() { mpz_clear(value_); }
  operator mpz_ptr() { return value_; }
  operator mpz_srcptr() const { return value_; }

 private:
  mpz_t value_;
};

std::string Text(mpz_srcptr value, int base = 10) {
  std::string text(mpz_sizeinbase(value, base) + 2, '\0');
  mpz_get_str(text.data(), base, value);
  text.resize(text.find('\0'));
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Text(unsigned long value) {
  return std::to_string(value);
}

int ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return static_cast<int>(error.Number());
  }
  return 0;
}

StringList List(const std::vector<std::string>& items) {
  StringList list;
  for (const std::string& item : items) list.Add(item);
  return list;
}

constexpr int kInvalid = 5;
constexpr int kOverflow = 6;
constexpr int kDivisionByZero = 11;
constexpr int kNotANumber = 13;
constexpr int kCancelled = 18;

class CombinatoricsTest : public ::testing::Test {
 protected:
  FuncLibDec engine;
};

// ---- Edge cases and mends ----

TEST_F(CombinatoricsTest, FactorialsOfSmallWholeNumbers) {
  const std::vector<std::pair<std::string, std::string>> cases = {{"", "1"},
                                                                  {"0", "1"},
                                                                  {"-0", "1"},
                                                                  {"1", "1"},
                                                                  {"2", "2"},
                                                                  {"5", "120"},
                                                                  {"5.00", "120"},
                                                                  {"007", "5040"},
                                                                  {"20", "2432902008176640000"},
                                                                  {"25", "15511210043330985984000000"}};
  for (const auto& [n, expected] : cases) EXPECT_EQ(engine.FactorialIn(n), expected) << n;
}

TEST_F(CombinatoricsTest, DoubleFactorialIncludesTheNumberAndEndsAtOneOrTwo) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0", "1"}, {"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "8"}, {"7", "105"}, {"8", "384"}, {"", "1"}};
  for (const auto& [n, expected] : cases) EXPECT_EQ(engine.FactorialDBLIn(n), expected) << n;
}

TEST_F(CombinatoricsTest, CombinationsAndArrangementsAtTheirBounds) {
  struct Case {
    std::string n, k, combinations, arrangements;
  };
  const std::vector<Case> cases = {
      {"5", "2", "10", "20"}, {"5", "5", "1", "120"}, {"5", "0", "1", "1"},
      {"5", "6", "0", ""},    {"0", "0", "1", "1"},   {"1", "1", "1", "1"},
      {"2", "1", "2", "2"},   {"0", "3", "0", ""},    {"52", "5", "2598960", "311875200"}};
  for (const Case& c : cases) {
    EXPECT_EQ(engine.CountCombinationIn(c.n, c.k), c.combinations) << c.n << " " << c.k;
    EXPECT_EQ(engine.PerestIn(c.n, c.k), c.arrangements) << c.n << " " << c.k;
  }
}

TEST_F(CombinatoricsTest, CombinationsPrintPlainDigitsAtAnyDivisionPrecision) {
  for (const std::int16_t places : {0, 3, -4}) {
    engine.DevExact(places);
    EXPECT_EQ(engine.CountCombinationIn("10", "3"), "120") << places;
  }
}

TEST_F(CombinatoricsTest, MultinomialOfTheListsItems) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"2", "1", "1"}, "12"}, {{"7"}, "1"},         {{}, "1"}, {{"0", "0"}, "1"}, {{"3", "0"}, "1"},
      {{"2", "2", "2"}, "90"}, {{"10", "5"}, "3003"}};
  for (const auto& [items, expected] : cases) EXPECT_EQ(engine.MultinomIn(List(items)), expected);
}

TEST_F(CombinatoricsTest, NegativeOrFractionalArgumentsHaveNoResult) {
  const std::vector<std::function<std::string()>> calls = {
      [&] { return engine.FactorialIn("2.5"); },
      [&] { return engine.FactorialIn("-3"); },
      [&] { return engine.FactorialIn("-0.5"); },
      [&] { return engine.FactorialDBLIn("-1"); },
      [&] { return engine.FactorialDBLIn("7.1"); },
      [&] { return engine.CountCombinationIn("5", "-1"); },
      [&] { return engine.CountCombinationIn("-5", "2"); },
      [&] { return engine.CountCombinationIn("5.5", "2"); },
      [&] { return engine.PerestIn("5", "-2"); },
      [&] { return engine.PerestIn("-5", "2"); },
      [&] { return engine.PerestIn("5", "2.5"); },
      [&] {
        return engine.MultinomIn(List({"2", "-1"}));
      },
      [&] { return engine.MultinomIn(List({"1.5"})); }};
  for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(ErrorOf([&] { calls[i](); }), kInvalid) << i;
  EXPECT_EQ(ErrorOf([&] { engine.FactorialIn("5a"); }), kNotANumber);
  EXPECT_EQ(ErrorOf([&] { engine.PerestIn("5", "x"); }), kNotANumber);
}

// ---- Identity with the long way ----

TEST_F(CombinatoricsTest, SameDigitsAsTheLongWayOnSmallInputs) {
  const unsigned seed = 20261208;
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> small(0, 60);
  for (int round = 0; round < 60; ++round) {
    const std::string n = std::to_string(small(random));
    const std::string k = std::to_string(small(random) % 70);
    SCOPED_TRACE("seed " + std::to_string(seed) + " round " + std::to_string(round) + ": " + n + ", " + k);
    EXPECT_EQ(engine.FactorialIn(n), literal::FactorialIn(n));
    EXPECT_EQ(engine.FactorialDBLIn(n), literal::FactorialDBLIn(n));
    EXPECT_EQ(engine.CountCombinationIn(n, k), literal::CountCombinationIn(n, k, engine.DevExact()));
    EXPECT_EQ(engine.PerestIn(n, k), literal::PerestIn(n, k));
    const std::vector<std::string> items = {n, k, std::to_string(small(random) % 9)};
    EXPECT_EQ(engine.MultinomIn(List(items)), literal::MultinomIn(items));
  }
}

// ---- Large values: GMP ----

TEST_F(CombinatoricsTest, FactorialsMatchGmpUpToTheLongestThatFits) {
  for (const unsigned long n : {100UL, 1000UL, 4321UL, 9000UL, 9273UL}) {
    Mpz expected;
    mpz_fac_ui(expected, n);
    EXPECT_EQ(engine.FactorialIn(Text(n)), Text(expected)) << n << "!";
  }
  for (const unsigned long n : {999UL, 1000UL, 12345UL, 17233UL, 17234UL}) {
    Mpz expected;
    mpz_2fac_ui(expected, n);
    EXPECT_EQ(engine.FactorialDBLIn(Text(n)), Text(expected)) << n << "!!";
  }
}

TEST_F(CombinatoricsTest, CountsMatchGmpOnBothSidesOfTheSieveLimit) {
  // Below 2^17 the ratio is built from its primes, above from the range of factors.
  struct Case {
    const char* n;
    unsigned long k;
  };
  for (const Case c : {Case{"20000", 10000}, Case{"20000", 3000}, Case{"131072", 3000}, Case{"131073", 3000},
                       Case{"4000000000", 1500}, Case{"1000000000000000000000000000007", 400}}) {
    Mpz n, combinations, arrangements;
    mpz_set_str(n, c.n, 10);
    mpz_bin_ui(combinations, n, c.k);
    mpz_set_ui(arrangements, 1);
    for (unsigned long i = 0; i < c.k; ++i) {
      mpz_mul(arrangements, arrangements, n);
      mpz_sub_ui(n, n, 1);
    }
    EXPECT_EQ(engine.CountCombinationIn(c.n, Text(c.k)), Text(combinations)) << c.n << " " << c.k;
    if (Text(arrangements).size() <= FuncLibDec::kMaxTextLength) {
      EXPECT_EQ(engine.PerestIn(c.n, Text(c.k)), Text(arrangements)) << c.n << " " << c.k;
    } else {
      EXPECT_EQ(ErrorOf([&] { engine.PerestIn(c.n, Text(c.k)); }), kOverflow) << c.n << " " << c.k;
    }
  }
  // Choosing almost all is choosing few.
  Mpz expected;
  mpz_bin_uiui(expected, 500000, 20);
  EXPECT_EQ(engine.CountCombinationIn("500000", "499980"), Text(expected));
}

TEST_F(CombinatoricsTest, MultinomialsMatchGmpOnBothSidesOfTheSieveLimit) {
  for (const std::vector<unsigned long>& items : {std::vector<unsigned long>{3000, 2000, 1000, 7},
                                                  std::vector<unsigned long>{130000, 1500, 1000, 1, 0}}) {
    // The product of the binomials C(s_i, a_i), s_i the running sums.
    Mpz expected, factor;
    mpz_set_ui(expected, 1);
    unsigned long sum = 0;
    std::vector<std::string> texts;
    for (const unsigned long item : items) {
      sum += item;
      mpz_bin_uiui(factor, sum, item);
      mpz_mul(expected, expected, factor);
      texts.push_back(Text(item));
    }
    EXPECT_EQ(engine.MultinomIn(List(texts)), Text(expected)) << sum;
  }
}

// ---- The length limit ----

TEST_F(CombinatoricsTest, ResultsLongerThanTheLimitRaiseOverflow) {
  // 9273! has 32,764 digits and 9274! 32,768; 17234!! has 32,765 and 17235!! 32,768.
  EXPECT_EQ(ErrorOf([&] { engine.FactorialIn("9274"); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.FactorialIn("32769"); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.FactorialIn("1" + std::string(400, '0')); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.FactorialDBLIn("17235"); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.FactorialDBLIn("17236"); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.FactorialDBLIn("99999999999999999999"); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.CountCombinationIn("300000", "150000"); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.PerestIn("1" + std::string(40, '0'), "100000"); }), kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.MultinomIn(List({"50000", "50000", "50000"})); }), kOverflow);
}

TEST_F(CombinatoricsTest, ACountOfExactlyTheLimitFitsAndOneDigitMoreDoesNot) {
  // C(n, 2) = n (n - 1) / 2 crosses 10^32767 between n - 1 and n for n = ceil(sqrt(2 * 10^32767)) + 1.
  Mpz n, bound;
  mpz_ui_pow_ui(bound, 10, 32767);
  mpz_mul_ui(bound, bound, 2);
  mpz_sqrt(n, bound);
  mpz_add_ui(n, n, 2);
  Mpz below, expected;
  mpz_sub_ui(below, n, 1);
  mpz_bin_ui(expected, below, 2);
  ASSERT_EQ(Text(expected).size(), 32767U);
  EXPECT_EQ(engine.CountCombinationIn(Text(below), "2"), Text(expected));
  EXPECT_EQ(ErrorOf([&] { engine.CountCombinationIn(Text(n), "2"); }), kOverflow);
}

// ---- Progress, cancel and flags ----

TEST_F(CombinatoricsTest, ProgressOfAFactorialRisesToOneThousand) {
  std::vector<float> seen;
  engine.SetYieldHook([&] { seen.push_back(engine.StepCalculate()); });
  engine.iFactorial = true;
  engine.FactorialIn("9000");
  ASSERT_GT(seen.size(), 10U);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(engine.StepCalculate(), 1000.0F);
}

TEST_F(CombinatoricsTest, ACancelInsideALongCountEndsIt) {
  for (const std::function<void()>& call : std::vector<std::function<void()>>{
           [&] { engine.FactorialIn("9000"); }, [&] { engine.CountCombinationIn("131073", "30000"); },
           [&] { engine.ToHex(std::string(32767, '7')); }}) {
    int yields = 0;
    engine.SetYieldHook([&] {
      if (++yields == 8) throw RuntimeError(ErrorNumber::kCancelled, "test", "cancelled");
    });
    EXPECT_EQ(ErrorOf(call), kCancelled);
  }
}

TEST_F(CombinatoricsTest, CountsLeaveTheFlagsOfTheLongWaySet) {
  engine.CountCombinationIn("5", "2");
  EXPECT_TRUE(engine.iDev);
  FuncLibDec other;
  other.PerestIn("5", "2");
  EXPECT_TRUE(other.iFactorial && other.iMinus && other.iDev);
}

// ---- Progressions ----

TEST_F(CombinatoricsTest, ProgressionEdgeCases) {
  struct Case {
    std::string (FuncLibDec::*method)(const StringList&, bool);
    std::vector<std::string> items;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {&FuncLibDec::ArifmeticProgrecyNum, {"2", "3", "5"}, "14"},
      {&FuncLibDec::ArifmeticProgrecyNum, {"2.50", "3", "1"}, "2.5"},
      {&FuncLibDec::GeometricProgrecyNum, {"3", "2", "4"}, "24"},
      {&FuncLibDec::ArifmeticProgrecySum, {"1", "100", "100"}, "5050"},
      {&FuncLibDec::ArifmeticProgrecySum, {"1", "2", "3"}, "4.5"},
      {&FuncLibDec::GeometricProgrecySum, {"1", "16", "2"}, "31"},
      {&FuncLibDec::GeometricProgrecySum, {"1", "1", "3"}, "1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ((engine.*c.method)(List(c.items), false), c.expected)
        << c.items[0] << " " << c.items[1] << " " << c.items[2];
  }
}

TEST_F(CombinatoricsTest, ProgressionsNeedThreeItemsAndARatioOtherThanOne) {
  for (const auto method : {&FuncLibDec::ArifmeticProgrecyNum, &FuncLibDec::GeometricProgrecyNum,
                            &FuncLibDec::ArifmeticProgrecySum, &FuncLibDec::GeometricProgrecySum}) {
    EXPECT_EQ(ErrorOf([&] { (engine.*method)(List({"1", "2"}), false); }), kInvalid);
    EXPECT_EQ(ErrorOf([&] { (engine.*method)(List({"1", "2", "3", "4"}), false); }), kInvalid);
    EXPECT_EQ(ErrorOf([&] { (engine.*method)(List({}), false); }), kInvalid);
  }
  EXPECT_EQ(ErrorOf([&] { engine.GeometricProgrecySum(List({"1", "5", "1"})); }), kDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { engine.GeometricProgrecySum(List({"1", "5", "1.000"})); }), kDivisionByZero);
}

TEST_F(CombinatoricsTest, ProgressionsGiveTheLongWaysDigitsAndForms) {
  const unsigned seed = 4;
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> digit(0, 9);
  const auto number = [&](int whole, int fraction) {
    std::string text = digit(random) < 3 ? "-" : "";
    for (int i = 0; i < whole; ++i) text += static_cast<char>('0' + digit(random));
    if (fraction > 0) text += '.';
    for (int i = 0; i < fraction; ++i) text += static_cast<char>('0' + digit(random));
    return text;
  };
  engine.DevExact(7);
  for (int round = 0; round < 200; ++round) {
    const std::string a = number(digit(random) % 4, digit(random) % 3);
    const std::string b = number(digit(random) % 4, digit(random) % 3);
    const std::string c = number(1 + digit(random) % 3, digit(random) % 2);
    const std::string index = std::to_string(1 + digit(random) % 7);
    SCOPED_TRACE("seed " + std::to_string(seed) + ": " + a + ", " + b + ", " + c + ", " + index);
    EXPECT_EQ(engine.ArifmeticProgrecyNum(List({a, b, c})), literal::ArifmeticProgrecyNum(a, b, c));
    EXPECT_EQ(engine.ArifmeticProgrecySum(List({a, b, c})), literal::ArifmeticProgrecySum(a, b, c, 7));
    if (engine.CompareIt(c, "1") != 1) {
      EXPECT_EQ(engine.GeometricProgrecySum(List({a, b, c})), literal::GeometricProgrecySum(a, b, c, 7));
    }
    if (engine.CompareIt(b, "0") != 1) {
      EXPECT_EQ(engine.GeometricProgrecyNum(List({a, b, index})), literal::GeometricProgrecyNum(a, b, index));
    }
  }
}

TEST_F(CombinatoricsTest, ProgressionsLeaveTheirFlagsSet) {
  engine.ArifmeticProgrecySum(List({"1", "2", "3"}));
  EXPECT_TRUE(engine.iMuch && engine.iDev);
  FuncLibDec other;
  other.GeometricProgrecyNum(List({"1", "2", "3"}));
  EXPECT_TRUE(other.iStep);
}

// ---- Hexadecimal ----

TEST_F(CombinatoricsTest, HexadecimalOfTheWholePart) {
  const std::vector<std::pair<std::string, std::string>> cases = {{"255", "FF"},
                                                                  {"256", "100"},
                                                                  {"10", "A"},
                                                                  {"15", "F"},
                                                                  {"16", "10"},
                                                                  {"-255", "FF"},
                                                                  {"255.9", "FF"},
                                                                  {"4294967296", "100000000"},
                                                                  {"4294967295", "FFFFFFFF"},
                                                                  {"0", "0"},
                                                                  {"", "0"},
                                                                  {".5", "0"},
                                                                  {"-0.9", "0"},
                                                                  {"1", "1"},
                                                                  {"0009", "9"}};
  for (const auto& [number, expected] : cases) EXPECT_EQ(engine.ToHex(number), expected) << number;
  EXPECT_EQ(ErrorOf([&] { engine.ToHex("12x"); }), kNotANumber);
}

TEST_F(CombinatoricsTest, HexadecimalMatchesTheLongWayAndGmp) {
  const unsigned seed = 16;
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> digit(0, 9);
  for (const std::size_t length : {1, 5, 9, 10, 19, 40, 287, 288, 289, 1000, 9999, 32767}) {
    std::string number;
    for (std::size_t i = 0; i < length; ++i) number += static_cast<char>('0' + digit(random));
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(length) + " digits");
    Mpz expected;
    mpz_set_str(expected, number.c_str(), 10);
    EXPECT_EQ(engine.ToHex(number), Text(expected, 16));
    if (length <= 40) {
      EXPECT_EQ(engine.ToHex("-" + number + ".75"), literal::ToHex("-" + number + ".75"));
    }
  }
}

}  // namespace
}  // namespace ovn
