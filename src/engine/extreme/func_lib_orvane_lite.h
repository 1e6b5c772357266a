// FuncLibOrvaneLite: the extreme-number engine. Operands are decimal texts (FirstNum, SecondNum, or a list);
// inside they become ExtremNum objects, signed numbers whose integer and fraction parts are strings of
// base-256 digits; results come back as decimal text. Sums, differences, products, remainders, whole powers,
// combinatorics, GCD/LCM and the conversions are exact; quotients, roots and logarithms are the true value
// cut off toward zero after a given number of base-256 fraction digits, so every digit is true.
// Failures raise ovn::RuntimeError (5 no result, 6 too long, 11 zero divisor, 13 not a number,
// 18 cancelled); a failed calculation never comes back as zero.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "decimal/func_lib_dec.h"
#include "extreme/extreme_value.h"
#include "ovnliblt/extrem_num.h"
#include "ovnliblt/extrem_num_list.h"
#include "ovnliblt/runtime_error.h"
#include "ovnliblt/string_list.h"

namespace ovn {

class FuncLibOrvaneLite : public OperationFlags {
 public:
  // The longest decimal text, and the longest digit string, the engine accepts or returns.
  static constexpr std::size_t kMaxTextLength = 32767;
  // ConvertDecNum writes at most this many decimal fraction digits (cut off, not rounded).
  static constexpr std::size_t kMaxDecimalPlaces = 1001;

  FuncLibOrvaneLite();

  // Operands of the public operations, decimal texts ("" is zero).
  const std::string& FirstNum() const noexcept { return first_num_; }
  void FirstNum(std::string vData) { first_num_ = std::move(vData); }
  const std::string& SecondNum() const noexcept { return second_num_; }
  void SecondNum(std::string vData) { second_num_ = std::move(vData); }

  // Precision properties, counted in base-256 fraction digits: plain get/set pairs, no checking.
  // DevExact: the divisions the engine runs on its own; RadExact: the roots it takes on its own.
  std::int16_t DevExact() const noexcept { return dev_exact_; }
  void DevExact(std::int16_t vData) noexcept { dev_exact_ = vData; }
  std::int16_t RadExact() const noexcept { return rad_exact_; }
  void RadExact(std::int16_t vData) noexcept { rad_exact_ = vData; }
  // Stored and returned only: LogarifmIn takes its precision as an argument.
  std::int16_t LogExact() const noexcept { return log_exact_; }
  void LogExact(std::int16_t vData) noexcept { log_exact_ = vData; }
  // The setting: a decimal fraction becomes at most MaxDevConv + 1 base-256 fraction digits.
  std::int16_t MaxDevConv() const noexcept { return max_dev_conv_; }
  void MaxDevConv(std::int16_t vData) noexcept { max_dev_conv_ = vData; }
  // Progress of the running operation in thousandths; safe to read from another thread.
  std::int16_t StepCalculate() const noexcept { return step_calculate_.load(std::memory_order_relaxed); }
  void StepCalculate(std::int16_t vData) noexcept { step_calculate_.store(vData, std::memory_order_relaxed); }

  // Called at the engine's yield points; it may throw RuntimeError(kCancelled) to stop the calculation.
  // With no hook set nothing is called.
  void SetYieldHook(std::function<void()> hook) { yield_hook_ = std::move(hook); }

  // ---- Conversions ----
  // Decimal text to a new ExtremNum: whole digits exactly (zero is one zero digit), a fraction as at most
  // MaxDevConv + 1 base-256 digits, cut off, fewer when the expansion ends sooner.
  std::shared_ptr<ExtremNum> ConvertExtNum(std::string_view Num);
  // ExtremNum to decimal text: "0" for zero, "-" only before a non-zero value, at most kMaxDecimalPlaces
  // fraction digits (cut off) without trailing zeros.
  std::string ConvertDecNum(const ExtremNum& e);
  std::shared_ptr<ExtremNumList> ConvertExtremNumList(const StringList& List);
  // The digit string without its leading zero digits; zeros only give "".
  std::string DelNullString(std::string_view s) const;
  // Drop the fraction (OnlyInt) or the integer part (OnlyDevided) of e itself; e is returned.
  std::shared_ptr<ExtremNum> OnlyInt(std::shared_ptr<ExtremNum> e) const;
  std::shared_ptr<ExtremNum> OnlyDevided(std::shared_ptr<ExtremNum> e) const;
  // A double to a new ExtremNum: the whole part exactly, the fraction until it ends (a double's binary
  // fraction always does). Infinity or NaN raises error 5.
  std::shared_ptr<ExtremNum> ConvertExtNumBin(double x) const;

  // ---- Single extreme numbers ----
  // Reverses the sign of e itself; e is returned.
  std::shared_ptr<ExtremNum> ASign(std::shared_ptr<ExtremNum> e) const;
  // Normal form of e itself (no leading integer or trailing fraction zero digits); when both strings are
  // empty a new zero object is returned and e is left alone.
  std::shared_ptr<ExtremNum> DelNull(std::shared_ptr<ExtremNum> e) const;
  // 0 when a < b, 1 when equal, 2 when a > b, by value (negatives too); the operands are not changed.
  std::uint8_t CompareIt(const ExtremNum& a, const ExtremNum& b, bool ResumeCalc = false);

