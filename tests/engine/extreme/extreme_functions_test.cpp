// FuncLibOrvaneLite's powers, roots, rounding, logarithms, combinatorics, progressions and list operations
// on the cases that pin down their digits and their failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "extreme/func_lib_orvane_lite.h"

namespace ovn {
namespace {

using Operation = std::function<std::string(FuncLibOrvaneLite&)>;
// A case's outcome: the result text, or the number of the error it raises.
using Outcome = std::variant<std::string, ErrorNumber>;

struct Case {
  const char* name;
  std::string first;
  std::string second;
  Operation run;
  Outcome expected;
  std::int16_t dev_exact = 0;
  std::int16_t rad_exact = 0;
};

Outcome Evaluate(const Case& c) {
  FuncLibOrvaneLite engine;
  engine.FirstNum(c.first);
  engine.SecondNum(c.second);
  engine.DevExact(c.dev_exact);
  engine.RadExact(c.rad_exact);
  try {
    return c.run(engine);
  } catch (const RuntimeError& error) {
    return error.Number();
  }
}

std::string Describe(const Outcome& outcome) {
  if (const auto* text = std::get_if<std::string>(&outcome)) return "\"" + *text + "\"";
  return "error " + std::to_string(static_cast<int>(std::get<ErrorNumber>(outcome)));
}

void RunAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const Outcome got = Evaluate(c);
    EXPECT_EQ(got, c.expected) << c.name << "(" << c.first << ", " << c.second << "): got " << Describe(got)
                               << ", want " << Describe(c.expected);
  }
}

std::string Text(const char* t) {
  return t;
}

const Operation kStep = [](FuncLibOrvaneLite& e) { return e.StepIn(); };
Operation Radical(std::int16_t exact) {
  return [exact](FuncLibOrvaneLite& e) { return e.RadicalIn(exact); };
}
Operation Circle(std::int16_t digits) {
  return [digits](FuncLibOrvaneLite& e) { return e.CircleIn(digits); };
}
Operation Logarithm(std::int16_t exact) {
  return [exact](FuncLibOrvaneLite& e) { return e.LogarifmIn(exact); };
}
const Operation kTower = [](FuncLibOrvaneLite& e) { return e.GiperStepIn(); };
const Operation kCombinations = [](FuncLibOrvaneLite& e) { return e.CountCombinationIn(); };
const Operation kArrangements = [](FuncLibOrvaneLite& e) { return e.PerestIn(); };
const Operation kFactorial = [](FuncLibOrvaneLite& e) { return e.FactorialIn(e.FirstNum()); };
const Operation kDoubleFactorial = [](FuncLibOrvaneLite& e) { return e.FactorialDBLIn(e.FirstNum()); };

TEST(ExtremePowerTest, PowersGiveTheDescribedDigits) {
  RunAll({
      {"StepIn", "2", "10", kStep, Text("1024")},
      {"StepIn", "2", "0", kStep, Text("1")},
      {"StepIn", "0", "5", kStep, Text("0")},
      {"StepIn", "-2", "3", kStep, Text("-8")},
      {"StepIn", "-2", "2", kStep, Text("4")},
      {"StepIn", "1.5", "2", kStep, Text("2.25")},
      // A negative exponent: the reciprocal cut off after DevExact digits.
      {"StepIn", "2", "-1", kStep, Text("0.5"), 1},
      {"StepIn", "3", "-1", kStep, Text("0.333"), 1},
      {"StepIn", "-3", "-1", kStep, Text("-0.333"), 1},
      {"StepIn", "3", "-1", kStep, Text("0"), 0},
      // A fractional exponent: the true value cut off after RadExact digits; rational values exactly.
      {"StepIn", "2", "0.5", kStep, Text("1.415"), 0, 1},
      {"StepIn", "2", "1.5", kStep, Text("2.82842"), 0, 2},
      {"StepIn", "4", "0.5", kStep, Text("2"), 0, 0},
      {"StepIn", "0.25", "0.5", kStep, Text("0.5"), 0, 1},
      {"StepIn", "16", "-0.25", kStep, Text("0.5"), 1, 0},
      {"StepIn", "256", "0.125", kStep, Text("2"), 0, 3},
      {"StepIn", "0", "-1", kStep, ErrorNumber::kDivisionByZero},
      {"StepIn", "-8", "0.5", kStep, ErrorNumber::kInvalidArgument},
      {"StepIn", "10", "40000", kStep, ErrorNumber::kOverflow},
      {"StepIn", "x", "2", kStep, ErrorNumber::kTypeMismatch},
  });
}

