#include "ovnliblt/string_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expect_error.h"

namespace ovn {
namespace {

using Items = std::vector<std::string>;

constexpr std::int16_t kFull = 32767;

StringList ListOf(const Items& items) {
  StringList list;
  for (const std::string& item : items) list.Add(item);
  return list;
}

Items ItemsOf(const StringList& list) {
  Items items;
  for (std::int16_t i = 1; i <= list.Count(); ++i) items.push_back(list.Item(i));
  return items;
}

// n pieces "0".."n-1" joined by ";".
std::string NumberedPieces(int n) {
  std::string text = "0";
  for (int i = 1; i < n; ++i) text += ';' + std::to_string(i);
  return text;
}

TEST(StringList, ListWithoutArrayHasNoElementZero) {
  StringList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_RUNTIME_ERROR(list.Item(0), ErrorNumber::kIndexOutOfRange);
  EXPECT_RUNTIME_ERROR(list.Remove(0), ErrorNumber::kIndexOutOfRange);
  list.NewValue("x", 0);
  EXPECT_EQ(list.GetTextExpression(","), "");

  list.Add("a");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_RUNTIME_ERROR(list.Item(0), ErrorNumber::kIndexOutOfRange);
  EXPECT_EQ(list.GetTextExpression(","), "");
}

TEST(StringList, ItemReachesElementsZeroToCountOnly) {
  const StringList list = ListOf({"a", "b"});
  EXPECT_EQ(list.Item(0), "");
  EXPECT_EQ(list.Item(2), "b");
  for (const std::int16_t bad : std::initializer_list<std::int16_t>{-1, 3, kFull}) {
    try {
      list.Item(bad);
      ADD_FAILURE() << "no error for Item(" << bad << ")";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), ErrorNumber::kIndexOutOfRange);
      EXPECT_EQ(error.Source(), "StringList.Item");
    }
  }
}

TEST(StringList, NewValueOutsideTheArrayIsIgnored) {
  StringList list = ListOf({"a", "b"});
  list.NewValue("z", 99);
  list.NewValue("z", -1);
  list.NewValue("c", 2);
  list.Count(10);
  EXPECT_EQ(ItemsOf(list), (Items{"a", "c"}));
}

TEST(StringList, RemoveBlanksTheItemThenDropsEveryEmptyItem) {
  struct Case {
    Items before;
    std::int16_t index;
    Items after;
  };
  const Case cases[] = {
      {{"a", "b", "c"}, 2, {"a", "c"}}, {{"a", "b", "c"}, 3, {"a", "b"}}, {{"", "y"}, 2, {}},
      {{"a", "", "b"}, 1, {"b"}},       {{"a", "", "b"}, 0, {"a", "b"}},  {{"a"}, 1, {}},
  };
  for (const Case& c : cases) {
    StringList list = ListOf(c.before);
    list.Remove(c.index);
    EXPECT_EQ(ItemsOf(list), c.after) << "Remove(" << c.index << ")";
    EXPECT_EQ(list.Item(0), "") << "an emptied list keeps element 0";
  }
}

TEST(StringList, RemoveOfNoElementRaises9AndKeepsTheList) {
  StringList list = ListOf({"a", "", "b"});
  EXPECT_RUNTIME_ERROR(list.Remove(4), ErrorNumber::kIndexOutOfRange);
  EXPECT_RUNTIME_ERROR(list.Remove(-1), ErrorNumber::kIndexOutOfRange);
  EXPECT_EQ(ItemsOf(list), (Items{"a", "", "b"}));
}

TEST(StringList, TextExpressionStartsWithElementZero) {
  StringList list = ListOf({"1", "2", "3"});
  EXPECT_EQ(list.GetTextExpression(","), ",1,2,3");
  EXPECT_EQ(list.GetTextExpression(""), "123");
  list.NewValue("z", 0);
  EXPECT_EQ(list.GetTextExpression("; "), "z; 1; 2; 3");
}

TEST(StringList, LoadTextReplacesTheItemsWithThePieces) {
  struct Case {
    const char* value;
    const char* separator;
    Items items;
  };
  const Case cases[] = {
      {"1;2;3", ";", {"1", "2", "3"}}, {"a;;b", ";", {"a", "", "b"}},
      {";a;", ";", {"", "a", ""}},     {"abc", "", {"abc"}},
      {"abc", ",", {"abc"}},           {"1<>2<>", "<>", {"1", "2", ""}},
      {"aXbxc", "x", {"aXb", "c"}},    {"aaa", "aa", {"", "a"}},
  };
  for (const Case& c : cases) {
    StringList list = ListOf({"v", "w", "x", "y", "z"});
    list.NewValue("zero", 0);
    EXPECT_EQ(list.LoadText(c.value, c.separator), "");
    EXPECT_EQ(ItemsOf(list), c.items) << c.value << " cut at " << c.separator;
    EXPECT_EQ(list.Item(0), "zero") << "element 0 keeps its content";
  }
}

TEST(StringList, LoadTextOfEmptyValueLeavesTheList) {
  StringList list = ListOf({"a", "b"});
  list.LoadText("", ";");
  EXPECT_EQ(ItemsOf(list), (Items{"a", "b"}));
  StringList empty;
  empty.LoadText("", ";");
  EXPECT_RUNTIME_ERROR(empty.Item(0), ErrorNumber::kIndexOutOfRange);
}

TEST(StringList, HoldsAtMost32767Items) {
  StringList list;
  list.LoadText(NumberedPieces(kFull), ";");
  ASSERT_EQ(list.Count(), kFull);
  EXPECT_EQ(list.Item(kFull), std::to_string(kFull - 1));

  EXPECT_RUNTIME_ERROR(list.Add("more"), ErrorNumber::kOverflow);
  EXPECT_EQ(list.Count(), kFull);
  EXPECT_EQ(list.Item(kFull), std::to_string(kFull - 1));

  StringList added;
  for (int i = 0; i < kFull; ++i) added.Add("x");
  EXPECT_RUNTIME_ERROR(added.Add("x"), ErrorNumber::kOverflow);
  EXPECT_EQ(added.Count(), kFull);
}

TEST(StringList, LoadTextOfTooManyPiecesRaises6AndLeavesTheList) {
  StringList list = ListOf({"a", "b"});
  EXPECT_RUNTIME_ERROR(list.LoadText(NumberedPieces(kFull + 1), ";"), ErrorNumber::kOverflow);
  EXPECT_RUNTIME_ERROR(list.LoadText(std::string(kFull, ';'), ";"), ErrorNumber::kOverflow);
  EXPECT_EQ(ItemsOf(list), (Items{"a", "b"}));

  list.LoadText(std::string(kFull - 1, ';'), ";");
  EXPECT_EQ(list.Count(), kFull);
}

TEST(StringList, RemoveFromAFullListRemovesTheItem) {
  StringList list;
  list.LoadText(NumberedPieces(kFull), ";");
  list.Remove(2);
  EXPECT_EQ(list.Count(), kFull - 1);
  EXPECT_EQ(list.Item(2), "2");
}

}  // namespace
}  // namespace ovn
