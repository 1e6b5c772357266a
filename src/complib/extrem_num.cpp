#include "ovnliblt/extrem_num.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "ovnliblt/runtime_error.h"

namespace ovn {

namespace {

void RequirePartLength(std::int64_t length) {
  if (length < 0) {
    throw RuntimeError(
        ErrorNumber::kInvalidArgument, "ExtremNum.StringExpression",
        "Invalid procedure call or argument: the digit string is shorter than the part to keep");
  }
}

}  // namespace

std::string ExtremNum::StringExpression() const {
  return int_num_ + devided_;
}

void ExtremNum::StringExpression(std::string v) {
  if (!extrem_change_) return;
  const auto length = static_cast<std::int64_t>(v.size());
  const std::int64_t int_length = de_pos_ ? length - index_de_pos_ : index_pos_;
  const std::int64_t fraction_length = de_pos_ ? index_de_pos_ : length - index_pos_;
  // The integer part is taken before the fraction's length is checked, so a failed split can leave
  // IntNum set; a part longer than v takes all of v.
  RequirePartLength(int_length);
  int_num_ = v.substr(0, static_cast<std::size_t>(std::min(int_length, length)));
  RequirePartLength(fraction_length);
  v.erase(0, static_cast<std::size_t>(length - std::min(fraction_length, length)));
  devided_ = std::move(v);
}

void ExtremNum::Clear() noexcept {
  int_num_.clear();
  devided_.clear();
  sign_ = true;
}

void ExtremNum::Devided(std::string vData) {
  devided_ = std::move(vData);
  UpdateIndexPos("ExtremNum.Devided");
}

void ExtremNum::IntNum(std::string vData) {
  int_num_ = std::move(vData);
  UpdateIndexPos("ExtremNum.IntNum");
}

void ExtremNum::UpdateIndexPos(const char* source) {
  if (int_num_.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max())) {
    throw RuntimeError(
        ErrorNumber::kOverflow, source,
        "Overflow: an integer part of " + std::to_string(int_num_.size()) + " digits is longer than 32767");
  }
  index_pos_ = static_cast<std::int16_t>(int_num_.size());
}

}  // namespace ovn
