#include "global/global.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace ovn {
namespace {

TEST(Global, NormalizeDecimalPointTrimsAndChangesTheArgument) {
  std::string text = " 3,5 ";
  EXPECT_EQ(NormalizeDecimalPoint(text), "3.5");
  EXPECT_EQ(text, "3.5");
}

TEST(Global, ExpandExponentWritesPlainDigits) {
  EXPECT_EQ(ExpandExponent("123.45"), "123.45");
  EXPECT_EQ(ExpandExponent("1E+15"), "1000000000000000");
  EXPECT_EQ(ExpandExponent("1.5E+20"), "150000000000000000000");
  EXPECT_EQ(ExpandExponent("1E-05"), "0.00001");
  EXPECT_EQ(ExpandExponent("-2.5E-07"), "-0.00000025");
  EXPECT_EQ(ExpandExponent(""), "");
}

TEST(Global, GetTokenReadsUpToTheDelimiter) {
  std::int16_t position = 1;
  EXPECT_EQ(GetToken("Version=1", position, "=", false), "Version=");
  EXPECT_EQ(position, 9);
  EXPECT_EQ(GetToken("Version=1", position, "=", false), "1");
  position = 1;
  EXPECT_EQ(GetToken("a,b", position, ",", true), "a");
  EXPECT_EQ(GetToken("a,b", position, ",", true), "b");
  EXPECT_EQ(GetToken("a,b", position, ",", true), "");
}

TEST(Global, FileTitleTakesThePartAfterEitherSlash) {
  EXPECT_EQ(FileTitle("C:\\a\\b.num"), "b.num");
  EXPECT_EQ(FileTitle("/home/a/b.num"), "b.num");
  EXPECT_EQ(FileTitle("b.num"), "b.num");
}

TEST(Global, FileExistsFollowsWildcards) {
  EXPECT_TRUE(FileExists("/"));
  EXPECT_TRUE(FileExists("/proc/self/statu*"));
  EXPECT_FALSE(FileExists("/no/such/file.num"));
}

TEST(Global, RunAndWaitReportsTheExitStatusAndCanSilenceTheProgram) {
  EXPECT_TRUE(RunAndWait({"true"}));
  EXPECT_FALSE(RunAndWait({"false"}));
  EXPECT_FALSE(RunAndWait({"no-such-program-of-orvanel"}));
  EXPECT_FALSE(RunAndWait({}));

  testing::internal::CaptureStdout();
  EXPECT_TRUE(RunAndWait({"echo", "heard"}));
  EXPECT_TRUE(RunAndWait({"echo", "silenced"}, true));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "heard\n");
}

// The help page and the about window's links are opened this way, from the window's thread.
TEST(Global, StartDetachedReturnsWhileTheProgramRuns) {
  const std::filesystem::path fifo = std::filesystem::path(testing::TempDir()) / "orvanel-detached-fifo";
  std::filesystem::remove(fifo);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // The program waits for the test's line: a start that waited for the program would never return.
  EXPECT_TRUE(StartDetached({"sh", "-c", "read line < \"$0\"", fifo.string()}));
  std::ofstream(fifo) << "go\n";  // opening waits for the reader, so the program is running
  EXPECT_FALSE(StartDetached({"no-such-program-of-orvanel"}));
  std::filesystem::remove(fifo);
}

}  // namespace
}  // namespace ovn
