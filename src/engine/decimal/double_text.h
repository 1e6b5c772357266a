// How the platform writes and reads a machine double. The decimal engine uses it where it computes in
// doubles (the machine-double paths of SummAll and MidIn, the unit factors); the controller's
// machine-double mode uses the same two functions, so both write every double alike.
#pragma once

#include <string>
#include <string_view>

namespace ovn {

// The platform's text of a double: rounded half away from zero to 15 significant digits, trailing zeros
// dropped, "." as the point, "-" before a negative value and nothing (no space) before the rest. Plain
// digits from 1E-4 up to below 1E15 ("0.000189393939393939", "26845161228302.4"), exponent form outside
// that range, with a signed exponent of at least two digits ("6.85220500053478E-05", "6.241457E+18",
// "1E+15"). Zero is "0". Infinity and NaN raise RuntimeError 6, the platform's overflow.
std::string DoubleToText(double value);

// The lenient reading of a number text: the longest leading number (spaces before it skipped, an
// optional sign, digits with at most one ".", an optional exponent "E" or "e" with an optional sign and
// at least one digit). A text that does not begin with a number, "" included, reads as 0. A number too
// large for a double raises RuntimeError 6; one too small for it reads as 0.
double TextToDouble(std::string_view text);

}  // namespace ovn
