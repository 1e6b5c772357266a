#include "ovnliblt/extrem_num.h"

#include <gtest/gtest.h>

#include <string>

#include "expect_error.h"

namespace ovn {
namespace {

// A digit string from byte values, most significant first.
std::string Digits(std::initializer_list<unsigned char> digits) {
  return std::string(digits.begin(), digits.end());
}

const std::string kOneToFive = Digits({1, 2, 3, 4, 5});

struct Split {
  bool de_pos;
  std::int16_t index_pos;
  std::int16_t index_de_pos;
  std::string v;
  std::string int_num;
  std::string devided;
};

// An ExtremNum holding "old" parts, ready to split as the case says.
ExtremNum ReadyToSplit(const Split& c) {
  ExtremNum number;
  number.IntNum(Digits({9}));
  number.Devided(Digits({8}));
  number.Sign(false);
  number.ExtremChange(true);
  number.DePos(c.de_pos);
  number.IndexPos(c.index_pos);
  number.IndexDePos(c.index_de_pos);
  return number;
}

TEST(ExtremNum, SplitKeepsTheAnchoredPartsLength) {
  const Split cases[] = {
      // de_pos false: IndexPos integer digits at the left
      {false, 2, 0, kOneToFive, Digits({1, 2}), Digits({3, 4, 5})},
      {false, 0, 3, kOneToFive, "", kOneToFive},
      {false, 5, 0, kOneToFive, kOneToFive, ""},
      {false, 0, 0, "", "", ""},
      // de_pos true: IndexDePos fraction digits at the right
      {true, 7, 1, kOneToFive, Digits({1, 2, 3, 4}), Digits({5})},
      {true, 0, 0, kOneToFive, kOneToFive, ""},
      {true, 0, 5, kOneToFive, "", kOneToFive},
      // every byte is a digit, zero and 255 included
      {false, 2, 0, Digits({0, 255, 0, 128}), Digits({0, 255}), Digits({0, 128})},
  };
  for (const Split& c : cases) {
    ExtremNum number = ReadyToSplit(c);
    number.StringExpression(c.v);
    EXPECT_EQ(number.IntNum(), c.int_num) << "DePos " << c.de_pos << ", v of " << c.v.size();
    EXPECT_EQ(number.Devided(), c.devided) << "DePos " << c.de_pos << ", v of " << c.v.size();
    EXPECT_EQ(number.StringExpression(), c.v);
    EXPECT_EQ(number.IndexPos(), c.index_pos) << "the split never recomputes IndexPos";
    EXPECT_FALSE(number.Sign());
  }
}

TEST(ExtremNum, SplitWithAPartOfNegativeLengthRaises5) {
  // The integer part is stored before the fraction's length is found negative.
  const Split cases[] = {
      {false, 6, 0, kOneToFive, kOneToFive, Digits({8})},
      {false, -1, 0, kOneToFive, Digits({9}), Digits({8})},
      {true, 0, 6, kOneToFive, Digits({9}), Digits({8})},
      {true, 0, -1, kOneToFive, kOneToFive, Digits({8})},
  };
  for (const Split& c : cases) {
    ExtremNum number = ReadyToSplit(c);
    try {
      number.StringExpression(c.v);
      ADD_FAILURE() << "no error for DePos " << c.de_pos << ", " << c.index_pos << ", " << c.index_de_pos;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), ErrorNumber::kInvalidArgument);
      EXPECT_EQ(error.Source(), "ExtremNum.StringExpression");
    }
    EXPECT_EQ(number.IntNum(), c.int_num)
        << "DePos " << c.de_pos << ", " << c.index_pos << ", " << c.index_de_pos;
    EXPECT_EQ(number.Devided(), c.devided)
        << "DePos " << c.de_pos << ", " << c.index_pos << ", " << c.index_de_pos;
  }
}

TEST(ExtremNum, SplitIsIgnoredWhileExtremChangeIsFalse) {
  ExtremNum number = ReadyToSplit({false, 2, 0, "", "", ""});
  number.ExtremChange(false);
  number.StringExpression(kOneToFive);
  EXPECT_EQ(number.StringExpression(), Digits({9, 8}));
}

TEST(ExtremNum, PartAssignmentSetsIndexPosToTheIntegerLength) {
  ExtremNum number;
  number.IntNum(Digits({1, 0}));
  EXPECT_EQ(number.IndexPos(), 2);
  number.IndexPos(7);
  number.Devided(kOneToFive);
  EXPECT_EQ(number.IndexPos(), 2);
}

TEST(ExtremNum, IntegerPartOver32767DigitsRaises6AfterStoring) {
  ExtremNum number;
  number.IntNum(std::string(32767, '\1'));
  EXPECT_EQ(number.IndexPos(), 32767);

  EXPECT_RUNTIME_ERROR(number.IntNum(std::string(32768, '\2')), ErrorNumber::kOverflow);
  EXPECT_EQ(number.IntNum().size(), 32768u);
  EXPECT_EQ(number.IndexPos(), 32767);
  EXPECT_RUNTIME_ERROR(number.Devided(Digits({1})), ErrorNumber::kOverflow);
  EXPECT_EQ(number.Devided(), Digits({1}));
}

TEST(ExtremNum, ClearMakesZeroButKeepsTheSplitFields) {
  ExtremNum number = ReadyToSplit({true, 2, 3, "", "", ""});
  number.Clear();
  EXPECT_EQ(number.StringExpression(), "");
  EXPECT_TRUE(number.Sign());
  EXPECT_EQ(number.IndexPos(), 2);
  EXPECT_EQ(number.IndexDePos(), 3);
  EXPECT_TRUE(number.DePos());
  EXPECT_TRUE(number.ExtremChange());
}

}  // namespace
}  // namespace ovn