TEST(ExtremePowerTest, RootsAreCutOffNeverRounded) {
  RunAll({
      {"RadicalIn", "65536", "2", Radical(0), Text("256")},
      {"RadicalIn", "65536", "2", Radical(5), Text("256")},
      {"RadicalIn", "2", "2", Radical(1), Text("1.415")},
      {"RadicalIn", "2", "2", Radical(0), Text("1")},
      {"RadicalIn", "-8", "3", Radical(2), Text("-2")},
      {"RadicalIn", "-9", "3", Radical(0), Text("-2")},
      {"RadicalIn", "27", "-3", Radical(1), Text("0.333")},
      {"RadicalIn", "16", "0.5", Radical(0), Text("256")},
      {"RadicalIn", "0", "3", Radical(4), Text("0")},
      {"RadicalIn", "-8", "2", Radical(0), ErrorNumber::kInvalidArgument},
      {"RadicalIn", "8", "0", Radical(0), ErrorNumber::kInvalidArgument},
      {"RadicalIn", "0", "-2", Radical(0), ErrorNumber::kDivisionByZero},
  });
}

TEST(ExtremePowerTest, CircleInRoundsOnBase256Digits) {
  RunAll({
      {"CircleIn", "1.5", "", Circle(0), Text("2")},
      {"CircleIn", "1.25", "", Circle(0), Text("1")},
      {"CircleIn", "1.49609375", "", Circle(0), Text("1")},
      {"CircleIn", "-1.5", "", Circle(0), Text("-2")},
      {"CircleIn", "0.99609375", "", Circle(0), Text("1")},
      {"CircleIn", "1.75", "", Circle(1), Text("1.75")},
      {"CircleIn", "1.001953125", "", Circle(1), Text("1.00390625")},
      {"CircleIn", "1.0019", "", Circle(1), Text("1")},
      {"CircleIn", "511.5", "", Circle(-1), Text("512")},
      {"CircleIn", "300", "", Circle(-1), Text("256")},
      {"CircleIn", "100", "", Circle(-2), Text("0")},
  });
}

TEST(ExtremePowerTest, TowerOfPowers) {
  RunAll({
      {"GiperStepIn", "2", "3", kTower, Text("16")},
      {"GiperStepIn", "2", "1", kTower, Text("2")},
      {"GiperStepIn", "3", "2", kTower, Text("27")},
      {"GiperStepIn", "2", "0", kTower, Text("0")},
      // Settled towers stop early, whatever the height.
      {"GiperStepIn", "1", "1000000000000000000000000", kTower, Text("1")},
      {"GiperStepIn", "2", "6", kTower, ErrorNumber::kOverflow},
      {"GiperStepIn", "2", "1.5", kTower, ErrorNumber::kInvalidArgument},
      {"GiperStepIn", "-2", "2", kTower, ErrorNumber::kInvalidArgument},
  });
}

TEST(ExtremeLogarithmTest, LogarithmsAreCutOffTowardZero) {
  RunAll({
      {"LogarifmIn", "8", "2", Logarithm(0), Text("3")},
      {"LogarifmIn", "8", "2", Logarithm(3), Text("3")},
      {"LogarifmIn", "2", "4", Logarithm(1), Text("0.5")},
      {"LogarifmIn", "2", "4", Logarithm(0), Text("0")},
      {"LogarifmIn", "0.5", "2", Logarithm(2), Text("-1")},
      {"LogarifmIn", "0.25", "0.5", Logarithm(2), Text("2")},
      {"LogarifmIn", "27", "9", Logarithm(1), Text("1.5")},
      {"LogarifmIn", "1000", "10", Logarithm(2), Text("3")},
      {"LogarifmIn", "1", "7", Logarithm(2), Text("0")},
      {"LogarifmIn", "3", "2", Logarithm(1), Text("1.583")},
      {"LogarifmIn", "2", "3", Logarithm(1), Text("0.63")},
      {"LogarifmIn", "0.75", "2", Logarithm(1), Text("-0.415")},
      {"LogarifmIn", "0", "2", Logarithm(1), ErrorNumber::kInvalidArgument},
      {"LogarifmIn", "-2", "2", Logarithm(1), ErrorNumber::kInvalidArgument},
      {"LogarifmIn", "2", "1", Logarithm(1), ErrorNumber::kInvalidArgument},
      {"LogarifmIn", "2", "-2", Logarithm(1), ErrorNumber::kInvalidArgument},
  });
}

