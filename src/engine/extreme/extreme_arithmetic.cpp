// FuncLibOrvaneLite: sum, difference, product, quotient and remainder of FirstNum and SecondNum.
#include <algorithm>

#include "extreme/func_lib_orvane_lite.h"

namespace ovn {

namespace {

using extreme::ExtremeValue;

constexpr double kProgressDone = 1000.0;

bool IsNegative(const ExtremeValue& value) {
  return value.negative && !value.is_zero();
}

}  // namespace

std::string FuncLibOrvaneLite::SummIn() {
  const ExtremeValue sum = extreme::Add(Operand(first_num_, "SummIn"), Operand(second_num_, "SummIn"));
  Progress(iSumm, kProgressDone);
  return Result(sum, "SummIn");
}

std::string FuncLibOrvaneLite::MinusIn() {
  const ExtremeValue difference =
      extreme::Subtract(Operand(first_num_, "MinusIn"), Operand(second_num_, "MinusIn"));
  Progress(iMinus, kProgressDone);
  return Result(difference, "MinusIn");
}

std::string FuncLibOrvaneLite::MuchIn() {
  const ExtremeValue a = Operand(first_num_, "MuchIn");
  const ExtremeValue b = Operand(second_num_, "MuchIn");
  Yield();
  const ExtremeValue product = extreme::Multiply(a, b);
  Progress(iMuch, kProgressDone);
  return Result(product, "MuchIn");
}

std::string FuncLibOrvaneLite::DevideIn(std::int16_t Exact) {
  const ExtremeValue a = Operand(first_num_, "DevideIn");
  const ExtremeValue b = Operand(second_num_, "DevideIn");
  if (b.is_zero()) Raise(ErrorNumber::kDivisionByZero, "DevideIn", "division by zero");
  Yield();
  // With exactly one negative operand the magnitudes are divided at the engine's own DevExact.
  const std::int16_t places = IsNegative(a) != IsNegative(b) ? dev_exact_ : Exact;
  const ExtremeValue quotient =
      extreme::TruncatedQuotient(a, b, static_cast<std::size_t>(std::max<int>(places, 0)));
  Progress(iDev, kProgressDone);
  return Result(quotient, "DevideIn");
}

std::string FuncLibOrvaneLite::ModIn() {
  const ExtremeValue a = Operand(first_num_, "ModIn");
  const ExtremeValue b = Operand(second_num_, "ModIn");
  if (b.is_zero()) Raise(ErrorNumber::kDivisionByZero, "ModIn", "division by zero");
  Yield();
  const ExtremeValue remainder = extreme::TruncatedRemainder(a, b);
  Progress(iMod, kProgressDone);
  return Result(remainder, "ModIn");
}

}  // namespace ovn
