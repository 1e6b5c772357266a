// FuncLibOrvaneLite: conversions, the operations on single extreme numbers, and the operations of
// FirstNum and SecondNum on the cases that pin down their digits and their failures.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "extreme/func_lib_orvane_lite.h"

namespace ovn {
namespace {

std::string Digits(std::initializer_list<int> values) {
  std::string digits;
  for (int v : values) digits.push_back(static_cast<char>(v));
  return digits;
}

std::shared_ptr<ExtremNum> Make(std::string int_num, std::string devided, bool sign = true) {
  auto e = std::make_shared<ExtremNum>();
  e->IntNum(std::move(int_num));
  e->Devided(std::move(devided));
  e->Sign(sign);
  return e;
}

ErrorNumber ErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  ADD_FAILURE() << "no error raised";
  return ErrorNumber::kInvalidArgument;
}

struct ConversionCase {
  const char* text;
  std::int16_t max_dev_conv;
  std::string int_num;
  std::string devided;
  bool sign;
};

TEST(ExtremeConversionTest, ConvertExtNumGivesTheDescribedDigits) {
  const std::vector<ConversionCase> cases = {
      {"0", 12, Digits({0}), "", true},
      {"256", 12, Digits({1, 0}), "", true},
      {"255", 12, Digits({255}), "", true},
      {"-1", 12, Digits({1}), "", false},
      {"0.5", 12, Digits({0}), Digits({128}), true},
      {"0.25", 12, Digits({0}), Digits({64}), true},
      {"0.1", 0, Digits({0}), Digits({25}), true},
      {"0.1", 2, Digits({0}), Digits({25, 153, 153}), true},
      {"1.0", 12, Digits({1}), Digits({0}), true},
      {"0.001", 0, Digits({0}), Digits({0}), true},
      {"-.5", 12, Digits({0}), Digits({128}), false},
      {"", 12, Digits({0}), "", true},
  };
  for (const auto& c : cases) {
    FuncLibOrvaneLite engine;
    engine.MaxDevConv(c.max_dev_conv);
    const auto e = engine.ConvertExtNum(c.text);
    EXPECT_EQ(e->IntNum(), c.int_num) << c.text;
    EXPECT_EQ(e->Devided(), c.devided) << c.text << " at MaxDevConv " << c.max_dev_conv;
    EXPECT_EQ(e->Sign(), c.sign) << c.text;
  }
}

TEST(ExtremeConversionTest, ConvertDecNumWritesExactDecimalText) {
  struct Case {
    std::shared_ptr<ExtremNum> e;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {Make(Digits({1}), Digits({128})), "1.5"},    {Make("", Digits({64})), "0.25"},
      {Make("", Digits({1})), "0.00390625"},        {Make("", ""), "0"},
      {Make(Digits({3}), Digits({0})), "3"},        {Make(Digits({1, 0}), "", false), "-256"},
      {Make(Digits({0}), Digits({0}), false), "0"}, {Make(Digits({0, 0, 7}), Digits({128, 0, 0})), "7.5"},
  };
  FuncLibOrvaneLite engine;
  for (const auto& c : cases) EXPECT_EQ(engine.ConvertDecNum(*c.e), c.expected);
}

TEST(ExtremeConversionTest, ConvertDecNumCutsTheFractionAfter1001Digits) {
  FuncLibOrvaneLite engine;
  // 1 - 256^-200 has 1,600 decimal places, all but the last ones nines.
  const std::string text = engine.ConvertDecNum(*Make("", std::string(200, '\xff')));
  ASSERT_EQ(text.size(), 2 + FuncLibOrvaneLite::kMaxDecimalPlaces);
  EXPECT_EQ(text.substr(0, 12), "0.9999999999");
}

TEST(ExtremeConversionTest, ProgressOfALongConversionStaysBelowDone) {
  FuncLibOrvaneLite engine;
  engine.ConvertDecNum(*Make(std::string(3000, '\x7f'), ""));
  EXPECT_GT(engine.StepCalculate(), 0);
  EXPECT_LT(engine.StepCalculate(), 1000);
}

TEST(ExtremeConversionTest, ConvertExtNumBinIsExactForDoubles) {
  FuncLibOrvaneLite engine;
  const auto half = engine.ConvertExtNumBin(1.5);
  EXPECT_EQ(half->IntNum(), Digits({1}));
  EXPECT_EQ(half->Devided(), Digits({128}));
  const auto negative = engine.ConvertExtNumBin(-256.25);
  EXPECT_EQ(negative->IntNum(), Digits({1, 0}));
  EXPECT_EQ(negative->Devided(), Digits({64}));
  EXPECT_FALSE(negative->Sign());
  EXPECT_EQ(engine.ConvertDecNum(*engine.ConvertExtNumBin(0.1)),
            "0.1000000000000000055511151231257827021181583404541015625");
  EXPECT_EQ(engine.ConvertDecNum(*engine.ConvertExtNumBin(1e20)), "100000000000000000000");
  EXPECT_EQ(ErrorOf([&] { engine.ConvertExtNumBin(std::numeric_limits<double>::infinity()); }),
            ErrorNumber::kInvalidArgument);
}

TEST(ExtremeConversionTest, ConvertExtremNumListKeepsTheOrder) {
  FuncLibOrvaneLite engine;
  StringList texts;
  texts.Add("1");
  texts.Add("-2.5");
  const auto list = engine.ConvertExtremNumList(texts);
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(engine.ConvertDecNum(*list->Item(2)), "-2.5");
}

TEST(ExtremeSingleNumberTest, DigitStringHelpers) {
  FuncLibOrvaneLite engine;
  EXPECT_EQ(engine.DelNullString(Digits({0, 0, 5, 0})), Digits({5, 0}));
  EXPECT_EQ(engine.DelNullString(Digits({0, 0})), "");
  auto e = Make(Digits({0, 2}), Digits({3, 0, 0}), false);
  EXPECT_EQ(engine.DelNull(e), e);
  EXPECT_EQ(e->IntNum(), Digits({2}));
  EXPECT_EQ(e->Devided(), Digits({3}));
  auto empty = Make("", "");
  EXPECT_NE(engine.DelNull(empty), empty);  // a new zero object, not the one passed
  EXPECT_TRUE(engine.ASign(e)->Sign());
  EXPECT_EQ(engine.OnlyInt(Make(Digits({1}), Digits({2})))->Devided(), "");
  EXPECT_EQ(engine.OnlyDevided(Make(Digits({1}), Digits({2})))->IntNum(), "");
}

TEST(ExtremeSingleNumberTest, CompareItOrdersByValueAndLeavesOperandsAlone) {
  struct Case {
    std::shared_ptr<ExtremNum> a, b;
    int expected;
  };
  const std::vector<Case> cases = {
      {Make(Digits({1, 0}), ""), Make(Digits({255}), ""), 2},
      {Make("", Digits({128})), Make("", Digits({64})), 2},
      {Make(Digits({7}), Digits({1})), Make(Digits({7}), Digits({1, 0})), 1},
      {Make(Digits({3}), "", false), Make(Digits({2}), "", false), 0},
      {Make(Digits({2}), "", false), Make(Digits({3}), "", false), 2},
      {Make(Digits({2}), "", false), Make(Digits({3}), ""), 0},
      {Make("", "", false), Make("", ""), 1},
  };
  FuncLibOrvaneLite engine;
  for (const auto& c : cases) {
    const std::string a_digits = c.a->StringExpression();
    EXPECT_EQ(engine.CompareIt(*c.a, *c.b), c.expected)
        << engine.ConvertDecNum(*c.a) << " vs " << engine.ConvertDecNum(*c.b);
    EXPECT_EQ(c.a->StringExpression(), a_digits);
  }
}

enum class Op { kSumm, kMinus, kMuch, kDevide, kMod };

struct OperationCase {
  Op op;
  const char* first;
  const char* second;
  std::int16_t exact;
  const char* expected;
};

std::string Apply(FuncLibOrvaneLite& engine, Op op, const char* first, const char* second,
                  std::int16_t exact) {
  engine.FirstNum(first);
  engine.SecondNum(second);
  switch (op) {
    case Op::kSumm:
      return engine.SummIn();
    case Op::kMinus:
      return engine.MinusIn();
    case Op::kMuch:
      return engine.MuchIn();
    case Op::kDevide:
      return engine.DevideIn(exact);
    case Op::kMod:
      return engine.ModIn();
  }
  return {};
}

TEST(ExtremeOperationTest, OperationsGiveTheDescribedDigits) {
  const std::vector<OperationCase> cases = {
      {Op::kSumm, "255", "1", 0, "256"},
      {Op::kSumm, "0", "7.25", 0, "7.25"},
      {Op::kSumm, "0", "0", 0, "0"},
      {Op::kSumm, "0.5", "0.5", 0, "1"},
      {Op::kSumm, "-3", "1", 0, "-2"},
      {Op::kMinus, "256", "1", 0, "255"},
      {Op::kMinus, "5", "5", 0, "0"},
      {Op::kMinus, "3", "5", 0, "-2"},
      {Op::kMinus, "5.5", "2.25", 0, "3.25"},
      {Op::kMinus, "-2", "-5", 0, "3"},
      {Op::kMuch, "255", "255", 0, "65025"},
      {Op::kMuch, "0", "123.5", 0, "0"},
      {Op::kMuch, "1", "123.5", 0, "123.5"},
      {Op::kMuch, "0.5", "0.5", 0, "0.25"},
      {Op::kMuch, "0.00390625", "0.5", 0, "0.001953125"},
      {Op::kMuch, "-2", "3", 0, "-6"},
      {Op::kMuch, "-2", "-3", 0, "6"},
      {Op::kDevide, "7", "2", 0, "3"},
      {Op::kDevide, "7", "2", 1, "3.5"},
      {Op::kDevide, "1", "3", 2, "0.33333"},  // fraction digits 85, 85, shown as the shortest decimal cutting to them
      {Op::kDevide, "2.5", "1", 0, "2.5"},
      {Op::kDevide, "2.5", "-1", 0, "-2.5"},
      {Op::kDevide, "-7", "-2", 1, "3.5"},
      {Op::kDevide, "0", "3", 4, "0"},
      {Op::kMod, "7", "3", 0, "1"},
      {Op::kMod, "256", "16", 0, "0"},
      {Op::kMod, "5", "1", 0, "0"},
      {Op::kMod, "7.5", "2", 0, "1.5"},  // a - b trunc(a / b)
      {Op::kMod, "-7", "3", 0, "-1"},    // the dividend's sign
      {Op::kMod, "7", "-3", 0, "1"},
      {Op::kMod, "5.25", "0.5", 0, "0.25"},
  };
  for (const auto& c : cases) {
    FuncLibOrvaneLite engine;
    EXPECT_EQ(Apply(engine, c.op, c.first, c.second, c.exact), c.expected)
        << static_cast<int>(c.op) << " " << c.first << " " << c.second << " exact " << c.exact;
  }
}

TEST(ExtremeOperationTest, OneNegativeOperandDividesAtDevExact) {
  FuncLibOrvaneLite engine;
  engine.DevExact(1);
  EXPECT_EQ(Apply(engine, Op::kDevide, "-1", "3", 5), "-0.333");  // one fraction digit, 85
  EXPECT_EQ(Apply(engine, Op::kDevide, "1", "3", 1), "0.333");
}

TEST(ExtremeOperationTest, FailuresAreErrorsNotZeros) {
  struct Case {
    Op op;
    std::string first;
    std::string second;
    ErrorNumber expected;
  };
  const std::vector<Case> cases = {
      {Op::kDevide, "5", "0", ErrorNumber::kDivisionByZero},
      {Op::kDevide, "5", "-0.0", ErrorNumber::kDivisionByZero},
      {Op::kMod, "5", "0", ErrorNumber::kDivisionByZero},
      {Op::kSumm, "abc", "1", ErrorNumber::kTypeMismatch},
      {Op::kMuch, "1", "1.2.3", ErrorNumber::kTypeMismatch},
      {Op::kMinus, std::string(32768, '9'), "1", ErrorNumber::kOverflow},
      {Op::kMuch, std::string(20000, '9'), std::string(20000, '9'), ErrorNumber::kOverflow},
  };
  for (const auto& c : cases) {
    FuncLibOrvaneLite engine;
    EXPECT_EQ(ErrorOf([&] { Apply(engine, c.op, c.first.c_str(), c.second.c_str(), 3); }), c.expected)
        << c.first.substr(0, 10) << " " << c.second.substr(0, 10);
  }
}

TEST(ExtremeOperationTest, YieldHookCancelsAndProgressIsPublished) {
  FuncLibOrvaneLite engine;
  engine.SetYieldHook([] { throw RuntimeError(ErrorNumber::kCancelled, "test", "cancelled"); });
  EXPECT_EQ(ErrorOf([&] { Apply(engine, Op::kMuch, "3", "4", 0); }), ErrorNumber::kCancelled);
  engine.SetYieldHook({});
  engine.iMuch = true;
  Apply(engine, Op::kMuch, "3", "4", 0);
  EXPECT_EQ(engine.StepCalculate(), 1000);
}

}  // namespace
}  // namespace ovn
