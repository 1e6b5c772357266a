// Edge cases of the decimal engine's core: the result forms, the mends, the errors.
#include "decimal/func_lib_dec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ovn {
namespace {

struct BinaryCase {
  std::string a;
  std::string b;
  std::string expected;
};

class FuncLibDecTest : public ::testing::Test {
 protected:
  FuncLibDec engine;
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

TEST_F(FuncLibDecTest, DelNullNormalisesUnsignedTextAndLeavesSignedTextAlone) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},       {"0", ""},         {"000", ""},      {"0.000", ""},  {"0.5", ".5"},
      {"12.3400", "12.34"}, {"100", "100"}, {"5.", "5"},  {"-007", "-007"}, {".", ""},
      {"5.000", "5"}, {"-0.50", "-0.5"}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(engine.DelNull(text), expected) << text;
}

TEST_F(FuncLibDecTest, TextFunctionsSplitAtTheFirstPoint) {
  EXPECT_EQ(engine.PointLeft(".5"), "");
  EXPECT_EQ(engine.PointLeft("-3.25"), "-3");
  EXPECT_EQ(engine.PointRight("5."), "");
  EXPECT_EQ(engine.PointRight("1.2.3"), "2.3");
  EXPECT_EQ(engine.PointRight("12.50"), "50");
  EXPECT_EQ(engine.ASign("-5"), "5");
  EXPECT_EQ(engine.ASign("5"), "-5");
  EXPECT_EQ(engine.AbsIn("-5"), "5");
}

TEST_F(FuncLibDecTest, IsNumberAcceptsTheNumberGrammarOnly) {
  for (const char* yes : {"", "-", ".", "-.", "-.5", "007", "5.", "-12.5"}) EXPECT_TRUE(engine.IsNumber(yes)) << yes;
  for (const char* no : {"1.2.3", "+1", " 1", "1,5", "1e5", "--1", "-1-", "\xD0\x81"}) {
    EXPECT_FALSE(engine.IsNumber(no)) << no;
  }
  EXPECT_TRUE(engine.IsWord(""));
  EXPECT_TRUE(engine.IsWord("Mass"));
  EXPECT_FALSE(engine.IsWord("Mass1"));
}

TEST_F(FuncLibDecTest, ToPointTrimsAndConvertsCommaIntoTheCallersVariable) {
  std::string text = " 3,14 ";
  EXPECT_EQ(engine.ToPoint(text), "3.14");
  EXPECT_EQ(text, "3.14");
}

TEST_F(FuncLibDecTest, TextsPastTheLengthLimitOverflow) {
  const std::string long_text(40000, '1');
  EXPECT_EQ(ErrorOf([&] { engine.PointIs(long_text); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.SummIn(long_text, "1"); }), ErrorNumber::kOverflow);
  const std::string longest(FuncLibDec::kMaxTextLength, '9');
  EXPECT_EQ(ErrorOf([&] { engine.SummIn(longest, "1"); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.MuchIn(longest, longest); }), ErrorNumber::kOverflow);
  EXPECT_EQ(engine.MinusIn(longest, "9").size(), FuncLibDec::kMaxTextLength);
}

TEST_F(FuncLibDecTest, CompareItOrdersByValue) {
  EXPECT_EQ(engine.CompareIt("12345678901234567890", "12345678901234567891"), 0);
  EXPECT_EQ(engine.CompareIt("-2", "-10"), 2);
  EXPECT_EQ(engine.CompareIt(".5", "0.50"), 1);
  EXPECT_EQ(engine.CompareIt("", "0"), 1);
  EXPECT_EQ(engine.CompareIt("-0", ""), 1);
  EXPECT_EQ(engine.CompareIt("-", "0.0"), 1);
  EXPECT_EQ(engine.CompareIt("-0.0", "-.1"), 2);
  EXPECT_EQ(engine.CompareIt("5.", "5"), 1);
}

