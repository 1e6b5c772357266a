// Number-list files: text files of named numbers, one record per line ("name value"), lines ended by
// CR LF, UTF-8. Two variants, chosen by the file name alone:
//   - plain: every non-empty line is a record (every "num" file, and the memory list);
//   - script settings (a name ending in "OSV", any case): the records sit between an eight-line header
//     ("Orvane Script Settings" ... "/Numbers") and a closing line "\Numbers".
// The name of a record is everything before its first space, so a name never holds a space; a line
// without a space is a record with that name and an empty value. Nothing read is dropped: records
// sharing a name are all kept, in file order.
//
// Files are always replaced whole (a temporary file in the same folder, then rename), so a failed write
// leaves the old file as it was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ovn {

struct NumberRecord {
  std::string name;
  std::string value;
  bool operator==(const NumberRecord&) const = default;
};

// The line count of a list is a 16-bit number: a longer file is refused whole, never read in part.
inline constexpr std::size_t kMaxLinesAfterHeader = 32766;

// How the value of a record is taken from the rest of its line.
enum class ValueForm {
  kTrimmed,   // leading and trailing spaces removed (number-list files)
  kVerbatim,  // character for character after the first space (the memory list)
};

// Whether `file` names the script-settings variant: its name ends in "OSV", compared without case.
bool IsScriptSettingsName(const std::filesystem::path& file);

// One record line (without its line end) split into name and value.
NumberRecord ParseRecord(std::string_view line, ValueForm form);

struct NumberListContent {
  std::vector<NumberRecord> records;  // in file order
  // Why the file was refused (a bad header, too many lines, unreadable): no record was read. The texts
  // of header failures are shown to the user as they are.
  std::string error;
  // A problem the records were read in spite of (an unclosed script-settings list).
  std::string warning;
};

// Reads the records of `text`, the whole content of a file named `file` (the name picks the variant).
NumberListContent ParseNumberList(std::string_view text, const std::filesystem::path& file,
                                  ValueForm form = ValueForm::kTrimmed);

// Reads the file; a missing or empty file gives an empty list.
NumberListContent ReadNumberList(const std::filesystem::path& file, ValueForm form = ValueForm::kTrimmed);

// The content a list is written as, in the variant its name picks: for script settings the header with
// "Version=1" and the closing line, and one "name value" line per record, each ended by CR LF.
std::string FormatNumberList(const std::vector<NumberRecord>& records, const std::filesystem::path& file);

// Replaces the file with the list, atomically. Returns "" or the text telling the user why the file
// (named in it) was not written; the old file is then untouched.
[[nodiscard]] std::string WriteNumberList(const std::filesystem::path& file,
                                          const std::vector<NumberRecord>& records);

// Adds one record line at the end of a plain list, keeping every byte already there; atomic as above.
[[nodiscard]] std::string AppendNumberRecord(const std::filesystem::path& file, const NumberRecord& record);

// Creates the file empty, with its folder, when it does not exist. Returns "" or why it could not.
[[nodiscard]] std::string CreateIfMissing(const std::filesystem::path& file);

// The memory list's file: `configured` when set, else $XDG_DATA_HOME/orvanel/memlist.num (default
// ~/.local/share/orvanel/memlist.num), so that numbers added with no file chosen are kept all the same.
std::filesystem::path MemoryListPath(const std::string& configured);

}  // namespace ovn
