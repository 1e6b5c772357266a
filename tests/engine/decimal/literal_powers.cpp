#include "literal_powers.h"

#include <stdexcept>
#include <string>

#include "literal_reference.h"
#include "ovnliblt/runtime_error.h"

namespace ovn::literal {
namespace {

[[noreturn]] void Fail(ErrorNumber number, const char* source) {
  throw RuntimeError(number, source, "literal powers");
}

bool IsNegative(std::string_view text) {
  return !text.empty() && text.front() == '-';
}

bool IsZeroValue(std::string_view text) {
  if (IsNegative(text)) text.remove_prefix(1);
  return text.find_first_not_of("0.") == std::string_view::npos;
}

std::string WithoutNegativeZero(std::string text) {
  if (IsNegative(text) && IsZeroValue(text)) text.erase(0, 1);
  return text;
}

bool IsOdd(std::string_view digits) {
  return !digits.empty() && (digits.back() - '0') % 2 == 1;
}

enum Comparison { kLess = 0, kEqual = 1, kGreater = 2 };

}  // namespace

std::string StepIn(std::string_view Num, std::string_view Stp, int DevExact) {
  // Any base to a zero power is 1, 0^0 included.
  if (IsZeroValue(Stp)) return "1";
  // 1. A zero base (the texts "0" and "") gives the engine's zero, but has no negative power.
  if (Num == "0" || Num.empty()) {
    if (IsNegative(Stp) && !IsZeroValue(Stp)) Fail(ErrorNumber::kDivisionByZero, "StepIn");
    return "";
  }
  // 3. Normalise both.
  std::string num = DelNull(Num);
  if (!num.empty() && num.front() == '.') num.insert(0, "0");
  std::string stp = DelNull(Stp);
  // 4. Only whole exponents are transcribed.
  if (!PointRight(stp).empty()) throw std::invalid_argument("literal StepIn: fractional exponent");
  // 5. Negative exponent: the reciprocal of the power at DevExact places.
  if (IsNegative(stp)) return DevideIn("1", StepIn(num, stp.substr(1), DevExact), DevExact);
  // 7. Zero exponent.
  if (stp.empty() || stp == "0") return "1";
  // 8.1 Negative base.
  if (IsNegative(num)) {
    num = ASign(num);
    if (IsOdd(stp)) return WithoutNegativeZero("-" + StepIn(num, stp, DevExact));
  }
  // 8.2 - 8.3 n - 1 multiplications of the growing product by the base.
  std::string product = "1";
  int k = 0;
  do {
    ++k;
    product = MuchIn(product, num);
    if (!product.empty() && product.front() == '.') product.insert(0, "0");
  } while (CompareIt(std::to_string(k), stp) != kEqual);
  // 8.4
  if (!product.empty() && product.back() == '.') product.pop_back();
  return product;
}

std::string FindRootDigit(std::string_view radicand, std::string_view degree, std::string digits,
                          int position, int mode) {
  if (mode == -1) {
    digits.push_back('5');
    position = static_cast<int>(digits.size());
  }
  char& digit = digits[static_cast<std::size_t>(position - 1)];
  // The halving search: the next trial after a power too large, after one too small; -1 ends the search.
  constexpr int kIfTooLarge[10] = {-1, 0, -1, 1, -1, 3, -1, 6, -1, 8};
  constexpr int kIfTooSmall[10] = {-1, 2, -1, 4, -1, 7, -1, 9, -1, -1};
  int trial = 5;
  for (;;) {
    digit = static_cast<char>('0' + trial);
    const int order = CompareIt(StepIn(digits, degree, 0), radicand);
    if (order == kEqual) return digits;
    const int next = order == kGreater ? kIfTooLarge[trial] : kIfTooSmall[trial];
    if (next < 0) {
      // The search ended on a leaf: a power too large writes the digit below it.
      if (order == kGreater) digit = static_cast<char>('0' + trial - 1);
      return digits;
    }
    trial = next;
  }
}

std::string RadicalIn(std::string_view Num, std::string_view Rad, int Exact) {
  std::string rad = DelNull(Rad);
  if (rad.empty() || IsZeroValue(rad)) Fail(ErrorNumber::kInvalidArgument, "RadicalIn");
  if (!PointRight(rad).empty() || IsNegative(rad)) throw std::invalid_argument("literal RadicalIn: degree");
  std::string num(Num);
  if (IsNegative(num) && !IsZeroValue(num)) {
    if (!IsOdd(rad)) Fail(ErrorNumber::kInvalidArgument, "RadicalIn");
    return WithoutNegativeZero("-" + RadicalIn(num.substr(1), rad, Exact));
  }
  // 1.
  if (!num.empty() && num.front() == '.') num.insert(0, "0");
  std::string root;
  if (CompareIt(num, "1") == kLess) {
    // 2. The whole part of the root is 0.
    root = "0";
  } else {
    // 3. The first power of ten whose power exceeds the radicand.
    std::string power;
    root = "1";
    int k = 0;
    do {
      ++k;
      power = StepIn(root, rad, 0);
      root = "1" + std::string(static_cast<std::size_t>(k), '0');
    } while (CompareIt(power, num) != kGreater);
    // 4. Back to the largest power of ten whose power is not above the radicand.
    for (int i = 0; i < 3; ++i) {
      if (CompareIt(power, num) == kGreater) root.pop_back();
      power = StepIn(root, rad, 0);
      if (CompareIt(power, num) == kEqual) return root;
    }
    const std::size_t n = root.size();
    // 5. The leading digit, counting from 1.
    const std::string zeros = root.substr(1);
    int d = 1;
    for (;; ++d) {
      const std::string candidate = std::to_string(d) + zeros;
      power = StepIn(candidate, rad, 0);
      const int order = CompareIt(power, num);
      const int count = (order == kGreater) + (order == kEqual) + (d == 9);
      if (count == 1) {
        if (order == kEqual) return candidate;
        break;
      }
    }
    if (CompareIt(power, num) == kGreater) {
      root = d == 1 ? "9" + std::string(n - 2, '0') : std::to_string(d - 1) + zeros;
    } else {
      root = "9" + zeros;
    }
    // 6. Every whole digit again. Mend: also for a single whole digit, whose leading digit 8 the count
    // of step 5 reads as 9 (at d = 9 two conditions hold, so the count goes on to d = 10).
    if (n >= 1) {
      for (int position = 1; position <= static_cast<int>(n); ++position) {
        root = FindRootDigit(num, rad, root, position, 0);
      }
    }
  }
  // 7. Exact + 1 fraction digits.
  if (Exact >= 1) {
    root += ".";
    for (int c = 1; c <= Exact + 1; ++c) root = FindRootDigit(num, rad, root, c, -1);
  }
  return root;
}

std::string GiperStepIn(std::string_view base, std::string_view height) {
  if (!PointRight(height).empty() || IsNegative(height) || IsNegative(base)) {
    Fail(ErrorNumber::kInvalidArgument, "GiperStepIn");
  }
  if (IsZeroValue(height)) return "0";
  std::string count = "0";
  std::string value = "1";
  do {
    count = SummIn(count, "1");
    value = StepIn(base, value, 0);
    if (!value.empty() && value.front() == '.') value.insert(0, "0");
  } while (CompareIt(count, height) != kEqual);
  if (!value.empty() && value.back() == '.') value.pop_back();
  return value;
}

}  // namespace ovn::literal
