// The console front end: presses the keys that the tokens name on a fresh calculator.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ovn::cli {

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kEvaluationFailed = 1;
inline constexpr int kBadUsage = 2;

// Runs `orvanel-cli` with its arguments (without the program name); tokens come from `in` when the
// arguments hold none. The final entry goes to `out`, messages to `err`; returns the exit status.
int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace ovn::cli
