#include "registry/registry.h"

#include <gtest/gtest.h>

#include "temporary_store.h"

namespace ovn {
namespace {

using namespace std::string_literals;

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr std::string_view kKey = "Software\\Orvane\\Lite";

void Write(std::string_view name, std::string_view text, std::string_view key = kKey,
           RegistryRoot root = kMachine) {
  ASSERT_EQ(WriteRegistryString(root, key, name, text), "") << name;
}

using Registry = TemporaryStore;

TEST_F(Registry, MissingValueReadsTheDefaultAndCreatesNothing) {
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount"), "");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount", "12"), "12");
  EXPECT_TRUE(FolderEntries().empty());
  Write("Other", "1");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount", "12"), "12");
  EXPECT_EQ(ReadRegistryString(kMachine, "Software\\Elsewhere", "Other", "d"), "d");
}

TEST_F(Registry, EveryTextSurvivesTheRoundTrip) {
  const std::pair<std::string, std::string> kValues[] = {
      {"Plain", "12"},
      {"Empty", ""},
      {"Spaces", "  both ends  "},
      {"Signs", "a=b [c] #d 100% %41"},
      {"Breaks", "line\nbreak\r\ttab\x7F"},
      {"Cyrillic", "/home/пользователь/числа.num"},
      {"name=with[odd]#chars%", "x"},
      {"[LooksLikeAKey]", "y"},
      {"#LooksLikeAComment", "z"},
      {"", "the default value of the key"},
  };
  for (const auto& [name, text] : kValues) Write(name, text);
  for (const auto& [name, text] : kValues) EXPECT_EQ(ReadRegistryString(kMachine, kKey, name), text) << name;
}

TEST_F(Registry, NamesIgnoreAsciiCaseAndKeepOneValue) {
  Write("DevCount", "5");
  Write("DEVCOUNT", "6", "SOFTWARE\\orvane\\LITE");
  EXPECT_EQ(ReadRegistryString(kMachine, "software\\orvane\\lite", "devcount"), "6");
  const std::string file = FileText(StoreFile());
  EXPECT_NE(file.find("DevCount=6\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("DEVCOUNT"), std::string::npos) << file;
}

TEST_F(Registry, RootsAndKeysHoldSeparateValues) {
  Write("Main", "1");
  Write("Main", "2", "Software\\Orvane\\Lite\\Colors");
  Write("Main", "3", kKey, RegistryRoot::kCurrentUser);
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "Main"), "1");
  EXPECT_EQ(ReadRegistryString(kMachine, "Software\\Orvane\\Lite\\Colors", "Main"), "2");
  EXPECT_EQ(ReadRegistryString(RegistryRoot::kCurrentUser, kKey, "Main"), "3");
}

TEST_F(Registry, StoredZeroCharacterCutsTheTextButIsKept) {
  Write("PastPath", "abc\0def"s);
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "PastPath"), "abc");
  Write("Other", "1");  // rewriting the store keeps the whole stored text
  EXPECT_NE(FileText(StoreFile()).find("PastPath=abc%00def\n"), std::string::npos);
}

TEST_F(Registry, WritesLeaveOnlyTheStoreFile) {
  for (int i = 0; i < 5; ++i) Write("Value" + std::to_string(i), std::to_string(i));
  EXPECT_EQ(FolderEntries(), std::set<std::string>{"registry.txt"});
}

TEST_F(Registry, WriteCreatesTheMissingFolders) {
  ::setenv("ORVANEL_CONFIG_DIR", (folder_ / "a" / "b").c_str(), 1);
  Write("DevCount", "7");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount"), "7");
  EXPECT_TRUE(std::filesystem::exists(folder_ / "a" / "b" / "registry.txt"));
}

TEST_F(Registry, StorePathFollowsTheEnvironment) {
  struct Case {
    const char* config_dir;
    const char* xdg_config_home;
    const char* home;
    const char* expected;
  };
  const Case kCases[] = {
      {"/o", "/x", "/h", "/o/registry.txt"},
      {"", "/x", "/h", "/x/orvanel/registry.txt"},
      {nullptr, "/x", "/h", "/x/orvanel/registry.txt"},
      {nullptr, "relative", "/h", "/h/.config/orvanel/registry.txt"},
      {nullptr, "", "/h", "/h/.config/orvanel/registry.txt"},
      {nullptr, nullptr, "/h", "/h/.config/orvanel/registry.txt"},
  };
  const auto set = [](const char* name, const char* value) {
    value == nullptr ? ::unsetenv(name) : ::setenv(name, value, 1);
  };
  const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  const char* saved_xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved_xdg_text = saved_xdg ? saved_xdg : "";
  for (const Case& c : kCases) {
    set("ORVANEL_CONFIG_DIR", c.config_dir);
    set("XDG_CONFIG_HOME", c.xdg_config_home);
    set("HOME", c.home);
    EXPECT_EQ(RegistryStorePath(), c.expected) << c.expected;
  }
  ::setenv("HOME", saved_home.c_str(), 1);
  set("XDG_CONFIG_HOME", saved_xdg ? saved_xdg_text.c_str() : nullptr);
}

