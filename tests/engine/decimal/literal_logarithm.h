// The logarithm's original digit-by-digit search, step by step, with every power compared exactly (GMP
// integers) instead of through cut-off fractional powers: the slow oracle for small operands, a base above
// one and a number of at least one. It shares no source with the engine.
#pragma once

#include <string>

namespace ovn::literal {

// The logarithm of num to base, digit by digit, with Exact places.
std::string LiteralLogarithm(const std::string& num, const std::string& base, int Exact);

}  // namespace ovn::literal
