// ExtremNum: a signed number of any length held as two strings of base-256 digits, one byte a digit
// (0..255), most significant first. The extreme-number engine computes on them; the class only stores
// them and splits one digit string into integer and fractional part.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ovnliblt/component.h"
#include "ovnliblt/export.h"

namespace ovn {

// Declared beside ExtremNum for callers of the library; no member takes it.
enum bitWord : int { bitNull = 0, bitSingle = 1 };

class OVNLIBLT_API ExtremNum : public Component {
 public:
  static constexpr std::string_view kClassName = "ExtremNum";

  std::string_view ClassName() const noexcept override { return kClassName; }

  // While false, assignments to StringExpression are ignored.
  bool ExtremChange() const noexcept { return extrem_change_; }
  void ExtremChange(bool vData) noexcept { extrem_change_ = vData; }
  // The split anchor: false keeps IndexPos integer digits at the left, true keeps IndexDePos fraction
  // digits at the right.
  bool DePos() const noexcept { return de_pos_; }
  void DePos(bool vData) noexcept { de_pos_ = vData; }
  std::int16_t IndexDePos() const noexcept { return index_de_pos_; }
  void IndexDePos(std::int16_t vData) noexcept { index_de_pos_ = vData; }
  // The length of IntNum after its last assignment through IntNum or Devided.
  std::int16_t IndexPos() const noexcept { return index_pos_; }
  void IndexPos(std::int16_t vData) noexcept { index_pos_ = vData; }

  // All digits: IntNum followed by Devided.
  std::string StringExpression() const;
  // Splits v into IntNum and Devided at the anchor DePos selects, without touching any other field.
  // Does nothing while ExtremChange is false. A part of negative length raises error 5; when only the
  // fraction's length is negative, IntNum has already been set to all of v.
  void StringExpression(std::string v);

  // Empties both parts and makes the sign positive; the split fields keep their values.
  void Clear() noexcept;

  // True for a number that is not negative.
  bool Sign() const noexcept { return sign_; }
  void Sign(bool vData) noexcept { sign_ = vData; }
  // The fraction: the first digit is worth 1/256, the next 1/65536, and so on.
  const std::string& Devided() const noexcept { return devided_; }
  void Devided(std::string vData);
  // The integer part. Both setters store the string, then set IndexPos to the length of IntNum; an
  // integer part longer than 32,767 digits raises error 6 with the string already stored.
  const std::string& IntNum() const noexcept { return int_num_; }
  void IntNum(std::string vData);

 private:
  void UpdateIndexPos(const char* source);

  std::string int_num_;
  std::string devided_;
  bool sign_ = true;
  std::int16_t index_pos_ = 0;
  std::int16_t index_de_pos_ = 0;
  bool de_pos_ = false;
  bool extrem_change_ = false;
};

}  // namespace ovn
