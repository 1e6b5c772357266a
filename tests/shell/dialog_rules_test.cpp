// The shell dialogs' rules and properties that need no display: the filter and default-extension rules,
// the flags each dialog honours, the icon size, and the dialog numbers that do nothing.
#include "dialog_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CommonDialogExtention.h"
#include "ovnliblt/runtime_error.h"

namespace ovn {
namespace {

TEST(DialogRules, DefaultExtensionIsTheTextAfterTheLastPointOfTheChosenPairsLastPattern) {
  const struct {
    const char* filter;
    std::int32_t index;
    const char* extension;
  } cases[] = {
      {"Text (*.txt)|*.txt|All files|*.*", 0, "txt"},
      {"Text (*.txt)|*.txt|All files|*.*", 1, "*"},
      {"Text and logs|*.txt;*.log", 0, "log"},
      {"Archives|*.tar.gz", 0, "gz"},
      {"Файлы чисел Orvane'а (*.num)|*.num", 0, "num"},
      {"Makefiles|Makefile", 0, "Makefile"},  // no point: the whole pattern
      {"Text (*.txt)|*.txt", 1, ""},          // no such pair
      {"Text (*.txt)|*.txt", -1, ""},
      {"", 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultExtension(c.filter, c.index), c.extension) << c.filter << " index " << c.index;
  }
}

TEST(DialogRules, FilterPairsBecomeTheDesktopDialogsNameFilters) {
  const std::vector<FilterPair> pairs = ParseFilter("Text (*.txt)|*.txt;*.log|All files|*.*|Dangling");
  ASSERT_EQ(pairs.size(), 2U);
  EXPECT_EQ(NameFilter(pairs[0]), "Text (*.txt) (*.txt *.log)");
  EXPECT_EQ(NameFilter(pairs[1]), "All files (*.*)");
  EXPECT_TRUE(ParseFilter("").empty());
}

TEST(DialogRules, FilterIndexCountsFromOneAndZeroMeansTheFirstPair) {
  const std::int32_t cases[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {-4, 0}};
  for (const auto& c : cases) EXPECT_EQ(SelectedFilterPair(c[0]), c[1]) << c[0];
}

TEST(DialogRules, SaveDialogAlwaysPromptsForOverwriteAndNeverRequiresAnExistingFile) {
  const struct {
    FileDialogKind kind;
    std::int32_t flags;
    bool must_exist;
    bool confirm_overwrite;
  } cases[] = {
      {FileDialogKind::kSave, kFileMustExistFlag, false, true},
      {FileDialogKind::kSave, 0, false, true},
      {FileDialogKind::kOpen, kFileMustExistFlag, true, false},
      {FileDialogKind::kOpen, kOverwritePromptFlag | 0xE0, false, true},
      {FileDialogKind::kOpen, 0, false, false},
  };
  for (const auto& c : cases) {
    const FileDialogBehaviour behaviour = FileDialogFor(c.kind, c.flags);
    EXPECT_EQ(behaviour.file_must_exist, c.must_exist) << c.flags;
    EXPECT_EQ(behaviour.confirm_overwrite, c.confirm_overwrite) << c.flags;
  }
}

TEST(DialogRules, FolderBrowserKeepsItsFlagsOnlyForComputersPrintersOrFiles) {
  const std::int32_t cases[][2] = {
      {0, 0x1}, {0x8, 0x1}, {0x1000, 0x1000}, {0x2000 | 0x8, 0x2000}, {0x4000 | 0x1 | 0x10, 0x4001},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderBrowseFlags(c[0]), c[1]) << std::hex << c[0];
}

TEST(DialogRules, ColoursSplitAndJoinAsBlueGreenRed) {
  const RgbParts parts = SplitColour(0x00332211);
  EXPECT_EQ(parts.red, 0x11);
  EXPECT_EQ(parts.green, 0x22);
  EXPECT_EQ(parts.blue, 0x33);
  EXPECT_EQ(JoinColour(parts), 0x00332211U);
  EXPECT_EQ(JoinColour(SplitColour(0x8000000F)), 0x0000000FU);  // a system colour has no parts of its own
}

TEST(DialogRules, CharactersAreCountedNotBytes) {
  EXPECT_EQ(CharacterCount("Файл.num"), 8U);
  EXPECT_EQ(CharacterCount(""), 0U);
}

TEST(CommonDialogExtention, IconSizeOtherThan16Or32BecomesThirtyTwoAndIsWrittenBack) {
  CommonDialogExtention dialogs;
  const std::int32_t cases[][2] = {{16, 16}, {32, 32}, {24, 32}, {0, 32}, {-16, 32}, {48, 32}};
  for (const auto& c : cases) {
    std::int32_t size = c[0];
    dialogs.IconSize(size);
    EXPECT_EQ(size, c[1]) << c[0];
    EXPECT_EQ(dialogs.IconSize(), c[1]) << c[0];
  }
}

// No dialog may open here: there is no application object and no display.
TEST(CommonDialogExtention, ActionsWithoutADialogDoNothing) {
  CommonDialogExtention dialogs;
  dialogs.FileName("kept.num");
  dialogs.InitDir("/kept");
  dialogs.RGBResult(0x123456);
  for (const std::int32_t action : {0, 5, 7, 9, 10, 11, 12, 13, 14, 15, -1}) {
    dialogs.Action(action);
    EXPECT_EQ(dialogs.FileName(), "kept.num") << action;
    EXPECT_EQ(dialogs.InitDir(), "/kept") << action;
    EXPECT_EQ(dialogs.RGBResult(), 0x123456U) << action;
  }
}

TEST(CommonDialogExtention, AFileNameLongerThanTheBufferCannotBePassedIn) {
  CommonDialogExtention dialogs;
  dialogs.FileName(std::string(kFileBufferLength + 1, 'a'));
  for (const std::int32_t action : {1, 2}) {
    try {
      dialogs.Action(action);
      ADD_FAILURE() << "no error for action " << action;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), ErrorNumber::kInvalidArgument);
    }
  }
}

TEST(CommonDialogExtention, PropertiesReadBackWhatWasSet) {
  CommonDialogExtention& dialogs = SharedDialogs();
  EXPECT_EQ(&dialogs, &SharedDialogs());
  dialogs.Filter("Text (*.txt)|*.txt");
  dialogs.FilterIndex(3);
  dialogs.CancelError(true);
  dialogs.FontSize(12);
  dialogs.Bold(true);
  EXPECT_EQ(SharedDialogs().Filter(), "Text (*.txt)|*.txt");
  EXPECT_EQ(SharedDialogs().FilterIndex(), 3);
  EXPECT_TRUE(SharedDialogs().CancelError());
  EXPECT_EQ(SharedDialogs().FontSize(), 12);
  EXPECT_TRUE(SharedDialogs().Bold());
  EXPECT_EQ(SharedDialogs().hOwner(), nullptr);
}

}  // namespace
}  // namespace ovn
