#include "registry/settings_store.h"

#include <gtest/gtest.h>

#include <tuple>

#include "registry/registry.h"
#include "temporary_store.h"

namespace ovn {
namespace {

using namespace std::string_literals;

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;

auto Fields(const Settings& s) {
  return std::tie(s.TypeNum, s.DevCount, s.RadCount, s.LogCount, s.MaxDevConv, s.ExpCount, s.PiCount,
                  s.ExpValue, s.PiValue, s.MemListFile, s.PastPath, s.BGButton, s.BGText, s.Main, s.LBText,
                  s.Memory);
}

void Store(std::string_view name, std::string_view text, std::string_view key = kSettingsKey) {
  ASSERT_EQ(WriteRegistryString(kMachine, key, name, text), "") << name;
}

// What the program holds after its start-up: LoadSettings, then LoadPrecisionOverrides.
Settings StartUp() {
  Settings settings;
  EXPECT_EQ(LoadStartSettings(settings), "");
  return settings;
}

using SettingsStore = TemporaryStore;

TEST_F(SettingsStore, EmptyStoreGivesTheFirstRunDefaults) {
  Settings changed;
  changed.TypeNum = 0;
  changed.DevCount = changed.MaxDevConv = 0;
  changed.BGText = changed.LBText = 0;
  changed.ExpValue = "";
  changed.MemListFile = "x";
  EXPECT_EQ(LoadSettings(changed), "");
  changed.MaxDevConv = 12;  // read only as an override
  EXPECT_EQ(Fields(changed), Fields(Settings{}));
  EXPECT_EQ(Fields(StartUp()), Fields(Settings{}));

  const Settings defaults;
  EXPECT_EQ(defaults.BGText, 0xFFFFFFu);  // a readable display: white, black text
  EXPECT_EQ(defaults.LBText, 0u);
  EXPECT_EQ(defaults.ExpValue, "2.71828182845904");
  EXPECT_EQ(defaults.PiValue, kReferencePi);
}

TEST_F(SettingsStore, SettingsSurviveSaveAndStartUp) {
  Settings saved;
  saved.TypeNum = 2;
  saved.DevCount = 20000;
  saved.RadCount = 0;
  saved.LogCount = 2000;
  saved.MaxDevConv = 77;
  saved.ExpCount = 5;
  saved.PiCount = 3;
  saved.ExpValue = "2.71828";
  saved.PiValue = "3.141";
  saved.MemListFile = "/home/пользователь/память=1%.num";
  saved.BGButton = 0x00123456;
  saved.BGText = 0x8000000F;
  saved.Main = 0xFFFFFFFF;
  saved.LBText = 0;
  saved.Memory = 0x00FF0000;
  ASSERT_EQ(SaveSettings(saved, {}), "");
  EXPECT_EQ(Fields(StartUp()), Fields(saved));
  EXPECT_EQ(ReadRegistryString(kMachine, kColorsKey, "BGText"), "2147483663");
  EXPECT_EQ(ReadRegistryString(kMachine, kSettingsKey, "MaxDevConv"), "77");
}

TEST_F(SettingsStore, SaveLeavesThePastPathAlone) {
  Store("PastPath", "/home/u/числа");
  ASSERT_EQ(SaveSettings(Settings{}, {}), "");
  EXPECT_EQ(StartUp().PastPath, "/home/u/числа");
}

int Field(const Settings& s, std::string_view name) {
  if (name == "DevCount") return s.DevCount;
  if (name == "RadCount") return s.RadCount;
  if (name == "LogCount") return s.LogCount;
  if (name == "PiCount") return s.PiCount;
  if (name == "ExpCount") return s.ExpCount;
  return s.TypeNum;
}

TEST_F(SettingsStore, NumbersAreReadLenientlyAndKeptInTheirRanges) {
  struct Case {
    const char* name;
    std::string text;
    int expected;
  };
  const Case kCases[] = {
      {"DevCount", "15abc", 15},    {"DevCount", "  7", 7},
      {"DevCount", "2.5", 2},  // halves go to the even neighbour
      {"DevCount", "3.5", 4},       {"DevCount", "1e3x", 1000},
      {"DevCount", "abc", 0},       {"DevCount", "-5", 0},
      {"DevCount", "40000", 20000}, {"DevCount", "1e400", 12},  // past a double: as if missing
      {"DevCount", "", 12},         {"DevCount", "7"s + '\0' + "9", 7},
      {"RadCount", "20001", 20000}, {"LogCount", "3000", 2000},
      {"PiCount", "40", 32},        {"PiCount", "1", 2},
      {"ExpCount", "15", 14},       {"ExpCount", "0", 2},
      {"TypeNum", "0", 0},          {"TypeNum", "2", 2},
      {"TypeNum", "1.6", 2},        {"TypeNum", "2.5", 2},
      {"TypeNum", "3", 1},          {"TypeNum", "-1", 1},
      {"TypeNum", "x", 0},
  };
  for (const Case& c : kCases) {
    Store(c.name, c.text);
    Settings settings;
    EXPECT_EQ(LoadSettings(settings), "");
    EXPECT_EQ(Field(settings, c.name), c.expected) << c.name << " \"" << c.text << '"';
  }
}

TEST_F(SettingsStore, ColoursAreReadAsSignedOrUnsigned32BitValues) {
  const std::pair<std::string, std::uint32_t> kCases[] = {
      {"-2147483633", 0x8000000F}, {"2147483663", 0x8000000F}, {"16777215", 0xFFFFFF}, {"255abc", 0xFF},
      {"4294967296", 0xFFFFFF},    {"-2147483649", 0xFFFFFF},
  };
  for (const auto& [text, expected] : kCases) {
    Store("BGText", text, kColorsKey);
    EXPECT_EQ(StartUp().BGText, expected) << text;
  }
}

TEST_F(SettingsStore, OverridesReplaceOnlyWhatIsStored) {
  Settings saved;
  saved.DevCount = 30;
  saved.RadCount = 40;
  saved.TypeNum = 2;
  saved.MaxDevConv = 50;
  ASSERT_EQ(SaveSettings(saved, {}), "");
  EXPECT_EQ(Fields(StartUp()), Fields(saved));

  Store("DevExact", "100");
  Store("RadExact", "99999");
  Store("NumType", "9");
  const Settings overridden = StartUp();
  EXPECT_EQ(overridden.DevCount, 100);
  EXPECT_EQ(overridden.RadCount, 20000);
  EXPECT_EQ(overridden.TypeNum, 1);
  EXPECT_EQ(overridden.MaxDevConv, 50);
  Store("NumType", "0");
  EXPECT_EQ(StartUp().TypeNum, 0);
}

TEST_F(SettingsStore, ConstantsAreReadBackOrCutByTheirCounts) {
  Store("ExpCount", "5");
  Store("PiCount", "3");
  Settings settings = StartUp();
  EXPECT_EQ(settings.ExpValue, "2.71828");
  EXPECT_EQ(settings.PiValue, "3.141");
  Store("ExpValue", "2.7");
  Store("PiValue", "");
  settings = StartUp();
  EXPECT_EQ(settings.ExpValue, "2.7");
  EXPECT_EQ(settings.PiValue, "3.141");
}

TEST_F(SettingsStore, StoredZeroCharacterCutsAPath) {
  Store("MemListFile", "a.num\0junk"s);
  EXPECT_EQ(StartUp().MemListFile, "a.num");
}

TEST_F(SettingsStore, TwoInstancesKeepEachOthersSavedValues) {
  const Settings started = StartUp();  // both windows start from the same store
  Settings first = started;
  Settings second = started;
  first.DevCount = 5;
  first.BGText = 0x123;
  ASSERT_EQ(SaveSettings(first, started), "");
  second.LogCount = 7;
  ASSERT_EQ(SaveSettings(second, started), "");
  const Settings now = StartUp();
  EXPECT_EQ(now.DevCount, 5);
  EXPECT_EQ(now.BGText, 0x123u);
  EXPECT_EQ(now.LogCount, 7);
}

TEST_F(SettingsStore, MalformedStoreIsReportedAndItsGoodValuesRead) {
  WriteStoreFile("[HKEY_LOCAL_MACHINE\\Software\\Orvane\\Lite]\nDevCount=15\ngarbage\n");
  Settings settings;
  const std::string problem = LoadSettings(settings);
  EXPECT_NE(problem, "");
  EXPECT_EQ(settings.DevCount, 15);
  EXPECT_EQ(LoadStartSettings(settings), problem);  // told once, not once per reading
  EXPECT_NE(SaveSettings(settings, {}), "");  // the notice of the copy kept aside
  EXPECT_EQ(SaveSettings(settings, {}), "");
  EXPECT_EQ(LoadSettings(settings), "");
}

}  // namespace
}  // namespace ovn
