// The controller driven as the buttons drive it, with scripted desktop services.
#include "calc/calculator.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <vector>

#include "fake_platform.h"

namespace ovn {
namespace {

class CalculatorTest : public ::testing::Test {
 protected:
  // Presses keys as a user would: numbers digit by digit, "=" and operation codes by name.
  void Keys(std::initializer_list<std::string_view> keys) {
    for (std::string_view key : keys) {
      if (key == "=") {
        calculator.Equals();
      } else if (FindOperation(key)) {
        calculator.PressOperation(key);
      } else {
        for (char c : key) c == '.' ? calculator.PressPoint() : calculator.PressDigit(c);
      }
    }
  }
  const std::string& Entry() const { return calculator.CurrentNumber; }
  std::string LastMessage() const { return messages.LastText(); }

  Settings settings;
  RecordingMessages messages;
  ScriptedInput input;
  MemoryClipboard clipboard;
  Platform platform{messages, input, clipboard};
  Calculator calculator{settings, platform};
};

TEST_F(CalculatorTest, EntryButtonsEditTheText) {
  Keys({"12"});
  calculator.PressSign();
  EXPECT_EQ(Entry(), "-12");
  calculator.PressSign();
  EXPECT_EQ(Entry(), "12");
  calculator.CurrentNumber = "-";
  calculator.PressBack();
  EXPECT_EQ(Entry(), "");
  calculator.PressBack();
  EXPECT_EQ(Entry(), "");
}

TEST_F(CalculatorTest, OperationStartsANewNumberButEqualsDoesNot) {
  Keys({"2", "PLUS", "7"});
  EXPECT_EQ(Entry(), "7");
  Keys({"=", "4"});
  EXPECT_EQ(Entry(), "94");
}

TEST_F(CalculatorTest, ChainedButtonsEvaluateThePendingOperation) {
  Keys({"2", "PLUS", "3", "PLUS", "4", "="});
  EXPECT_EQ(Entry(), "9");
  Keys({"2", "MOD", "3", "PLUS", "4", "="});
  EXPECT_EQ(Entry(), "6");
}

TEST_F(CalculatorTest, TwoOperandButtonReplacesThePendingOperation) {
  Keys({"5", "MOD", "7", "LOGARIFM", "8", "="});
  // Only the logarithm of 7 to the base 8 ran.
  EXPECT_EQ(Entry().substr(0, 6), "0.9357");
}

TEST_F(CalculatorTest, ListButtonsCollectTheEntryAtEachPressAndANumberTypedBeforeEquals) {
  Keys({"3", "MID", "5", "="});
  EXPECT_EQ(Entry(), "4");
  calculator.PressClear();  // digits after "=" would extend the result
  Keys({"3", "MID", "5", "MID", "="});
  EXPECT_EQ(Entry(), "4");
  EXPECT_EQ(calculator.NumberList().Count(), 0);
  Keys({"MID"});
  calculator.PressClear();  // empties the list; nothing typed after it
  Keys({"="});
  EXPECT_EQ(LastMessage(), "Операция не определена для этих чисел!");
}

TEST_F(CalculatorTest, ClearKeepsAndClearAllDropsThePendingOperation) {
  Keys({"5", "PLUS"});
  calculator.PressClear();
  Keys({"3", "="});
  EXPECT_EQ(Entry(), "8");
  calculator.CurrentNumber.clear();
  Keys({"5", "PLUS"});
  calculator.PressClearAll();
  Keys({"3", "="});
  EXPECT_EQ(Entry(), "3");
}

TEST_F(CalculatorTest, MachineDoublesShowPlainDecimalText) {
  settings.TypeNum = 0;
  Keys({"0.1", "PLUS", "0.2", "="});
  EXPECT_EQ(Entry(), "0.3");
  calculator.CurrentNumber = "1E20";
  Keys({"MUCH", "3", "="});
  EXPECT_EQ(Entry(), "300000000000000000000");
  Keys({"MOD", "4", "="});  // not computed with machine doubles: said so, the entry stays
  EXPECT_EQ(Entry(), "4");
  EXPECT_EQ(LastMessage(), "Операция не определена для этих чисел!");
  EXPECT_TRUE(Computes("RAD", 0) && Computes("", 0) && Computes("MOD", 1) && !Computes("LN", 0));
}

TEST_F(CalculatorTest, ListOfTheMostOperandsIsEvaluated) {
  struct Run {
    std::int32_t type;
    std::string_view item, code, result;
  };
  for (const Run& run : {Run{1, "0", "MULTINOM", "1"}, Run{2, "6", "NOD", "6"}}) {
    settings.TypeNum = run.type;
    for (int i = 0; i < 32767; ++i) Keys({run.item, run.code});
    Keys({"="});
    EXPECT_EQ(Entry(), run.result) << run.code << ": " << LastMessage();
    calculator.PressClear();
  }
}

TEST_F(CalculatorTest, MachineDoubleOverflowKeepsTheOperationPending) {
  settings.TypeNum = 0;
  Keys({"1", "DEV", "0", "="});
  ASSERT_EQ(messages.shown.size(), 1U);
  EXPECT_EQ(messages.shown[0].text, kMachineDoubleOverflow);
  EXPECT_EQ(messages.shown[0].title, kCalculationErrorTitle);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(calculator.OperationCode, "DEV");
  EXPECT_FALSE(calculator.Calculating());
  calculator.Equals();
  EXPECT_EQ(messages.shown.size(), 2U);
}

TEST_F(CalculatorTest, EngineErrorsAreReportedAndLeaveTheOperationPending) {
  Keys({"1", "DEV", "0", "="});
  EXPECT_EQ(LastMessage(), "Деление на ноль!");
  EXPECT_EQ(calculator.OperationCode, "DEV");
  EXPECT_EQ(Entry(), "0");
  calculator.CurrentNumber = "1.2.3";
  Keys({"PLUS", "1", "="});
  EXPECT_EQ(LastMessage(), "Введено неправильное число!");
  EXPECT_EQ(calculator.OperationCode, "PLUS");
}

TEST_F(CalculatorTest, CancelledEvaluationReportsAndKeepsTheOperation) {
  Keys({"1", "DEV", "7"});
  Evaluation evaluation = calculator.BeginEvaluation();
  calculator.RequestCancel();
  calculator.Compute(evaluation);
  calculator.FinishEvaluation(evaluation);
  EXPECT_EQ(LastMessage(), "Вычисление прервано!");
  EXPECT_EQ(calculator.OperationCode, "DEV");
  calculator.Equals();  // a new evaluation is not cancelled by the old request
  EXPECT_EQ(Entry(), "0.142857142857");
}

TEST_F(CalculatorTest, ProgressStartsEmptyAndFollowsTheEngineThatComputes) {
  settings.TypeNum = 2;
  // Type 2 takes ln from the decimal engine; its list operations publish under flags the controller raises.
  for (std::string_view code : {"LN", "GMID", "MID", "NOC"}) {
    Keys({"2", code, "8", "="});
    EXPECT_EQ(calculator.Progress(), 1000.0F) << code;
    calculator.BeginEvaluation();
    EXPECT_EQ(calculator.Progress(), 0.0F) << code;
    calculator.PressClearAll();
  }
}

TEST_F(CalculatorTest, EnginesFollowThePrecisionSettings) {
  settings.DevCount = 3;
  Keys({"1", "DEV", "3", "="});
  EXPECT_EQ(Entry(), "0.333");
  calculator.PressClear();
  Keys({"1", "MID", "2", "MID", "="});
  EXPECT_EQ(Entry(), "1.5");
}

TEST_F(CalculatorTest, MinAndMaxRecordAndPickAnOperand) {
  Keys({"3", "MIN", "5", "="});
  EXPECT_EQ(Entry(), "3");
  calculator.PressClear();
  Keys({"3", "MAX", "5", "="});
  EXPECT_EQ(Entry(), "5");
  calculator.PressClear();
  Keys({"5", "MAX", "5.0", "="});
  EXPECT_EQ(Entry(), "5.0");
}

TEST_F(CalculatorTest, ExtremeTypeEvaluatesWithItsEngine) {
  settings.TypeNum = 2;
  Keys({"5", "FACTOR", "="});
  EXPECT_EQ(Entry(), "120");
  calculator.PressClear();
  settings.DevCount = 2;  // base-256 places: 1/3 is the digits 85, 85
  Keys({"1", "DEV", "3", "="});
  EXPECT_EQ(Entry(), "0.33333");
  calculator.PressClear();
  settings.DevCount = 1;
  Keys({"1", "MID", "2", "MID", "4", "MID", "="});
  EXPECT_EQ(Entry(), "2.333");
  calculator.PressClear();
  Keys({"7", "MAX", "9", "="});
  EXPECT_EQ(Entry(), "9");
  Keys({"DEV", "0", "="});
  EXPECT_EQ(LastMessage(), "Деление на ноль!");
}

TEST_F(CalculatorTest, RoundingAsksForThePlaceAndStartsANewNumber) {
  calculator.CurrentNumber = "2.75";
  input.answers = {std::string("1")};
  calculator.Round();
  EXPECT_EQ(Entry(), "2.8");
  ASSERT_EQ(input.asked.size(), 1U);
  EXPECT_EQ(input.asked.front().prompt, "Введите степень округления");
  EXPECT_EQ(input.asked.front().title, "Степень:");
  EXPECT_EQ(input.asked.front().default_text, "0");
  EXPECT_TRUE(calculator.NewNumber);
  calculator.CurrentNumber = "2.75";
  calculator.Round();  // cancelled: no places
  EXPECT_EQ(Entry(), "2");
  calculator.CurrentNumber = "1234";
  input.answers = {std::string("-99999")};  // clamped to the 16-bit range
  calculator.Round();
  EXPECT_EQ(Entry(), "0");
}

TEST_F(CalculatorTest, MemoryRegister) {
  calculator.MemoryPlus();
  EXPECT_EQ(calculator.MemoryIndicator(), "");
  Keys({"5"});
  calculator.MemoryPlus();
  calculator.PressClear();
  Keys({"3"});
  calculator.MemoryMinus();
  EXPECT_EQ(calculator.MemoryValue, "2");
  EXPECT_EQ(calculator.MemoryIndicator(), "M-");
  calculator.MemoryClear();
  EXPECT_EQ(calculator.MemoryIndicator(), "");
  Keys({"7"});
  EXPECT_EQ(Entry(), "7");
  calculator.MemoryRecall();
  EXPECT_EQ(Entry(), "");
}

TEST_F(CalculatorTest, ClipboardAndHexadecimal) {
  calculator.CurrentNumber = "-.5";  // copied as shown
  calculator.Copy();
  EXPECT_EQ(clipboard.text, "-0.5");
  calculator.CurrentNumber = "255";
  calculator.Copy();
  EXPECT_EQ(clipboard.text, "255");
  EXPECT_EQ(calculator.Hex(), "FF");
  EXPECT_EQ(clipboard.text, "FF");
  EXPECT_EQ(messages.shown.back().icon, MessageIcon::kInformation);
  EXPECT_EQ(Entry(), "255");
  clipboard.text = "12.5";
  calculator.Paste();
  EXPECT_EQ(Entry(), "12.5");
  // Spaces and line ends around a number are dropped; a refused paste is told and changes nothing.
  clipboard.text = " -7\r\n";
  calculator.Paste();
  EXPECT_EQ(Entry(), "-7");
  for (const std::string& refused : {std::string("abc"), std::string(32768, '1')}) {
    messages.shown.clear();
    clipboard.text = refused;
    calculator.Paste();
    EXPECT_EQ(Entry(), "-7");
    ASSERT_EQ(messages.shown.size(), 1U) << refused.size();
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::kWarning);
  }
}

TEST_F(CalculatorTest, UnitRequestIsCarriedOutOnceAndEmptied) {
  const auto file = std::filesystem::temp_directory_path() / "orvanel_tunits_test.ini";
  std::ofstream(file) << "1\r\n0\r\nMASS\r\n";  // written on another system
  calculator.CurrentNumber = "2";
  calculator.ProcessUnitRequest(file);
  EXPECT_EQ(Entry(), "2000");
  EXPECT_EQ(std::filesystem::file_size(file), 0U);
  calculator.ProcessUnitRequest(file);
  EXPECT_EQ(Entry(), "2000");
  // A request that cannot be carried out is told and leaves the entry.
  std::ofstream(file) << "1\n0\nNOSUCH\n";
  calculator.ProcessUnitRequest(file);
  EXPECT_EQ(Entry(), "2000");
  EXPECT_EQ(LastMessage(), "Операция не определена для этих чисел!");
  std::filesystem::remove(file);
}

TEST(ButtonForKey, MapsTheCalculatorKeysOnly) {
  EXPECT_EQ(ButtonForKey('7'), "7");
  EXPECT_EQ(ButtonForKey('x'), "MUCH");
  EXPECT_EQ(ButtonForKey('X'), "MUCH");
  EXPECT_EQ(ButtonForKey('\\'), "RAD");
  EXPECT_EQ(ButtonForKey(','), "");
  EXPECT_EQ(ButtonForKey('\r'), "");
}

}  // namespace
}  // namespace ovn
