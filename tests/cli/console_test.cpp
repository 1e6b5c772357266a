#include "console.h"

#include <gtest/gtest.h>

#include <sstream>

namespace ovn::cli {
namespace {

struct Outcome {
  int status;
  std::string out, err;
};

Outcome RunWith(std::vector<std::string> arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = Run(arguments, in, out, err);
  return {status, out.str(), err.str()};
}

TEST(Console, PressesTheTokensAndPrintsTheEntry) {
  EXPECT_EQ(RunWith({"2", "+", "3", "+", "4", "="}).out, "9\n");
  EXPECT_EQ(RunWith({"2", "MOD", "3", "+", "4", "="}).out, "6\n");
  EXPECT_EQ(RunWith({"3", "x", "-4", "="}).out, "-12\n");
  EXPECT_EQ(RunWith({"--dev", "5", "--", "1", "/", "7", "="}).out, "0.14285\n");
  EXPECT_EQ(RunWith({"2.75", "~1"}).out, "2.8\n");
  EXPECT_EQ(RunWith({"5", "M+", "C", "3", "M-", "MR"}).out, "2\n");
}

TEST(Console, ReadsTokensFromStandardInputWhenNoneAreGiven) {
  EXPECT_EQ(RunWith({"--type", "0"}, "0.1 + 0.2 =\n").out, "0.3\n");
}

TEST(Console, HexPrintsTheHexadecimalText) {
  EXPECT_EQ(RunWith({"255", "Hex"}).out, "FF\n255\n");
}

TEST(Console, EvaluationErrorGoesToStandardErrorWithStatusOne) {
  const Outcome outcome = RunWith({"1", "/", "0", "="});
  EXPECT_EQ(outcome.status, kEvaluationFailed);
  EXPECT_EQ(outcome.err, "Деление на ноль!\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(RunWith({"1.2.3", "+", "1", "="}).status, kEvaluationFailed);
  // A rounding place too large for a double is told, not a crash.
  EXPECT_EQ(RunWith({"5", "~1E999"}).err, "Число длиннее 32767 символов!\n");
}

TEST(Console, BadTokensAndOptionsGiveStatusTwo) {
  EXPECT_EQ(RunWith({"2", "plus"}).status, kBadUsage);
  EXPECT_EQ(RunWith({"--type", "7", "1"}).status, kBadUsage);
  EXPECT_EQ(RunWith({"--dev"}).status, kBadUsage);
  EXPECT_EQ(RunWith({"--speed", "1"}).status, kBadUsage);
}

}  // namespace
}  // namespace ovn::cli
