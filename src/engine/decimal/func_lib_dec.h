// FuncLibDec: the decimal engine. Numbers are decimal texts (an optional leading "-", digits, at most one
// "."; "" is zero); every method takes texts and returns a text in the form that method promises.
// Results are exact; a quotient is cut off after the requested places, never rounded, so every printed
// digit is true. Failures raise ovn::RuntimeError; a failed calculation never comes back as zero.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "decimal/operation_flags.h"
#include "ovnliblt/runtime_error.h"
#include "ovnliblt/string_list.h"

namespace ovn {
namespace decimal {
struct ScaledNumber;
}

class FuncLibDec : public OperationFlags {
 public:
  // The longest text (and the longest integer part or run of zeros) the engine accepts or returns.
  static constexpr std::size_t kMaxTextLength = 32767;

  FuncLibDec();

  // Precision properties: plain get/set pairs, no checking.
  std::int16_t DevExact() const noexcept { return dev_exact_; }
  void DevExact(std::int16_t vData) noexcept { dev_exact_ = vData; }
  std::int16_t RadExact() const noexcept { return rad_exact_; }
  void RadExact(std::int16_t vData) noexcept { rad_exact_ = vData; }
  std::int16_t LogExact() const noexcept { return log_exact_; }
  void LogExact(std::int16_t vData) noexcept { log_exact_ = vData; }
  // Progress of the running operation in thousandths; safe to read from another thread.
  float StepCalculate() const noexcept { return step_calculate_.load(std::memory_order_relaxed); }
  void StepCalculate(float vData) noexcept { step_calculate_.store(vData, std::memory_order_relaxed); }
  // The whole quotient found by the last ModIn.
  const std::string& ModDevInt() const noexcept { return mod_dev_int_; }
  void ModDevInt(std::string vData) { mod_dev_int_ = std::move(vData); }

  // Called at the engine's yield points; it may throw RuntimeError(kCancelled) to stop the calculation.
  // With no hook set nothing is called.
  void SetYieldHook(std::function<void()> hook) { yield_hook_ = std::move(hook); }

  // The number type the list operations follow: 1 exact decimal, 0 machine doubles.
  std::int16_t iTypeNum = 1;

  // Text functions. They do not validate; texts past kMaxTextLength raise kOverflow.
  std::string DelNull(std::string_view number) const;
  std::string ASign(std::string_view number) const;
  std::string AbsIn(std::string_view number) const;
  bool PointIs(std::string_view number) const;
  std::string PointLeft(std::string_view number) const;
  std::string PointRight(std::string_view number) const;
  bool IsNumber(std::string_view text) const;
  bool IsWord(std::string_view text) const;
  // Trims spaces and turns "," into "."; the caller's variable receives the result too.
  std::string ToPoint(std::string& text) const;

  // Comparison code: 2 when fNum is greater, 1 when equal, 0 when smaller.
  std::uint8_t CompareIt(std::string_view fNum, std::string_view sNum, bool ResumeCalc = false);

  // Sum and difference, normalised: zero is "", no "0" before the point (".5").
  std::string SummIn(std::string_view first, std::string_view second, bool ResumeCalc = false,
                     bool NoDellNull = false);
  std::string MinusIn(std::string_view minuend, std::string_view subtrahend, bool ResumeCalc = false);
  // Product: zero is "0", "0.25" for a positive value below one, "-.25" / "-0.05" for a negative one.
  std::string MuchIn(std::string_view first, std::string_view second, bool ResumeCalc = false);
  // Quotient cut off after the dividend's own places plus at most Exact further places, stopping early
  // when the division comes out even.
  std::string DevideIn(std::string_view dividend, std::string_view divisor, std::int16_t Exact,
                       bool ResumeCalc = false);
  // Remainder with the dividend's sign; ModDevInt receives the quotient truncated toward zero.
  std::string ModIn(std::string_view dividend, std::string_view divisor, bool ResumeCalc = false);
  // Rounds half away from zero to Exact places (negative: to tens, hundreds, ...). A negative Exact is
  // replaced by its magnitude in the caller's variable.
  std::string CircleIn(std::string_view number, std::int16_t& Exact, bool ResumeCalc = false);
  // Turns exponent notation ("1.5E-03") into plain decimal text; other texts come back unchanged.
  std::string ToExtNum(std::string_view text) const;

