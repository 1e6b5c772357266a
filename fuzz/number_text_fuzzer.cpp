// The number-text parsers: the entry's clean-up (spaces, decimal comma), exponent notation, the decimal
// engine's normal form and the extreme engine's conversion to base 256 and back. Any text either gives a
// number or raises the engines' RuntimeError; and the two forms of one number denote one value.
#include <cstddef>
#include <cstdint>
#include <string>

#include "decimal/func_lib_dec.h"
#include "extreme/func_lib_orvane_lite.h"
#include "fuzz_check.h"
#include "global/global.h"

namespace {

using ovn::fuzz::Require;

void CheckNumber(ovn::FuncLibDec& decimal, const std::string& number) {
  const std::string normal = decimal.SummIn(number, "");
  Require(decimal.CompareIt(normal, number) == 1, "the normal form has the value of the number");
  Require(decimal.SummIn(normal, "") == normal, "the normal form is its own normal form");

  ovn::FuncLibOrvaneLite extreme;
  extreme.MaxDevConv(4);  // a few base-256 places: the fraction is cut, the whole part must stay exact
  const std::string back = extreme.ConvertDecNum(*extreme.ConvertExtNum(number));
  if (!decimal.PointIs(normal))
    Require(decimal.CompareIt(back, number) == 1, "a whole number converts exactly");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ovn::FuncLibDec decimal;
  try {
    ovn::NormalizeDecimalPoint(text);
    const std::string number = ovn::ExpandExponent(text);
    if (decimal.IsNumber(number)) CheckNumber(decimal, number);
  } catch (const ovn::RuntimeError&) {
    // Not a number, or too long: refused the way the engines refuse.
  }
  return 0;
}
