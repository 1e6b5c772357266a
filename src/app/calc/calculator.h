// The calculator controller: the state of the calculator, number entry, the operation buttons, the
// equals action with the number type chosen in the settings, rounding, the memory register and the
// clipboard services. Standard C++ only: the window and the console front end drive it, and it talks back
// through the Platform interfaces.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "decimal/func_lib_dec.h"
#include "extreme/func_lib_orvane_lite.h"
#include "ovnliblt/string_list.h"
#include "platform/platform.h"
#include "registry/settings.h"

namespace ovn {

enum class OperationKind {
  kChained,     // evaluates a pending operation first, then records itself
  kTwoOperand,  // records itself, replacing a pending operation
  kOneOperand,  // as kTwoOperand; the result shows on "="
  kList,        // adds the entry to NumberList
};

struct OperationInfo {
  std::string_view code;
  OperationKind kind;
};

// Every operation code, in the order of the buttons.
std::span<const OperationInfo> Operations();
const OperationInfo* FindOperation(std::string_view code);

// The button a typed character stands for: "0".."9", ".", an operation code ("PLUS", "MINUS", "MUCH",
// "DEV", "STEP", "RAD"), "CIRCLE" or "EQUALS"; "" when the character stands for none (Enter and "," too).
std::string_view ButtonForKey(char typed);

// The texts shown to the user.
inline constexpr std::string_view kCalculationErrorTitle = "Ошибка вычисления!";
inline constexpr std::string_view kMachineDoubleOverflow =
    "Привышен лимит на обычное число, используйте экстремальное число!";
std::string_view MessageForError(ErrorNumber number);

// Whether the number type computes the operation: machine doubles (type 0) only the six basic ones; "="
// with nothing pending computes nothing and always succeeds.
bool Computes(std::string_view code, std::int32_t type);

// What a person sees, copies or saves of a number text: the engines' empty zero and the empty entry as
// "0", and a "0" before a leading point (".5" as "0.5", "-.5" as "-0.5").
std::string ShownNumber(std::string_view number);

// One evaluation of the pending operation, taken from the calculator's state by BeginEvaluation and
// computed by Compute, which may run on another thread while the window waits.
struct Evaluation {
  std::string code;
  std::string first;
  std::string second;
  std::int32_t type = 1;
  std::optional<std::string> result;  // nothing when the code computes nothing with this type
  std::optional<std::string> error;   // the message for the user when the evaluation failed
};

class Calculator {
 public:
  Calculator(Settings& settings, Platform& platform);
  Calculator(const Calculator&) = delete;
  Calculator& operator=(const Calculator&) = delete;

  // ---- State (the open/save and memory-list windows read and write it too) ----
  std::string CurrentNumber;
  std::string FirstOperand;
  std::string SecondOperand;
  std::string OperationCode;
  std::string MemoryValue;
  bool NewNumber = false;
  bool Calculating() const noexcept { return calculating_.load(); }
  // The operands of the list operations; created on first use.
  StringList& NumberList();
  // "M+" after an addition to memory, "M-" after a subtraction, "" when the register was cleared.
  const std::string& MemoryIndicator() const noexcept { return memory_indicator_; }

  // ---- Number entry ----
  void PressDigit(char digit);
  void PressPoint();
  void PressSign();      // "+/-"
  void PressBack();      // "<-"
  void PressClear();     // "C": the entry and the list; the pending operation stays
  void PressClearAll();  // "CE": also drops the pending operation

  // ---- Operations, synchronously (the console front end, the tests) ----
  void PressOperation(std::string_view code);
  void Equals();

  // ---- Operations in pieces, for a window that evaluates off its thread ----
  // Whether pressing this operation's button evaluates the pending operation first.
  bool EvaluatesBeforeRecording(std::string_view code) const;
  // Records the operation without evaluating anything.
  void RecordOperation(std::string_view code);
  Evaluation BeginEvaluation();
  // Computes the evaluation; touches nothing of the calculator's state but the engines and NumberList.
  void Compute(Evaluation& evaluation);
  // Shows the result, or reports the failure and leaves the operation pending.
  void FinishEvaluation(const Evaluation& evaluation);
  // Makes the running computation stop at its next yield point (it then fails with error 18).
  void RequestCancel() noexcept { cancel_requested_.store(true); }
  // Progress of the running computation, 0 to 1000; safe to call from any thread.
  float Progress() const noexcept;

  // ---- Rounding, memory, services ----
  void Round();  // asks for the place through the input service
  void MemoryPlus();
  void MemoryMinus();
  void MemoryRecall();
  void MemoryClear();
  void Copy();
  void Paste();
  // The whole part of the entry in hexadecimal, put on the clipboard with a message; returns it.
  std::string Hex();
  // Carries out a waiting unit-conversion request (three lines: from index, to index, kind) and empties
  // the file; an empty or missing file changes nothing.
  void ProcessUnitRequest(const std::filesystem::path& request_file);

  FuncLibDec& DecimalEngine() noexcept { return decimal_; }
  FuncLibOrvaneLite& ExtremeEngine() noexcept { return extreme_; }
  const Settings& settings() const noexcept { return settings_; }

 private:
  void StartNewNumberIfNeeded();
  void ReportError(const std::string& message);
  std::optional<std::string> ComputeMachineDouble(const Evaluation& evaluation) const;
  std::optional<std::string> ComputeDecimal(const Evaluation& evaluation);
  std::optional<std::string> ComputeExtreme(const Evaluation& evaluation);
  void RequireNumbers(const OperationInfo& info, const Evaluation& evaluation);
  void CheckCancel();

  Settings& settings_;
  Platform& platform_;
  FuncLibDec decimal_;
  FuncLibOrvaneLite extreme_;
  std::shared_ptr<StringList> number_list_;
  std::string memory_indicator_;
  std::atomic<bool> calculating_{false};
  std::atomic<bool> cancel_requested_{false};
};

}  // namespace ovn
