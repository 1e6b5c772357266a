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

// What users reported, typed exactly as they typed it: zero as 0, a 0 before the point, the places of a
// quotient, a number typed before "=" joining a list, undivided quotients by one, 0^0.
TEST(Console, PrintsTheResultsUsersExpect) {
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
  };
  const Case cases[] = {
      {{"5", "-", "5", "="}, "0"},
      {{"0", "MOD", "5", "="}, "0"},
      {{".2", "+", ".3", "="}, "0.5"},
      {{"-0.0709", "MID", "="}, "-0.0709"},
      {{"3", "MID", "5", "="}, "4"},
      {{"3", "MID", "5", "MID", "="}, "4"},
      {{"--dev", "0", "0.55", "DEV", "27", "="}, "0.02"},
      {{"--dev", "20", "314.3450", "DEV", "8604.", "="}, "0.036534751278475127847512"},
      {{"--dev", "12", "9.709", "DEV", "007", "="}, "1.387"},
      {{"--dev", "12", "1", "DEV", "30", "="}, "0.0333333333333"},
      {{"--dev", "0", "0.7", "DEV", "2", "="}, "0.3"},
      {{"--type", "2", "--dev", "0", "2.5", "MID", "="}, "2.5"},
      {{"--type", "2", "--dev", "0", "0.25", "GP_SUM", "0.5", "GP_SUM", "2", "GP_SUM", "="}, "0.75"},
      {{"0", "^", "0", "="}, "1"},
      {{"0.0", "^", "-0", "="}, "1"},
      {{"--type", "2", "-0", "^", "0.0", "="}, "1"},
      {{"5", "GP_NUM", "0", "GP_NUM", "1", "GP_NUM", "="}, "5"},
      // The extreme engine writes the shortest decimal that cuts to its value; exact values stay exact.
      {{"--type", "2", "0.1", "+", "0", "="}, "0.1"},
      {{"--type", "2", "1", "DEV", "5", "="}, "0.2"},
      {{"--type", "2", "--dev", "1", "1", "DEV", "3", "="}, "0.333"},
      {{"--type", "2", "10", "DEV", "3", "="}, "3." + std::string(29, '3')},
      {{"--type", "2", "0.0625", "+", "0", "="}, "0.0625"},
      {{"--type", "2", "1", "DEV", "256", "="}, "0.00390625"},
      {{"--type", "2", "--log", "2", "2", "LOGARIFM", "10", "="}, "0.30103"},
      {{"--type", "2", "--log", "2", "2", "LOGARIFM", "8", "="}, "0.33333"},
      // LN and EXPONENTA take e to the places their result needs.
      {{"--log", "50", "2", "LN", "="}, "0.69314718055994530941723212145817656807550013436025"},
      {{"--rad", "12", "7", "EXPONENTA", "="}, "1096.6331584284585"},
      {{"--type", "2", "--log", "50", "2", "LN", "="}, "0.69314718055994530941723212145817656807550013436025"},
      {{"--rad", "12", "-7", "EXPONENTA", "="}, "0.0009118819655"},
      // A base within 1e-15 of one under a huge exponent: its size is estimated from x - 1.
      {{"--rad", "19", "0.9999999999999978", "^", "20409485045810000.123", "="}, "0.00000000000000000003"},
      {{"--dev", "3", "1.0000000000000042", "^", "-10690572000000000.123", "="}, "0.0000000000000000000316"},
      // (1 + 10^-30)^(10^30 + 1/2): a whole part past the bracketing's reach takes exp(y ln x).
      {{"--rad", "12", "1." + std::string(29, '0') + "1", "^", "1" + std::string(30, '0') + ".5", "="},
       "2.718281828459"},
      // Long exponents go through exp(y ln x) with a proven bound, as does e^x of a fractional x.
      {{"--rad", "30", "2", "^", "1.0115244939092668587840391874925193671923841720394857102938475610298", "="},
       "2.016040322039041416175223490364"},
      {{"--rad", "12", "0.1234567891", "EXPONENTA", "="}, "1.1314011146253"},
      // A root whose degree times its places is too long for one integer root.
      {{"--type", "2", "1.5", "RAD", "1000000", "="}, "1.00000040546519030915243843785"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunWith(c.arguments);
    EXPECT_EQ(outcome.out, c.out + "\n") << testing::PrintToString(c.arguments) << outcome.err;
  }
}

// Refusals that once printed a wrong result or ended the program.
TEST(Console, RefusesWhatHasNoResult) {
  struct Case {
    std::vector<std::string> arguments;
    std::string err;
  };
  const Case cases[] = {
      {{"--type", "0", "5", "MOD", "5", "="}, "Операция не определена для этих чисел!"},
      {{"--type", "0", "1", "RAD", "0", "="},
       "Привышен лимит на обычное число, используйте экстремальное число!"},
      {{"5", "~1e400"}, "Число длиннее 32767 символов!"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = RunWith(c.arguments);
    EXPECT_EQ(outcome.status, kEvaluationFailed) << testing::PrintToString(c.arguments);
    EXPECT_EQ(outcome.err, c.err + "\n") << testing::PrintToString(c.arguments);
  }
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
  EXPECT_EQ(RunWith({"255", "Hex", "1", "/", "0", "="}).out, "");  // nothing of a failed run is printed
  EXPECT_EQ(RunWith({"1.2.3", "+", "1", "="}).status, kEvaluationFailed);
  // A rounding place too large for a double is told, not a crash.
  EXPECT_EQ(RunWith({"5", "~1E999"}).err, "Число длиннее 32767 символов!\n");
}

TEST(Console, HelpAndVersionAnswerBeforeAnyTokenIsPressed) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--help"}, {"--dev", "5", "--help", "1", "/"}}) {
    const Outcome help = RunWith(arguments);
    EXPECT_EQ(help.status, kSuccess);
    EXPECT_TRUE(help.out.starts_with("Usage: orvanel-cli")) << help.out;
    EXPECT_NE(help.out.find("Exit status:"), std::string::npos);
  }
  const Outcome version = RunWith({"--version"});
  EXPECT_EQ(version.status, kSuccess);
  EXPECT_EQ(version.out, "orvanel-cli " ORVANEL_VERSION "\n");
  EXPECT_EQ(RunWith({"--", "--help"}).status, kBadUsage);  // after "--" it is a token
}

TEST(Console, BadTokensAndOptionsGiveStatusTwo) {
  EXPECT_EQ(RunWith({"2", "plus"}).status, kBadUsage);
  EXPECT_EQ(RunWith({"255", "Hex", "plus"}).out, "");  // refused before anything is pressed
  EXPECT_EQ(RunWith({"--type", "7", "1"}).status, kBadUsage);
  EXPECT_EQ(RunWith({"--dev"}).status, kBadUsage);
  EXPECT_EQ(RunWith({"--speed", "1"}).status, kBadUsage);
}

}  // namespace
}  // namespace ovn::cli