  // Powers: whole exponents exactly; a negative exponent gives the reciprocal cut off at DevExact places;
  // a fractional exponent gives the true value cut off at RadExact + 1 places. Zero base gives "".
  std::string StepIn(std::string_view Num, std::string_view Stp, bool ResumeCalc = false);
  // The power tower of the base of a whole height; height 0 gives "0".
  std::string GiperStepIn(std::string_view base, std::string_view height, bool ResumeCalc = false);
  // The same tower in machine doubles; 0 when it overflows.
  double GpStep(double Num, std::int16_t GStep, bool unused = false) const;
  // The root of degree Rad, cut off after Exact + 1 places (none when Exact <= 0); an exact root found at
  // its leading digit comes without places.
  std::string RadicalIn(std::string_view Num, std::string_view Rad, std::int16_t Exact, bool ResumeCalc = false);
  // The logarithm of Num to the base LStep, cut off toward zero after Exact places.
  std::string LogarifmIn(std::string_view Num, std::string_view LStep, std::int16_t Exact,
                         bool ResumeCalc = false);
  // ln Num in LogarifmIn's form at Exact places, and e^Num in a fractional power's form at Exact + 1 places;
  // both cut off, every digit true (e is taken to as many places as the result needs).
  std::string NaturalLogIn(std::string_view Num, std::int16_t Exact);
  std::string ExponentIn(std::string_view Num, std::int16_t Exact);

  // Factorials and combinatorics.
  std::string FactorialIn(std::string_view Num, bool ResumeCalc = false);
  std::string FactorialDBLIn(std::string_view Num, bool ResumeCalc = false);
  std::string CountCombinationIn(std::string_view Num, std::string_view Count, bool ResumeCalc = false);
  std::string PerestIn(std::string_view Num, std::string_view Count, bool ResumeCalc = false);
  std::string MultinomIn(const StringList& List, bool ResumeCalc = false);

  // Progressions: the three operands are items 1 to 3 of the list.
  std::string ArifmeticProgrecyNum(const StringList& List, bool ResumeCalc = false);
  std::string GeometricProgrecyNum(const StringList& List, bool ResumeCalc = false);
  std::string ArifmeticProgrecySum(const StringList& List, bool ResumeCalc = false);
  std::string GeometricProgrecySum(const StringList& List, bool ResumeCalc = false);

  // Functions of a list of numbers.
  std::int16_t MinNumIn(const StringList& List, bool ResumeCalc = false);
  std::int16_t MaxNumIn(const StringList& List, bool ResumeCalc = false);
  std::string SummAll(const StringList& List, bool ResumeCalc = false);
  std::string MidIn(const StringList& List);
  std::string GeoMIDIn(const StringList& List, bool ResumeCalc = false);
  std::string CalcNODIn(const StringList& List, bool ResumeCalc = false);
  std::string CalcNOCIn(const StringList& List, bool ResumeCalc = false);

  // The whole part of the number in base 16, without sign.
  std::string ToHex(std::string_view Num);
  // Value expressed in another unit of the same kind ("MASS", "LONG", ...).
  std::string UnitsTrans(std::string_view Value, std::string_view TypeUnit, std::int16_t ixUnitFrom,
                         std::int16_t ixUnitTo);

 private:
  // The logarithm of Num to base (e when base is null), in LogarifmIn's form.
  std::string Logarithm(std::string_view Num, const decimal::ScaledNumber* base, std::int16_t Exact);
  void Yield() const;
  // Raises kOverflow for a text past the length limit and kTypeMismatch for a text that is not a number.
  void RequireNumber(std::string_view operand, const char* source) const;
  void Progress(bool flag, double thousandths);

  std::int16_t dev_exact_ = 12;
  std::int16_t rad_exact_ = 12;
  std::int16_t log_exact_ = 0;
  std::atomic<float> step_calculate_{0.0F};
  std::string mod_dev_int_;
  std::function<void()> yield_hook_;
};

}  // namespace ovn