TEST_F(Registry, HandEditedFileIsRead) {
  WriteStoreFile(
      "# edited by hand\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lite]\r\n"
      "DevCount=1\r\n"
      "DevCount=2\r\n"
      "PastPath=%2Fhome%2f\r\n"
      "[hkey_local_machine\\software\\orvane\\lite\\colors]\n"
      "Main=255");
  EXPECT_EQ(RegistryStore(StoreFile()).problem(), "");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount"), "2");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "PastPath"), "/home/");
  EXPECT_EQ(ReadRegistryString(kMachine, "Software\\Orvane\\Lite\\Colors", "Main"), "255");
  // Lines ended by a lone CR read alike.
  WriteStoreFile("# old Mac\r[HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lite]\rDevCount=3\r");
  EXPECT_EQ(RegistryStore(StoreFile()).problem(), "");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount"), "3");
}

TEST_F(Registry, MalformedStoreIsReportedReadAndKeptAside) {
  const std::string original =
      "[HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lite]\n"
      "DevCount=15\n"
      "a line without an equals sign\n"
      "Bad=%G1\n"
      "[NOT_A_ROOT\\Key]\n"
      "Lost=1\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lite\n"
      "Lost=2\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lite]\n"
      "RadCount=16\n";
  WriteStoreFile(original);
  EXPECT_NE(RegistryStore(StoreFile()).problem().find("строка 3"), std::string::npos);
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount"), "15");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "RadCount"), "16");
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "Lost", "none"), "none");
  std::filesystem::create_directory(folder_ / "registry.txt.malformed");  // an earlier copy's name is taken

  const std::string notice = WriteRegistryString(kMachine, kKey, "LogCount", "17");
  EXPECT_NE(notice.find("registry.txt.malformed.1"), std::string::npos) << notice;
  EXPECT_EQ(FileText(folder_ / "registry.txt.malformed.1"), original);
  EXPECT_EQ(RegistryStore(StoreFile()).problem(), "");
  for (const auto& [name, text] : {std::pair{"DevCount", "15"}, {"RadCount", "16"}, {"LogCount", "17"}}) {
    EXPECT_EQ(ReadRegistryString(kMachine, kKey, name), text) << name;
  }
  EXPECT_EQ(WriteRegistryString(kMachine, kKey, "LogCount", "18"), "");
  EXPECT_EQ(FolderEntries(),
            (std::set<std::string>{"registry.txt", "registry.txt.malformed", "registry.txt.malformed.1"}));
}

TEST_F(Registry, UnreadableStoreIsReportedAndNeverReplaced) {
  std::filesystem::create_directory(StoreFile());  // exists, but reading it fails
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount", "12"), "12");
  EXPECT_NE(RegistryStore(StoreFile()).problem(), "");
  EXPECT_NE(WriteRegistryString(kMachine, kKey, "DevCount", "5"), "");
  EXPECT_TRUE(std::filesystem::is_directory(StoreFile()));
  EXPECT_EQ(FolderEntries(), std::set<std::string>{"registry.txt"});
}

TEST_F(Registry, WriteIntoAnUnusableFolderIsReported) {
  WriteStoreFile("");
  ::setenv("ORVANEL_CONFIG_DIR", (StoreFile() / "below").c_str(), 1);  // a folder under a regular file
  EXPECT_EQ(ReadRegistryString(kMachine, kKey, "DevCount", "12"), "12");
  EXPECT_NE(WriteRegistryString(kMachine, kKey, "DevCount", "6"), "");
}

TEST_F(Registry, StoreThatIsALinkStaysALink) {
  std::filesystem::create_directory(folder_ / "dotfiles");
  std::ofstream(folder_ / "dotfiles" / "orvanel.txt") << "";
  std::filesystem::create_symlink(folder_ / "dotfiles" / "orvanel.txt", StoreFile());
  Write("DevCount", "9");
  EXPECT_TRUE(std::filesystem::is_symlink(StoreFile()));
  EXPECT_NE(FileText(folder_ / "dotfiles" / "orvanel.txt").find("DevCount=9"), std::string::npos);
}

}  // namespace
}  // namespace ovn
