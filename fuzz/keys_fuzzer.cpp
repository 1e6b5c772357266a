// Key sequences through the calculator controller, as the window presses them, with the scripted desktop
// services of the controller's tests. The first five bytes choose the number type and small precisions; each
// further byte presses one key: a digit, the point, an entry or memory button, "=", or an operation. "Paste"
// and the rounding question take their text from the bytes that follow (a length byte, then the text).
// So that every input is quick, an input ends once a number it made is longer than kLongestOperand (long
// operands are the engines' tests' business; the key sequences are this target's), and each evaluation is
// cancelled, as Esc cancels it, once the input has run for kBudget.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculator.h"
#include "fake_platform.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBudget = std::chrono::milliseconds(200);
constexpr std::size_t kLongestPastedText = 8;
constexpr std::size_t kLongestOperand = 100;

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return next_ == size_; }
  std::uint8_t Next() { return empty() ? 0 : data_[next_++]; }
  std::string Text() {
    std::string text;
    for (std::size_t length = Next() % (kLongestPastedText + 1); length > 0 && !empty(); --length) {
      text += static_cast<char>(Next());
    }
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

struct Session {
  ovn::Settings settings;
  ovn::FakePlatform services;
  ovn::Calculator calculator{settings, services.platform};
};

bool HoldsALongNumber(const ovn::Calculator& c) {
  return std::max({c.CurrentNumber.size(), c.FirstOperand.size(), c.MemoryValue.size()}) > kLongestOperand;
}

using Button = std::function<void(Session&, Bytes&)>;

const std::vector<Button>& Buttons() {
  static const std::vector<Button> buttons = [] {
    std::vector<Button> all;
    for (char digit = '0'; digit <= '9'; ++digit) {
      all.push_back([digit](Session& s, Bytes&) { s.calculator.PressDigit(digit); });
    }
    const auto plain = [&all](void (ovn::Calculator::*press)()) {
      all.push_back([press](Session& s, Bytes&) { (s.calculator.*press)(); });
    };
    for (auto press :
         {&ovn::Calculator::PressPoint, &ovn::Calculator::PressSign, &ovn::Calculator::PressBack,
          &ovn::Calculator::PressClear, &ovn::Calculator::PressClearAll, &ovn::Calculator::Equals,
          &ovn::Calculator::MemoryPlus, &ovn::Calculator::MemoryMinus, &ovn::Calculator::MemoryRecall,
          &ovn::Calculator::MemoryClear, &ovn::Calculator::Copy}) {
      plain(press);
    }
    all.push_back([](Session& s, Bytes&) { s.calculator.Hex(); });
    all.push_back([](Session& s, Bytes& bytes) {
      s.services.clipboard.text = bytes.Text();
      s.calculator.Paste();
    });
    all.push_back([](Session& s, Bytes& bytes) {
      s.services.input.answers.push_back(bytes.Text());
      s.calculator.Round();
    });
    for (const ovn::OperationInfo& operation : ovn::Operations()) {
      all.push_back([code = operation.code](Session& s, Bytes&) { s.calculator.PressOperation(code); });
    }
    return all;
  }();
  return buttons;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes bytes(data, size);
  Session session;
  ovn::Settings& settings = session.settings;
  settings.TypeNum = bytes.Next() % 3;
  settings.DevCount = static_cast<std::int16_t>(bytes.Next() % 50);
  settings.RadCount = static_cast<std::int16_t>(bytes.Next() % 50);
  settings.LogCount = static_cast<std::int16_t>(bytes.Next() % 50);
  settings.MaxDevConv = static_cast<std::int16_t>(bytes.Next() % 20);

  const Clock::time_point deadline = Clock::now() + kBudget;
  const auto cancel_when_late = [deadline] {
    if (Clock::now() > deadline) throw ovn::RuntimeError(ovn::ErrorNumber::kCancelled, "fuzz", "over budget");
  };
  session.calculator.DecimalEngine().SetYieldHook(cancel_when_late);
  session.calculator.ExtremeEngine().SetYieldHook(cancel_when_late);

  const std::vector<Button>& buttons = Buttons();
  while (!bytes.empty() && !HoldsALongNumber(session.calculator)) {
    buttons[bytes.Next() % buttons.size()](session, bytes);
  }
  return 0;
}
