// A slow, literal transcription of the described power and root steps, for the differential tests of
// StepIn, RadicalIn and GiperStepIn on small inputs: a whole power is n - 1 multiplications of the growing
// product by the base; a root is found digit by digit, the order of magnitude by powers of ten, the
// leading digit by a count from 1 upwards and every digit by the halving search 5, 3/7, 1/4/6/9, 0/2/8.
// The arithmetic is the literal reference's (MuchIn, DevideIn, CompareIt), so nothing is shared with the
// engine.
//
// The engine's decided mends are applied where the steps would go wrong silently: a negative exponent
// gives DevideIn("1", power, DevExact); a zero to a negative power raises 11; a zero value carries no minus
// sign; an even root of a negative number or a root of degree 0 raises 5, an odd one is the negative root
// of the magnitude; a root with a single whole digit 8 keeps that digit (the count of the leading-digit
// search would take 9 and then find no fraction digit); a tower of a fractional or negative height or of
// a negative base raises 5.
#pragma once

#include <string>
#include <string_view>

namespace ovn::literal {

// Whole exponents only.
std::string StepIn(std::string_view Num, std::string_view Stp, int DevExact);
// The root digits with the digit at `position` (1-based; mode 0 replaces it, mode -1 appends a digit) set
// to the largest one whose candidate, raised to the degree, is not above the radicand.
std::string FindRootDigit(std::string_view radicand, std::string_view degree, std::string digits,
                          int position, int mode);
// Whole degrees only.
std::string RadicalIn(std::string_view Num, std::string_view Rad, int Exact);
// Whole bases only (so that every exponent of the tower is whole).
std::string GiperStepIn(std::string_view base, std::string_view height);

}  // namespace ovn::literal
