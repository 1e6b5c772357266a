// Number-list files: both variants read and written, every header check, the closing line, the mends
// (nothing dropped, long files refused, atomic rewrites) and the memory list's file operations.
#include "files/number_list_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "files/whole_file.h"

namespace ovn {
namespace {

constexpr const char* kHeaderText =
    "Orvane Script Settings\r\nSaved Numbers\r\nVersion=1\r\nSizeNum=10\r\n/Description\r\nReadNumAs 10\r\n"
    "\\Description\r\n/Numbers\r\n";

class NumberListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvanel-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path Write(const std::string& name, const std::string& content) const {
    const std::filesystem::path file = folder_ / name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }
  static std::string Text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_), {}));
  }

  std::filesystem::path folder_;
};

TEST_F(NumberListFileTest, PlainFileSkipsEmptyLinesAndTrimsValues) {
  const auto file = Write("list.num", "a 1\r\n\r\nb  22 \r\n");
  const NumberListContent content = ReadNumberList(file);
  EXPECT_EQ(content.error, "");
  EXPECT_EQ(content.warning, "");
  EXPECT_EQ(content.records, (std::vector<NumberRecord>{{"a", "1"}, {"b", "22"}}));
  // LF and a lone CR end lines as CR LF does; bytes that are not UTF-8 are kept as they are.
  for (const char* text : {"a 1\nb 22\n", "a 1\rb 22\r", "a 1\r\rb 22"}) {
    EXPECT_EQ(ParseNumberList(text, "x.num").records, (std::vector<NumberRecord>{{"a", "1"}, {"b", "22"}}))
        << text;
  }
  const std::vector<NumberRecord> cp1251 = {{"\xD7\xE8\xF1\xEB\xEE", "7"}, {"n", "\xFF\xFE"}};
  ASSERT_EQ(WriteNumberList(file, cp1251), "");
  EXPECT_EQ(ReadNumberList(file).records, cp1251);
}

