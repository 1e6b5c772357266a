#include "calc/calculator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <limits>
#include <utility>

#include "decimal/double_text.h"
#include "files/whole_file.h"
#include "global/global.h"
#include "ovnliblt/component.h"

namespace ovn {
namespace {

constexpr std::array kOperations = {
    OperationInfo{"PLUS", OperationKind::kChained},        OperationInfo{"MINUS", OperationKind::kChained},
    OperationInfo{"MUCH", OperationKind::kChained},        OperationInfo{"DEV", OperationKind::kChained},
    OperationInfo{"STEP", OperationKind::kChained},        OperationInfo{"RAD", OperationKind::kChained},
    OperationInfo{"MOD", OperationKind::kTwoOperand},      OperationInfo{"LOGARIFM", OperationKind::kTwoOperand},
    OperationInfo{"GIPERSTEP", OperationKind::kTwoOperand}, OperationInfo{"CCONBIN", OperationKind::kTwoOperand},
    OperationInfo{"PEREST", OperationKind::kTwoOperand},   OperationInfo{"AP_RZ", OperationKind::kTwoOperand},
    OperationInfo{"GP_RZ", OperationKind::kTwoOperand},    OperationInfo{"LN", OperationKind::kOneOperand},
    OperationInfo{"EXPONENTA", OperationKind::kOneOperand}, OperationInfo{"FACTOR", OperationKind::kOneOperand},
    OperationInfo{"FACTORDBL", OperationKind::kOneOperand}, OperationInfo{"MID", OperationKind::kList},
    OperationInfo{"GMID", OperationKind::kList},           OperationInfo{"MULTINOM", OperationKind::kList},
    OperationInfo{"NOD", OperationKind::kList},            OperationInfo{"NOC", OperationKind::kList},
    OperationInfo{"AP_NUM", OperationKind::kList},         OperationInfo{"GP_NUM", OperationKind::kList},
    OperationInfo{"AP_SUM", OperationKind::kList},         OperationInfo{"GP_SUM", OperationKind::kList},
    OperationInfo{"MIN", OperationKind::kTwoOperand},      OperationInfo{"MAX", OperationKind::kTwoOperand},
};

constexpr std::string_view kRoundPrompt = "Введите степень округления";
constexpr std::string_view kRoundTitle = "Степень:";
constexpr std::string_view kHexMessage = "Результат преобразования в 16-ричное число скопирован в буфер обмена";
constexpr std::string_view kHexTitle = "Результат вычисления";
constexpr std::string_view kPasteTitle = "Ошибка вставки!";
constexpr std::string_view kPasteNotANumber = "В буфере обмена нет числа.";

// Sets an engine flag for the duration of one call.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// Empties the engine's record of the outermost power when the power ends, as it must between operations.
class PowerRecordScope {
 public:
  explicit PowerRecordScope(FuncLibDec& engine) : engine_(engine) {}
  ~PowerRecordScope() { engine_.iStepFS.clear(); }
  PowerRecordScope(const PowerRecordScope&) = delete;
  PowerRecordScope& operator=(const PowerRecordScope&) = delete;

