#include "console.h"

#include <charconv>
#include <functional>
#include <istream>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "calc/calculator.h"

namespace ovn::cli {
namespace {

// Calculation errors go to standard error and end the run.
class ConsoleMessages : public MessageService {
 public:
  explicit ConsoleMessages(std::ostream& err) : err_(err) {}
  void Show(const std::string& text, const std::string& /*title*/, MessageIcon icon) override {
    if (icon != MessageIcon::kCritical) return;
    err_ << text << '\n';
    failed_ = true;
  }
  bool failed() const noexcept { return failed_; }

 private:
  std::ostream& err_;
  bool failed_ = false;
};

// Answers the rounding question with the number the "~N" token carries.
class ScriptedInput : public InputService {
 public:
  void Prepare(std::optional<std::string> answer) { answer_ = std::move(answer); }
  std::optional<std::string> Ask(const std::string&, const std::string&, const std::string&) override {
    return std::exchange(answer_, std::nullopt);
  }

 private:
  std::optional<std::string> answer_;
};

// "Hex" prints the hexadecimal text instead of copying it.
class PrintingClipboard : public ClipboardService {
 public:
  explicit PrintingClipboard(std::ostream& out) : out_(out) {}
  void SetText(const std::string& text) override { out_ << text << '\n'; }
  std::string Text() override { return {}; }

 private:
  std::ostream& out_;
};

std::optional<long> ParseWhole(const std::string& text, long low, long high) {
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < low || value > high) return std::nullopt;
  return value;
}

// Applies one option with its value; false when the option or its value is not known.
bool ApplyOption(const std::string& option, const std::string& value, Settings& settings) {
  constexpr long kMax16 = std::numeric_limits<std::int16_t>::max();
  if (option == "--type") {
    const auto type = ParseWhole(value, 0, 2);
    if (type) settings.TypeNum = static_cast<std::int32_t>(*type);
    return type.has_value();
  }
  const auto number = ParseWhole(value, std::numeric_limits<std::int16_t>::min(), kMax16);
  if (!number) return false;
  const auto count = static_cast<std::int16_t>(*number);
  if (option == "--dev") {
    settings.DevCount = count;
  } else if (option == "--rad") {
    settings.RadCount = count;
  } else if (option == "--log") {
    settings.LogCount = count;
  } else if (option == "--max-dev-conv") {
    settings.MaxDevConv = count;
  } else if (option == "--exp-digits") {
    settings.ExpCount = count;
    settings.ExpValue = CutReference(kReferenceE, count);
  } else if (option == "--pi-digits") {
    settings.PiCount = count;
    settings.PiValue = CutReference(kReferencePi, count);
  } else {
    return false;
  }
  return true;
}

// Digits and points, with an optional leading minus: typed key by key, so "1.2.3" reaches the calculator
// as the keys would bring it.
bool IsNumberToken(const std::string& token) {
  const std::size_t start = token.starts_with('-') ? 1 : 0;
  return start < token.size() && token.find_first_not_of("0123456789.", start) == std::string::npos;
}

class Session {
 public:
  Session(Settings& settings, std::ostream& out, std::ostream& err)
      : messages_(err), clipboard_(out), calculator_(settings, platform_) {}

  // The press the token names; empty when it names nothing.
  std::function<void()> PressFor(const std::string& token) {
    if (IsNumberToken(token)) return [this, token] { Type(token); };
    if (token.starts_with('~')) {
      return [this, token] {
        input_.Prepare(token.size() > 1 ? std::optional<std::string>(token.substr(1)) : std::nullopt);
        calculator_.Round();
      };
    }
    if (const auto button = kButtons.find(token); button != kButtons.end()) {
      return [this, &press = button->second] { press(calculator_); };
    }
    const std::string_view key = token.size() == 1 ? ButtonForKey(token[0]) : "";
    if (key == "EQUALS") return [this] { calculator_.Equals(); };
    if (const OperationInfo* operation = FindOperation(key.empty() ? token : key)) {
      return [this, code = operation->code] { calculator_.PressOperation(code); };
    }
    return {};
  }

  bool failed() const noexcept { return messages_.failed(); }
  const std::string& entry() const noexcept { return calculator_.CurrentNumber; }

