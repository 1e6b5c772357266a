#include "literal_combinatorics.h"

#include <algorithm>

#include "literal_reference.h"

namespace ovn::literal {
namespace {

constexpr int kGreater = 2;
constexpr int kEqual = 1;

// Num^Stp for a whole Stp >= 0: P = "1", then P = P * Num, Stp times; a product below one gets its "0".
std::string WholePower(std::string_view Num, std::string_view Stp) {
  if (Num == "0" || Num.empty()) return "";
  std::string base = DelNull(Num);
  if (base.starts_with('.')) base.insert(0, "0");
  const std::string exponent = DelNull(Stp);
  if (exponent.empty()) return "1";
  if (base.starts_with('-')) {
    const std::string magnitude = ASign(base);
    const bool odd = (exponent.back() - '0') % 2 == 1;
    if (odd) return "-" + WholePower(magnitude, exponent);
    base = magnitude;
  }
  std::string power = "1";
  std::string k;
  do {
    k = SummIn(k, "1");
    power = MuchIn(power, base);
    if (power.starts_with('.')) power.insert(0, "0");
  } while (CompareIt(k, exponent) != kEqual);
  if (power.ends_with('.')) power.pop_back();
  return power;
}

}  // namespace

std::string FactorialIn(std::string_view Num) {
  const std::string n = Num.empty() ? "0" : std::string(Num);
  if (n == "0" || n == "1") return "1";
  std::string i = "1";
  std::string product = "1";
  do {
    i = SummIn(i, "1");
    product = MuchIn(product, i);
  } while (CompareIt(i, n) == 0);  // until i is not less than Num
  return product;
}

std::string FactorialDBLIn(std::string_view Num) {
  std::string k(Num);
  std::string product = "1";
  while (CompareIt(k, "1") == kGreater) {
    product = MuchIn(product, k);
    k = MinusIn(k, "2");
  }
  return product;
}

std::string CountCombinationIn(std::string_view Num, std::string_view Count, int DevExact) {
  if (CompareIt(Count, Num) == kGreater) return "0";
  const std::string a = FactorialIn(Num);
  const std::string b = FactorialIn(MinusIn(Num, Count));
  const std::string c = FactorialIn(Count);
  return DevideIn(a, MuchIn(b, c), DevExact);
}

std::string PerestIn(std::string_view Num, std::string_view Count) {
  const int order = CompareIt(Num, Count);
  if (order == kEqual) return FactorialIn(Num);
  if (order != kGreater) return "";
  const std::string a = FactorialIn(Num);
  const std::string b = FactorialIn(MinusIn(Num, Count));
  return DevideIn(a, b, 0);
}

std::string MultinomIn(const std::vector<std::string>& items) {
  if (items.size() == 1) return "1";
  std::string sum;
  for (const std::string& item : items) sum = SummIn(sum, item);
  const std::string numerator = FactorialIn(sum);
  std::string denominator = "1";
  for (const std::string& item : items) denominator = MuchIn(denominator, FactorialIn(item));
  return DevideIn(numerator, denominator, 0);
}

std::string ArifmeticProgrecyNum(std::string_view a, std::string_view d, std::string_view n) {
  return SummIn(a, MuchIn(d, MinusIn(n, "1")));
}

std::string GeometricProgrecyNum(std::string_view b, std::string_view q, std::string_view n) {
  return MuchIn(b, WholePower(q, MinusIn(n, "1")));
}

std::string ArifmeticProgrecySum(std::string_view a, std::string_view l, std::string_view n, int DevExact) {
  return DevideIn(MuchIn(SummIn(a, l), n), "2", DevExact);
}

std::string GeometricProgrecySum(std::string_view b, std::string_view l, std::string_view q, int DevExact) {
  return DevideIn(MinusIn(MuchIn(l, q), b), MinusIn(q, "1"), DevExact);
}

std::string ToHex(std::string_view Num) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string n = PointLeft(AbsIn(Num));
  if (CompareIt(n, "1") == 0) return "0";
  std::string digits;
  do {
    std::string quotient;
    const std::string rest = ModIn(n, "16", quotient);
    digits += kHexDigits[std::stoi(rest.empty() ? "0" : rest)];
    n = PointLeft(DevideIn(n, "16", 0));
  } while (CompareIt(n, "1") != 0);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

}  // namespace ovn::literal
