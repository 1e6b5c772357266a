// A slow, literal transcription of the decimal engine's text rules: every step is done the long way on
// std::string (digit by digit, the multiples 1..9 of the divisor, the partial-product cache, the point
// moves), so that it shares no code and no shortcut with FuncLibDec. It is the oracle of the differential
// tests and is meant for small inputs only.
//
// Results, forms and error numbers are those of FuncLibDec: a zero value never carries a minus sign; an
// operand that is not a number raises 13, a zero divisor 11, an operand or result past 32,767 characters 6.
#pragma once

#include <string>
#include <string_view>

namespace ovn::literal {

// Text functions: they do not validate; a text past 32,767 characters raises 6.
std::string DelNull(std::string_view number);
std::string ASign(std::string_view number);
std::string AbsIn(std::string_view number);
bool PointIs(std::string_view number);
std::string PointLeft(std::string_view number);
std::string PointRight(std::string_view number);
bool IsNumber(std::string_view text);
// Trims spaces and turns "," into "."; the caller's variable receives the result too.
std::string ToPoint(std::string& text);

// 2 when fNum is greater, 1 when equal, 0 when smaller.
int CompareIt(std::string_view fNum, std::string_view sNum);
std::string SummIn(std::string_view first, std::string_view second);
std::string MinusIn(std::string_view minuend, std::string_view subtrahend);
std::string MuchIn(std::string_view first, std::string_view second);
std::string DevideIn(std::string_view dividend, std::string_view divisor, int Exact);
// mod_dev_int receives the whole quotient, truncated toward zero, with its sign.
std::string ModIn(std::string_view dividend, std::string_view divisor, std::string& mod_dev_int);
// A negative Exact is replaced by its magnitude.
std::string CircleIn(std::string_view number, int& Exact);
std::string ToExtNum(std::string_view text);

}  // namespace ovn::literal