TEST(ExtremeCombinatoricsTest, CountsAndTheirMends) {
  RunAll({
      {"FactorialIn", "0", "", kFactorial, Text("1")},
      {"FactorialIn", "20", "", kFactorial, Text("2432902008176640000")},
      {"FactorialIn", "2.5", "", kFactorial, ErrorNumber::kInvalidArgument},
      {"FactorialIn", "100000", "", kFactorial, ErrorNumber::kOverflow},
      // The double factorial includes its argument: n (n - 2) (n - 4) ...
      {"FactorialDBLIn", "7", "", kDoubleFactorial, Text("105")},
      {"FactorialDBLIn", "8", "", kDoubleFactorial, Text("384")},
      {"FactorialDBLIn", "2", "", kDoubleFactorial, Text("2")},
      {"FactorialDBLIn", "1", "", kDoubleFactorial, Text("1")},
      {"FactorialDBLIn", "0", "", kDoubleFactorial, Text("1")},
      {"FactorialDBLIn", "-1", "", kDoubleFactorial, ErrorNumber::kInvalidArgument},
      {"FactorialDBLIn", "3.5", "", kDoubleFactorial, ErrorNumber::kInvalidArgument},
      {"CountCombinationIn", "5", "2", kCombinations, Text("10")},
      {"CountCombinationIn", "5", "0", kCombinations, Text("1")},
      {"CountCombinationIn", "2", "5", kCombinations, Text("0")},
      {"CountCombinationIn", "5.5", "2", kCombinations, ErrorNumber::kInvalidArgument},
      {"CountCombinationIn", "5", "-2", kCombinations, ErrorNumber::kInvalidArgument},
      {"PerestIn", "5", "2", kArrangements, Text("20")},
      {"PerestIn", "5", "5", kArrangements, Text("120")},
      {"PerestIn", "2", "5", kArrangements, Text("0")},
      {"PerestIn", "-5", "2", kArrangements, ErrorNumber::kInvalidArgument},
  });
}

struct ListCase {
  const char* name;
  std::string (FuncLibOrvaneLite::*run)(const StringList&);
  std::vector<std::string> items;
  Outcome expected;
  std::int16_t dev_exact = 0;
  std::int16_t rad_exact = 0;
};

TEST(ExtremeListTest, ListOperationsAndTheirMends) {
  const std::vector<ListCase> cases = {
      {"MidIn", &FuncLibOrvaneLite::MidIn, {"1", "2", "4"}, Text("2.333"), 1},
      {"MidIn", &FuncLibOrvaneLite::MidIn, {"1", "2"}, Text("1.5"), 1},
      {"MidIn", &FuncLibOrvaneLite::MidIn, {"1", "2"}, Text("1"), 0},
      {"MidIn", &FuncLibOrvaneLite::MidIn, {}, ErrorNumber::kInvalidArgument},
      {"GeoMIDIn", &FuncLibOrvaneLite::GeoMIDIn, {"2", "8"}, Text("4")},
      {"GeoMIDIn", &FuncLibOrvaneLite::GeoMIDIn, {"2", "1"}, Text("1.415"), 0, 1},
      {"GeoMIDIn", &FuncLibOrvaneLite::GeoMIDIn, {"-2", "8"}, ErrorNumber::kInvalidArgument},
      {"MultinomIn", &FuncLibOrvaneLite::MultinomIn, {"2", "1"}, Text("3")},
      {"MultinomIn", &FuncLibOrvaneLite::MultinomIn, {"5"}, Text("1")},
      {"MultinomIn", &FuncLibOrvaneLite::MultinomIn, {"1", "1", "1"}, Text("6")},
      {"MultinomIn", &FuncLibOrvaneLite::MultinomIn, {"2", "-1"}, ErrorNumber::kInvalidArgument},
      {"ArifmeticProgrecyNum", &FuncLibOrvaneLite::ArifmeticProgrecyNum, {"1", "2", "10"}, Text("19")},
      {"ArifmeticProgrecySum", &FuncLibOrvaneLite::ArifmeticProgrecySum, {"1", "19", "10"}, Text("100")},
      {"ArifmeticProgrecySum", &FuncLibOrvaneLite::ArifmeticProgrecySum, {"1", "2", "1"}, Text("1.5"), 1},
      {"GeometricProgrecyNum", &FuncLibOrvaneLite::GeometricProgrecyNum, {"3", "2", "4"}, Text("24")},
      {"GeometricProgrecyNum", &FuncLibOrvaneLite::GeometricProgrecyNum, {"3", "2", "0"}, Text("1.5"), 1},
      {"GeometricProgrecySum", &FuncLibOrvaneLite::GeometricProgrecySum, {"3", "24", "2"}, Text("45")},
      {"GeometricProgrecySum",
       &FuncLibOrvaneLite::GeometricProgrecySum,
       {"3", "3", "1"},
       ErrorNumber::kDivisionByZero},
      {"ArifmeticProgrecyNum",
       &FuncLibOrvaneLite::ArifmeticProgrecyNum,
       {"1", "2"},
       ErrorNumber::kInvalidArgument},
      {"GeometricProgrecySum",
       &FuncLibOrvaneLite::GeometricProgrecySum,
       {"1", "2", "3", "4"},
       ErrorNumber::kInvalidArgument},
      {"CalcNOCIn", &FuncLibOrvaneLite::CalcNOCIn, {"4", "6"}, Text("12")},
      {"CalcNOCIn", &FuncLibOrvaneLite::CalcNOCIn, {"1", "1"}, Text("1")},
      {"CalcNODIn", &FuncLibOrvaneLite::CalcNODIn, {"12", "18"}, Text("6")},
      {"CalcNODIn", &FuncLibOrvaneLite::CalcNODIn, {"12", "0"}, ErrorNumber::kInvalidArgument},
      {"CalcNODIn", &FuncLibOrvaneLite::CalcNODIn, {"1.5", "3"}, ErrorNumber::kInvalidArgument},
      {"CalcNOCIn", &FuncLibOrvaneLite::CalcNOCIn, {}, ErrorNumber::kInvalidArgument},
  };
  for (const ListCase& c : cases) {
    FuncLibOrvaneLite engine;
    engine.DevExact(c.dev_exact);
    engine.RadExact(c.rad_exact);
    StringList list;
    for (const std::string& item : c.items) list.Add(item);
    Outcome got;
    try {
      got = (engine.*c.run)(list);
    } catch (const RuntimeError& error) {
      got = error.Number();
    }
    EXPECT_EQ(got, c.expected) << c.name << " of " << c.items.size() << " items: got " << Describe(got)
                               << ", want " << Describe(c.expected);
  }
}

