// The closed formulas of arithmetic and geometric progressions, evaluated with the engine's own exact
// operations in the order the operation has always used, so the result has the form of the last one
// (SummIn's, MuchIn's or DevideIn's). The flags each formula sets stay set after the call, as they always
// have.
#include <string>

#include "decimal/func_lib_dec.h"

namespace ovn {
namespace {

// The three operands a progression operation collects; any other count has no result.
void RequireThreeItems(const StringList& List, const char* source) {
  if (List.Count() != 3) {
    throw RuntimeError(ErrorNumber::kInvalidArgument, std::string("FuncLibDec.") + source,
                       "a progression takes exactly three numbers");
  }
}

}  // namespace

// a + d (n - 1) for the items a, d, n.
std::string FuncLibDec::ArifmeticProgrecyNum(const StringList& List, bool /*ResumeCalc*/) {
  RequireThreeItems(List, "ArifmeticProgrecyNum");
  const std::string steps = MinusIn(List.Item(3), "1");
  iMuch = true;
  const std::string offset = MuchIn(List.Item(2), steps);
  return SummIn(List.Item(1), offset);
}

// b q^(n - 1) for the items b, q, n.
std::string FuncLibDec::GeometricProgrecyNum(const StringList& List, bool /*ResumeCalc*/) {
  RequireThreeItems(List, "GeometricProgrecyNum");
  const std::string steps = MinusIn(List.Item(3), "1");
  iStep = true;
  const std::string factor = StepIn(List.Item(2), steps);
  return MuchIn(List.Item(1), factor);
}

// (a + l) n / 2 for the items a, l, n.
std::string FuncLibDec::ArifmeticProgrecySum(const StringList& List, bool /*ResumeCalc*/) {
  RequireThreeItems(List, "ArifmeticProgrecySum");
  const std::string ends = SummIn(List.Item(1), List.Item(2));
  iMuch = true;
  const std::string twice = MuchIn(ends, List.Item(3));
  iDev = true;
  return DevideIn(twice, "2", DevExact());
}

// (l q - b) / (q - 1) for the items b, l, q.
std::string FuncLibDec::GeometricProgrecySum(const StringList& List, bool /*ResumeCalc*/) {
  RequireThreeItems(List, "GeometricProgrecySum");
  std::string numerator = MuchIn(List.Item(2), List.Item(3));
  numerator = MinusIn(numerator, List.Item(1));
  const std::string denominator = MinusIn(List.Item(3), "1");
  iDev = true;
  // A ratio of 1 leaves q - 1 zero, and DevideIn refuses the zero divisor with error 11.
  return DevideIn(numerator, denominator, DevExact());
}

}  // namespace ovn
