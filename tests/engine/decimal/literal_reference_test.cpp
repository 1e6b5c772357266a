// The literal reference on its own: the hand-checked cases of the decimal text rules, so that a
// differential failure can be blamed on the engine and not on its oracle.
#include "literal_reference.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ovnliblt/runtime_error.h"

namespace ovn::literal {
namespace {

struct UnaryCase {
  std::string text;
  std::string expected;
};

struct BinaryCase {
  std::string a;
  std::string b;
  std::string expected;
};

int ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return static_cast<int>(error.Number());
  }
  return 0;
}

TEST(LiteralReference, DelNullNormalisesUnsignedTextOnly) {
  const std::vector<UnaryCase> cases = {
      {"", ""},       {"0", ""},   {"000", ""},      {"0.000", ""}, {"0.5", ".5"},  {"12.3400", "12.34"},
      {"100", "100"}, {"5.", "5"}, {"-007", "-007"}, {".", ""},     {"5.000", "5"}, {"-0.50", "-0.5"}};
  for (const auto& c : cases) EXPECT_EQ(DelNull(c.text), c.expected) << c.text;
}

TEST(LiteralReference, TextFunctionsSplitAtTheFirstPoint) {
  EXPECT_EQ(PointLeft(".5"), "");
  EXPECT_EQ(PointLeft("-3.25"), "-3");
  EXPECT_EQ(PointRight("5."), "");
  EXPECT_EQ(PointRight("1.2.3"), "2.3");
  EXPECT_EQ(ASign("-5"), "5");
  EXPECT_EQ(ASign(""), "-");
  EXPECT_EQ(AbsIn("-5"), "5");
  for (const char* yes : {"", "-", ".", "-.", "-.5", "007", "5."}) EXPECT_TRUE(IsNumber(yes)) << yes;
  for (const char* no : {"1.2.3", "+1", " 1", "1,5", "1e5", "--1", "-1-", "\xD0\x81"}) {
    EXPECT_FALSE(IsNumber(no)) << no;
  }
  std::string text = " 3,14 ";
  EXPECT_EQ(ToPoint(text), "3.14");
  EXPECT_EQ(text, "3.14");
  EXPECT_EQ(ErrorOf([] { PointIs(std::string(40000, '1')); }), 6);
}

TEST(LiteralReference, CompareItOrdersByValueAndNegativeZeroIsZero) {
  const std::vector<std::pair<BinaryCase, int>> cases = {
      {{"12345678901234567890", "12345678901234567891", ""}, 0},
      {{"-2", "-10", ""}, 2},
      {{".5", "0.50", ""}, 1},
      {{"", "0", ""}, 1},
      {{"-0", "0", ""}, 1},
      {{"-", "", ""}, 1},
      {{"-0.0", "-5", ""}, 2},
      {{"007", "8", ""}, 0},
      {{"5.", "5", ""}, 1}};
  for (const auto& [c, expected] : cases) EXPECT_EQ(CompareIt(c.a, c.b), expected) << c.a << " ? " << c.b;
}

TEST(LiteralReference, SumAndDifference) {
  const std::vector<BinaryCase> sums = {{"0", "0", ""},
                                        {"5", "", "5"},
                                        {"0.5", "0.5", "1"},
                                        {"9.99", "0.01", "10"},
                                        {"99999999", "1", "100000000"},
                                        {"10000009", "1", "10000010"},
                                        {"999999", "1", "1000000"},
                                        {"5", "-3", "2"},
                                        {"-5", "3", "-2"},
                                        {"-5", "-3", "-8"},
                                        {"-0", "-0", ""},
                                        {"0.25", "0.25", ".5"}};
  for (const auto& c : sums) EXPECT_EQ(SummIn(c.a, c.b), c.expected) << c.a << " + " << c.b;
  const std::vector<BinaryCase> differences = {
      {"3", "5", "-2"},        {"5", "5", ""},       {"1.00000000000000000001", "1", ".00000000000000000001"},
      {"-2", "3", "-5"},       {"2", "-3", "5"},     {"-", "0", ""},
      {"0.3", "0.55", "-.25"}, {"5.", ".25", "4.75"}};
  for (const auto& c : differences) EXPECT_EQ(MinusIn(c.a, c.b), c.expected) << c.a << " - " << c.b;
}

TEST(LiteralReference, ProductKeepsItsOwnForms) {
  const std::vector<BinaryCase> cases = {
      {"0", "123", "0"},
      {"123", "0", "0"},
      {"", "5", "0"},
      {"1", "123", "123"},
      {"-2.50", "1", "-2.5"},
      {"0.5", "0.5", "0.25"},
      {"-.5", "2", "-1"},
      {"-3", "-4", "12"},
      {"0.001", "0.001", "0.000001"},
      {"0.5", "-0.5", "-.25"},
      {"-0.1", "0.5", "-0.05"},
      {"99999999999999999999", "99999999999999999999", "9999999999999999999800000000000000000001"},
      {"-0.0", "5", "0"},
      {"1", "-007", "-007"},
      {"7", "1.0", "7"},
      {"1", "0.25", "0.25"},
      {"123456789", "987654321", "121932631112635269"}};
  for (const auto& c : cases) EXPECT_EQ(MuchIn(c.a, c.b), c.expected) << c.a << " * " << c.b;
}