 private:
  FuncLibDec& engine_;
};

template <class Call>
std::string WithFlag(bool& flag, Call&& call) {
  FlagScope scope(flag);
  return call();
}

// The machine-double text of a result: 15 significant digits, "." as the point, no exponent part.
std::string MachineDoubleText(double value) {
  std::string text = DoubleToText(value);
  return ExpandExponent(NormalizeDecimalPoint(text));
}

std::int16_t ToInt16Clamped(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::nearbyint(value);  // half to even, as the platform converts
  return static_cast<std::int16_t>(std::clamp(rounded, static_cast<double>(std::numeric_limits<std::int16_t>::min()),
                                              static_cast<double>(std::numeric_limits<std::int16_t>::max())));
}

// MIN and MAX by the comparison code (0 first smaller, 1 equal, 2 first greater); equal operands leave the
// entry as it is.
std::optional<std::string> PickMinOrMax(std::string_view code, std::uint8_t order, const std::string& first,
                                        const std::string& second) {
  if (order == 1) return std::nullopt;
  const bool first_is_smaller = order == 0;
  return (code == "MIN") == first_is_smaller ? first : second;
}

}  // namespace

std::span<const OperationInfo> Operations() { return kOperations; }

const OperationInfo* FindOperation(std::string_view code) {
  const auto found = std::find_if(kOperations.begin(), kOperations.end(),
                                  [code](const OperationInfo& info) { return info.code == code; });
  return found == kOperations.end() ? nullptr : &*found;
}

std::string_view ButtonForKey(char typed) {
  static constexpr std::string_view kDigits = "0123456789";
  if (const std::size_t digit = kDigits.find(typed); digit != std::string_view::npos) {
    return kDigits.substr(digit, 1);
  }
  switch (typed) {
    case '.': return ".";
    case '+': return "PLUS";
    case '-': return "MINUS";
    case '*': case 'x': case 'X': return "MUCH";
    case '/': return "DEV";
    case '^': return "STEP";
    case '\\': return "RAD";
    case '~': return "CIRCLE";
    case '=': return "EQUALS";
    default: return "";
  }
}

std::string_view MessageForError(ErrorNumber number) {
  switch (number) {
    case ErrorNumber::kInvalidArgument: return "Операция не определена для этих чисел!";
    case ErrorNumber::kOverflow: return "Число длиннее 32767 символов!";
    case ErrorNumber::kIndexOutOfRange: return "Индекс вне допустимого диапазона!";
    case ErrorNumber::kDivisionByZero: return "Деление на ноль!";
    case ErrorNumber::kTypeMismatch: return "Введено неправильное число!";
    case ErrorNumber::kCancelled: return "Вычисление прервано!";
  }
  return "Операция не определена для этих чисел!";
}

bool Computes(std::string_view code, std::int32_t type) {
  static constexpr std::array<std::string_view, 6> kMachineDoubleCodes = {"PLUS", "MINUS", "MUCH",
                                                                          "DEV",  "STEP",  "RAD"};
  if (type != 0 || code.empty()) return true;
  return std::find(kMachineDoubleCodes.begin(), kMachineDoubleCodes.end(), code) != kMachineDoubleCodes.end();
}

std::string ShownNumber(std::string_view number) {
  if (number.empty()) return "0";
  std::string shown(number);
  const std::size_t sign = number.starts_with('-') ? 1 : 0;
  if (number.substr(sign).starts_with('.')) shown.insert(sign, "0");
  return shown;
}

Calculator::Calculator(Settings& settings, Platform& platform) : settings_(settings), platform_(platform) {
  decimal_.SetYieldHook([this] { CheckCancel(); });
  extreme_.SetYieldHook([this] { CheckCancel(); });
}

// The engines' yield points: a cancel request stops the running computation there.
void Calculator::CheckCancel() {
  if (cancel_requested_.exchange(false)) {
    throw RuntimeError(ErrorNumber::kCancelled, "Calculator", "the user cancelled the calculation");
  }
}

StringList& Calculator::NumberList() {
  if (!number_list_) number_list_ = CreateObjectAs<StringList>(StringList::kClassName);
  return *number_list_;
}

// ---- Number entry ----

void Calculator::StartNewNumberIfNeeded() {
  if (!NewNumber) return;
  CurrentNumber.clear();
  NewNumber = false;
}

void Calculator::PressDigit(char digit) {
  StartNewNumberIfNeeded();
  CurrentNumber += digit;
}

void Calculator::PressPoint() {
  StartNewNumberIfNeeded();
  CurrentNumber += '.';
}

void Calculator::PressSign() {
  if (CurrentNumber.starts_with('-')) {
    CurrentNumber.erase(0, 1);
  } else {
    CurrentNumber.insert(0, "-");
  }
}

void Calculator::PressBack() {
  if (!CurrentNumber.empty()) CurrentNumber.pop_back();
}

void Calculator::PressClear() {
  NumberList().Clear();
  CurrentNumber.clear();
}

void Calculator::PressClearAll() {
  OperationCode.clear();
  CurrentNumber.clear();
  NumberList().Clear();
}

// ---- Operations ----

void Calculator::PressOperation(std::string_view code) {
  if (EvaluatesBeforeRecording(code)) Equals();
  RecordOperation(code);
}

void Calculator::Equals() {
  Evaluation evaluation = BeginEvaluation();
  Compute(evaluation);
  FinishEvaluation(evaluation);
}

bool Calculator::EvaluatesBeforeRecording(std::string_view code) const {
  const OperationInfo* info = FindOperation(code);
  return info && info->kind == OperationKind::kChained && !OperationCode.empty();
}

void Calculator::RecordOperation(std::string_view code) {
  const OperationInfo* info = FindOperation(code);
  if (!info) return;
  if (info->kind == OperationKind::kList) {
    try {
      NumberList().Add(CurrentNumber);
    } catch (const RuntimeError& error) {
      ReportError(std::string(MessageForError(error.Number())));
      return;
    }
  } else {
    FirstOperand = CurrentNumber;
  }
  OperationCode = info->code;
  NewNumber = true;
}

Evaluation Calculator::BeginEvaluation() {
  // A number typed after the last press of a list button joins the list, as one more press would add it.
  const OperationInfo* pending = FindOperation(OperationCode);
  if (pending && pending->kind == OperationKind::kList && !NewNumber) RecordOperation(OperationCode);
  calculating_.store(true);
  cancel_requested_.store(false);
  // The bar starts empty: the engines keep the last operation's progress until the next one writes.
  decimal_.StepCalculate(0.0F);
  extreme_.StepCalculate(0);
  SecondOperand = CurrentNumber;
  Evaluation evaluation;
  evaluation.code = OperationCode;
  evaluation.first = FirstOperand;
  evaluation.second = SecondOperand;
  evaluation.type = settings_.TypeNum;
  return evaluation;
}

void Calculator::Compute(Evaluation& evaluation) {
  if (!Computes(evaluation.code, evaluation.type)) {
    evaluation.error = std::string(MessageForError(ErrorNumber::kInvalidArgument));
    return;
  }
  try {
    switch (evaluation.type) {
      case 0: evaluation.result = ComputeMachineDouble(evaluation); break;
      case 1: evaluation.result = ComputeDecimal(evaluation); break;
      case 2: evaluation.result = ComputeExtreme(evaluation); break;
      default: break;
    }
  } catch (const RuntimeError& error) {
    evaluation.error = evaluation.type == 0 ? std::string(kMachineDoubleOverflow)
                                            : std::string(MessageForError(error.Number()));
  } catch (const std::exception&) {
    evaluation.error = std::string(MessageForError(ErrorNumber::kInvalidArgument));
  }
}

void Calculator::FinishEvaluation(const Evaluation& evaluation) {
  calculating_.store(false);
  if (evaluation.error) {
    // The operation stays pending: "=" repeats it, "CE" drops it.
    ReportError(*evaluation.error);
    return;
  }
  if (evaluation.result) CurrentNumber = *evaluation.result;
  OperationCode.clear();
  NumberList().Clear();
}

float Calculator::Progress() const noexcept {
  switch (settings_.TypeNum) {
    case 1: return decimal_.StepCalculate();
    // Type 2 computes ln and e^x with the decimal engine; only the running engine's progress moves.
    case 2: return std::max(static_cast<float>(extreme_.StepCalculate()), decimal_.StepCalculate());
    default: return 0.0F;
  }
}

void Calculator::ReportError(const std::string& message) {
  platform_.messages.Show(message, std::string(kCalculationErrorTitle), MessageIcon::kCritical);
}

// Machine doubles compute the six basic operations; every result, and the entry when nothing was
// computed, is written without an exponent part.
std::optional<std::string> Calculator::ComputeMachineDouble(const Evaluation& evaluation) const {
  const std::string& code = evaluation.code;
  const double f = TextToDouble(evaluation.first);
  const double s = TextToDouble(evaluation.second);
  double value;
  if (code == "PLUS") {
    value = f + s;
  } else if (code == "MINUS") {
    value = f - s;
  } else if (code == "MUCH") {
    value = f * s;
  } else if (code == "DEV") {
    value = f / s;
  } else if (code == "STEP") {
    value = std::pow(f, s);
  } else if (code == "RAD") {
    // pow(1, 1 / 0) would give 1; a root of degree zero does not exist.
    if (s == 0.0) throw RuntimeError(ErrorNumber::kInvalidArgument, "Calculator", "root of degree 0");
    value = std::pow(f, 1.0 / s);
  } else {
    std::string entry = evaluation.second;
    return ExpandExponent(NormalizeDecimalPoint(entry));
  }
  return MachineDoubleText(value);  // raises for an infinite or undefined value
}

// An operand that is not a number is refused before any engine runs.
void Calculator::RequireNumbers(const OperationInfo& info, const Evaluation& evaluation) {
  auto require = [this](const std::string& operand) {
    if (!decimal_.IsNumber(operand)) throw RuntimeError(ErrorNumber::kTypeMismatch, "Calculator", "not a number");
  };
  if (info.kind == OperationKind::kList) {
    const StringList& list = NumberList();
    for (int i = 1; i <= list.Count(); ++i) require(list.Item(static_cast<std::int16_t>(i)));
  } else {
    require(evaluation.first);
    if (info.kind != OperationKind::kOneOperand) require(evaluation.second);
  }
}

std::optional<std::string> Calculator::ComputeDecimal(const Evaluation& evaluation) {
  const OperationInfo* info = FindOperation(evaluation.code);
  if (!info) return std::nullopt;
  RequireNumbers(*info, evaluation);
  // The operations that divide or take roots inside follow the user's precision.
  FuncLibDec& e = decimal_;
  e.DevExact(settings_.DevCount);
  e.RadExact(settings_.RadCount);
  e.LogExact(settings_.LogCount);
  const std::string& code = evaluation.code;
  const std::string& f = evaluation.first;
  const std::string& s = evaluation.second;
  const StringList& list = NumberList();

  if (code == "PLUS") return WithFlag(e.iSumm, [&] { return e.SummIn(f, s); });
  if (code == "MINUS" || code == "AP_RZ") return WithFlag(e.iMinus, [&] { return e.MinusIn(f, s); });
  if (code == "MUCH") return WithFlag(e.iMuch, [&] { return e.MuchIn(f, s); });
  if (code == "DEV" || code == "GP_RZ") return WithFlag(e.iDev, [&] { return e.DevideIn(f, s, settings_.DevCount); });
  if (code == "STEP" || code == "EXPONENTA") {
    FlagScope flag(code == "STEP" && !e.PointRight(s).empty() ? e.iStepDec : e.iStep);
    const PowerRecordScope record(e);
    return code == "STEP" ? e.StepIn(f, s) : e.ExponentIn(f, settings_.RadCount);
  }
  if (code == "RAD") return WithFlag(e.iRadical, [&] { return e.RadicalIn(f, s, settings_.RadCount); });
  if (code == "LOGARIFM") return WithFlag(e.iLog, [&] { return e.LogarifmIn(f, s, settings_.LogCount); });
  if (code == "LN") return WithFlag(e.iLog, [&] { return e.NaturalLogIn(f, settings_.LogCount); });
  if (code == "MOD") return WithFlag(e.iMod, [&] { return e.ModIn(f, s); });
  if (code == "GIPERSTEP") return WithFlag(e.iGiperStep, [&] { return e.GiperStepIn(f, s); });
  if (code == "MULTINOM") return WithFlag(e.iMultinom, [&] { return e.MultinomIn(list); });
  if (code == "FACTOR") return WithFlag(e.iFactorial, [&] { return e.FactorialIn(f); });
  if (code == "FACTORDBL") return WithFlag(e.iFactorDBL, [&] { return e.FactorialDBLIn(f); });
  if (code == "CCONBIN") return e.CountCombinationIn(f, s);
  if (code == "AP_NUM") return e.ArifmeticProgrecyNum(list);
  if (code == "GP_NUM") return e.GeometricProgrecyNum(list);
  if (code == "AP_SUM") return e.ArifmeticProgrecySum(list);
  if (code == "GP_SUM") return e.GeometricProgrecySum(list);
  if (code == "PEREST") return e.PerestIn(f, s);
  if (code == "GMID") return e.GeoMIDIn(list);
  if (code == "NOD") return WithFlag(e.ipNOD, [&] { return e.CalcNODIn(list); });
  if (code == "NOC") return e.CalcNOCIn(list);
  if (code == "MID") return e.MidIn(list);
  return PickMinOrMax(code, e.CompareIt(f, s), f, s);
}

std::optional<std::string> Calculator::ComputeExtreme(const Evaluation& evaluation) {
  const OperationInfo* info = FindOperation(evaluation.code);
  if (!info) return std::nullopt;
  RequireNumbers(*info, evaluation);
  FuncLibOrvaneLite& e = extreme_;
  // Counted in base-256 digits here, as DevideIn's argument is.
  e.DevExact(settings_.DevCount);
  e.RadExact(settings_.RadCount);
  e.MaxDevConv(settings_.MaxDevConv);
  const std::string& code = evaluation.code;
  const std::string& f = evaluation.first;
  const std::string& s = evaluation.second;
  e.FirstNum(f);
  e.SecondNum(s);
  const StringList& list = NumberList();

  if (code == "PLUS") return WithFlag(e.iSumm, [&] { return e.SummIn(); });
  if (code == "MINUS" || code == "AP_RZ") return WithFlag(e.iMinus, [&] { return e.MinusIn(); });
  if (code == "MUCH") return WithFlag(e.iMuch, [&] { return e.MuchIn(); });
  if (code == "DEV" || code == "GP_RZ") return WithFlag(e.iDev, [&] { return e.DevideIn(settings_.DevCount); });
  if (code == "STEP") return WithFlag(e.iStep, [&] { return e.StepIn(); });
  if (code == "RAD") return WithFlag(e.iRadical, [&] { return e.RadicalIn(settings_.RadCount); });
  if (code == "LOGARIFM") return WithFlag(e.iLog, [&] { return e.LogarifmIn(settings_.LogCount); });
  if (code == "LN" || code == "EXPONENTA") {
    // This type takes the entry at "=" (the second operand) as the number. The true digits of ln and of
    // e^x are the same in both engines; the decimal one brackets e to the places they need.
    Evaluation decimal_evaluation = evaluation;
    decimal_evaluation.first = s;
    return ComputeDecimal(decimal_evaluation);
  }
  if (code == "MOD") return WithFlag(e.iMod, [&] { return e.ModIn(); });
  if (code == "GIPERSTEP") return WithFlag(e.iGiperStep, [&] { return e.GiperStepIn(); });
  if (code == "FACTOR") return WithFlag(e.iFactorial, [&] { return e.FactorialIn(f); });
  if (code == "FACTORDBL") return WithFlag(e.iFactorDBL, [&] { return e.FactorialDBLIn(f); });
  if (code == "MULTINOM") return WithFlag(e.iMultinom, [&] { return e.MultinomIn(list); });
  if (code == "CCONBIN") return e.CountCombinationIn();
  if (code == "PEREST") return e.PerestIn();
  if (code == "NOD") return WithFlag(e.ipNOD, [&] { return e.CalcNODIn(list); });
  if (code == "NOC") return WithFlag(e.ipNOC, [&] { return e.CalcNOCIn(list); });
  if (code == "MID") return WithFlag(e.iSumm, [&] { return e.MidIn(list); });
  if (code == "GMID") return WithFlag(e.iRadical, [&] { return e.GeoMIDIn(list); });
  if (code == "AP_NUM") return e.ArifmeticProgrecyNum(list);
  if (code == "GP_NUM") return e.GeometricProgrecyNum(list);
  if (code == "AP_SUM") return e.ArifmeticProgrecySum(list);
  if (code == "GP_SUM") return e.GeometricProgrecySum(list);
  return PickMinOrMax(code, e.CompareIt(*e.ConvertExtNum(f), *e.ConvertExtNum(s)), f, s);
}

// ---- Rounding and memory ----

void Calculator::Round() {
  const std::optional<std::string> answer =
      platform_.input.Ask(std::string(kRoundPrompt), std::string(kRoundTitle), "0");
  try {
    // A degree past a double's range is refused (error 6) and told like an engine error; one past 16 bits
    // is clamped.
    std::int16_t places = ToInt16Clamped(TextToDouble(answer.value_or("")));
    CurrentNumber = decimal_.CircleIn(CurrentNumber, places);
  } catch (const RuntimeError& error) {
    ReportError(std::string(MessageForError(error.Number())));
    return;
  }
  NewNumber = true;
}

void Calculator::MemoryPlus() {
  if (CurrentNumber.empty()) return;
  try {
    MemoryValue = decimal_.SummIn(CurrentNumber, MemoryValue);
  } catch (const RuntimeError& error) {
    ReportError(std::string(MessageForError(error.Number())));
    return;
  }
  memory_indicator_ = "M+";
}

void Calculator::MemoryMinus() {
  if (CurrentNumber.empty()) return;
  try {
    MemoryValue = decimal_.MinusIn(MemoryValue, CurrentNumber);
  } catch (const RuntimeError& error) {
    ReportError(std::string(MessageForError(error.Number())));
    return;
  }
  memory_indicator_ = "M-";
}

void Calculator::MemoryRecall() { CurrentNumber = MemoryValue; }

void Calculator::MemoryClear() {
  MemoryValue.clear();
  memory_indicator_.clear();
  NewNumber = true;
}

// ---- Clipboard, hexadecimal, unit requests ----

void Calculator::Copy() {
  platform_.clipboard.SetText(ShownNumber(CurrentNumber));
}

void Calculator::Paste() {
  // Spaces and line ends around a copied number are no part of it.
  const std::string pasted = platform_.clipboard.Text();
  std::string_view text = pasted;
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  text = first == std::string_view::npos ? std::string_view() : text.substr(first);
  text = text.substr(0, text.find_last_not_of(" \t\r\n") + 1);
  if (text.size() > FuncLibDec::kMaxTextLength) {
    platform_.messages.Show(std::string(MessageForError(ErrorNumber::kOverflow)), std::string(kPasteTitle),
                            MessageIcon::kWarning);
  } else if (!decimal_.IsNumber(text)) {
    platform_.messages.Show(std::string(kPasteNotANumber), std::string(kPasteTitle), MessageIcon::kWarning);
  } else {
    CurrentNumber = text;
  }
}

std::string Calculator::Hex() {
  std::string hex;
  try {
    hex = decimal_.ToHex(CurrentNumber);
  } catch (const RuntimeError& error) {
    ReportError(std::string(MessageForError(error.Number())));
    return {};
  }
  platform_.clipboard.SetText(hex);
  platform_.messages.Show(std::string(kHexMessage), std::string(kHexTitle), MessageIcon::kInformation);
  return hex;
}

void Calculator::ProcessUnitRequest(const std::filesystem::path& request_file) {
  constexpr std::uintmax_t kLongestRequest = 64;  // two indexes and a kind, with room to spare
  const FileText request = ReadWholeFile(request_file, kLongestRequest);
  if (request.content.empty()) return;
  // Each request is carried out once: the file is left existing and empty.
  std::ofstream(request_file, std::ios::trunc).close();
  std::vector<std::string_view> lines = SplitLines(request.content);
  lines.resize(3);  // from index, to index, kind
  try {
    CurrentNumber = decimal_.UnitsTrans(CurrentNumber, lines[2], ToInt16Clamped(TextToDouble(lines[0])),
                                        ToInt16Clamped(TextToDouble(lines[1])));
  } catch (const RuntimeError& error) {
    ReportError(std::string(MessageForError(error.Number())));
  }
}

}  // namespace ovn