TEST_F(FuncLibDecTest, SumAndDifferenceAreNormalised) {
  const std::vector<BinaryCase> sums = {
      {"0", "0", ""},         {"5", "", "5"},        {"0.5", "0.5", "1"},  {"9.99", "0.01", "10"},
      {"99999999", "1", "100000000"}, {"10000009", "1", "10000010"},  {"5", "-3", "2"},
      {"-5", "3", "-2"},      {"-5", "-3", "-8"},    {"0.25", "0.25", ".5"}, {"-0", "-0", ""},
      {"-.5", ".5", ""},      {"007", "0.0", "7"}};
  for (const auto& c : sums) EXPECT_EQ(engine.SummIn(c.a, c.b), c.expected) << c.a << " + " << c.b;
  const std::vector<BinaryCase> differences = {
      {"3", "5", "-2"},  {"5", "5", ""},  {"1.00000000000000000001", "1", ".00000000000000000001"},
      {"-2", "3", "-5"}, {"2", "-3", "5"}, {"-", "0", ""}, {"0.3", "0.55", "-.25"}};
  for (const auto& c : differences) EXPECT_EQ(engine.MinusIn(c.a, c.b), c.expected) << c.a << " - " << c.b;
}

TEST_F(FuncLibDecTest, ProductKeepsItsOwnForms) {
  const std::vector<BinaryCase> products = {
      {"0", "123", "0"},      {"123", "0", "0"},       {"", "5", "0"},        {"1", "123", "123"},
      {"-2.50", "1", "-2.5"}, {"0.5", "0.5", "0.25"},  {"-.5", "2", "-1"},     {"-3", "-4", "12"},
      {"0.001", "0.001", "0.000001"}, {"0.5", "-0.5", "-.25"}, {"-0.1", "0.5", "-0.05"},
      {"99999999999999999999", "99999999999999999999", "9999999999999999999800000000000000000001"},
      {"0.0", "7", "0"},      {"000", "7", "0"},       {"-0", "1", "0"},      {"-0.0", "5", "0"},
      {"1", "-007", "-007"},  {"7", "1.0", "7"},       {"2.5", "4", "10"},    {"1", "0.25", "0.25"}};
  for (const auto& c : products) EXPECT_EQ(engine.MuchIn(c.a, c.b), c.expected) << c.a << " * " << c.b;
}

TEST_F(FuncLibDecTest, QuotientIsCutOffNotRounded) {
  struct DivisionCase {
    std::string a, b;
    std::int16_t exact;
    std::string expected;
  };
  const std::vector<DivisionCase> cases = {
      {"1", "3", 12, "0.333333333333"}, {"2", "3", 12, "0.666666666666"}, {"10", "4", 12, "2.5"},
      {"12", "4", 12, "3"},             {"-7", "2", 12, "-3.5"},          {"-7", "-2", 12, "3.5"},
      {"5", "1", 12, "5"},              {"1", "3", 0, "0"},               {"7", "2", 0, "3"},
      {"0.75", "0.5", 12, "1.5"},       {"1", "30", 12, "0.0333333333333"}, {"0.7", "2", 0, "0.3"},
      {"007.50", "1", 3, "007.50"},     {".5", "1", 3, "0.5"},            {"3.00", "3", 5, "1.00"},
      {"-0", "5", 2, "0"},              {"-1", "300", 1, "-0.003"},          {"7", "-1", 2, "-7"},
      {"1", "8", 2, "0.12"},            {"1", "8", 3, "0.125"},           {"-.5", "1", 2, "-.5"},
      // The shift to the divisor's length uses the dividend's own fraction digits first.
      {"0.55", "27", 0, "0.02"},        {"9.709", "007", 12, "1.387"},
      {"314.3450", "8604.", 20, "0.036534751278475127847512"}};
  for (const auto& c : cases) {
    EXPECT_EQ(engine.DevideIn(c.a, c.b, c.exact), c.expected) << c.a << " / " << c.b << " @" << c.exact;
  }
}