TEST(LiteralReference, QuotientIsCutOffAfterTheDividendsPlacesAndExact) {
  struct Case {
    std::string a, b;
    int exact;
    std::string expected;
  };
  const std::vector<Case> cases = {{"1", "3", 12, "0.333333333333"},
                                   {"2", "3", 12, "0.666666666666"},
                                   {"10", "4", 12, "2.5"},
                                   {"12", "4", 12, "3"},
                                   {"-7", "2", 12, "-3.5"},
                                   {"-7", "-2", 12, "3.5"},
                                   {"5", "1", 12, "5"},
                                   {"1", "3", 0, "0"},
                                   {"7", "2", 0, "3"},
                                   {"0.75", "0.5", 12, "1.5"},
                                   {"0.7", "2", 0, "0.3"},
                                   {"1", "30", 12, "0.0333333333333"},
                                   {"3.00", "3", 5, "1.00"},
                                   {"", "3", 4, "0.0"},
                                   {".5", "1", 3, "0.5"},
                                   {"007.50", "1", 3, "007.50"},
                                   {"-0", "5", 2, "0"},
                                   {"-1", "300", 1, "-0.003"},
                                   {"7", "-1", 2, "-7"},
                                   {"1", "8", 2, "0.12"},
                                   {"5", "0.5", -2, "10"}};
  for (const auto& c : cases) EXPECT_EQ(DevideIn(c.a, c.b, c.exact), c.expected) << c.a << " / " << c.b;
}

TEST(LiteralReference, RemainderAndWholeQuotient) {
  struct Case {
    std::string a, b, remainder, quotient;
  };
  const std::vector<Case> cases = {
      {"7", "7", "0", "1"},    {"17", "5", "2", "3"},   {"1000", "256", "232", "3"}, {"7.5", "2", "1.5", "3"},
      {"7", "2.5", "2", "2"},  {"5", "16", "5", "0"},   {"4", "2", "0", "2"},        {"0", "5", "", "0"},
      {"2.0", "2", "", "1"},   {"-7", "2", "-1", "-3"}, {"7", "-2", "1", "-3"},      {"-7", "-2", "-1", "3"},
      {"0.5", "2", ".5", "0"}, {"1", "0.3", ".1", "3"}};
  for (const auto& c : cases) {
    std::string quotient;
    EXPECT_EQ(ModIn(c.a, c.b, quotient), c.remainder) << c.a << " mod " << c.b;
    EXPECT_EQ(quotient, c.quotient) << c.a << " mod " << c.b;
  }
}

TEST(LiteralReference, RoundingHalfAwayFromZero) {
  struct Case {
    std::string number;
    int exact;
    std::string expected;
  };
  const std::vector<Case> cases = {{"2.75", 0, "2"},     {"2.75", 1, "2.8"},   {"2.749", 2, "2.75"},
                                   {"2.7", 3, "2.7"},    {"5", 2, "5."},       {"5.", 2, "5."},
                                   {"1.049", 2, "1.05"}, {"0.96", 1, "1.0"},   {"-1.25", 1, "-1.3"},
                                   {"1234", -2, "1200"}, {"1250", -2, "1300"}, {"9950", -2, "10000"},
                                   {"499", -3, "0"},     {"500", -3, "1000"},  {"500", -5, "0"},
                                   {"-0.04", 1, "0.0"},  {"-499", -3, "0"},    {".96", 1, "1.0"}};
  for (const auto& c : cases) {
    int exact = c.exact;
    EXPECT_EQ(CircleIn(c.number, exact), c.expected) << c.number << " @" << c.exact;
    EXPECT_EQ(exact, c.exact < 0 ? -c.exact : c.exact);
  }
}

TEST(LiteralReference, ExponentNotationBecomesPlainText) {
  const std::vector<UnaryCase> cases = {{"12.5", "12.5"},
                                        {"1.5E-03", "0.0015"},
                                        {"1.5E+20", "150000000000000000000"},
                                        {"-2E-05", "-0.00002"},
                                        {"", ""},
                                        {"1.5E+00", "1.5"},
                                        {"12.345E+02", "1234.5"},
                                        {"1.25E+02", "125"},
                                        {"12.5E-01", "1.25"}};
  for (const auto& c : cases) EXPECT_EQ(ToExtNum(c.text), c.expected) << c.text;
}

TEST(LiteralReference, FailuresRaiseTheirNumbers) {
  EXPECT_EQ(ErrorOf([] { DevideIn("5", "0", 12); }), 11);
  EXPECT_EQ(ErrorOf([] { DevideIn("5", "-.0", 12); }), 11);
  EXPECT_EQ(ErrorOf([] {
              std::string q;
              ModIn("0", "0", q);
            }),
            11);
  EXPECT_EQ(ErrorOf([] { MuchIn("1.2.3", "2"); }), 13);
  EXPECT_EQ(ErrorOf([] {
              int e = 1;
              CircleIn("+1", e);
            }),
            13);
  EXPECT_EQ(ErrorOf([] { ToExtNum("xE5"); }), 13);
  EXPECT_EQ(ErrorOf([] { ToExtNum("1.5E+99999"); }), 6);
  const std::string longest(32767, '9');
  EXPECT_EQ(ErrorOf([&] { SummIn(longest, "1"); }), 6);
  EXPECT_EQ(ErrorOf([&] { SummIn(longest + "9", "0"); }), 6);
  EXPECT_EQ(MinusIn(longest, "9").size(), 32767U);
  EXPECT_EQ(ErrorOf([] { DevideIn("1", "3", 32767); }), 6);
}

}  // namespace
}  // namespace ovn::literal
