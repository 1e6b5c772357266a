#include "ovnliblt/extrem_num_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "expect_error.h"

namespace ovn {
namespace {

using Numbers = std::vector<std::shared_ptr<ExtremNum>>;

Numbers MakeNumbers(int n) {
  Numbers numbers;
  for (int i = 0; i < n; ++i) numbers.push_back(std::make_shared<ExtremNum>());
  return numbers;
}

ExtremNumList ListOf(const Numbers& numbers) {
  ExtremNumList list;
  for (const auto& number : numbers) list.Add(number);
  return list;
}

Numbers ItemsOf(const ExtremNumList& list) {
  Numbers items;
  for (std::int16_t i = 1; i <= list.Count(); ++i) items.push_back(list.Item(i));
  return items;
}

TEST(ExtremNumList, HoldsTheObjectsItIsGivenNotCopies) {
  auto number = std::make_shared<ExtremNum>();
  ExtremNumList list;
  list.Add(number);
  list.Add(number);
  EXPECT_EQ(list.Item(1), number);
  list.Item(1)->Sign(false);
  EXPECT_FALSE(list.Item(2)->Sign());
  number->IntNum("\x05");
  EXPECT_EQ(list.Item(2)->IntNum(), "\x05");
}

TEST(ExtremNumList, KeepsItsObjectsAliveUntilReleased) {
  auto number = std::make_shared<ExtremNum>();
  const std::weak_ptr<ExtremNum> watch = number;
  ExtremNumList list;
  list.Add(std::move(number));
  EXPECT_FALSE(watch.expired());
  list.Clear();
  EXPECT_TRUE(watch.expired());

  number = std::make_shared<ExtremNum>();
  const std::weak_ptr<ExtremNum> replaced = number;
  list.Add(std::move(number));
  list.NewValue(std::make_shared<ExtremNum>(), 1);
  EXPECT_TRUE(replaced.expired());
}

TEST(ExtremNumList, ItemReachesElementsZeroToCountOnly) {
  ExtremNumList list;
  EXPECT_EQ(list.Count(), 0);
  EXPECT_RUNTIME_ERROR(list.Item(0), ErrorNumber::kIndexOutOfRange);

  const Numbers numbers = MakeNumbers(2);
  list = ListOf(numbers);
  EXPECT_EQ(list.Item(0), nullptr);
  EXPECT_RUNTIME_ERROR(list.Item(3), ErrorNumber::kIndexOutOfRange);
  EXPECT_RUNTIME_ERROR(list.Item(-1), ErrorNumber::kIndexOutOfRange);

  list.NewValue(numbers[0], 9);
  list.Count(9);
  EXPECT_EQ(ItemsOf(list), numbers);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_RUNTIME_ERROR(list.Item(1), ErrorNumber::kIndexOutOfRange);
}

TEST(ExtremNumList, RemoveTakesOutJustThatItem) {
  const Numbers n = MakeNumbers(3);
  struct Case {
    std::int16_t index;
    Numbers after;
  };
  const Case cases[] = {{1, {n[1], n[2]}}, {2, {n[0], n[2]}}, {3, {n[0], n[1]}}};
  for (const Case& c : cases) {
    ExtremNumList list = ListOf(n);
    list.Remove(c.index);
    EXPECT_EQ(ItemsOf(list), c.after) << "Remove(" << c.index << ")";
  }

  ExtremNumList single = ListOf({n[0]});
  single.Remove(1);
  EXPECT_EQ(single.Count(), 0);
  EXPECT_EQ(single.Item(0), nullptr) << "an emptied list keeps element 0";
}

TEST(ExtremNumList, RemoveOfNoItemRaises9AndKeepsTheList) {
  const Numbers n = MakeNumbers(2);
  ExtremNumList list = ListOf(n);
  for (const std::int16_t bad : {0, 3, -1}) {
    EXPECT_RUNTIME_ERROR(list.Remove(bad), ErrorNumber::kIndexOutOfRange);
  }
  EXPECT_EQ(ItemsOf(list), n);
  EXPECT_RUNTIME_ERROR(ExtremNumList().Remove(1), ErrorNumber::kIndexOutOfRange);
}

TEST(ExtremNumList, HoldsAtMost32767Items) {
  const auto number = std::make_shared<ExtremNum>();
  ExtremNumList list;
  for (int i = 0; i < 32767; ++i) list.Add(number);
  EXPECT_RUNTIME_ERROR(list.Add(std::make_shared<ExtremNum>()), ErrorNumber::kOverflow);
  EXPECT_EQ(list.Count(), 32767);
  EXPECT_EQ(list.Item(32767), number);
}

}  // namespace
}  // namespace ovn