  // ---- Public operations: operands FirstNum and SecondNum, result decimal text ----
  std::string SummIn();
  std::string MinusIn();
  std::string MuchIn();
  // FirstNum / SecondNum cut off after Exact base-256 fraction digits (DevExact when exactly one operand is
  // negative); a divisor of exactly 1 returns the dividend unchanged. Zero divisor: error 11.
  std::string DevideIn(std::int16_t Exact);
  // FirstNum - SecondNum * trunc(FirstNum / SecondNum): the dividend's sign, exact. Zero divisor: error 11.
  std::string ModIn();
  // FirstNum to the power SecondNum.
  std::string StepIn();
  // The SecondNum-th root of FirstNum, cut off after Exact base-256 fraction digits.
  std::string RadicalIn(std::int16_t Exact);
  // FirstNum rounded to Digits base-256 fraction digits (half = 128 rounds up).
  std::string CircleIn(std::int16_t Digits);
  // The logarithm of FirstNum to the base SecondNum, cut off after Exact base-256 fraction digits.
  std::string LogarifmIn(std::int16_t Exact);
  // The power tower of FirstNum of height SecondNum.
  std::string GiperStepIn();
  std::shared_ptr<ExtremNum> GiperStepInBin(const ExtremNum& base, const ExtremNum& height,
                                            bool ResumeCalc = false);
  // Num! for a whole Num >= 0.
  std::string FactorialIn(std::string_view Num, bool ResumeCalc = false);
  // Num!! = Num * (Num - 2) * ... for a whole Num >= 0.
  std::string FactorialDBLIn(std::string_view Num, bool ResumeCalc = false);
  std::shared_ptr<ExtremNum> FactorialDBLInBin(const ExtremNum& n, bool ResumeCalc = false);
  // Combinations and arrangements of SecondNum out of FirstNum.
  std::string CountCombinationIn();
  std::string PerestIn();

  // ---- Operations on a list of decimal texts ----
  std::string MidIn(const StringList& List);
  std::string GeoMIDIn(const StringList& List);
  std::string MultinomIn(const StringList& List);
  // Progressions: the three operands are items 1 to 3 of the list; another count raises error 5.
  std::string ArifmeticProgrecyNum(const StringList& List);
  std::string GeometricProgrecyNum(const StringList& List);
  std::string ArifmeticProgrecySum(const StringList& List);
  std::string GeometricProgrecySum(const StringList& List);
  std::string CalcNOCIn(const StringList& List);
  std::string CalcNODIn(const StringList& List);
  std::shared_ptr<ExtremNum> CalcNODInBin(const ExtremNumList& List, bool ResumeCalc = false);

 private:
  // Shared by the operation files: the common shape is Operand(...) for each input, the worker on
  // extreme::ExtremeValue, then Result(...).
  // The value of a decimal operand as ConvertExtNum reads it; raises 6 for a text past kMaxTextLength
  // and 13 for a text that is not a number.
  extreme::ExtremeValue Operand(std::string_view text, const char* source);
  // ConvertDecNum of the value, checked against kMaxTextLength (error 6).
  std::string Result(const extreme::ExtremeValue& value, const char* source);
  // The text, or error 6 when it is longer than kMaxTextLength.
  static std::string CheckedLength(std::string text, const char* source);
  // Result(compute(places)) for a compute(p) that gives the true value cut off toward zero after p places
  // (or exact): when far more places are asked for than the text shows, only those that decide the text are
  // computed, unless the value lies too near a text's last place to tell.
  std::string ResultCutAt(std::size_t places, const char* source,
                          const std::function<extreme::ExtremeValue(std::size_t)>& compute);
  // The value of each item of the list, in order.
  // While flag is set, reading them publishes 0 to read_end thousandths: a long list of long fractions
  // read to many places takes seconds before the operation itself starts.
  std::vector<extreme::ExtremeValue> Operands(const StringList& List, const char* source, bool flag = false,
                                              double read_end = 0.0);
  void Yield() const;
  void Progress(bool flag, double thousandths);
  // A kernel hook that yields and, while flag is set, publishes from..to thousandths of progress.
  kernel::StepHook StepHookFor(bool flag, double from = 0.0, double to = 1000.0);
  [[noreturn]] static void Raise(ErrorNumber number, const char* source, const char* description);

  std::string first_num_;
  std::string second_num_;
  std::int16_t dev_exact_ = 0;
  std::int16_t rad_exact_ = 0;
  std::int16_t log_exact_ = 0;
  std::int16_t max_dev_conv_ = 12;
  std::atomic<std::int16_t> step_calculate_{0};
  std::function<void()> yield_hook_;
  // Recognises the operand texts the way the decimal engine does.
  FuncLibDec decimal_;
};

}  // namespace ovn