TEST(ExtremeProgressTest, LongOperationsPublishProgressAndCanBeCancelled) {
  const Operation kMeanOfFractions = [](FuncLibOrvaneLite& e) {
    StringList list;
    for (const char* item : {"0.1", "0.2", "0.3"}) list.Add(item);
    return e.MidIn(list);
  };
  const std::vector<Case> cases = {
      {"StepIn", "3", "0.1", kStep, {}, 0, 200},
      {"RadicalIn", std::string(3000, '7'), "3", Radical(500), {}},
      {"LogarifmIn", std::string(3000, '7'), "3", Logarithm(500), {}},
      {"GiperStepIn", "1.1", "2", kTower, {}, 0, 50},            // yields inside a level, not only after it
      {"GiperStepIn", "1.4", std::string(30, '9'), kTower, {}},  // settles long before its height
      {"MidIn", "", "", kMeanOfFractions, {}},                   // yields between the fractions it reads
  };
  for (const Case& c : cases) {
    FuncLibOrvaneLite engine;
    engine.FirstNum(c.first);
    engine.SecondNum(c.second);
    engine.RadExact(c.rad_exact);
    engine.iStep = engine.iRadical = engine.iLog = engine.iGiperStep = engine.iSumm = true;
    c.run(engine);
    EXPECT_EQ(engine.StepCalculate(), 1000) << c.name;
    int yields = 0;
    engine.SetYieldHook([&yields] {
      if (++yields == 2) throw RuntimeError(ErrorNumber::kCancelled, "test", "cancelled");
    });
    try {
      c.run(engine);
      ADD_FAILURE() << c.name << " was not cancelled";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), ErrorNumber::kCancelled) << c.name;
    }
  }
}

// A long list of long fractions takes seconds to read: the bar moves while it is read, and never back.
TEST(ExtremeProgressTest, ReadingAListMovesTheProgress) {
  FuncLibOrvaneLite engine;
  engine.iSumm = true;
  StringList list;
  for (const char* item : {"0.1", "0.2", "0.3"}) list.Add(item);
  std::vector<int> seen;
  engine.SetYieldHook([&] { seen.push_back(engine.StepCalculate()); });
  engine.MidIn(list);
  ASSERT_FALSE(seen.empty());
  EXPECT_GT(*std::max_element(seen.begin(), seen.end()), 0);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST(ExtremeListTest, DivisorOfExtremeNumbersTakesTheConvertedList) {
  FuncLibOrvaneLite engine;
  StringList list;
  for (const char* item : {"1071", "462"}) list.Add(item);
  const auto divisor = engine.CalcNODInBin(*engine.ConvertExtremNumList(list));
  EXPECT_EQ(engine.ConvertDecNum(*divisor), "21");
}

}  // namespace
}  // namespace ovn