 private:
  // Digits and the point as typed; a leading minus is the sign key, pressed after the digits.
  void Type(const std::string& number) {
    const bool negative = number.starts_with('-');
    for (std::size_t i = negative ? 1 : 0; i < number.size(); ++i) {
      if (number[i] == '.') {
        calculator_.PressPoint();
      } else {
        calculator_.PressDigit(number[i]);
      }
    }
    if (negative) calculator_.PressSign();
  }

  static inline const std::map<std::string, std::function<void(Calculator&)>> kButtons = {
      {"C", &Calculator::PressClear},     {"CE", &Calculator::PressClearAll},  {"<-", &Calculator::PressBack},
      {"+/-", &Calculator::PressSign},    {"M+", &Calculator::MemoryPlus},     {"M-", &Calculator::MemoryMinus},
      {"MR", &Calculator::MemoryRecall},  {"MC", &Calculator::MemoryClear},
      {"Hex", [](Calculator& calculator) { calculator.Hex(); }}};

  ConsoleMessages messages_;
  ScriptedInput input_;
  PrintingClipboard clipboard_;
  Platform platform_{messages_, input_, clipboard_};
  Calculator calculator_;
};

constexpr const char* kUsage = R"(Usage: orvanel-cli [OPTION VALUE]... [--] [TOKEN]...
Presses the keys that the tokens name on a fresh calculator and prints the final entry, whole.
With no tokens, reads them from standard input, separated by white space.

Options (unset ones take the window's first-run defaults; the window's settings are not read):
  --type 0|1|2        number type: machine doubles, decimal engine, extreme engine (default 1)
  --dev N             places of quotients (default 12)
  --rad N             places of roots (default 12)
  --log N             places of logarithms (default 12)
  --max-dev-conv N    most base-256 fraction digits of a number the extreme engine reads (default 12)
  --exp-digits N      places of e (default 14)
  --pi-digits N       places of pi (default 31)
  --help              print this text and exit
  --version           print the version and exit

Tokens:
  12.5  -3            a number, typed key by key; a leading minus is the sign key
  + - * x X / ^ \ ~ = the keys of the keyboard
  C CE <- +/-         the clearing and sign buttons
  M+ M- MR MC         the memory buttons
  Hex                 print the entry in hexadecimal, then the entry
  ~N                  round the entry to N places
  PLUS DEV RAD ...    an operation by its code (LOGARIFM, LN, FACTOR, MID, NOD, AP_SUM, MIN, ...); list
                      operations take one operand per press: 3 MID 5 MID = averages 3 and 5

Exit status: 0 done, 1 a calculation failed (its message on standard error), 2 a bad option or token.
A run that fails prints nothing on standard output.
)";

// "--help" and "--version" answer at once, wherever they stand among the options.
std::optional<int> Answer(const std::string& option, std::ostream& out) {
  if (option == "--help") {
    out << kUsage;
  } else if (option == "--version") {
    out << "orvanel-cli " << ORVANEL_VERSION << '\n';
  } else {
    return std::nullopt;
  }
  return kSuccess;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err) {
  Settings settings;
  std::size_t next = 0;
  while (next < arguments.size() && arguments[next].starts_with("--")) {
    if (arguments[next] == "--") {
      ++next;
      break;
    }
    if (const auto status = Answer(arguments[next], out)) return *status;
    if (next + 1 >= arguments.size() || !ApplyOption(arguments[next], arguments[next + 1], settings)) {
      err << "orvanel-cli: bad option " << arguments[next] << '\n';
      return kBadUsage;
    }
    next += 2;
  }
  std::vector<std::string> tokens(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
  if (tokens.empty()) {
    for (std::string token; in >> token;) tokens.push_back(token);
  }

  // Nothing is pressed before every token is known, and nothing is printed unless every press succeeds:
  // a failed run leaves standard output empty, not holding the first half of its answer.
  std::ostringstream printed;
  Session session(settings, printed, err);
  std::vector<std::function<void()>> presses;
  for (const std::string& token : tokens) {
    presses.push_back(session.PressFor(token));
    if (!presses.back()) {
      err << "orvanel-cli: unknown token " << token << '\n';
      return kBadUsage;
    }
  }
  for (const std::function<void()>& press : presses) {
    press();
    if (session.failed()) return kEvaluationFailed;
  }
  out << printed.str() << ShownNumber(session.entry()) << '\n';
  return kSuccess;
}

}  // namespace ovn::cli
