#include "decimal/engine_support.h"

#include <string>

#include "decimal/func_lib_dec.h"

namespace ovn::decimal {

void Raise(ErrorNumber number, std::string_view source, std::string_view description) {
  throw RuntimeError(number, std::string("FuncLibDec.").append(source), std::string(description));
}

void CheckLength(std::string_view text, std::string_view source) {
  if (text.size() > FuncLibDec::kMaxTextLength) {
    Raise(ErrorNumber::kOverflow, source, "text longer than 32767 characters");
  }
}

}  // namespace ovn::decimal
