// The long way of the list functions, step by step on the literal reference's text operations: the
// index searches with CompareIt, the sum with SummIn and the product with MuchIn item after item, the
// greatest common divisor and the least common multiple by trial division over every candidate. No
// mends: these are the searches as they were (a list of ones has the multiple 2). Small inputs only.
#pragma once

#include <string>
#include <vector>

namespace ovn::literal {

// Indexes from 1; ties keep the earlier item.
int MinNumIn(const std::vector<std::string>& items);
int MaxNumIn(const std::vector<std::string>& items);
// The exact sum: "0", then SummIn with each item.
std::string SummAll(const std::vector<std::string>& items);
// The geometric mean's radicand: "1", then MuchIn with each item.
std::string ProductOfItems(const std::vector<std::string>& items);
// Candidates 1 up to the smallest item; the last that leaves every remainder zero ("0" or "").
std::string CalcNODIn(const std::vector<std::string>& items);
// Candidates from 2 up; the first for which every ModIn(candidate, item) gives "0".
std::string CalcNOCIn(const std::vector<std::string>& items);

}  // namespace ovn::literal
