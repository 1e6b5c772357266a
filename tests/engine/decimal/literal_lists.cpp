#include "literal_lists.h"

#include "literal_reference.h"

namespace ovn::literal {
namespace {

int IndexWhereLaterItems(const std::vector<std::string>& items, int beats) {
  int index = 1;
  for (int i = 2; i <= static_cast<int>(items.size()); ++i) {
    if (CompareIt(items[i - 1], items[index - 1]) == beats) index = i;
  }
  return index;
}

}  // namespace

int MinNumIn(const std::vector<std::string>& items) {
  return IndexWhereLaterItems(items, 0);
}

int MaxNumIn(const std::vector<std::string>& items) {
  return IndexWhereLaterItems(items, 2);
}

std::string SummAll(const std::vector<std::string>& items) {
  std::string sum = "0";
  for (const std::string& item : items) sum = SummIn(sum, item);
  return sum;
}

std::string ProductOfItems(const std::vector<std::string>& items) {
  std::string product = "1";
  for (const std::string& item : items) product = MuchIn(product, item);
  return product;
}

std::string CalcNODIn(const std::vector<std::string>& items) {
  const std::string& smallest = items[static_cast<std::size_t>(MinNumIn(items)) - 1];
  std::string candidate;
  std::string divisor;
  do {
    candidate = SummIn(candidate, "1");
    std::size_t counted = 0;
    for (const std::string& item : items) {
      std::string quotient;
      const std::string rest = ModIn(item, candidate, quotient);
      if (rest == "0" || rest.empty()) ++counted;
    }
    if (counted == items.size()) divisor = candidate;
  } while (CompareIt(candidate, smallest) == 0);
  return divisor;
}

std::string CalcNOCIn(const std::vector<std::string>& items) {
  std::string candidate = "1";
  while (true) {
    candidate = SummIn(candidate, "1");
    std::size_t counted = 0;
    for (const std::string& item : items) {
      std::string quotient;
      // A zero remainder in either of its forms ("0" or "") counts: "6.0" divides 6.
      const std::string remainder = ModIn(candidate, item, quotient);
      if (remainder == "0" || remainder.empty()) ++counted;
    }
    if (counted == items.size()) return candidate;
  }
}

}  // namespace ovn::literal
