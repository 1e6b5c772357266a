// The literal extreme reference: the extreme engine's conversions and workers transcribed step by step, on
// base-256 digit strings (one char a digit, most significant first) and decimal digit strings, with no
// kernel and no shortcut. Slow (quadratic and worse); only for small operands. The differential test holds
// FuncLibOrvaneLite against it digit for digit.
#pragma once

#include <string>
#include <string_view>

namespace ovn::literal {

struct LiteralExtrem {
  std::string int_num;  // base-256 digits, most significant first
  std::string devided;  // base-256 fraction digits, the first worth 1/256
  bool sign = true;     // true: not negative
};

// Decimal number text ("-12.5", "7") to digits: the fraction by repeated multiplication by 256, stopping
// after digit k when k >= max_dev_conv or when the rest of the fraction is zero.
LiteralExtrem ConvertExtNum(std::string_view text, int max_dev_conv);
// Digits to decimal text: whole part by sums of d * 256^i, fraction by repeated multiplication by ten,
// at most 1,001 fraction digits.
std::string ConvertDecNum(const LiteralExtrem& e);

// 0 when a < b, 1 when equal, 2 when greater; two negatives ordered by value.
int CompareIt(LiteralExtrem a, LiteralExtrem b);
LiteralExtrem SummExt(LiteralExtrem a, LiteralExtrem b);
LiteralExtrem MinusExt(LiteralExtrem a, LiteralExtrem b);
LiteralExtrem MuchExt(LiteralExtrem a, LiteralExtrem b);
// Long division against the table of the divisor's multiples; exactly one negative operand divides the
// magnitudes at dev_exact places instead of exact. Requires a non-zero divisor.
LiteralExtrem DevideExt(LiteralExtrem a, LiteralExtrem b, int exact, int dev_exact);
// Remainder of the magnitudes of two whole numbers by long division. Requires a non-zero divisor.
LiteralExtrem ModExt(LiteralExtrem a, LiteralExtrem b);

}  // namespace ovn::literal