TEST_F(FuncLibDecTest, RemainderAndWholeQuotient) {
  struct ModCase {
    std::string a, b, remainder, quotient;
  };
  const std::vector<ModCase> cases = {
      {"17", "5", "2", "3"},    {"1000", "256", "232", "3"}, {"7.5", "2", "1.5", "3"}, {"7", "2.5", "2", "2"},
      {"5", "16", "5", "0"},    {"4", "2", "0", "2"},        {"0", "5", "", "0"},      {"2.0", "2", "", "1"},
      {"-7", "2", "-1", "-3"},  {"7", "-2", "1", "-3"},      {"-7", "-2", "-1", "3"},  {"0.5", "2", ".5", "0"}};
  for (const auto& c : cases) {
    EXPECT_EQ(engine.ModIn(c.a, c.b), c.remainder) << c.a << " mod " << c.b;
    EXPECT_EQ(engine.ModDevInt(), c.quotient) << c.a << " mod " << c.b;
  }
  EXPECT_EQ(engine.ModIn("7", "7"), "0");
}

TEST_F(FuncLibDecTest, FailedCalculationsRaiseInsteadOfReturningZero) {
  EXPECT_EQ(ErrorOf([&] { engine.DevideIn("5", "0", 12); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { engine.DevideIn("5", "-0.0", 12); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { engine.ModIn("5", ""); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { engine.ModIn("0", "0"); }), ErrorNumber::kDivisionByZero);
  EXPECT_EQ(ErrorOf([&] { engine.MuchIn("1.2.3", "2"); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { engine.SummIn("2", "x"); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { engine.CompareIt("1e5", "2"); }), ErrorNumber::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { engine.DevideIn("1", "3", 32767); }), ErrorNumber::kOverflow);
}

TEST_F(FuncLibDecTest, RoundingHalfAwayFromZero) {
  struct RoundCase {
    std::string number;
    std::int16_t exact;
    std::string expected;
  };
  const std::vector<RoundCase> cases = {
      {"2.75", 0, "2"},     {"2.75", 1, "2.8"},    {"2.749", 2, "2.75"},  {"2.7", 3, "2.7"},
      {"5", 2, "5."},       {"5.", 2, "5."},       {"1.049", 2, "1.05"},  {"0.96", 1, "1.0"},
      {"-1.25", 1, "-1.3"}, {"1234", -2, "1200"},  {"1250", -2, "1300"},  {"9950", -2, "10000"},
      {"499", -3, "0"},     {"500", -3, "1000"},   {"500", -5, "0"},      {"-0.04", 1, "0.0"},
      {"-0.5", 0, "0"},     {"9.99", 1, "10.0"},   {".96", 1, "1.0"},     {"-499", -3, "0"}};
  for (const auto& c : cases) {
    std::int16_t exact = c.exact;
    EXPECT_EQ(engine.CircleIn(c.number, exact), c.expected) << c.number << " @" << c.exact;
    EXPECT_EQ(exact, c.exact < 0 ? -c.exact : c.exact);
  }
}

TEST_F(FuncLibDecTest, ExponentNotationBecomesPlainText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"12.5", "12.5"},        {"1.5E-03", "0.0015"},  {"1.5E+20", "150000000000000000000"},
      {"-2E-05", "-0.00002"},  {"", ""},               {"6.85220500053478E-05", "0.0000685220500053478"},
      {"1.5E+00", "1.5"},      {"12.345E+02", "1234.5"}, {"1.25E+02", "125"}, {"12.5E-01", "1.25"}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(engine.ToExtNum(text), expected) << text;
  EXPECT_EQ(ErrorOf([&] { engine.ToExtNum("1.5E+99999"); }), ErrorNumber::kOverflow);
  EXPECT_EQ(ErrorOf([&] { engine.ToExtNum("xE5"); }), ErrorNumber::kTypeMismatch);
}

TEST_F(FuncLibDecTest, ProgressIsWrittenOnlyWhileTheFlagIsSet) {
  engine.MuchIn("12", "34");
  EXPECT_EQ(engine.StepCalculate(), 0.0F);
  engine.iMuch = true;
  engine.MuchIn("12", "34");
  EXPECT_EQ(engine.StepCalculate(), 1000.0F);
}

TEST_F(FuncLibDecTest, YieldHookCanCancel) {
  engine.SetYieldHook([] { throw RuntimeError(ErrorNumber::kCancelled, "test", "cancelled"); });
  EXPECT_EQ(ErrorOf([&] { engine.DevideIn("1", "7", 100); }), ErrorNumber::kCancelled);
}

}  // namespace
}  // namespace ovn