TEST_F(NumberListFileTest, RecordsSplitAtTheFirstSpace) {
  struct Case {
    const char* line;
    ListKind kind;
    NumberRecord record;
  };
  const Case cases[] = {
      {"x 12.5", ListKind::kNumberFile, {"x", "12.5"}},
      {"x  -3 ", ListKind::kNumberFile, {"x", "-3"}},
      {"x  -3 ", ListKind::kMemoryList, {"x", " -3 "}},
      {"lonely", ListKind::kNumberFile, {"lonely", ""}},  // no space: a name with an empty value
      {"x 1 2", ListKind::kNumberFile, {"x", "1 2"}},     // values are not checked
      {"число 7", ListKind::kNumberFile, {"число", "7"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseRecord(c.line, c.kind), c.record) << c.line;
}

TEST_F(NumberListFileTest, ScriptSettingsEndingIgnoresCase) {
  for (const char* name : {"a.OSV", "a.osv", "listOsV", "OSV"})
    EXPECT_TRUE(IsScriptSettingsName(name)) << name;
  for (const char* name : {"a.num", "a.os", "a.OSV.num", "SV", "/dir.osv/list"}) {
    EXPECT_FALSE(IsScriptSettingsName(name)) << name;
  }
  // The same header text is records in a plain file and a header in a framed one.
  const std::string text = std::string(kHeaderText) + "n 5\r\n\\Numbers\r\n";
  EXPECT_EQ(ParseNumberList(text, "a.osv").records, (std::vector<NumberRecord>{{"n", "5"}}));
  EXPECT_EQ(ParseNumberList(text, "a.num").records.size(), 10U);
}

TEST_F(NumberListFileTest, EveryHeaderCheckHasItsMessage) {
  const std::vector<std::string> good = {
      "Orvane Script Settings", "Saved Numbers", "Version=1",     "SizeNum=10",
      "/Description",           "ReadNumAs 10",  "\\Description", "/Numbers"};
  struct Case {
    std::size_t line;
    const char* text;
    const char* message;  // "" when the header is accepted
  };
  const Case cases[] = {
      {0, "Orvane Script Setting", "Этот файл не является Orvane Script Settings!"},
      {1, "Saved numbers", "Этот файл не является сохраненным списком чисел!"},
      {2, "Version=", "Этот файл не является сохраненным списком чисел!"},
      {2, "Versio=1", "Этот файл не является сохраненным списком чисел!"},
      {2, "Version=2", "Неправильная версия сохраненного списка чисел!"},
      {2, "Version=1.01", "Неправильная версия сохраненного списка чисел!"},
      {2, "Version=0.5", ""},
      {2, "Version=1", ""},
      {3, "SizeNum=16", "Неправильная размерность чисел в  сохраненном списке чисел!"},
      {4, "Description", "Cохраненный список чисел поврежден!"},
      {5, "ReadNumAs 16", "В этой версии допустимы только десятичные числа!"},
      {6, "/Description", "Cохраненный список чисел поврежден!"},
      {7, "Numbers", "Cохраненный список чисел поврежден!"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = good;
    lines[c.line] = c.text;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    text += "v 9\r\n\\Numbers\r\n";
    const NumberListContent content = ParseNumberList(text, "list.osv");
    EXPECT_EQ(content.error, c.message) << c.text;
    EXPECT_EQ(content.records.size(), *c.message ? 0U : 1U) << c.text;
  }
  // A file that ends inside its header fails at the first missing line.
  EXPECT_EQ(ParseNumberList("Orvane Script Settings\r\n", "x.OSV").error,
            "Этот файл не является сохраненным списком чисел!");
}

TEST_F(NumberListFileTest, UnclosedListWarnsAndKeepsEveryRecord) {
  const NumberListContent content = ParseNumberList(std::string(kHeaderText) + "a 1\r\nb 2\r\n", "x.osv");
  EXPECT_EQ(content.warning, "Cохраненный список чисел не завершен!");
  EXPECT_EQ(content.records, (std::vector<NumberRecord>{{"a", "1"}, {"b", "2"}}));
  // Empty lines after the closing line do not unclose it.
  EXPECT_EQ(ParseNumberList(std::string(kHeaderText) + "a 1\r\n\\Numbers\r\n\r\n", "x.osv").warning, "");
}

TEST_F(NumberListFileTest, SameNamesAreAllKeptAndWrittenBack) {
  const auto file = Write("twice.num", "a 1\r\na 2\r\nbare\r\n");
  const std::vector<NumberRecord> records = ReadNumberList(file).records;
  EXPECT_EQ(records, (std::vector<NumberRecord>{{"a", "1"}, {"a", "2"}, {"bare", ""}}));
  ASSERT_EQ(WriteNumberList(file, records), "");
  EXPECT_EQ(ReadNumberList(file).records, records);
}

TEST_F(NumberListFileTest, LongestReadableListIsTheLineLimit) {
  std::string lines;
  for (std::size_t index = 0; index < kMaxLinesAfterHeader; ++index) lines += "n 1\r\n";
  EXPECT_EQ(ParseNumberList(lines, "a.num").records.size(), kMaxLinesAfterHeader);
  const NumberListContent longer = ParseNumberList(lines + "\r\n", "a.num");  // an empty line counts too
  EXPECT_NE(longer.error.find("a.num"), std::string::npos);
  EXPECT_TRUE(longer.records.empty());
  // The header is not counted; the closing line is.
  EXPECT_EQ(ParseNumberList(kHeaderText + lines, "a.osv").records.size(), kMaxLinesAfterHeader);
  EXPECT_NE(ParseNumberList(kHeaderText + lines + "\\Numbers\r\n", "a.osv").error, "");
}

TEST_F(NumberListFileTest, WritesBothVariantsWithCrLf) {
  const std::vector<NumberRecord> records = {{"b", "22"}, {"a", "1"}};
  EXPECT_EQ(FormatNumberList(records, "x.num"), "b 22\r\na 1\r\n");
  EXPECT_EQ(FormatNumberList(records, "x.Osv"), std::string(kHeaderText) + "b 22\r\na 1\r\n\\Numbers\r\n");
  EXPECT_EQ(FormatNumberList({}, "x.osv"), std::string(kHeaderText) + "\\Numbers\r\n");
  const auto file = folder_ / "round.osv";
  ASSERT_EQ(WriteNumberList(file, records), "");
  const NumberListContent content = ReadNumberList(file);
  EXPECT_EQ(content.records, records);
  EXPECT_EQ(content.warning, "");
}

TEST_F(NumberListFileTest, MissingOrEmptyFileIsAnEmptyList) {
  EXPECT_EQ(ReadNumberList(folder_ / "none.osv").error, "");
  const auto empty = Write("empty.osv", "");
  const NumberListContent content = ReadNumberList(empty);
  EXPECT_EQ(content.error, "");
  EXPECT_TRUE(content.records.empty());
}

TEST_F(NumberListFileTest, WriteThatFailsHalfWayLeavesTheOldFile) {
  const auto file = Write("keep.num", "old 1\r\n");
  std::vector<NumberRecord> many(2000, {"name", std::string(100, '7')});
  // The file-size limit makes the write stop part of the way through, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string failure = WriteNumberList(file, many);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);

  EXPECT_NE(failure.find(file.string()), std::string::npos) << failure;
  EXPECT_EQ(Text(file), "old 1\r\n");
  EXPECT_EQ(EntryCount(), 1U);  // no temporary file is left behind
}

TEST_F(NumberListFileTest, OnlyRegularFilesOfAPossibleSizeAreRead) {
  const auto fifo = folder_ / "pipe.num";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_NE(ReadNumberList(fifo).error.find("pipe.num"), std::string::npos);  // at once, not waiting
  EXPECT_NE(ReadNumberList("/dev/zero").error, "");
  const auto huge = folder_ / "huge.num";
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, kMaxListFileSize + 1);  // sparse: no disk space used
  EXPECT_NE(ReadNumberList(huge).error, "");
}

TEST_F(NumberListFileTest, WriteThroughALinkReplacesItsTargetAndCleansUpAKilledWrite) {
  const auto target = Write("target.num", "old 1\r\n");
  const auto link = folder_ / "link.num";
  std::filesystem::create_symlink("target.num", link);
  // What a write killed before its rename leaves behind, from a process that no longer runs.
  Write("target.num.2147483647.tmp", "half");
  ASSERT_EQ(WriteNumberList(link, {{"new", "2"}}), "");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(Text(target), "new 2\r\n");
  EXPECT_EQ(EntryCount(), 2U);
}

TEST_F(NumberListFileTest, ReadOnlyFileIsReadButNeverReplaced) {
  const auto file = Write("ro.num", "a 1\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read);
  EXPECT_EQ(ReadNumberList(file).records, (std::vector<NumberRecord>{{"a", "1"}}));
  ASSERT_EQ(CreateIfMissing(file), "");
  EXPECT_NE(WriteNumberList(file, {}), "");
  EXPECT_NE(AppendNumberRecord(file, {"b", "2"}), "");
  EXPECT_EQ(Text(file), "a 1\r\n");
}

TEST_F(NumberListFileTest, LockIsHeldByOneChangeAtATimeAcrossAReplace) {
  const auto file = Write("mem.num", "a 1\r\n");
  std::atomic<bool> second_holds{false};
  std::thread second;
  {
    const FileLock first(file);
    ASSERT_EQ(first.error(), "");
    second = std::thread([&] {
      const FileLock lock(file);
      second_holds = lock.error().empty();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(second_holds);
    ASSERT_EQ(WriteNumberList(file, {{"b", "2"}}), "");  // the locked file is replaced meanwhile
  }
  second.join();
  EXPECT_TRUE(second_holds);
}

TEST_F(NumberListFileTest, WriteIntoAMissingFolderFailsNamingTheFile) {
  const auto file = folder_ / "gone" / "list.num";
  const std::string failure = WriteNumberList(file, {{"a", "1"}});
  EXPECT_NE(failure.find(file.string()), std::string::npos) << failure;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(NumberListFileTest, RewriteKeepsTheFilePermissions) {
  const auto file = Write("mode.num", "a 1\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  ASSERT_EQ(WriteNumberList(file, {{"b", "2"}}), "");
  EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}

TEST_F(NumberListFileTest, MemoryListAppendsCreatesAndKeepsValuesVerbatim) {
  const auto file = folder_ / "sub" / "mem.num";
  ASSERT_EQ(CreateIfMissing(file), "");
  EXPECT_EQ(Text(file), "");
  ASSERT_EQ(AppendNumberRecord(file, {"x", "12.5"}), "");
  EXPECT_EQ(Text(file), "x 12.5\r\n");
  ASSERT_EQ(CreateIfMissing(file), "");  // an existing file is kept
  // A last line without its line end still gets the new record on a line of its own.
  const auto unended = Write("unended.num", "y  7");
  ASSERT_EQ(AppendNumberRecord(unended, {"z", "1"}), "");
  EXPECT_EQ(ReadNumberList(unended, ListKind::kMemoryList).records,
            (std::vector<NumberRecord>{{"y", " 7"}, {"z", "1"}}));
  // The memory list has no header, whatever its name.
  const auto framed_name = Write("mem.osv", "a 1\r\n");
  EXPECT_EQ(ReadNumberList(framed_name, ListKind::kMemoryList).records,
            (std::vector<NumberRecord>{{"a", "1"}}));
  ASSERT_EQ(WriteNumberList(framed_name, {{"b", "2"}}, ListKind::kMemoryList), "");
  EXPECT_EQ(Text(framed_name), "b 2\r\n");
}

TEST_F(NumberListFileTest, MemoryListDefaultsToTheDataFolder) {
  EXPECT_EQ(MemoryListPath("/some/list.num"), "/some/list.num");
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string kept = saved ? saved : "";
  ::setenv("XDG_DATA_HOME", folder_.c_str(), 1);
  EXPECT_EQ(MemoryListPath(""), folder_ / "orvanel" / "memlist.num");
  if (saved) {
    ::setenv("XDG_DATA_HOME", kept.c_str(), 1);
  } else {
    ::unsetenv("XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace ovn
