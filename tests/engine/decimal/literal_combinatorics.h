// The long way of the factorials, the counts of combinatorics and the progressions, step by step on the
// literal reference's text operations: n - 1 multiplications for n!, three full factorials and a long
// division for the counts, a power by repeated multiplication. With the decided mends: n!! includes n and
// ends at 1 or 2, n arrangements of n are n!, more combinations than things are "0". Small inputs only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ovn::literal {

std::string FactorialIn(std::string_view Num);
std::string FactorialDBLIn(std::string_view Num);
std::string CountCombinationIn(std::string_view Num, std::string_view Count, int DevExact);
std::string PerestIn(std::string_view Num, std::string_view Count);
std::string MultinomIn(const std::vector<std::string>& items);

// The three items as the list holds them.
std::string ArifmeticProgrecyNum(std::string_view a, std::string_view d, std::string_view n);
// Whole exponents n - 1 >= 0 only.
std::string GeometricProgrecyNum(std::string_view b, std::string_view q, std::string_view n);
std::string ArifmeticProgrecySum(std::string_view a, std::string_view l, std::string_view n, int DevExact);
std::string GeometricProgrecySum(std::string_view b, std::string_view l, std::string_view q, int DevExact);

// Repeated division by 16, one hexadecimal digit at a time; a whole part of zero gives "0".
std::string ToHex(std::string_view Num);

}  // namespace ovn::literal
