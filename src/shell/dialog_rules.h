// The rules of the shell dialogs that need no desktop: how the filter text is read, which default
// extension it gives, which dialog flags each dialog keeps, and the icon size. Plain functions, so the
// tests check them without a display.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ovn {

// The file dialogs hold paths as long as Linux allows them (PATH_MAX, the end mark included).
inline constexpr std::size_t kFileBufferLength = 4096;

// Dialog flags the wrapper knows by value.
inline constexpr std::int32_t kOverwritePromptFlag = 0x2;
inline constexpr std::int32_t kFileMustExistFlag = 0x1000;
inline constexpr std::int32_t kBrowseFileSystemFoldersOnly = 0x1;
inline constexpr std::int32_t kBrowseIncludeFiles = 0x4000;

// One description and its ";"-separated pattern list, as a filter text "desc|pat;pat|desc|pat" holds them.
struct FilterPair {
  std::string description;
  std::vector<std::string> patterns;
};

// The pairs of a filter text, in order; a description left without its pattern list is dropped.
std::vector<FilterPair> ParseFilter(std::string_view filter);

// The pair as the desktop's file dialog takes it: "description (pattern pattern)".
std::string NameFilter(const FilterPair& pair);

// The text after the last "." of the last pattern of the list at element 2 * filter_index + 1 of the
// "|"-separated filter ("*.txt;*.log" gives "log", "*.*" gives "*"); the whole pattern when it has no
// ".", and "" when the filter has no such element.
std::string DefaultExtension(std::string_view filter, std::int32_t filter_index);

// The pair a filter index selects in the dialog: indexes count from 1, and 0 also means the first pair.
std::int32_t SelectedFilterPair(std::int32_t filter_index);

// What a file dialog honours of its flags: the open dialog takes them from `flags` (hook and template bits,
// which it would drop, mean nothing here), the save dialog has exactly the overwrite prompt, whatever
// `flags` holds.
enum class FileDialogKind { kOpen, kSave };
struct FileDialogBehaviour {
  bool file_must_exist;
  bool confirm_overwrite;
};
FileDialogBehaviour FileDialogFor(FileDialogKind kind, std::int32_t flags);

// The folder browser shows file-system folders only, unless `flags` asks for computers, printers or files.
std::int32_t FolderBrowseFlags(std::int32_t flags);

// 16 and 32 stay; any other size becomes 32.
std::int32_t NormalizeIconSize(std::int32_t size);

// The number of characters of a UTF-8 text, as the dialogs' buffers count them.
std::size_t CharacterCount(std::string_view text);

// A colour as the desktop stores it (0x00BBGGRR) and its three parts.
struct RgbParts {
  int red;
  int green;
  int blue;
};
RgbParts SplitColour(std::uint32_t colour);
std::uint32_t JoinColour(RgbParts parts);

}  // namespace ovn
